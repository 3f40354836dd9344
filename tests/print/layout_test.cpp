// Every plan on every sheet: the whole log inside the frame, every leg on
// exactly one page, every airfield on some page, no text over a cell border
// and no frequency broken, on the recording canvas.
#include <gtest/gtest.h>

#include <sstream>

#include "plan/route_row.h"
#include "print/navlog.h"
#include "print_test_util.h"

namespace {

// Long VOR texts, 8.33 kHz frequencies and texts wider than their cells.
Plan CrowdedPlan(int legs, int fields, bool margins) {
  Plan plan;
  plan.title = "Crowded route over the lakes and the northern ridge";
  if (margins) QuarterInchMargins(plan);
  AddRow(plan, RowBuilder("Start"));
  for (int i = 1; i <= legs; ++i)
    AddRow(plan, TestLeg(i, i % 2 ? "124.350 VORTAC/ 090/ SJC/ To" : "118.555/ 270/ 0000/ From"));
  for (int j = 0; j < fields; ++j) {
    plan.airfields.push_back({"Field" + std::to_string(j), j % 2 ? "1250 ft MSL" : "812",
                              "field elev unknown", "14/32, 5/23, 9/27, 18L/36R", "118.555",
                              "132.805", "124.350", "121.775", "122.8"});
  }
  return plan;
}

struct Box {
  int x0, y0, x1, y1;
};

// Describes what went wrong, or nothing when the printed log is sound.
std::string Check(const RecordingCanvas& canvas, const PrintContext& ctx, int pages, int legs,
                  int fields, bool blank = false) {
  std::ostringstream fault;
  const Box frame{ctx.tableleft, ctx.toppx + ctx.unity / 60, ctx.tableright,
                  ctx.pageheight - ctx.bottompx - ctx.pady};
  auto inside = [&](int x, int y) {
    return x >= frame.x0 && x <= frame.x1 && y >= frame.y0 && y <= frame.y1;
  };

  for (int page = 1; page <= pages; ++page) {
    std::vector<CanvasOp> verticals;
    bool first = true;
    for (const CanvasOp& op : canvas.ops()) {
      if (op.page != page) continue;
      switch (op.kind) {
        case CanvasOp::FillRect:
          if (first) {  // the page's white ground
            first = false;
            break;
          }
          if (!inside(op.x0, op.y0) || !inside(op.x1, op.y1)) fault << "fill outside; ";
          break;
        case CanvasOp::Line:
          if (!inside(op.x0, op.y0) || !inside(op.x1, op.y1)) {
            fault << "page " << page << ": line at y " << op.y0 << " outside the frame; ";
          }
          if (op.x0 == op.x1 && op.penstyle == PenStyle::Solid) verticals.push_back(op);
          break;
        case CanvasOp::Text:
          if (op.text.empty()) break;
          if (!inside(op.x0, op.y0) || !inside(op.x1, op.y1)) {
            fault << "page " << page << ": \"" << op.text << "\" outside the frame; ";
          }
          break;
        default:
          break;
      }
    }
    for (const CanvasOp& text : canvas.Of(CanvasOp::Text, page)) {
      if (text.text.empty()) continue;
      for (const CanvasOp& line : verticals) {
        const int top = std::min(line.y0, line.y1);
        const int bottom = std::max(line.y0, line.y1);
        if (line.x0 > text.x0 && line.x0 < text.x1 && top < text.y1 && bottom > text.y0) {
          fault << "page " << page << ": \"" << text.text << "\" crosses x " << line.x0 << "; ";
          break;
        }
      }
    }
  }

  const int rows = static_cast<int>(canvas.Of(CanvasOp::Polygon).size()) / 2;
  if (rows != legs) fault << rows << " leg rows for " << legs << " legs; ";
  for (int i = 1; i <= legs && !blank; ++i) {
    if (canvas.TextsOf("CP" + std::to_string(i)).empty()) fault << "CP" << i << " missing; ";
  }
  for (int j = 0; j < fields; ++j) {
    if (canvas.TextsOf("Field" + std::to_string(j)).empty()) fault << "Field" << j << " missing; ";
  }
  for (const CanvasOp& op : canvas.Of(CanvasOp::Text)) {
    if (op.text == "118.55" || op.text == "124.35" || op.text == "132.80" || op.text == "121.77") {
      fault << "a frequency broken: \"" << op.text << "\"; ";
    }
  }
  if (fields > 0 && canvas.TextsOf("118.555").size() < static_cast<std::size_t>(fields)) {
    fault << "an airfield frequency is not one line; ";
  }
  return fault.str();
}

struct Case {
  Sheet sheet;
  bool margins;
};

class EverySheet : public ::testing::TestWithParam<Case> {};

TEST_P(EverySheet, EveryRowInsideTheFrameOnExactlyTheRightPages) {
  const Case c = GetParam();
  for (int legs : {1, 2, 11, 12, 13, 24, 32}) {
    for (int fields = 0; fields <= 30; ++fields) {
      RecordingCanvas canvas = SheetCanvas(c.sheet, c.margins);
      const Plan plan = CrowdedPlan(legs, fields, c.margins);
      PrintContext ctx;
      const int pages = PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx);
      ASSERT_GE(pages, 1);
      EXPECT_EQ(Check(canvas, ctx, pages, legs, fields), "")
          << legs << " legs, " << fields << " airfields";
    }
  }
  RecordingCanvas blank = SheetCanvas(c.sheet, c.margins);
  PrintContext ctx;
  ASSERT_EQ(PrintBlankFormOn(blank, CrowdedPlan(1, 0, c.margins), ctx), 1);
  const int rows = static_cast<int>(blank.Of(CanvasOp::Polygon).size()) / 2;
  EXPECT_EQ(Check(blank, ctx, 1, rows, 0, true), "") << "blank form";
  EXPECT_GE(rows, 8) << "ten where the sheet holds them";
}

const Case kCases[] = {{Sheet::Letter, false}, {Sheet::Letter, true}, {Sheet::A4, false},
                       {Sheet::A4, true},      {Sheet::Legal, false}, {Sheet::Legal, true}};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  static const char* const names[] = {"Letter", "A4", "Legal"};
  return std::string(names[static_cast<int>(info.param.sheet)]) +
         (info.param.margins ? "WithMargins" : "WithoutMargins");
}

INSTANTIATE_TEST_SUITE_P(Sheets, EverySheet, ::testing::ValuesIn(kCases), CaseName);

}  // namespace

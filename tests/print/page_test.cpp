// Page geometry, page capacity and the page loop, on the recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "plan/route_row.h"
#include "print/margins.h"
#include "print/navlog.h"
#include "print/table.h"
#include "print_test_util.h"

namespace {

int ArrowheadsOn(const RecordingCanvas& canvas, int page) {
  return static_cast<int>(canvas.Of(CanvasOp::Polygon, page).size());
}

// Leg rows on a page: two arrowheads each.
int LegRowsOn(const RecordingCanvas& canvas, int page) {
  return ArrowheadsOn(canvas, page) / 2;
}

TEST(PageGeometry, WorkedExampleToThePixel) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan;
  QuarterInchMargins(plan);
  PrintContext ctx;
  ASSERT_TRUE(StartPrintJob(ctx, canvas, plan.print));

  EXPECT_EQ(ctx.leftpx, 149);
  EXPECT_EQ(ctx.rightpx, 149);
  EXPECT_EQ(ctx.toppx, 150);
  EXPECT_EQ(ctx.bottompx, 150);
  EXPECT_EQ(ctx.unitx, 551);
  EXPECT_EQ(ctx.unity, 563);
  EXPECT_EQ(ctx.tableleft, 149);
  EXPECT_EQ(ctx.colwidth, 319);
  EXPECT_EQ(ctx.cpleft, 3020);
  EXPECT_EQ(ctx.cpwidth, 826);
  EXPECT_EQ(ctx.rightleft, 3846);
  EXPECT_EQ(ctx.rcolwidth, 253);
  EXPECT_EQ(ctx.tableright, 6123);
  EXPECT_EQ(ctx.padx, 9);
  EXPECT_EQ(ctx.pady, 9);
  // 12 and 8 points at 8 pixels a point; the airfield row is the larger of
  // V/4 = 140 and 2 x 9 + 2 x 64.
  EXPECT_EQ(ctx.text12height, 96);
  EXPECT_EQ(ctx.text8height, 64);
  EXPECT_EQ(ctx.fieldrowheight, 146);
}

TEST(PageGeometry, BlocksStartWhereTheWorkedExampleSays) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan = MakePlan(12, 0);
  PrintContext ctx;
  ASSERT_EQ(PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx), 1);

  // Title band: the frame's top edge and the divider between the halves.
  EXPECT_TRUE(canvas.HasLine(149, 159, 6123, 159));
  EXPECT_TRUE(canvas.HasLine(3020, 159, 3020, 4800 - 150 - 9));
  EXPECT_TRUE(canvas.HasLine(149, 4641, 6123, 4641));
  // Header row, table header, first leg row, Total row.
  EXPECT_TRUE(canvas.HasLine(149, 440, 6123, 440));
  EXPECT_TRUE(canvas.HasLine(149, 650, 6123, 650));
  EXPECT_TRUE(canvas.HasLine(149, 931, 3020, 931));
  EXPECT_TRUE(canvas.HasLine(149, 4309 + 140, 6123, 4309 + 140));
  ASSERT_EQ(canvas.TextsOf("Total").size(), 1u);
  EXPECT_EQ(canvas.TextsOf("Total")[0].y1, 4309 + 140 - 9);

  // The title is inset and centred in the band: (281 - 192) / 2 below its top.
  auto titles = canvas.TextsOf("Test Route");
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_EQ(titles[0].x0, 149 + 18);
  EXPECT_EQ(titles[1].x0, 3020 + 18);
  EXPECT_EQ(titles[0].y0, 159 + 44);
}

TEST(PageGeometry, ZeroMarginsPutTheFrameOnThePageEdge) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan = MakePlan(2, 0);
  plan.print = PrintSettings{};
  PrintContext ctx;
  PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx);
  EXPECT_EQ(ctx.tableleft, 0);
  EXPECT_TRUE(canvas.HasLine(0, ctx.unity / 60, 0, 4800 - ctx.pady));
}

TEST(PageGeometry, MarginsStayBetweenZeroAndThePageSize) {
  for (double margin : {1e300, -1e300, 1e12, -0.5, std::nan("")}) {
    RecordingCanvas canvas = ExampleCanvas();
    Plan plan = MakePlan(3, 1);
    plan.print.leftmargin = plan.print.rightmargin = margin;
    plan.print.topmargin = plan.print.bottommargin = margin;
    PrintContext ctx;
    ASSERT_GE(PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx), 1) << margin;
    for (int px : {ctx.leftpx, ctx.rightpx}) {
      EXPECT_GE(px, 0) << margin;
      EXPECT_LE(px, 6300) << margin;
    }
    for (int px : {ctx.toppx, ctx.bottompx}) {
      EXPECT_GE(px, 0) << margin;
      EXPECT_LE(px, 4800) << margin;
    }
  }
  // A negative margin no longer pushes the form off the sheet.
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan = MakePlan(2, 0);
  plan.print.leftmargin = plan.print.topmargin = -2.0;
  PrintContext ctx;
  PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx);
  for (const CanvasOp& op : canvas.Of(CanvasOp::Line)) {
    EXPECT_GE(std::min(op.x0, op.x1), 0);
    EXPECT_GE(std::min(op.y0, op.y1), 0);
  }
  // A margin inside the page is untouched: the worked example's 149 and 150.
  QuarterInchMargins(plan);
  plan.print.leftmargin = 10.5;  // the device is 10.51 inches wide
  ASSERT_TRUE(StartPrintJob(ctx, canvas, plan.print));
  EXPECT_EQ(ctx.leftpx, 6292);
  EXPECT_EQ(ctx.rightpx, 149);
  EXPECT_EQ(ctx.toppx, 150);
}

TEST(PageGeometry, MarginsThatLeaveTheFormTooSmallAreRefused) {
  const PaperSheet letter = SheetOf(PaperSize::Letter);
  auto check = [](const PaperSheet& sheet, double left, double right, double top, double bottom) {
    PrintSettings margins;
    margins.leftmargin = left;
    margins.rightmargin = right;
    margins.topmargin = top;
    margins.bottommargin = bottom;
    return CheckMargins(margins, sheet);
  };
  for (double m : {0.0, 0.25, 1.0, -3.0, std::nan("")}) {
    EXPECT_EQ(check(letter, m, m, m, m).refusal, "") << m;
    EXPECT_EQ(check(LetterOrA4(), m, m, m, m).refusal, "") << m;
  }
  // Labels collide from an inch and a quarter all round.
  const MarginCheck wide = check(letter, 1.25, 1.25, 1.25, 1.25);
  EXPECT_TRUE(wide.across);
  EXPECT_NE(wide.refusal.find("letter paper"), std::string::npos);
  EXPECT_NE(wide.refusal.find("The left and right margins may add up to 2.11 in at most; "
                              "the top and bottom margins may add up to 2.12 in at most."),
            std::string::npos)
      << wide.refusal;
  // Two inches on the left, the right at none, would hide the pilot's name.
  const MarginCheck left = check(letter, 2.0, 0.0, 0.25, 0.25);
  EXPECT_TRUE(left.across);
  EXPECT_NE(left.refusal.find("the left margin may be 1.29 in at most"), std::string::npos)
      << left.refusal;
  EXPECT_EQ(check(letter, 1.29, 0.0, 0.25, 0.25).refusal, "");
  // Tall margins: rows would overprint. Legal paper is no taller.
  EXPECT_FALSE(check(SheetOf(PaperSize::Legal), 0.25, 0.25, 1.5, 1.0).across);
  EXPECT_NE(check(SheetOf(PaperSize::Legal), 0.25, 0.25, 1.5, 1.0).refusal, "");
  EXPECT_NE(check(letter, 100, 100, 100, 100).refusal, "");
}

// Leg rows per page of a filled log.
std::vector<int> RowsPerPage(RecordingCanvas canvas, const Plan& plan) {
  PrintContext ctx;
  const int pages = PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx);
  std::vector<int> rows;
  for (int page = 1; page <= pages; ++page) rows.push_back(LegRowsOn(canvas, page));
  return rows;
}

Plan Unmargined(Plan plan) {
  plan.print = PrintSettings{};
  return plan;
}

TEST(PageCapacity, OneRowFewerForEveryTwoAirfieldsWhereTheSheetHoldsThem) {
  // Letter without margins keeps the counts printed logs always had, where
  // printing the airfields once would not save a page.
  const RecordingCanvas letter = SheetCanvas(Sheet::Letter, false);
  const int expected[] = {12, 12, 11, 11, 10};
  for (int n = 0; n < 5; ++n) {
    EXPECT_EQ(RowsPerPage(letter, Unmargined(MakePlan(12, n))).front(), expected[n]) << n;
  }
  EXPECT_EQ(RowsPerPage(letter, Unmargined(MakePlan(13, 0))), (std::vector<int>{12, 1}));
  EXPECT_EQ(RowsPerPage(letter, Unmargined(MakePlan(12, 2))), (std::vector<int>{11, 1}));
  // Four airfields under the last ten legs save the third page of 10, 10, 2.
  EXPECT_EQ(RowsPerPage(letter, Unmargined(MakePlan(22, 4))), (std::vector<int>{12, 10}));

  // A4 is shorter: one airfield under 12 legs would cross the frame.
  const RecordingCanvas a4 = SheetCanvas(Sheet::A4, false);
  EXPECT_EQ(RowsPerPage(a4, Unmargined(MakePlan(12, 1))), (std::vector<int>{11, 1}));
  // Nine airfields under 8 legs would leave the letter frame.
  EXPECT_EQ(RowsPerPage(letter, Unmargined(MakePlan(12, 9))), (std::vector<int>{7, 5}));
}

TEST(PageLoop, ThirteenLegsWithoutAirfieldsMakeTwoPages) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan = MakePlan(13, 0);
  PrintContext ctx;
  ASSERT_EQ(PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx), 2);

  EXPECT_EQ(LegRowsOn(canvas, 1), 12);
  EXPECT_EQ(LegRowsOn(canvas, 2), 1);
  EXPECT_EQ(canvas.Of(CanvasOp::NewPage).size(), 1u);
  EXPECT_EQ(canvas.Of(CanvasOp::EndDoc).size(), 1u);

  // Every page starts white, all over.
  for (int page = 1; page <= 2; ++page) {
    const CanvasOp first = canvas.Of(CanvasOp::FillRect, page).front();
    EXPECT_EQ(first.brush, kWhite);
    EXPECT_EQ(first.x0, 0);
    EXPECT_EQ(first.y0, 0);
    EXPECT_EQ(first.x1, 6299);
    EXPECT_EQ(first.y1, 4799);
  }

  // The page's departure sits in the column header: the first page starts
  // at Start, the second at the twelfth checkpoint.
  EXPECT_EQ(canvas.TextsOf("Start", 1).size(), 1u);
  EXPECT_EQ(canvas.TextsOf("CP12", 2).size(), 1u);
  EXPECT_EQ(canvas.TextsOf("CP13", 2).size(), 1u);
  EXPECT_TRUE(canvas.TextsOf("CP13", 1).empty());

  // The totals only on the page with the last leg.
  const std::string dist = std::to_string(ComputeLog(plan).totals.dist);
  EXPECT_TRUE(canvas.TextsOf(dist, 1).empty());
  EXPECT_EQ(canvas.TextsOf(dist, 2).size(), 1u);
  EXPECT_EQ(canvas.TextsOf("Total", 1).size(), 1u);
  EXPECT_EQ(canvas.TextsOf("Halvix navigation log \u2014 page 1 of 2", 1).size(), 1u);
  EXPECT_EQ(canvas.TextsOf("Halvix navigation log \u2014 page 2 of 2", 2).size(), 1u);
}

TEST(PageLoop, AnAirfieldListTooLongForOnePageContinuesOnTheNext) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan = MakePlan(32, 30);
  PrintContext ctx;
  // 12 + 12 + 8 legs; the last leg page starts the airfield block and a
  // page of its own finishes it.
  ASSERT_EQ(PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx), 4);
  EXPECT_EQ(LegRowsOn(canvas, 1), 12);
  EXPECT_EQ(LegRowsOn(canvas, 3), 8);
  EXPECT_EQ(LegRowsOn(canvas, 4), 0);
  EXPECT_EQ(canvas.TextsOf("CP32", 3).size(), 1u);
  EXPECT_EQ(canvas.TextsOf(std::to_string(ComputeLog(plan).totals.dist), 3).size(), 1u);
  for (int j = 0; j < 30; ++j) {
    EXPECT_EQ(canvas.TextsOf("Field" + std::to_string(j)).size(), 1u) << j;
  }
  EXPECT_EQ(canvas.TextsOf("Field0", 3).size(), 1u);
  EXPECT_EQ(canvas.TextsOf("Field29", 4).size(), 1u);
  // The continuation page keeps the header row and the footer.
  EXPECT_EQ(canvas.TextsOf("Pilot:", 4).size(), 1u);
  EXPECT_EQ(canvas.TextsOf(FooterText(4, 4), 4).size(), 1u);
  EXPECT_TRUE(canvas.TextsOf("Total", 4).empty());
}

TEST(PageLoop, ContinuationPagesCarryHeadingsAndSubtotals) {
  // Headings and ground speed are entered once; page 2 starts on leg 13.
  Plan plan = MakePlan(1, 0);
  for (int i = 2; i <= 14; ++i) {
    AddRow(plan, RowBuilder("CP" + std::to_string(i)).distance_nm(20));
  }
  const NavLog log = ComputeLog(plan);
  const LegResult& first = log.legs[0];
  ASSERT_EQ(log.legs[12].mh, NOT_ENTERED);
  RecordingCanvas canvas = ExampleCanvas();
  PrintContext ctx;
  ASSERT_EQ(PrintFilledLogOn(canvas, plan, log, ctx), 2);

  // Compass and magnetic heading agree without a deviation; both print.
  const std::string mh = "(" + FormatInt(first.mh, 3, false) + ")";
  const std::string gs = "(" + FormatInt(first.gs, 0, false) + ")";
  ASSERT_EQ(first.ch, first.mh);
  EXPECT_TRUE(canvas.TextsOf(mh, 1).empty());
  EXPECT_TRUE(canvas.TextsOf(gs, 1).empty());
  std::vector<int> rights;
  for (const std::string& carried : {mh, gs}) {
    for (const CanvasOp& op : canvas.TextsOf(carried, 2)) {
      EXPECT_LT(op.y0, 931 + 281) << "on the first row only";
      rights.push_back(op.x1 + ctx.padx);
    }
  }
  EXPECT_EQ(rights, (std::vector<int>{ctx.cpleft, ctx.rightleft + ctx.rcolwidth,
                                      ctx.rightleft + 3 * ctx.rcolwidth}));

  // Page 1's Total row: the first 12 legs' sums in parentheses, and a note.
  const LegResult sub = TotalsThrough(log, 12);
  EXPECT_EQ(sub.dist, 11 + 11 * 20);
  for (const std::string& text : {FormatInt(sub.dist, 0, true), FormatInt(sub.ete, 0, true),
                                  FormatReal(sub.fuelused, true)}) {
    EXPECT_EQ(canvas.TextsOf(text, 1).size(), 1u) << text;
  }
  std::string note;
  for (const CanvasOp& op : canvas.Of(CanvasOp::Text, 1)) {
    if (op.fontsize == kMinTextSize) note += (note.empty() ? "" : " ") + op.text;
  }
  EXPECT_EQ(note, SubtotalNote(2, false));
  EXPECT_EQ(canvas.TextsOf(std::to_string(ComputeLog(plan).totals.dist), 2).size(), 1u);
}

// The texts of a page's airfield-block notes, joined across their lines.
std::string FieldNotes(const RecordingCanvas& canvas, int page) {
  std::string notes;
  for (const CanvasOp& op : canvas.Of(CanvasOp::Text, page)) {
    const std::string& t = op.text;
    if (t.find("irfields") != std::string::npos || t.rfind("see", 0) == 0 ||
        t.rfind("page", 0) == 0) {
      notes += (notes.empty() ? "" : " ") + op.text;
    }
  }
  return notes;
}

TEST(PageLoop, AirfieldsNeverMultiplyThePages) {
  // A list that just fits beside one leg row once printed one leg a page.
  const RecordingCanvas letter = SheetCanvas(Sheet::Letter, false);
  int previous = 0;
  for (int n : {0, 10, 16, 20, 21, 29}) {
    RecordingCanvas canvas = letter;
    PrintContext ctx;
    const int pages = PrintFilledLogOn(canvas, MakePlan(32, n), ComputeLog(MakePlan(32, n)), ctx);
    EXPECT_GE(pages, previous) << n;
    EXPECT_LE(pages, 4) << n;
    previous = pages;
  }
  RecordingCanvas canvas = letter;
  PrintContext ctx;
  ASSERT_EQ(PrintFilledLogOn(canvas, MakePlan(32, 20), ComputeLog(MakePlan(32, 20)), ctx), 4);
  EXPECT_EQ(FieldNotes(canvas, 1), "Airfields: see pages 3\u20134");
  EXPECT_EQ(FieldNotes(canvas, 2), "Airfields: see pages 3\u20134");
  EXPECT_EQ(FieldNotes(canvas, 3), "More airfields: see page 4");
  EXPECT_EQ(FieldNotes(canvas, 4), "");
}

TEST(PageLoop, NothingIsDrawnWithoutALegOrAnOpenDevice) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan;
  PrintContext ctx;
  EXPECT_EQ(PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx), 0);
  EXPECT_TRUE(canvas.ops().empty());

  RecordingCanvas refusing = ExampleCanvas();
  refusing.FailToOpen();
  EXPECT_EQ(PrintFilledLogOn(refusing, MakePlan(3, 0), ComputeLog(MakePlan(3, 0)), ctx), 0);
  EXPECT_EQ(PrintBlankFormOn(refusing, MakePlan(3, 0), ctx), 0);
  EXPECT_TRUE(refusing.ops().empty());
  EXPECT_EQ(ctx.printer, nullptr);
}

// Grey fills per page, in drawing order: rows first, then the Total row.
std::vector<int> GreyFillTops(const RecordingCanvas& canvas, int page) {
  std::vector<int> tops;
  for (const CanvasOp& op : canvas.Of(CanvasOp::FillRect, page)) {
    if (op.brush == kShadeGrey && op.x0 == 149) tops.push_back(op.y0);
  }
  return tops;
}

TEST(Shading, FirstRowOfEveryPageIsGreyAndTheTotalRowFollowsTheCount) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan = MakePlan(14, 0, true);
  PrintContext ctx;
  ASSERT_EQ(PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx), 2);
  const int half = 563 / 2;

  // Page 1: 12 rows, grey 1st, 3rd, ... 11th, and the Total row (even count).
  std::vector<int> expected;
  for (int i = 0; i < 12; i += 2) expected.push_back(931 + i * half);
  expected.push_back(931 + (12 * 563) / 2);
  EXPECT_EQ(GreyFillTops(canvas, 1), expected);

  // Page 2: 2 rows, starting grey again; the Total row grey (even).
  EXPECT_EQ(GreyFillTops(canvas, 2), (std::vector<int>{931, 931 + 563}));

  // The checkpoint column is never shaded.
  for (const CanvasOp& op : canvas.Of(CanvasOp::FillRect)) {
    if (op.brush == kShadeGrey) {
      EXPECT_TRUE(op.x1 <= 3020 || op.x0 >= 3846);
    }
  }

  RecordingCanvas odd = ExampleCanvas();
  PrintFilledLogOn(odd, MakePlan(11, 0, true), ComputeLog(MakePlan(11, 0, true)), ctx);
  EXPECT_EQ(GreyFillTops(odd, 1).size(), 6u) << "11 rows: six grey, white Total row";

  RecordingCanvas plain = ExampleCanvas();
  PrintFilledLogOn(plain, MakePlan(11, 0, false), ComputeLog(MakePlan(11, 0, false)), ctx);
  EXPECT_TRUE(GreyFillTops(plain, 1).empty());
}

TEST(BlankForm, OnePageOfLegRowsAndFourAirfieldRowsWithNoPlanText) {
  RecordingCanvas canvas = ExampleCanvas();
  Plan plan = MakePlan(20, 7, true);
  plan.aircraft.pilotname = "Jordan Avery";
  PrintContext ctx;
  ASSERT_EQ(PrintBlankFormOn(canvas, plan, ctx), 1);

  EXPECT_EQ(canvas.pages(), 1);
  EXPECT_TRUE(canvas.Of(CanvasOp::NewPage).empty());
  // Ten rows where the sheet holds them with four airfield rows; the worked
  // example's printer, a quarter inch in on every side, holds nine.
  EXPECT_EQ(LegRowsOn(canvas, 1), 9);
  EXPECT_EQ(GreyFillTops(canvas, 1).size(), 5u) << "5 grey rows and the odd Total row";
  RecordingCanvas letter = SheetCanvas(Sheet::Letter, false);
  PrintContext whole;
  PrintBlankFormOn(letter, Unmargined(plan), whole);
  EXPECT_EQ(LegRowsOn(letter, 1), 10);

  // Only the form's own words; no title, names, values or airfield texts.
  const std::vector<std::string> labels = {"Planned",
                                           "TC",
                                           "Alt",
                                           "Pred. Wind",
                                           "Dir",
                                           "Speed",
                                           "Temp",
                                           "TAS",
                                           "WCA",
                                           "TH",
                                           "MH",
                                           "Var",
                                           "Dev",
                                           "Checkpoints",
                                           "CH",
                                           "Dist",
                                           "Rem",
                                           "GS",
                                           "Act",
                                           "ETE",
                                           "ATE",
                                           "ETA",
                                           "ATA",
                                           "fuel",
                                           "used",
                                           "rem",
                                           "vor",
                                           "freq",
                                           "ident",
                                           "brng",
                                           "to/fr",
                                           "Notes",
                                           "Total",
                                           FooterText(1, 1),
                                           "Pilot:",
                                           "Aircraft:",
                                           "Fuel:",
                                           "Time Away:",
                                           "Field Name",
                                           "Elev",
                                           "TPA",
                                           "Runways",
                                           "ATC",
                                           "CTAF",
                                           "ATIS",
                                           "GND",
                                           "UNI",
                                           "Notes:",
                                           ""};
  for (const CanvasOp& op : canvas.Of(CanvasOp::Text)) {
    EXPECT_NE(std::find(labels.begin(), labels.end(), op.text), labels.end())
        << "plan text on the blank form: " << op.text;
  }
  // Under four airfield rows only the left notes area still fits this page.
  EXPECT_EQ(canvas.TextsOf("Notes:").size(), 1u);
  EXPECT_EQ(canvas.TextsOf("Notes:")[0].x0, ctx.tableleft + 2 * ctx.padx);
  EXPECT_EQ(canvas.Of(CanvasOp::Polygon).size(), 18u);

  // Four empty airfield rows under the header row: five top lines.
  int fieldrows = 0;
  for (const CanvasOp& op : canvas.Of(CanvasOp::Line)) {
    if (op.x0 == ctx.cpleft && op.x1 == ctx.tableright && op.y0 == op.y1 && op.y0 > 931) {
      ++fieldrows;
    }
  }
  EXPECT_EQ(fieldrows, 1 + 4 + 1) << "header row, four rows and the closing line";
}

TEST(BlankForm, DoesNotChangeAFollowingFilledLog) {
  Plan plan = MakePlan(13, 3, true);
  PrintContext ctx;
  RecordingCanvas alone = ExampleCanvas();
  PrintFilledLogOn(alone, plan, ComputeLog(plan), ctx);

  PrintContext reused;
  RecordingCanvas blank = ExampleCanvas();
  PrintBlankFormOn(blank, plan, reused);
  RecordingCanvas after = ExampleCanvas();
  PrintFilledLogOn(after, plan, ComputeLog(plan), reused);

  ASSERT_EQ(after.ops().size(), alone.ops().size());
  for (std::size_t i = 0; i < alone.ops().size(); ++i) {
    const CanvasOp& a = alone.ops()[i];
    const CanvasOp& b = after.ops()[i];
    ASSERT_TRUE(a.kind == b.kind && a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 &&
                a.text == b.text && a.brush == b.brush)
        << "operation " << i << " differs";
  }
}

}  // namespace

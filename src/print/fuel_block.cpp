#include "print/fuel_block.h"

#include <algorithm>
#include <cstdio>

#include "plan/cnumbers.h"

namespace {

std::string Fixed(double value, int decimals) {
  CNumbers c_numbers;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// What the pilot reads for each line of the fuel plan.
const char* ItemLabel(const std::string& item) {
  static const std::pair<const char*, const char*> labels[] = {{"taxi", "Start, taxi, run-up"},
                                                               {"climb", "Climb"},
                                                               {"cruise", "Cruise"},
                                                               {"descent", "Descent"},
                                                               {"trip", "Trip"},
                                                               {"contingency", "Contingency"},
                                                               {"alternate", "Alternate"},
                                                               {"reserve", "Final reserve"},
                                                               {"extra", "Extra"},
                                                               {"required", "Required"},
                                                               {"onboard", "On board"},
                                                               {"leftover", "Left over"}};
  for (const auto& [key, label] : labels) {
    if (item == key) return label;
  }
  return "";
}

struct Table {
  PrintContext& ctx;
  int left;
  int top;
  int rowh;
  std::vector<int> columns;  // right edges after the first, left-aligned column

  int Bottom(int row) const { return top + (row + 1) * rowh; }
  void Row(int row, const std::vector<std::string>& cells, bool rule) {
    Canvas& c = *ctx.printer;
    const int y = Bottom(row) - ctx.pady;
    DrawTextLeft(ctx, left + ctx.padx, y, cells[0], 0);
    for (std::size_t k = 1; k < cells.size() && k <= columns.size(); ++k) {
      const int right = columns[k - 1];
      const int w = c.TextWidth(cells[k]);
      c.TextOut(right - ctx.padx - w, y - c.TextHeight(cells[k]), cells[k]);
    }
    if (rule) DrawLine(c, left, Bottom(row), columns.back(), Bottom(row));
  }
};

}  // namespace

void DrawFuelAndLoading(PrintContext& ctx, int top, int bottom, const FuelPlan* fuel,
                        const WeightBalance* wb) {
  Canvas& c = *ctx.printer;
  const int width = ctx.tableright - ctx.tableleft;
  const int half = width / 2;
  const int rowh = std::max(ctx.fieldrowheight, ctx.text12height + 2 * ctx.pady);
  c.SetBrushColor(kWhite);
  c.SetBrushStyle(BrushStyle::Solid);

  if (fuel) {
    Table t{ctx, ctx.tableleft, top, rowh, {}};
    const int x0 = ctx.tableleft;
    t.columns = {x0 + half * 55 / 100, x0 + half * 75 / 100, x0 + half * 95 / 100};
    c.SetFontSize(12);
    t.Row(0, {"Fuel plan", "gal", "min"}, true);
    c.SetFontSize(10);
    int row = 1;
    for (const FuelPlanLine& line : fuel->lines) {
      if (t.Bottom(row) > bottom) break;
      std::string label = ItemLabel(line.item);
      if (line.item == "required" && fuel->short_of_fuel) label += "  ** MORE THAN ON BOARD **";
      const bool sum = line.item == "trip" || line.item == "required";
      t.Row(row, {label, Fixed(line.gallons, 1), std::to_string(line.minutes)}, sum);
      ++row;
    }
    for (const std::string& warning : fuel->warnings) {
      if (t.Bottom(row) > bottom) break;
      c.SetFontSize(8);
      DrawTextInCell(ctx, x0 + ctx.padx, t.Bottom(row) - ctx.pady, half - 2 * ctx.padx,
                     "! " + warning);
      ++row;
    }
  }

  if (wb) {
    const int x0 = ctx.tableleft + half + ctx.padx * 4;
    const int w = ctx.tableright - x0;
    Table t{ctx, x0, top, rowh, {x0 + w * 45 / 100, x0 + w * 62 / 100, x0 + w * 80 / 100, x0 + w}};
    c.SetFontSize(12);
    t.Row(0, {"Weight and balance", "lb", "arm", "moment"}, true);
    c.SetFontSize(10);
    int row = 1;
    for (const LoadLine& line : wb->lines) {
      if (t.Bottom(row) > bottom) break;
      t.Row(row++, {line.item, Fixed(line.lb, 1), Fixed(line.arm, 2), Fixed(line.moment, 0)},
            false);
    }
    const auto point = [&](const char* name, const LoadPoint& p) {
      if (t.Bottom(row) > bottom) return;
      const bool ok = p.inside && !p.over_max;
      t.Row(row++,
            {std::string(name) + (ok ? "" : "  ** OUTSIDE **"), Fixed(p.lb, 1), Fixed(p.cg, 2),
             Fixed(p.moment, 0)},
            false);
    };
    DrawLine(c, x0, t.Bottom(row - 1), x0 + w, t.Bottom(row - 1));
    point("Takeoff", wb->takeoff);
    point("Landing", wb->landing);
    for (const std::string& warning : wb->warnings) {
      if (t.Bottom(row) > bottom) break;
      c.SetFontSize(8);
      DrawTextInCell(ctx, x0 + ctx.padx, t.Bottom(row) - ctx.pady, w - 2 * ctx.padx,
                     "! " + warning);
      ++row;
    }
  }
}

#include "print/kneeboard.h"

#include <algorithm>
#include <cmath>

#include "geo/daylight.h"
#include "plan/columns.h"
#include "plan/fuel.h"
#include "print/primitives.h"

namespace {

// What a kneeboard column shows: a column of the log, or one of its own.
enum class Own { None, MagneticCourses, Eta, Ata };

struct KneeColumn {
  LogColumn column;  // when `own` is None
  Own own;
  double weight;  // share of the width
};

// clang-format off
const KneeColumn kKneeColumns[] = {
    {LogColumn::Name,     Own::None,            2.9},
    {LogColumn::Alt,      Own::None,            1.0},
    {LogColumn::Mh,       Own::MagneticCourses, 1.8},
    {LogColumn::Dist,     Own::None,            0.9},
    {LogColumn::Gs,       Own::None,            0.9},
    {LogColumn::Ete,      Own::None,            0.9},
    {LogColumn::Name,     Own::Eta,             1.3},
    {LogColumn::Name,     Own::Ata,             1.3},
    {LogColumn::FuelRem,  Own::None,            1.0},
    {LogColumn::VorFreq,  Own::None,            1.3},
    {LogColumn::VorBrng,  Own::None,            1.0},
    {LogColumn::VorIdent, Own::None,            1.1},
};
// clang-format on

std::string Caption(const KneeColumn& k) {
  switch (k.own) {
    case Own::MagneticCourses:
      return std::string("MC/") + ColumnInfo(LogColumn::Mh).caption;
    case Own::Eta:
      return "ETA";
    case Own::Ata:
      return "ATA";
    case Own::None:
      break;
  }
  return ColumnInfo(k.column).caption;
}

// Pixels of the device for a length in points.
struct Scale {
  double pxperpt = 1.0;
  int Px(double points) const { return static_cast<int>(std::lround(points * pxperpt)); }
};

// Text cut to a width at the canvas's current size.
void TextIn(Canvas& c, int x, int y, int width, const std::string& text) {
  if (text.empty() || width <= 0) return;
  c.TextOut(x, y, FitToWidth(c, text, width));
}

// The column headings' band, points: two lines of the smallest text.
constexpr int kHeadHeight = 19;

struct Frame {
  int left, top, right, bottom;
};

// One line of the log as the kneeboard prints it.
struct KneeRow {
  std::vector<std::string> cells;
};

std::string MagneticCourse(const LegResult& leg) {
  if (leg.tc == NOT_ENTERED) return std::string();
  const int32_t var = leg.var == NOT_ENTERED ? 0 : leg.var;
  return FormatInt(((leg.tc + var) % 360 + 360) % 360, 3, false);
}

std::vector<KneeRow> Rows(const Plan& plan, const NavLog& log, bool blank) {
  std::vector<KneeRow> rows;
  const std::size_t n = sizeof kKneeColumns / sizeof kKneeColumns[0];
  if (blank) {
    rows.assign(14, KneeRow{std::vector<std::string>(n)});
    return rows;
  }
  const std::optional<Departure> departure = ParseDeparture(plan.departure);
  KneeRow first{std::vector<std::string>(n)};
  first.cells[0] = plan.route.empty() ? std::string() : plan.route.front().caption;
  if (departure) first.cells[6] = FormatUtcMinutes(departure->minutes);
  rows.push_back(first);
  int elapsed = 0;
  bool timed = departure.has_value();
  for (int32_t k = 0; k < log.LegCount(); ++k) {
    const LegResult leg = ShownLeg(log, k);
    KneeRow row{std::vector<std::string>(n)};
    for (std::size_t i = 0; i < n; ++i) {
      const KneeColumn& col = kKneeColumns[i];
      switch (col.own) {
        case Own::None:
          row.cells[i] = LogCellText(leg, col.column, LogForm::Shown);
          break;
        case Own::MagneticCourses: {
          const std::string mc = MagneticCourse(leg);
          const std::string mh = LogCellText(leg, LogColumn::Mh, LogForm::Shown);
          row.cells[i] = mc.empty() && mh.empty() ? std::string() : mc + "/" + mh;
          break;
        }
        case Own::Eta:
          // Once a leg has no time, the ones after it have no ETA either.
          timed = timed && leg.ete != NOT_ENTERED;
          if (timed) {
            elapsed += leg.ete;
            row.cells[i] = FormatUtcMinutes(departure->minutes + elapsed);
          }
          break;
        case Own::Ata:
          break;
      }
    }
    const FuelState fuel = log.legs[static_cast<std::size_t>(k)].fuel;
    if ((fuel == FuelState::BelowReserve || fuel == FuelState::Exhausted) && !row.cells[8].empty())
      row.cells[8] += " !";
    rows.push_back(row);
  }
  KneeRow total{std::vector<std::string>(n)};
  total.cells[0] = "Total";
  for (std::size_t i = 0; i < n; ++i) {
    if (kKneeColumns[i].own == Own::None && i > 0)
      total.cells[i] = ShownTotalText(log, kKneeColumns[i].column);
  }
  rows.push_back(total);
  return rows;
}

void DrawPageHead(Canvas& c, const Scale& s, const Frame& f, const Plan& plan, bool blank,
                  const std::string& heading) {
  c.SetBrushColor(kWhite);
  c.SetFontSize(12);
  TextIn(c, f.left, f.top, f.right - f.left, blank ? heading : plan.title + " - " + heading);
  c.SetFontSize(8);
  if (!blank) {
    std::string line = plan.aircraft.acnumber + " " + plan.aircraft.actype +
                       "   Pilot: " + plan.aircraft.pilotname;
    if (!plan.departure.empty()) line += "   Departure: " + plan.departure;
    TextIn(c, f.left, f.top + s.Px(16), f.right - f.left, line);
  }
}

void DrawFooter(Canvas& c, const Scale& s, const Frame& f, int page, int pages) {
  c.SetBrushColor(kWhite);
  c.SetFontSize(kKneeboardMinText);
  const int width = f.right - f.left;
  const int line = s.Px(9);
  // What the kneeboard leaves out is never cut: on a narrow sheet it takes
  // two lines.
  const TwoLines out = SplitTwoLines(c, KneeboardLeavesOut(), width);
  const bool two = c.TextWidth(KneeboardLeavesOut()) > width && !out.lower.empty();
  const int top = f.bottom - (two ? 3 : 2) * line;
  TextIn(c, f.left, top, width,
         "Kneeboard log, page " + std::to_string(page) + " of " + std::to_string(pages) + ".");
  if (two) {
    TextIn(c, f.left, top + line, width, out.upper);
    TextIn(c, f.left, top + 2 * line, width, out.lower);
  } else {
    TextIn(c, f.left, top + line, width, KneeboardLeavesOut());
  }
}

// The log pages: a head, the column headings, rows and a footer.
void DrawLogPage(Canvas& c, const Scale& s, const Frame& f, const Plan& plan, bool blank,
                 const std::vector<KneeRow>& rows, std::size_t first, std::size_t count, int page,
                 int pages, int rowh) {
  DrawPageHead(c, s, f, plan, blank, "Kneeboard Log");
  const std::size_t n = sizeof kKneeColumns / sizeof kKneeColumns[0];
  double total_weight = 0;
  for (const KneeColumn& k : kKneeColumns) total_weight += k.weight;
  std::vector<int> edges{f.left};
  double at = 0;
  for (const KneeColumn& k : kKneeColumns) {
    at += k.weight;
    edges.push_back(f.left + static_cast<int>(std::lround((f.right - f.left) * at / total_weight)));
  }
  const int pad = s.Px(2);
  const int tabletop = f.top + s.Px(34);
  const int headh = s.Px(kHeadHeight);
  c.SetBrushColor(kBlack);
  DrawLine(c, f.left, tabletop, f.right, tabletop);
  c.SetBrushColor(kWhite);
  c.SetFontSize(kKneeboardMinText);
  // A heading too wide for its column goes on two lines, broken at its space.
  for (std::size_t i = 0; i < n; ++i) {
    const std::string caption = Caption(kKneeColumns[i]);
    const int width = edges[i + 1] - edges[i] - 2 * pad;
    const std::size_t space = caption.find(' ');
    if (c.TextWidth(caption) <= width || space == std::string::npos) {
      TextIn(c, edges[i] + pad, tabletop + pad, width, caption);
    } else {
      TextIn(c, edges[i] + pad, tabletop + pad, width, caption.substr(0, space));
      TextIn(c, edges[i] + pad, tabletop + pad + s.Px(8), width, caption.substr(space + 1));
    }
  }
  const int bodytop = tabletop + headh;
  const int bottom = bodytop + static_cast<int>(count) * rowh;
  c.SetBrushColor(kBlack);
  for (std::size_t r = 0; r <= count; ++r)
    DrawLine(c, f.left, bodytop + static_cast<int>(r) * rowh, f.right,
             bodytop + static_cast<int>(r) * rowh);
  for (int x : edges) DrawLine(c, x, tabletop, x, bottom);
  c.SetBrushColor(kWhite);
  c.SetFontSize(8);
  for (std::size_t r = 0; r < count; ++r) {
    const KneeRow& row = rows[first + r];
    const int y = bodytop + static_cast<int>(r) * rowh + (rowh - c.TextHeight("0")) / 2;
    for (std::size_t i = 0; i < n; ++i) {
      const std::string& text = row.cells[i];
      if (text.empty()) continue;
      const int width = edges[i + 1] - edges[i] - 2 * pad;
      const std::string fitted = FitToWidth(c, text, width);
      // Names read from the left, figures line up on the right.
      const int x = i == 0 ? edges[i] + pad : edges[i + 1] - pad - c.TextWidth(fitted);
      c.TextOut(x, y, fitted);
    }
  }
  DrawFooter(c, s, f, page, pages);
}

void DrawAirfieldPage(Canvas& c, const Scale& s, const Frame& f, const Plan& plan, int page,
                      int pages) {
  DrawPageHead(c, s, f, plan, false, "Airfields");
  const std::optional<Departure> departure = ParseDeparture(plan.departure);
  static const char* const kLabels[kAirfieldColumns] = {"",     "Elev", "TPA", "Runways", "ATC",
                                                        "CTAF", "ATIS", "GND", "UNI"};
  const int width = f.right - f.left;
  int y = f.top + s.Px(36);
  const int footer_top = f.bottom - s.Px(30);
  for (const AirfieldInfo& field : plan.airfields) {
    std::vector<std::string> lines;
    std::string first, second;
    for (int k = 1; k <= 3; ++k) {
      if (!AirfieldColumn(field, k).empty())
        first +=
            std::string(first.empty() ? "" : "    ") + kLabels[k] + " " + AirfieldColumn(field, k);
    }
    for (int k = 4; k < kAirfieldColumns; ++k) {
      if (!AirfieldColumn(field, k).empty())
        second +=
            std::string(second.empty() ? "" : "    ") + kLabels[k] + " " + AirfieldColumn(field, k);
    }
    if (!first.empty()) lines.push_back(first);
    if (!second.empty()) lines.push_back(second);
    if (departure) {
      const std::string day = AirfieldDaylightLine(plan, field, departure->date);
      if (!day.empty()) lines.push_back(day.substr(field.name.size() + 2));
    }
    const int need = s.Px(14) + static_cast<int>(lines.size()) * s.Px(11) + s.Px(8);
    if (y + need > footer_top) {
      c.SetBrushColor(kWhite);
      c.SetFontSize(8);
      TextIn(c, f.left, y, width,
             "More airfields than this page holds: the full log has them all.");
      break;
    }
    c.SetBrushColor(kWhite);
    c.SetFontSize(10);
    TextIn(c, f.left, y, width, field.name);
    y += s.Px(14);
    c.SetFontSize(8);
    for (const std::string& line : lines) {
      TextIn(c, f.left + s.Px(8), y, width - s.Px(8), line);
      y += s.Px(11);
    }
    y += s.Px(4);
    c.SetBrushColor(kBlack);
    DrawLine(c, f.left, y, f.right, y);
    y += s.Px(4);
  }
  DrawFooter(c, s, f, page, pages);
}

}  // namespace

std::vector<std::string> KneeboardCaptions() {
  std::vector<std::string> captions;
  for (const KneeColumn& k : kKneeColumns) captions.push_back(Caption(k));
  return captions;
}

std::string KneeboardLeavesOut() {
  std::string left;
  for (const LogColumnInfo& info : LogColumns()) {
    bool shown = false;
    for (const KneeColumn& k : kKneeColumns) {
      shown = shown || (k.own == Own::None && k.column == info.column) ||
              (k.own == Own::MagneticCourses && info.column == LogColumn::Mh);
    }
    if (!shown) left += std::string(left.empty() ? "" : ", ") + info.caption;
  }
  return "The full log also has " + left + ".";
}

int PrintKneeboardOn(Canvas& canvas, const Plan& plan, const NavLog& log, bool blank) {
  if (!blank && log.LegCount() <= 0) return 0;
  if (!canvas.BeginDoc()) return 0;
  Scale s;
  const int mm = canvas.WidthMM();
  s.pxperpt = mm > 0 ? canvas.PageWidth() / (mm / 25.4) / 72.0 : 1.0;
  // The plan's margins, but never so small a clip covers the edge of the
  // log nor so large the columns have no room.
  auto margin = [&](double inches) { return s.Px(72.0 * std::clamp(inches, 0.3, 0.75)); };
  const Frame f{margin(plan.print.leftmargin), margin(plan.print.topmargin),
                canvas.PageWidth() - margin(plan.print.rightmargin),
                canvas.PageHeight() - margin(plan.print.bottommargin)};

  const std::vector<KneeRow> rows = Rows(plan, log, blank);
  const int rowh = s.Px(22);  // room for a handwritten time
  const int room = (f.bottom - s.Px(32)) - (f.top + s.Px(34) + s.Px(kHeadHeight));
  const std::size_t per_page = static_cast<std::size_t>(std::max(1, room / std::max(1, rowh)));
  const std::size_t log_pages = (rows.size() + per_page - 1) / per_page;
  const bool fields = !blank && !plan.airfields.empty();
  const int pages = static_cast<int>(log_pages) + (fields ? 1 : 0);

  for (std::size_t p = 0; p < log_pages; ++p) {
    if (p > 0) canvas.NewPage();
    canvas.SetBrushColor(kWhite);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.FillRect(0, 0, canvas.PageWidth() - 1, canvas.PageHeight() - 1);
    const std::size_t first = p * per_page;
    DrawLogPage(canvas, s, f, plan, blank, rows, first, std::min(per_page, rows.size() - first),
                static_cast<int>(p) + 1, pages, rowh);
  }
  if (fields) {
    canvas.NewPage();
    canvas.SetBrushColor(kWhite);
    canvas.FillRect(0, 0, canvas.PageWidth() - 1, canvas.PageHeight() - 1);
    DrawAirfieldPage(canvas, s, f, plan, pages, pages);
  }
  canvas.EndDoc();
  return pages;
}

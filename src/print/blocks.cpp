#include "print/blocks.h"

#include <cstdio>

#include "geo/daylight.h"
#include "plan/cnumbers.h"

namespace {

void HatchedFill(Canvas& c, int x0, int y0, int x1, int y1) {
  c.SetBrushColor(kBlack);
  c.SetBrushStyle(BrushStyle::DiagonalCross);
  c.FillRect(x0, y0, x1, y1);
  c.SetBrushStyle(BrushStyle::Solid);
}

// A header-row value, kept inside its cell from x to right so a long name
// does not run over the next label.
void DrawCellValue(PrintContext& ctx, int x, int right, int ybottom, const std::string& text) {
  ctx.printer->SetFontSize(10);
  DrawTextInCell(ctx, x, ybottom, right - x, text);
}

// Left edges of the nine airfield columns, and the right edge of the last.
// Runways take two en-route columns rather than three: the third is shared
// among the five frequency columns, which need room for all their digits.
std::array<int, kAirfieldColumns + 1> FieldColumnEdges(const PrintContext& ctx) {
  const int e = static_cast<int>(0.95 * ctx.rcolwidth);
  const int f = e + ctx.rcolwidth / 5;
  const int widths[kAirfieldColumns] = {
      static_cast<int>(0.8 * ctx.cpwidth), e, e, 2 * ctx.rcolwidth, f, f, f, f, f};
  std::array<int, kAirfieldColumns + 1> edges{};
  edges[0] = ctx.cpleft;
  for (int k = 0; k < kAirfieldColumns; ++k) edges[k + 1] = edges[k] + widths[k];
  return edges;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The frequencies in a text: digits, a decimal point or comma, digits
// ("121.905", "122,8"), in the order they appear.
std::vector<std::string> Frequencies(const std::string& text) {
  std::vector<std::string> found;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    if (!IsDigit(text[i]) || (i > 0 && (IsDigit(text[i - 1]) || text[i - 1] == '.'))) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < n && IsDigit(text[end])) ++end;
    std::size_t frac = end + 1;
    while (frac < n && IsDigit(text[frac])) ++frac;
    const bool decimal = end < n && (text[end] == '.' || text[end] == ',') && frac > end + 1;
    if (decimal && (frac == n || text[frac] != '.')) found.push_back(text.substr(i, frac - i));
    i = decimal ? frac : end;
  }
  return found;
}

// A frequency column's text. A frequency cut short could be dialled, so it
// never is: the whole text where it fits on two lines at any size down to
// the smallest, else its frequencies without the words, else the first
// frequency alone, whole even where it runs past the cell.
void DrawFrequencyText(PrintContext& ctx, int x, int yupper, int ylower, const std::string& text,
                       int width) {
  const std::vector<std::string> freqs = Frequencies(text);
  if (freqs.empty()) {
    DrawTextTwoLines(ctx, x, yupper, ylower, text, width, 0);
    return;
  }
  std::string all;
  for (const std::string& freq : freqs) all += (all.empty() ? "" : " ") + freq;
  const int limit = width - 3 * ctx.padx;
  for (const std::string& candidate : {text, all, freqs[0]}) {
    const ShrunkLines shrunk = ShrinkToTwoLines(*ctx.printer, candidate, limit, kMinTextSize);
    if (shrunk.lines.fits || candidate == freqs[0]) {
      DrawLines(ctx, x, yupper, ylower, shrunk);
      return;
    }
  }
}

}  // namespace

void DrawHeaderRow(PrintContext& ctx, const AircraftInfo& aircraft, int a) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  const int b = static_cast<int>(0.92 * ctx.unitx);
  const int t = a + v / 4 - ctx.pady;
  const int aircraftx = 6 * ctx.colwidth;
  const int timex = ctx.rightleft + 3 * ctx.rcolwidth;

  HatchedFill(c, ctx.tableleft, a + v / 4, ctx.tableright, a + v / 4 + v / 8);

  DrawLine(c, ctx.tableleft, a + v / 4, ctx.tableright, a + v / 4);
  DrawLine(c, ctx.tableleft, a, ctx.tableleft, a + v / 4 + v / 8);
  DrawLine(c, ctx.tableright, a, ctx.tableright, a + v / 4 + v / 8);
  DrawLine(c, ctx.tableleft, a, ctx.tableright, a);
  for (int x : {ctx.tableleft + b, aircraftx, aircraftx + b, ctx.cpleft, ctx.cpleft + b, timex,
                timex + b}) {
    DrawLine(c, x, a, x, a + v / 4);
  }

  c.SetBrushColor(kWhite);
  c.SetFontSize(10);
  DrawTextInCell(ctx, ctx.tableleft, t, b, "Pilot:");
  DrawTextInCell(ctx, aircraftx, t, b, "Aircraft:");
  DrawTextInCell(ctx, ctx.cpleft, t, b, "Fuel:");
  DrawTextInCell(ctx, timex, t, b, "Time Away:");
  if (ctx.blankform) return;

  // Wide enough for any pair of doubles "%1.1f" can produce.
  char fuel[720];
  CNumbers c_numbers;
  std::snprintf(fuel, sizeof fuel, "%1.1f Gal, %1.1f GPH", aircraft.acfullfuel, aircraft.acgph);
  DrawCellValue(ctx, ctx.tableleft + b, aircraftx, t, aircraft.pilotname);
  DrawCellValue(ctx, aircraftx + b, ctx.cpleft, t, aircraft.acnumber);
  DrawCellValue(ctx, ctx.cpleft + b, timex, t, fuel);
}

void DrawBand(PrintContext& ctx, int a) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  HatchedFill(c, ctx.tableleft, a, ctx.tableright, a + v / 8);
  DrawLine(c, ctx.tableleft, a, ctx.tableright, a);
  DrawLine(c, ctx.tableleft, a, ctx.tableleft, a + v / 8);
  DrawLine(c, ctx.tableright, a, ctx.tableright, a + v / 8);
}

void DrawFieldRow(PrintContext& ctx, int a, const FieldTexts& s) {
  Canvas& c = *ctx.printer;
  const int lower = a + ctx.fieldrowheight - ctx.pady;
  const int upper = lower - ctx.text8height;
  const auto edges = FieldColumnEdges(ctx);

  c.SetBrushColor(kWhite);
  DrawTextTwoLines(ctx, edges[0], upper, lower, s[0], edges[1] - edges[0], 0);
  ctx.cellwidth = edges[2] - edges[1];
  for (int k = 1; k <= 2; ++k) {
    if (ParseLong(s[k].c_str()) > 0) {
      DrawTextRight(ctx, edges[k], lower, s[k]);
    } else {
      DrawTextInCell(ctx, edges[k], lower, ctx.cellwidth, s[k]);
    }
  }
  DrawTextTwoLines(ctx, edges[3], upper, lower, s[3], edges[4] - edges[3], 0);
  for (int k = 4; k < kAirfieldColumns; ++k) {
    DrawFrequencyText(ctx, edges[k], upper, lower, s[k], edges[k + 1] - edges[k]);
  }

  c.SetBrushColor(kBlack);
  DrawLine(c, ctx.cpleft, a, ctx.tableright, a);
  for (int k = 0; k < kAirfieldColumns; ++k)
    DrawLine(c, edges[k], a, edges[k], a + ctx.fieldrowheight);
  DrawLine(c, ctx.tableright, a, ctx.tableright, a + ctx.fieldrowheight);
}

void DrawNotesArea(PrintContext& ctx, int x0, int y, int x1, int bottom) {
  Canvas& c = *ctx.printer;
  const int step = ctx.fieldrowheight;
  if (step <= 0) return;
  c.SetPenStyle(PenStyle::Dotted);
  for (bool first = true; y + step < bottom; y += step, first = false) {
    DrawLine(c, x0 + 2 * ctx.padx, y, x1 - 2 * ctx.padx, y);
    if (first) {
      c.SetFontSize(12);
      c.SetBrushColor(kWhite);
      c.TextOut(x0 + 2 * ctx.padx, y - ctx.pady - ctx.text12height, "Notes:");
      c.SetBrushColor(kBlack);
    }
  }
  c.SetPenStyle(PenStyle::Solid);
}

void DrawAirfieldBlock(PrintContext& ctx, const std::vector<AirfieldInfo>& fields, int fieldtop,
                       bool header, int notesbottom, const std::vector<std::string>& daylight) {
  Canvas& c = *ctx.printer;
  const int rowh = ctx.fieldrowheight;
  const int n = static_cast<int>(fields.size());

  c.SetBrushColor(kBlack);
  if (!header) {
    // No room for the block on this page: only the line that closes the band.
    DrawLine(c, ctx.tableleft, fieldtop, ctx.tableright, fieldtop);
    DrawNotesArea(ctx, ctx.tableleft, fieldtop + rowh, ctx.tableright, notesbottom);
    return;
  }
  DrawLine(c, ctx.tableleft, fieldtop, ctx.cpleft, fieldtop);
  c.SetFontSize(10);
  DrawFieldRow(ctx, fieldtop,
               {"Field Name", "Elev", "TPA", "Runways", "ATC", "CTAF", "ATIS", "GND", "UNI"});
  c.SetFontSize(8);
  for (int i = 0; i < n; ++i) {
    FieldTexts texts;
    for (int k = 0; k < kAirfieldColumns; ++k) texts[k] = AirfieldColumn(fields[i], k);
    DrawFieldRow(ctx, fieldtop + (i + 1) * rowh, texts);
  }
  c.SetBrushColor(kBlack);
  DrawLine(c, ctx.cpleft, fieldtop + (n + 1) * rowh, ctx.tableright, fieldtop + (n + 1) * rowh);

  // The day's light under the airfields, as far as the page has room.
  int notestop = fieldtop + (n + 2) * rowh;
  c.SetFontSize(8);
  c.SetBrushColor(kWhite);
  for (const std::string& line : daylight) {
    const int bottom = notestop - rowh / 2 + rowh / 6;
    if (rowh <= 0 || bottom + rowh > notesbottom) break;
    DrawTextInCell(ctx, ctx.cpleft, bottom, ctx.tableright - ctx.cpleft, line);
    notestop += rowh / 2 + rowh / 4;
  }
  c.SetBrushColor(kBlack);

  DrawNotesArea(ctx, ctx.tableleft, fieldtop + rowh, ctx.cpleft, notesbottom);
  DrawNotesArea(ctx, ctx.cpleft, notestop, ctx.tableright, notesbottom);
}

std::vector<std::string> AirfieldDaylightLines(const Plan& plan,
                                               const std::vector<AirfieldInfo>& fields) {
  std::vector<std::string> lines;
  const std::optional<Departure> departure = ParseDeparture(plan.departure);
  if (!departure) return lines;
  for (const AirfieldInfo& field : fields) {
    std::string line = AirfieldDaylightLine(plan, field, departure->date);
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

#include "print/table.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "plan/columns.h"
#include "plan/text_fields.h"

const char* const kIncompleteMark = "+";
const char* const kIncompleteNote = "+ time and fuel exclude legs that could not be computed";

const char* const kIncompleteShort = "+ leaves out unsolved legs";

std::string SubtotalNote(int totalspage, bool brief) {
  const std::string page = std::to_string(totalspage);
  return brief ? "Subtotal; totals on page " + page
               : "Subtotal so far; the totals are on page " + page;
}

namespace {

int LeftCol(const PrintContext& ctx, int k) {
  return ctx.tableleft + k * ctx.colwidth;
}
int RightCol(const PrintContext& ctx, int k) {
  return ctx.rightleft + k * ctx.rcolwidth;
}

// The left edge and width of a cell of the table.
struct PaperCell {
  int x;
  int width;
};
PaperCell CellOf(const PrintContext& ctx, PaperPlace place, int cell) {
  switch (place) {
    case PaperPlace::Left:
      return {LeftCol(ctx, cell), ctx.colwidth};
    case PaperPlace::Right:
      return {RightCol(ctx, cell), ctx.rcolwidth};
    case PaperPlace::Checkpoint:
    case PaperPlace::None:
      break;
  }
  return {ctx.cpleft, ctx.cpwidth};
}

// A leg's figure as the Navigation Log window shows it: both read the one
// table of columns.
std::string Cell(const LegResult& leg, LogColumn column) {
  return LogCellText(leg, column, LogForm::Shown);
}

// The arrowhead on an edge of the checkpoint column: its base on `edge`, its
// point `depth` pixels into the column (negative to point left).
void Arrowhead(Canvas& c, int edge, int depth, int top, int height) {
  const CanvasPoint points[4] = {
      {edge, top}, {edge + depth, top + height / 2}, {edge, top + height}, {edge, top}};
  c.Polygon(points, 4);
}

// Shades the row's two halves; the checkpoint column stays white.
void ShadeHalves(PrintContext& ctx, int top, int height, CanvasColor colour) {
  Canvas& c = *ctx.printer;
  c.SetBrushColor(colour);
  c.FillRect(ctx.tableleft, top, ctx.cpleft, top + height);
  c.FillRect(ctx.rightleft, top, ctx.tableright, top + height);
}

// The UTF-8 characters of `text`, one string each.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = Utf8CharLength(text, i);
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

// A checkpoint name centred across the line at `line` in the checkpoint
// column. A name too wide for the column is set smaller, down to 8 points,
// and then cut with a mark, rather than running over the values on either
// side. The font is 12 points again afterwards.
void DrawCheckpointName(PrintContext& ctx, int line, const std::string& name) {
  Canvas& c = *ctx.printer;
  c.SetFontSize(12);
  const FittedText fit = FitText(c, name, ctx.cpwidth - 2 * ctx.padx + 1, 8);
  c.SetFontSize(fit.size);
  const int half = fit.size == 12 ? ctx.text12height / 2 : c.TextHeight(fit.text) / 2;
  DrawTextCentered(ctx, ctx.cpleft, line + half, ctx.cpwidth, fit.text);
  c.SetFontSize(12);
}

// The Morse codes of an identifier, one per character; a character of more
// than one byte is outside the table and gets an empty code.
std::vector<std::string> MorseCodes(const std::string& ident) {
  std::vector<std::string> codes;
  for (const std::string& ch : Characters(ident))
    codes.push_back(ch.size() == 1 ? MorseCode(ch[0]) : "");
  return codes;
}

struct MorseSizes {
  int tk, d, h, g, s;
};

MorseSizes NaturalMorse(const PrintContext& ctx) {
  const int tk = ctx.unity / 54 + 1;
  const int d = ctx.unitx / 54 + 1;
  return {tk, d, static_cast<int>(3.5 * d), 2 * d, static_cast<int>(2.5 * tk)};
}

int MorseWidth(const std::vector<std::string>& codes, const MorseSizes& m) {
  int maxw = 0;
  for (const std::string& code : codes) {
    int w = 0;
    for (char sym : code) w += (sym == '.' ? m.d : m.h) + m.g;
    maxw = std::max(maxw, w);
  }
  return maxw;
}

// The VOR identifier in its cell: the letters always, at one size, at the
// cell's left, since the pilot reads them before the bars; the bars take the
// room left, narrowed as far as that needs. Only an identifier wider than the
// whole cell is cut.
void DrawIdent(PrintContext& ctx, int x, int ybottom, int height, const std::string& ident) {
  if (ident.empty()) return;
  Canvas& c = *ctx.printer;
  const int saved = c.FontSize();
  c.SetFontSize(kIdentSize);
  const std::string letters = FitText(c, ident, ctx.cellwidth - 2 * ctx.padx, kIdentSize).text;
  c.TextOut(x + ctx.padx, ybottom - c.TextHeight(letters), letters);
  const int room = ctx.cellwidth - 3 * ctx.padx - c.TextWidth(letters);
  c.SetFontSize(saved);
  if (letters == ident) DrawMorse(ctx, x, ybottom, ident, room, height);
}

// Frames the lower half of the remaining-fuel cell with a
// heavy rule when the reserve is touched, and hatches it when the tanks are
// dry; the value's own white box keeps it readable on the hatch.
void MarkFuelCell(PrintContext& ctx, int top, FuelState state) {
  if (state != FuelState::BelowReserve && state != FuelState::Exhausted) return;
  Canvas& c = *ctx.printer;
  const PaperSlot& slot = ColumnInfo(LogColumn::FuelRem).paper;
  const int x0 = CellOf(ctx, slot.place, slot.cell).x;
  const int x1 = x0 + CellOf(ctx, slot.place, slot.cell).width;
  const int y0 = top + ctx.unity / 4;
  const int y1 = top + ctx.unity / 2;
  c.SetBrushColor(kBlack);
  if (state == FuelState::Exhausted) {
    c.SetBrushStyle(BrushStyle::DiagonalCross);
    c.FillRect(x0, y0, x1, y1);
    c.SetBrushStyle(BrushStyle::Solid);
  }
  // Heavier than the grid, and inside the value's insets so its box does not cover it.
  const int thick = std::max(2, ctx.pady / 2);
  for (int r = 1; r <= thick; ++r) {
    c.MoveTo(x0 + r, y0 + r);
    c.LineTo(x1 - r, y0 + r);
    c.LineTo(x1 - r, y1 - r);
    c.LineTo(x0 + r, y1 - r);
    c.LineTo(x0 + r, y0 + r);
  }
}

// The baseline of a figure on `line` of a row whose top is `a`.
int FigureLine(const PrintContext& ctx, int a, PaperLine line) {
  return line == PaperLine::Upper ? a + ctx.unity / 4 - ctx.pady : a + ctx.unity / 2 - ctx.pady;
}

// A heading in its cell of the header whose top is `a`: one line of 12 or 10
// points, or two words of 8 points one above the other.
void DrawHeading(PrintContext& ctx, int a, const PaperCell& cell, const PaperHeading& heading) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  c.SetFontSize(heading.size);
  const int width = heading.span * cell.width;
  if (heading.line == PaperLine::Middle) {
    const int half = heading.size == 8 ? ctx.text8height / 2 : ctx.text12height / 2;
    DrawTextCentered(ctx, cell.x, a + v / 4 + half, width, heading.text);
  } else if (heading.size == 8) {
    const std::string text = heading.text;
    const std::size_t space = text.find(' ');
    const bool upper = heading.line == PaperLine::Upper;
    const int first = upper ? a + v / 8 + 1 : a + v / 4 + v / 8 + 1;
    const int second = upper ? a + v / 4 - 3 : a + v / 2 - 3;
    DrawTextCentered(ctx, cell.x, first, width, text.substr(0, space));
    if (space != std::string::npos)
      DrawTextCentered(ctx, cell.x, second, width, text.substr(space + 1));
  } else {
    DrawTextCentered(ctx, cell.x, FigureLine(ctx, a, heading.line), width, heading.text);
  }
}

// The cells of the form that no column of the log fills: the headings over
// two columns, and what the pilot writes down in flight.
struct FormHeading {
  PaperPlace place;
  int cell;
  PaperHeading heading;
};
const FormHeading kFormHeadings[] = {
    {PaperPlace::Left, 0, {"Planned", PaperLine::Upper, 12, 2}},
    {PaperPlace::Left, 2, {"Pred. Wind", PaperLine::Upper, 12, 2}},
    {PaperPlace::Right, 2, {"Act", PaperLine::Lower, 10, 1}},
    {PaperPlace::Right, 3, {"ATE", PaperLine::Lower, 10, 1}},
    {PaperPlace::Right, 4, {"ETA", PaperLine::Upper, 10, 1}},
    {PaperPlace::Right, 4, {"ATA", PaperLine::Lower, 10, 1}},
    {PaperPlace::Right, 8, {"Notes", PaperLine::Middle, 8, 1}},
};

// One figure of a leg row in its cell.
void DrawFigure(PrintContext& ctx, const LogColumnInfo& info, const LegResult& leg, int a) {
  const PaperSlot& slot = info.paper;
  const PaperCell cell = CellOf(ctx, slot.place, slot.cell);
  const int y = FigureLine(ctx, a, slot.line);
  ctx.printer->SetFontSize(slot.size);
  ctx.cellwidth = cell.width;
  switch (slot.style) {
    case PaperStyle::Plain:
      DrawTextRight(ctx, cell.x, y, Cell(leg, info.column));
      break;
    case PaperStyle::Parenthesised:
      DrawTextRight(ctx, cell.x, y, Parenthesised(Cell(leg, info.column)));
      break;
    case PaperStyle::Morse:
      DrawIdent(ctx, cell.x, y, y - (a + ctx.unity / 4) - 1, Cell(leg, info.column));
      break;
  }
}

// The headings and ground speed carried onto a page's first row, in
// parentheses where the leg has none of its own.
void DrawCarried(PrintContext& ctx, const LegResult& leg, const LegResult& carried, int a) {
  for (const LogColumnInfo& info : LogColumns()) {
    if (!info.paper.carried_over || !Cell(leg, info.column).empty()) continue;
    const PaperCell cell = CellOf(ctx, info.paper.place, info.paper.cell);
    ctx.cellwidth = cell.width;
    DrawTextRight(ctx, cell.x, FigureLine(ctx, a, info.paper.line),
                  Parenthesised(Cell(carried, info.column)));
  }
}

}  // namespace

void DrawTableHeader(PrintContext& ctx, int a, const std::string& departure) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;

  c.SetBrushColor(kWhite);
  if (!ctx.blankform) DrawCheckpointName(ctx, a + v / 2, departure);
  for (const LogColumnInfo& info : LogColumns()) {
    const PaperSlot& slot = info.paper;
    if (slot.place != PaperPlace::None)
      DrawHeading(ctx, a, CellOf(ctx, slot.place, slot.cell), slot.heading);
  }
  for (const FormHeading& own : kFormHeadings)
    DrawHeading(ctx, a, CellOf(ctx, own.place, own.cell), own.heading);
  c.SetBrushColor(kBlack);
  DrawLine(c, ctx.tableleft, a, ctx.tableright, a);
  DrawLine(c, ctx.tableleft, a + v / 4, LeftCol(ctx, 4), a + v / 4);
  DrawLine(c, LeftCol(ctx, 7), a + v / 4, ctx.rightleft, a + v / 4);
  DrawLine(c, RightCol(ctx, 1), a + v / 4, RightCol(ctx, 8), a + v / 4);
  DrawLine(c, ctx.tableleft, a, ctx.tableleft, a + v / 2);
  DrawLine(c, LeftCol(ctx, 2), a, LeftCol(ctx, 2), a + v / 2);
  for (int k = 4; k <= 9; ++k) DrawLine(c, LeftCol(ctx, k), a, LeftCol(ctx, k), a + v / 2);
  for (int k = 0; k <= 9; ++k) DrawLine(c, RightCol(ctx, k), a, RightCol(ctx, k), a + v / 2);
  for (int k = 0; k <= 3; ++k) DrawLine(c, LeftCol(ctx, k), a + v / 4, LeftCol(ctx, k), a + v / 2);
  DrawLine(c, ctx.tableleft, a + v / 2 + 1, ctx.cpleft, a + v / 2 + 1);
  DrawLine(c, ctx.rightleft, a + v / 2 + 1, ctx.tableright, a + v / 2 + 1);
}

void DrawLegRow(PrintContext& ctx, const LegResult& leg, int a, bool shaded,
                const LegMarks& marks) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  const CanvasColor colour = shaded ? kShadeGrey : kWhite;

  if (shaded) ShadeHalves(ctx, a, v / 2, colour);

  c.SetBrushColor(kBlack);
  DrawLine(c, ctx.tableleft, a, ctx.cpleft, a);
  Arrowhead(c, ctx.cpleft, ctx.unitx / 8, a, v / 2);
  DrawLine(c, LeftCol(ctx, 7), a + v / 4, ctx.rightleft, a + v / 4);
  for (int k = 0; k <= 9; ++k) DrawLine(c, LeftCol(ctx, k), a, LeftCol(ctx, k), a + v / 2);
  for (int k = 0; k <= 9; ++k) DrawLine(c, RightCol(ctx, k), a, RightCol(ctx, k), a + v / 2);
  DrawLine(c, ctx.rightleft, a, ctx.tableright, a);
  DrawLine(c, RightCol(ctx, 1), a + v / 4, ctx.tableright, a + v / 4);
  Arrowhead(c, ctx.rightleft, -(ctx.unitx / 8), a, v / 2);

  c.SetFontSize(12);
  if (ctx.blankform) {
    c.SetBrushColor(colour);
    return;
  }
  MarkFuelCell(ctx, a, marks.fuel);
  c.SetBrushColor(colour);

  // The larger figures first, the checkpoint's name on its white box.
  for (int size : {12, 8}) {
    for (const LogColumnInfo& info : LogColumns()) {
      const PaperSlot& slot = info.paper;
      if (slot.size != size || slot.place == PaperPlace::None) continue;
      if (slot.place == PaperPlace::Checkpoint) {
        c.SetBrushColor(kWhite);
        DrawCheckpointName(ctx, a + v / 2, Cell(leg, info.column));
        c.SetBrushColor(colour);
      } else {
        DrawFigure(ctx, info, leg, a);
      }
    }
  }

  if (marks.carried) {
    c.SetFontSize(12);
    DrawCarried(ctx, leg, *marks.carried, a);
  }
}

void DrawTotalRow(PrintContext& ctx, const TotalsShown& shown, int a, bool shaded,
                  const std::string& footer) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  const int t = a + v / 4 - ctx.pady;
  const CanvasColor colour = shaded ? kShadeGrey : kWhite;

  if (shaded) ShadeHalves(ctx, a, v / 4, colour);

  c.SetBrushColor(kBlack);
  DrawLine(c, ctx.tableleft, a, ctx.cpleft, a);
  DrawLine(c, ctx.rightleft, a, ctx.tableright, a);
  for (int k = 0; k <= 6; ++k) DrawLine(c, RightCol(ctx, k), a, RightCol(ctx, k), a + v / 4);
  DrawLine(c, ctx.cpleft, a, ctx.cpleft, a + v / 4);
  DrawLine(c, ctx.tableleft, a, ctx.tableleft, a + v / 4);
  DrawLine(c, ctx.tableright, a, ctx.tableright, a + v / 4);
  DrawLine(c, ctx.tableleft, a + v / 4, ctx.tableright, a + v / 4);

  c.SetBrushColor(colour);
  c.SetFontSize(10);
  DrawTextCentered(ctx, RightCol(ctx, 0), t, ctx.rcolwidth, "Total");

  if (shown.totals && !ctx.blankform) {
    const LegResult& totals = *shown.totals;
    const bool subtotal = shown.totalspage > 0;
    // Legs without a time or fuel are missing from those two sums: the mark
    // and the note keep such totals from reading as the whole route.
    const std::string mark = shown.incomplete ? kIncompleteMark : "";
    auto marked = [&](const std::string& text) { return text.empty() ? text : text + mark; };
    c.SetFontSize(12);
    ctx.cellwidth = ctx.rcolwidth;
    // A subtotal in parentheses, as carried figures are.
    auto sum = [&](LogColumn column) {
      const std::string text = Cell(totals, column);
      return subtotal ? Parenthesised(text) : text;
    };
    for (const LogColumnInfo& info : LogColumns()) {
      if (!info.summed || info.paper.place != PaperPlace::Right) continue;
      const std::string text = sum(info.column);
      DrawTextRight(ctx, RightCol(ctx, info.paper.cell), t, info.solved_only ? marked(text) : text);
    }
    // The notes share the empty cell of columns 6 to 8: two lines at most.
    const int x = RightCol(ctx, 6) - ctx.padx;
    const int width = 3 * ctx.rcolwidth + ctx.padx;
    c.SetFontSize(kMinTextSize);
    const int line = c.TextHeight(kIncompleteNote);
    if (subtotal && shown.incomplete) {
      DrawTextInCell(ctx, x, t - line, width, SubtotalNote(shown.totalspage, true));
      DrawTextInCell(ctx, x, t, width, kIncompleteShort);
    } else if (subtotal || shown.incomplete) {
      const std::string note = subtotal ? SubtotalNote(shown.totalspage, false) : kIncompleteNote;
      DrawTextTwoLines(ctx, x, t - line, t, note, width, 0);
    }
  }

  c.SetFontSize(8);
  DrawTextCentered(ctx, ctx.tableleft, t, 9 * ctx.colwidth, footer);
}

std::string MorseCode(char c) {
  static const char* const kLetters[26] = {".-",   "-...", "-.-.", "-..",  ".",    "..-.", "--.",
                                           "....", "..",   ".---", "-.-",  ".-..", "--",   "-.",
                                           "---",  ".--.", "--.-", ".-.",  "...",  "-",    "..-",
                                           "...-", ".--",  "-..-", "-.--", "--.."};
  static const char* const kDigits[10] = {"-----", ".----", "..---", "...--", "....-",
                                          ".....", "-....", "--...", "---..", "----."};
  const unsigned char u = static_cast<unsigned char>(c);
  if (u < 128 && std::isalpha(u)) return kLetters[std::tolower(u) - 'a'];
  if (u < 128 && std::isdigit(u)) return kDigits[u - '0'];
  switch (c) {
    case '.':
      return ".-.-.-";
    case ',':
      return "--..--";
    case '?':
      return "..--..";
    default:
      return {};
  }
}

void DrawMorse(PrintContext& ctx, int x, int ybottom, const std::string& ident, int maxwidth,
               int maxheight) {
  Canvas& c = *ctx.printer;
  if (maxwidth < 0) maxwidth = ctx.cellwidth;
  if (maxwidth <= 0 || maxheight <= 0) return;
  const std::vector<std::string> codes = MorseCodes(ident);
  const int n = static_cast<int>(codes.size());
  MorseSizes m = NaturalMorse(ctx);

  int maxw = MorseWidth(codes, m);
  if (maxw > maxwidth) {
    // Each length scaled on its own, so a dash stays a dash when the dot
    // comes down to a pixel or two.
    const double scale = static_cast<double>(maxwidth) / maxw;
    m.d = std::max(1, static_cast<int>(m.d * scale));
    m.h = std::max(m.d + 1, static_cast<int>(m.h * scale));
    m.g = std::max(1, static_cast<int>(m.g * scale));
    maxw = MorseWidth(codes, m);
    // Part of a code would be a different letter: none rather than that.
    if (maxw > maxwidth) return;
  }
  if (n > 0 && n * m.s > maxheight) {
    m.tk = std::max(1, m.tk * maxheight / (n * m.s));
    m.s = std::max(2, static_cast<int>(2.5 * m.tk));
  }
  // A short identifier, or rows made small by wide margins, would leave the
  // bars a speck on paper: they stand at least kMorseLeastMm tall where the
  // cell has the room. Taller ones, the usual three letters, stay as they are.
  if (n > 0 && ctx.areaheight > 0.0) {
    const double least = kMorseLeastMm * ctx.pageheight / (ctx.areaheight * 25.4);
    const auto extent = [n](int tk) { return (n - 1) * static_cast<int>(2.5 * tk) + tk; };
    const int thickness = m.tk;
    while (extent(m.tk) < least && n * static_cast<int>(2.5 * (m.tk + 1)) <= maxheight) {
      ++m.tk;
      m.s = static_cast<int>(2.5 * m.tk);
    }
    // Dots and dashes grow with the bars as far as the column is wide, and
    // a bar is never thicker than a dot is long: a dot standing taller than
    // it is long would read as something else.
    if (m.tk > thickness) {
      const double grow = std::min(static_cast<double>(m.tk) / thickness,
                                   static_cast<double>(maxwidth) / std::max(1, maxw));
      if (grow > 1.0) {
        MorseSizes wider = m;
        wider.d = static_cast<int>(m.d * grow);
        wider.h = static_cast<int>(m.h * grow);
        wider.g = static_cast<int>(m.g * grow);
        const int widest = MorseWidth(codes, wider);
        if (widest <= maxwidth) m = wider, maxw = widest;
      }
      m.tk = std::max(thickness, std::min(m.tk, m.d));
      m.s = static_cast<int>(2.5 * m.tk);
    }
  }
  const int x0 = x + ctx.cellwidth - maxw;

  for (int j = 0; j < n; ++j) {
    const int linetop = ybottom - m.s / 2 - (n - 1 - j) * m.s - m.s / 2;
    if (linetop < ybottom - maxheight) continue;
    int cx = x0;
    for (char sym : codes[j]) {
      const int length = sym == '.' ? m.d : m.h;
      for (int r = 0; r < m.tk; ++r) DrawLine(c, cx, linetop + r, cx + length, linetop + r);
      cx += length + m.g;
    }
  }
}

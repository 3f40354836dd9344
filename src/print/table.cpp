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

// Frames the remaining-fuel cell (the lower half of right column 5) with a
// heavy rule when the reserve is touched, and hatches it when the tanks are
// dry; the value's own white box keeps it readable on the hatch.
void MarkFuelCell(PrintContext& ctx, int top, FuelState state) {
  if (state != FuelState::BelowReserve && state != FuelState::Exhausted) return;
  Canvas& c = *ctx.printer;
  const int x0 = RightCol(ctx, 5);
  const int x1 = RightCol(ctx, 6);
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

// The headings and ground speed carried onto a page's first row, in
// parentheses where the leg has none of its own.
void DrawCarried(PrintContext& ctx, const LegResult& leg, const LegResult& carried, int upper,
                 int lower) {
  ctx.cellwidth = ctx.colwidth;
  auto draw = [&](int x, int y, LogColumn column) {
    if (Cell(leg, column).empty()) DrawTextRight(ctx, x, y, Parenthesised(Cell(carried, column)));
  };
  draw(LeftCol(ctx, 8), upper, LogColumn::Mh);
  ctx.cellwidth = ctx.rcolwidth;
  draw(RightCol(ctx, 0), lower, LogColumn::Ch);
  draw(RightCol(ctx, 2), upper, LogColumn::Gs);
}

}  // namespace

void DrawTableHeader(PrintContext& ctx, int a, const std::string& departure) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  const int cw = ctx.colwidth;
  const int rw = ctx.rcolwidth;
  const int upper = a + v / 4 - ctx.pady;
  const int lower = a + v / 2 - ctx.pady;
  const int middle12 = a + v / 4 + ctx.text12height / 2;
  const int middle8 = a + v / 4 + ctx.text8height / 2;

  c.SetBrushColor(kWhite);
  c.SetFontSize(12);
  DrawTextCentered(ctx, LeftCol(ctx, 0), upper, 2 * cw, "Planned");
  DrawTextCentered(ctx, LeftCol(ctx, 0), lower, cw, "TC");
  DrawTextCentered(ctx, LeftCol(ctx, 1), lower, cw, "Alt");
  DrawTextCentered(ctx, LeftCol(ctx, 2), upper, 2 * cw, "Pred. Wind");
  DrawTextCentered(ctx, LeftCol(ctx, 2), lower, cw, "Dir");
  DrawTextCentered(ctx, LeftCol(ctx, 3), lower, cw, "Speed");
  DrawTextCentered(ctx, LeftCol(ctx, 4), middle12, cw, "Temp");
  DrawTextCentered(ctx, LeftCol(ctx, 5), middle12, cw, "TAS");
  DrawTextCentered(ctx, LeftCol(ctx, 6), middle12, cw, "WCA");
  DrawTextCentered(ctx, LeftCol(ctx, 7), upper, cw, "TH");
  DrawTextCentered(ctx, LeftCol(ctx, 8), upper, cw, "MH");
  DrawTextCentered(ctx, LeftCol(ctx, 7), lower, cw, "Var");
  DrawTextCentered(ctx, LeftCol(ctx, 8), lower, cw, "Dev");
  DrawTextCentered(ctx, ctx.cpleft, upper, ctx.cpwidth, "Checkpoints");

  if (!ctx.blankform) {
    DrawCheckpointName(ctx, a + v / 2, departure);
  }
  DrawTextCentered(ctx, RightCol(ctx, 0), middle12, rw, "CH");

  c.SetFontSize(10);
  static const char* const kPairs[4][2] = {
      {"Dist", "Rem"}, {"GS", "Act"}, {"ETE", "ATE"}, {"ETA", "ATA"}};
  for (int k = 0; k < 4; ++k) {
    DrawTextCentered(ctx, RightCol(ctx, k + 1), upper, rw, kPairs[k][0]);
    DrawTextCentered(ctx, RightCol(ctx, k + 1), lower, rw, kPairs[k][1]);
  }

  c.SetFontSize(8);
  static const char* const kSmall[3][4] = {{"fuel", "used", "fuel", "rem"},
                                           {"vor", "freq", "vor", "ident"},
                                           {"vor", "brng", "vor", "to/fr"}};
  const int bottoms[4] = {a + v / 8 + 1, a + v / 4 - 3, a + v / 4 + v / 8 + 1, a + v / 2 - 3};
  for (int k = 0; k < 3; ++k) {
    for (int j = 0; j < 4; ++j)
      DrawTextCentered(ctx, RightCol(ctx, k + 5), bottoms[j], rw, kSmall[k][j]);
  }
  DrawTextCentered(ctx, RightCol(ctx, 8), middle8, rw, "Notes");

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
  const int upper = a + v / 4 - ctx.pady;
  const int lower = a + v / 2 - ctx.pady;
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

  ctx.cellwidth = ctx.colwidth;
  DrawTextRight(ctx, LeftCol(ctx, 0), lower, Cell(leg, LogColumn::Tc));
  const LogColumn plain[6] = {LogColumn::Alt,  LogColumn::WindDir, LogColumn::WindVel,
                              LogColumn::Temp, LogColumn::Tas,     LogColumn::Wca};
  for (int k = 0; k < 6; ++k) DrawTextRight(ctx, LeftCol(ctx, k + 1), lower, Cell(leg, plain[k]));
  DrawTextRight(ctx, LeftCol(ctx, 7), upper, Cell(leg, LogColumn::Th));
  DrawTextRight(ctx, LeftCol(ctx, 8), upper, Cell(leg, LogColumn::Mh));
  DrawTextRight(ctx, LeftCol(ctx, 7), lower, Cell(leg, LogColumn::Var));
  DrawTextRight(ctx, LeftCol(ctx, 8), lower, Cell(leg, LogColumn::Dev));

  c.SetBrushColor(kWhite);
  DrawCheckpointName(ctx, a + v / 2, leg.toname);
  c.SetBrushColor(colour);

  ctx.cellwidth = ctx.rcolwidth;
  DrawTextRight(ctx, RightCol(ctx, 0), lower, Cell(leg, LogColumn::Ch));
  DrawTextRight(ctx, RightCol(ctx, 1), upper, Cell(leg, LogColumn::Dist));
  DrawTextRight(ctx, RightCol(ctx, 2), upper, Cell(leg, LogColumn::Gs));
  DrawTextRight(ctx, RightCol(ctx, 3), upper, Cell(leg, LogColumn::Ete));
  DrawTextRight(ctx, RightCol(ctx, 5), upper, Cell(leg, LogColumn::FuelUsed));

  c.SetFontSize(12);
  DrawIdent(ctx, RightCol(ctx, 6), lower, lower - (a + v / 4) - 1, leg.vorident);

  c.SetFontSize(8);
  DrawTextRight(ctx, RightCol(ctx, 6), upper, Cell(leg, LogColumn::VorFreq));
  DrawTextRight(ctx, RightCol(ctx, 7), upper, Cell(leg, LogColumn::VorBrng));
  DrawTextRight(ctx, RightCol(ctx, 7), lower, Cell(leg, LogColumn::VorToFr));
  DrawTextRight(ctx, RightCol(ctx, 5), lower, Parenthesised(Cell(leg, LogColumn::FuelRem)));
  DrawTextRight(ctx, RightCol(ctx, 1), lower, Parenthesised(Cell(leg, LogColumn::Rem)));

  if (marks.carried) {
    c.SetFontSize(12);
    DrawCarried(ctx, leg, *marks.carried, upper, lower);
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
    DrawTextRight(ctx, RightCol(ctx, 1), t, sum(LogColumn::Dist));
    DrawTextRight(ctx, RightCol(ctx, 3), t, marked(sum(LogColumn::Ete)));
    DrawTextRight(ctx, RightCol(ctx, 5), t, marked(sum(LogColumn::FuelUsed)));
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

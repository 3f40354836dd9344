#include "print/printjob.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "plan/cnumbers.h"
#include "print/blocks.h"
#include "print/table.h"

namespace {

// Every size on the form truncates toward zero, as C's conversion does.
int Trunc(double v) {
  return static_cast<int>(v);
}

// A margin in device pixels. A plan file may hold any number; one past the
// page edge prints nothing sensible anyway, and keeping it within the page
// keeps the size arithmetic that follows inside an int.
int MarginPixels(int pixels, double inches, double margin) {
  const double px = pixels / inches * margin;
  if (std::isnan(px)) return 0;
  return Trunc(std::clamp(px, -static_cast<double>(pixels), static_cast<double>(pixels)));
}

// Devices that report no physical size are taken as 96 dpi screens rather
// than dividing by zero.
double Inches(int mm, int pixels) {
  if (mm > 0) return mm * (1.0 / 25.4);
  return pixels > 0 ? pixels / 96.0 : 1.0;
}

// Byte length of the UTF-8 character that ends at `end` (exclusive).
std::size_t LastCharLength(const std::string& s, std::size_t end) {
  std::size_t start = end - 1;
  while (start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) --start;
  return end - start;
}

bool IsBreak(char c) {
  return c == ',' || std::isspace(static_cast<unsigned char>(c));
}

}  // namespace

bool StartPrintJob(PrintContext& ctx, Canvas& canvas, const PrintSettings& settings) {
  ctx.printer = &canvas;
  ctx.areawidth = Inches(canvas.WidthMM(), canvas.PageWidth());
  ctx.areaheight = Inches(canvas.HeightMM(), canvas.PageHeight());
  const int pw = canvas.PageWidth();
  const int ph = canvas.PageHeight();
  ctx.pagewidth = pw;
  ctx.pageheight = ph;

  ctx.leftpx = MarginPixels(pw, ctx.areawidth, settings.leftmargin);
  ctx.rightpx = MarginPixels(pw, ctx.areawidth, settings.rightmargin);
  ctx.toppx = MarginPixels(ph, ctx.areaheight, settings.topmargin);
  ctx.bottompx = MarginPixels(ph, ctx.areaheight, settings.bottommargin);

  ctx.unitx = Trunc((pw * (ctx.areawidth / 10.87) - (ctx.leftpx + ctx.rightpx)) / ctx.areawidth);
  ctx.unity = Trunc((ph - (ctx.toppx + ctx.bottompx)) / ctx.areaheight);

  ctx.tableleft = ctx.leftpx;
  ctx.colwidth = Trunc(0.58 * ctx.unitx);
  ctx.cpleft = ctx.tableleft + 9 * ctx.colwidth;
  ctx.cpwidth = Trunc(1.5 * ctx.unitx);
  ctx.rightleft = ctx.cpleft + ctx.cpwidth;
  ctx.rcolwidth = Trunc(0.46 * ctx.unitx);
  ctx.tableright = ctx.rightleft + 9 * ctx.rcolwidth;
  ctx.padx = ctx.unitx / 60;
  ctx.pady = ctx.unity / 60;

  if (!canvas.BeginDoc()) {
    ctx.printer = nullptr;
    return false;
  }
  canvas.SetFontSize(12);
  ctx.text12height = canvas.TextHeight("test");
  canvas.SetFontSize(8);
  ctx.text8height = canvas.TextHeight("test");
  ctx.fieldrowheight = std::max(ctx.unity / 4, 2 * ctx.pady + 2 * ctx.text8height);
  return true;
}

void EndPrintJob(PrintContext& ctx) {
  if (ctx.printer) ctx.printer->EndDoc();
  ctx.printer = nullptr;
}

int PageRows(int fieldcount, int legcount, int firstleg) {
  // Past 23 airfields the rule would leave no leg row at all and the log
  // would never reach its last leg; one row per page keeps it going.
  const int capacity = std::max(1, 12 - fieldcount / 2);
  return std::max(0, std::min(capacity, legcount - firstleg));
}

int PrintPage(PrintContext& ctx, const Plan& plan, int firstleg) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  const int legcount = std::min<int>(plan.legcount, kMaxLegs);
  const int fieldcount = ctx.blankform ? 4 : static_cast<int>(plan.airfields.size());
  const int rows = PageRows(fieldcount, legcount, firstleg);
  const bool lastpage = legcount - firstleg == rows;
  const bool shade = plan.print.enableshade != 0;

  if (firstleg != 0) c.NewPage();
  c.SetBrushColor(kWhite);
  c.SetBrushStyle(BrushStyle::Solid);
  c.FillRect(0, 0, ctx.pagewidth - 1, ctx.pageheight - 1);

  const int top = ctx.toppx + v / 60;
  DrawTitleFrame(ctx, ctx.tableleft, top, plan.title);
  DrawTitleFrame(ctx, ctx.cpleft, top, plan.title);

  const int headerrow = top + v / 2;
  const int tablehead = headerrow + v / 4 + v / 8;
  const int firstrow = tablehead + v / 2;
  const int totalrow = firstrow + (rows * v) / 2;
  const int band = totalrow + v / 4;
  const int fieldtop = band + v / 8;

  std::string departure;
  if (!ctx.blankform && firstleg >= 0 && firstleg < static_cast<int>(plan.route.size())) {
    departure = plan.route[firstleg].caption;
  }
  DrawTableHeader(ctx, tablehead, departure);
  DrawHeaderRow(ctx, plan.aircraft, headerrow);
  for (int i = 0; i < rows; ++i) {
    DrawLegRow(ctx, plan.legs[firstleg + i], firstrow + i * (v / 2), shade && i % 2 == 0);
  }
  DrawTotalRow(ctx, lastpage ? &plan.totals : nullptr, totalrow, shade && rows % 2 == 0);
  DrawBand(ctx, band);
  DrawAirfieldBlock(ctx, ctx.blankform ? std::vector<AirfieldInfo>(4) : plan.airfields, fieldtop);
  return firstleg + rows;
}

void DrawTitleFrame(PrintContext& ctx, int x, int top, const std::string& title) {
  Canvas& c = *ctx.printer;
  const int v = ctx.unity;
  c.SetFontSize(24);
  if (!ctx.blankform && !title.empty()) {
    // Each half shows the title once; a title longer than its half is cut so
    // the left copy does not run over the right one.
    const int right = x == ctx.cpleft ? ctx.tableright : ctx.cpleft;
    const TwoLines fit = SplitTwoLines(c, title, right - x - 3 * ctx.padx);
    const std::string& text = fit.upper.empty() ? fit.lower : fit.upper;
    const int h = c.TextHeight(text);
    c.TextOut(x + 2 * ctx.padx, top + (v / 2 - h) / 2, text);
  }
  const int bottom = ctx.pageheight - ctx.bottompx - ctx.pady;
  c.MoveTo(ctx.cpleft, top);
  c.LineTo(ctx.cpleft, bottom);
  c.MoveTo(ctx.tableleft, top);
  c.LineTo(ctx.tableleft, bottom);
  c.LineTo(ctx.tableright, bottom);
  c.LineTo(ctx.tableright, top);
  c.LineTo(ctx.tableleft, top);
}

void DrawTextLeft(PrintContext& ctx, int x, int ybottom, const std::string& text, int size) {
  Canvas& c = *ctx.printer;
  if (size != 0) c.SetFontSize(size);
  c.TextOut(x + 2 * ctx.padx, ybottom - c.TextHeight(text), text);
}

void DrawTextRight(PrintContext& ctx, int x, int ybottom, const std::string& text) {
  if (text.empty()) return;
  Canvas& c = *ctx.printer;
  c.TextOut(x + ctx.cellwidth - c.TextWidth(text) - ctx.padx, ybottom - c.TextHeight(text), text);
}

void DrawTextCentered(PrintContext& ctx, int x, int ybottom, int width, const std::string& text) {
  Canvas& c = *ctx.printer;
  c.TextOut(x + (width - c.TextWidth(text)) / 2, ybottom - c.TextHeight(text), text);
}

std::string FormatInt(int32_t value, int digits, bool parenthesised) {
  if (value == NOT_ENTERED) return {};
  char buf[48];
  std::snprintf(buf, sizeof buf, parenthesised ? "(%0*d)" : "%0*d", digits,
                static_cast<int>(value));
  return buf;
}

std::string FormatReal(double value, bool parenthesised) {
  if (!(value > -999.9)) return {};
  // Wide enough for any double "%1.1f" can produce (DBL_MAX has 309 digits).
  char buf[400];
  CNumbers c_numbers;  // a decimal point on the log whatever the desktop's locale
  std::snprintf(buf, sizeof buf, parenthesised ? "(%1.1f)" : "%1.1f", value);
  return buf;
}

void DrawInt(PrintContext& ctx, int x, int ybottom, int32_t value, int digits, bool parenthesised) {
  DrawTextRight(ctx, x, ybottom, FormatInt(value, digits, parenthesised));
}

void DrawReal(PrintContext& ctx, int x, int ybottom, double value, bool parenthesised) {
  DrawTextRight(ctx, x, ybottom, FormatReal(value, parenthesised));
}

std::string FitToWidth(Canvas& canvas, std::string text, int limit) {
  while (!text.empty() && canvas.TextWidth(text) >= limit) {
    text.resize(text.size() - LastCharLength(text, text.size()));
  }
  return text;
}

TwoLines SplitTwoLines(Canvas& canvas, const std::string& text, int limit) {
  if (canvas.TextWidth(text) < limit) return {std::string(), text};

  std::string copy = FitToWidth(canvas, CutUtf8(text, kLongTextMax), limit);
  if (!copy.empty()) {
    std::size_t i = copy.size() - 1;
    while (i > 0 && !IsBreak(copy[i])) --i;
    if (i > 0) copy.resize(i);
    // "9/27, 18L" breaks at the space; the comma before it goes too, so no
    // separator is left at the break on either line.
    if (i > 0) {
      while (!copy.empty() && IsBreak(copy.back())) copy.pop_back();
    }
  }
  std::size_t rest = copy.size();
  while (rest < text.size() && IsBreak(text[rest])) ++rest;
  return {copy, text.substr(rest)};
}

void DrawTextTwoLines(PrintContext& ctx, int x, int yupper, int ylower, const std::string& text,
                      int width, int size) {
  Canvas& c = *ctx.printer;
  const int saved = c.FontSize();
  if (size != 0) c.SetFontSize(size);
  const TwoLines lines = SplitTwoLines(c, text, width - 3 * ctx.padx);
  if (!lines.upper.empty()) DrawTextLeft(ctx, x, yupper, lines.upper, 0);
  DrawTextLeft(ctx, x, ylower, lines.lower, 0);
  if (size != 0) c.SetFontSize(saved);
}

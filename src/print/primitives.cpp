#include "print/primitives.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "plan/plan.h"
#include "plan/text_fields.h"

const char* const kCutMark = "\u2026";

namespace {

// Byte length of the UTF-8 character that ends at `end` (exclusive).
std::size_t LastCharLength(const std::string& s, std::size_t end) {
  std::size_t start = 0;
  for (std::size_t at = 0; at < end; at += Utf8CharLength(s, at)) start = at;
  return end - start;
}

bool IsBreak(char c) {
  return c == ',' || std::isspace(static_cast<unsigned char>(c));
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A line may break at s[i]: a space, or a comma that is not the decimal
// comma of a number such as 122,8.
bool BreaksAt(const std::string& s, std::size_t i) {
  if (s[i] == ',' && i > 0 && i + 1 < s.size() && IsDigit(s[i - 1]) && IsDigit(s[i + 1])) {
    return false;
  }
  return IsBreak(s[i]);
}

void TrimBreaks(std::string& s) {
  while (!s.empty() && IsBreak(s.back())) s.pop_back();
}

// `text` as it fits narrower than `limit` at the current size: whole, or its
// longest leading part followed by the cut mark; empty when not even the
// mark fits.
std::string CutToFit(Canvas& canvas, const std::string& text, int limit) {
  if (canvas.TextWidth(text) < limit) return text;
  const int mark = canvas.TextWidth(kCutMark);
  std::string head = FitToWidth(canvas, CutUtf8(text, kLongTextMax), limit - mark);
  TrimBreaks(head);
  if (head.empty() && mark >= limit) return {};
  return head + kCutMark;
}

// Draws `text` at `size` (0: the current one) and puts the current size back.
void TextAtSize(Canvas& c, int size, int x, int ybottom, const std::string& text) {
  const int saved = c.FontSize();
  if (size != 0 && size != saved) c.SetFontSize(size);
  c.TextOut(x, ybottom - c.TextHeight(text), text);
  if (size != 0 && size != saved) c.SetFontSize(saved);
}

}  // namespace

void DrawLine(Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

void DrawTextLeft(PrintContext& ctx, int x, int ybottom, const std::string& text, int size) {
  Canvas& c = *ctx.printer;
  if (size != 0) c.SetFontSize(size);
  c.TextOut(x + 2 * ctx.padx, ybottom - c.TextHeight(text), text);
}

void DrawTextRight(PrintContext& ctx, int x, int ybottom, const std::string& text) {
  if (text.empty()) return;
  Canvas& c = *ctx.printer;
  const FittedText fit = FitText(c, text, ctx.cellwidth - 2 * ctx.padx + 1, kMinTextSize);
  if (fit.text.empty()) return;
  const int saved = c.FontSize();
  c.SetFontSize(fit.size);
  const int right = x + ctx.cellwidth - ctx.padx;
  TextAtSize(c, 0, right - c.TextWidth(fit.text), ybottom, fit.text);
  c.SetFontSize(saved);
}

void DrawTextCentered(PrintContext& ctx, int x, int ybottom, int width, const std::string& text) {
  Canvas& c = *ctx.printer;
  c.TextOut(x + (width - c.TextWidth(text)) / 2, ybottom - c.TextHeight(text), text);
}

void DrawTextInCell(PrintContext& ctx, int x, int ybottom, int width, const std::string& text) {
  if (text.empty()) return;
  Canvas& c = *ctx.printer;
  const FittedText fit = FitText(c, text, width - 3 * ctx.padx, kMinTextSize);
  if (!fit.text.empty()) TextAtSize(c, fit.size, x + 2 * ctx.padx, ybottom, fit.text);
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

FittedText FitText(Canvas& canvas, const std::string& text, int limit, int minsize) {
  const int saved = canvas.FontSize();
  int size = saved;
  const int width = canvas.TextWidth(text);
  if (width >= limit && size > minsize) {
    // A width grows almost in proportion to the size: start from that
    // guess rather than trying every size on the way down, since each new
    // size costs the printer a font of its own.
    const long guess = limit > 0 ? static_cast<long>(size) * (limit - 1) / width : minsize;
    size = static_cast<int>(std::clamp<long>(guess, minsize, saved - 1));
    canvas.SetFontSize(size);
    if (canvas.TextWidth(text) < limit) {
      while (size + 1 < saved) {
        canvas.SetFontSize(size + 1);
        if (canvas.TextWidth(text) >= limit) break;
        ++size;
      }
      canvas.SetFontSize(size);
    } else {
      while (size > minsize && canvas.TextWidth(text) >= limit) canvas.SetFontSize(--size);
    }
  }
  FittedText fit{size, CutToFit(canvas, text, limit)};
  if (size != saved) canvas.SetFontSize(saved);
  return fit;
}

TwoLines SplitTwoLines(Canvas& canvas, const std::string& text, int limit) {
  if (canvas.TextWidth(text) < limit) return {std::string(), text, true};

  // The break is searched for within what fits of the first 255 bytes; a
  // separator right after that part counts too.
  const std::string head = CutUtf8(text, kLongTextMax);
  const std::string fitted = FitToWidth(canvas, head, limit);
  std::size_t cut = fitted.size();
  if (cut >= head.size() || !BreaksAt(head, cut)) {
    while (cut > 0 && !BreaksAt(head, cut - 1)) --cut;
  }
  std::string upper = fitted.substr(0, cut);
  TrimBreaks(upper);
  if (upper.empty()) return {std::string(), text, false};

  std::size_t rest = cut;
  while (rest < text.size() && IsBreak(text[rest])) ++rest;
  TwoLines lines{upper, text.substr(rest), true};
  lines.fits = canvas.TextWidth(lines.lower) < limit;
  return lines;
}

ShrunkLines ShrinkToTwoLines(Canvas& canvas, const std::string& text, int limit, int minsize) {
  const int saved = canvas.FontSize();
  ShrunkLines shrunk;
  for (shrunk.size = saved;; canvas.SetFontSize(--shrunk.size)) {
    shrunk.lines = SplitTwoLines(canvas, text, limit);
    if (shrunk.lines.fits || shrunk.size <= minsize) break;
  }
  if (shrunk.size != saved) canvas.SetFontSize(saved);
  return shrunk;
}

void DrawLines(PrintContext& ctx, int x, int yupper, int ylower, const ShrunkLines& shrunk) {
  Canvas& c = *ctx.printer;
  const int saved = c.FontSize();
  c.SetFontSize(shrunk.size);
  if (!shrunk.lines.upper.empty()) DrawTextLeft(ctx, x, yupper, shrunk.lines.upper, 0);
  if (!shrunk.lines.lower.empty()) DrawTextLeft(ctx, x, ylower, shrunk.lines.lower, 0);
  c.SetFontSize(saved);
}

void DrawTextTwoLines(PrintContext& ctx, int x, int yupper, int ylower, const std::string& text,
                      int width, int size) {
  Canvas& c = *ctx.printer;
  const int saved = c.FontSize();
  if (size != 0) c.SetFontSize(size);
  const int limit = width - 3 * ctx.padx;
  // At the given size first; a frequency or a long word is set smaller as a
  // whole rather than broken, and only what is left past the smallest size
  // is cut.
  ShrunkLines shrunk = ShrinkToTwoLines(c, text, limit, kMinTextSize);
  if (!shrunk.lines.fits) {
    c.SetFontSize(shrunk.size);
    shrunk.lines.lower = CutToFit(c, shrunk.lines.lower, limit);
  }
  DrawLines(ctx, x, yupper, ylower, shrunk);
  c.SetFontSize(saved);
}

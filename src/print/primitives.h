// The state of one print job and the primitives every block of the log draws
// with: lines, and texts placed by their bottom edge and kept to their cell.
// The table, the blocks and the page driver all sit on top of this unit.
#pragma once

#include <cstdint>
#include <string>

#include "plan/report.h"
#include "print/canvas.h"

// The state of one print job, recomputed by StartPrintJob. Every int is in
// device pixels; the window keeps one for the life of the program.
struct PrintContext {
  Canvas* printer = nullptr;  // the job's canvas while it is open; not owned

  double areawidth = 0.0;   // device width, inches
  double areaheight = 0.0;  // device height, inches
  int pagewidth = 0;
  int pageheight = 0;

  int leftpx = 0;
  int toppx = 0;
  int rightpx = 0;
  int bottompx = 0;

  int unitx = 0;
  int unity = 0;  // V
  int tableleft = 0;
  int colwidth = 0;
  int cpleft = 0;
  int cpwidth = 0;
  int rightleft = 0;
  int rcolwidth = 0;
  int tableright = 0;
  int padx = 0;
  int pady = 0;
  int text12height = 0;
  int text8height = 0;
  int fieldrowheight = 0;
  int cellwidth = 0;  // the column the next right-aligned value goes into

  bool blankform = false;  // suppresses every plan value while set
};

// The smallest size a value is set in before it is cut.
constexpr int kMinTextSize = 6;
// Ends a value that had to be cut, so the reader knows something is missing.
extern const char* const kCutMark;

void DrawLine(Canvas& canvas, int x0, int y0, int x1, int y1);

// Text primitives; y is the bottom edge of the text. A size of 0 keeps the
// canvas's current font size.
void DrawTextLeft(PrintContext& ctx, int x, int ybottom, const std::string& text, int size);
// Right-aligned in the column of `cellwidth` at x. A text too wide for the
// column is set smaller and then cut, so it never covers the cell beside it.
void DrawTextRight(PrintContext& ctx, int x, int ybottom, const std::string& text);
void DrawTextCentered(PrintContext& ctx, int x, int ybottom, int width, const std::string& text);
// Left-aligned in a cell `width` wide at x, shrunk and cut to stay inside it.
void DrawTextInCell(PrintContext& ctx, int x, int ybottom, int width, const std::string& text);
// One or two lines in a cell `width` wide. A text breaks only at a space or a
// comma (not a decimal comma); what does not fit on two lines is set smaller,
// then cut.
void DrawTextTwoLines(PrintContext& ctx, int x, int yupper, int ylower, const std::string& text,
                      int width, int size);
void DrawInt(PrintContext& ctx, int x, int ybottom, int32_t value, int digits, bool parenthesised);
void DrawReal(PrintContext& ctx, int x, int ybottom, double value, bool parenthesised);

// DrawInt and DrawReal write the texts of FormatInt and FormatReal (plan/report.h).

// The longest leading part of `text`, in whole characters, narrower than `limit`.
std::string FitToWidth(Canvas& canvas, std::string text, int limit);

// A text set to fit a width: the font size it needs, down to a floor, and
// the text itself, cut and marked when even the floor is too large.
struct FittedText {
  int size = 0;
  std::string text;
};
// Measured narrower than `limit` from the canvas's current size down to
// `minsize`. The canvas's font size is left as it was.
FittedText FitText(Canvas& canvas, const std::string& text, int limit, int minsize);

// How a text is laid out on two lines for a cell `limit` pixels wide at the
// current font size: broken at the last space or comma that lets the upper
// line fit (the separator dropped), never inside a word. `fits` tells whether
// both lines are narrower than `limit`.
struct TwoLines {
  std::string upper;
  std::string lower;
  bool fits = true;
};
TwoLines SplitTwoLines(Canvas& canvas, const std::string& text, int limit);

// Two lines set at the canvas's current size or smaller, down to `minsize`,
// until both fit; `lines.fits` is false when not even `minsize` is enough.
// The canvas's font size is left as it was.
struct ShrunkLines {
  TwoLines lines;
  int size = 0;
};
ShrunkLines ShrinkToTwoLines(Canvas& canvas, const std::string& text, int limit, int minsize);
// Draws them left-aligned in the cell at x, as DrawTextTwoLines does.
void DrawLines(PrintContext& ctx, int x, int yupper, int ylower, const ShrunkLines& shrunk);

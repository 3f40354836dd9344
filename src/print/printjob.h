// One print job of the navigation log: the page geometry derived from the
// device and the plan's margins, the page loop and the text primitives every
// block writes its labels and values with.
#pragma once

#include <string>

#include "plan/plan.h"
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

// Measures `canvas` (already landscape), derives the geometry from it and
// `settings`, and opens the document. False when the device cannot be opened;
// the context is then left without a printer.
bool StartPrintJob(PrintContext& ctx, Canvas& canvas, const PrintSettings& settings);

// Closes the document and lets go of the canvas.
void EndPrintJob(PrintContext& ctx);

// Legs a page starting at `firstleg` shows: 12 less one for every two
// airfields (`fieldcount`), at least one, at most what is left of the route.
int PageRows(int fieldcount, int legcount, int firstleg);

// Draws one page whose first leg row is plan.legs[firstleg]; returns the first
// leg of the next page. Pages after the first are opened with NewPage.
int PrintPage(PrintContext& ctx, const Plan& plan, int firstleg);

// The title band at x (once for each half of the form) and the form's frame.
void DrawTitleFrame(PrintContext& ctx, int x, int top, const std::string& title);

// Text primitives; y is the bottom edge of the text. A size of 0 keeps the
// canvas's current font size.
void DrawTextLeft(PrintContext& ctx, int x, int ybottom, const std::string& text, int size);
void DrawTextRight(PrintContext& ctx, int x, int ybottom, const std::string& text);
void DrawTextCentered(PrintContext& ctx, int x, int ybottom, int width, const std::string& text);
void DrawTextTwoLines(PrintContext& ctx, int x, int yupper, int ylower, const std::string& text,
                      int width, int size);
void DrawInt(PrintContext& ctx, int x, int ybottom, int32_t value, int digits, bool parenthesised);
void DrawReal(PrintContext& ctx, int x, int ybottom, double value, bool parenthesised);

// The texts DrawInt and DrawReal write; empty when they draw nothing.
std::string FormatInt(int32_t value, int digits, bool parenthesised);
std::string FormatReal(double value, bool parenthesised);

// The longest leading part of `text`, in whole characters, narrower than `limit`.
std::string FitToWidth(Canvas& canvas, std::string text, int limit);

// How DrawTextTwoLines splits `text` for a cell `limit` pixels wide.
struct TwoLines {
  std::string upper;
  std::string lower;
};
TwoLines SplitTwoLines(Canvas& canvas, const std::string& text, int limit);

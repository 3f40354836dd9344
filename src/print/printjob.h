// One print job of the navigation log: the page geometry derived from the
// device and the plan's margins, which legs and airfields each page holds,
// and the page driver that draws them with the table and the blocks.
#pragma once

#include <string>
#include <vector>

#include "plan/legs.h"
#include "plan/plan.h"
#include "print/canvas.h"
#include "print/primitives.h"

// Measures `canvas` (already landscape), derives the geometry from it and
// `settings`, and opens the document. False when the device cannot be opened;
// the context is then left without a printer.
bool StartPrintJob(PrintContext& ctx, Canvas& canvas, const PrintSettings& settings);

// Closes the document and lets go of the canvas.
void EndPrintJob(PrintContext& ctx);

// What one page holds: a run of legs and a run of airfields. A page without
// a table only continues an airfield block too long for the pages before it.
struct PageLayout {
  int firstleg = 0;
  int rows = 0;  // leg rows
  int firstfield = 0;
  int fields = 0;           // airfield rows under the block's header row
  bool table = true;        // the leg table with its Total row
  bool fieldheader = true;  // the airfield block's header row fits the page
  bool lastlegs = false;    // holds the route's last leg: the totals print here
  int totalspage = 0;       // the page, from 1, that holds the route's last leg
  std::string fieldnote;    // where the airfields this page leaves out are; a row of the block
};

// The pages of the filled log of `legcount` legs and `fieldcount` airfields
// on the job's device. Up to 12 legs a page, one fewer for every two
// airfields on the page, and never more than leave every airfield row inside
// the frame. Every page repeats the airfield block, unless printing it once,
// under the last legs and continued on pages of its own, takes fewer pages.
std::vector<PageLayout> PlanPages(const PrintContext& ctx, int legcount, int fieldcount);

// The one page of the blank form: 10 leg rows and four airfield rows, fewer
// legs where the device is too small for that.
PageLayout PlanBlankPage(const PrintContext& ctx);

// The footer line of page `page` of `pages`.
std::string FooterText(int page, int pages);

// Draws page `page` (from 1) of `pages`; pages after the first are opened
// with NewPage.
void PrintPage(PrintContext& ctx, const Plan& plan, const NavLog& log, const PageLayout& layout,
               int page, int pages);

// The title band at x (once for each half of the form) and the form's frame.
void DrawTitleFrame(PrintContext& ctx, int x, int top, const std::string& title);

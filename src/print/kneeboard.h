// The kneeboard log: a portrait half sheet (A5, half letter) with the
// columns a pilot reads and writes in flight, the airfields on a page of
// their own. The full landscape log stays the log of record; each page says
// what only it has.
#pragma once

#include <string>
#include <vector>

#include "plan/legs.h"
#include "plan/plan.h"
#include "print/canvas.h"

// The smallest text on the kneeboard, in points: readable on a knee in a
// shaking cockpit.
constexpr int kKneeboardMinText = 7;

// The headings of the kneeboard's columns, left to right.
std::vector<std::string> KneeboardCaptions();

// "The full log also has TC, Wind Dir, ..." from the log's columns the
// kneeboard leaves out.
std::string KneeboardLeavesOut();

// Draws the kneeboard log of `plan` with its computed `log` on a portrait
// canvas, or with `blank` a form of empty rows; the page count, 0 when the
// canvas could not be opened or there is no leg to print.
int PrintKneeboardOn(Canvas& canvas, const Plan& plan, const NavLog& log, bool blank);

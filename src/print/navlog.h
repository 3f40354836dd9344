// The two ways the log is printed, onto any canvas: the window's commands and
// the command-line tool both come through here.
#pragma once

#include "plan/legs.h"
#include "plan/plan.h"
#include "print/canvas.h"
#include "print/printjob.h"

// The filled log of `plan`, its computed `log`, every page from BeginDoc to
// EndDoc. Returns the page count; 0 when the canvas could not be
// opened or the plan has no leg to print (then nothing is drawn).
int PrintFilledLogOn(Canvas& canvas, const Plan& plan, const NavLog& log, PrintContext& ctx);

// The one-page blank form: labels, grid, shading, bands and notes, and no
// value of the plan. Returns 1, or 0
// when the canvas could not be opened.
int PrintBlankFormOn(Canvas& canvas, const Plan& plan, PrintContext& ctx);

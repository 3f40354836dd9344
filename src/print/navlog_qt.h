// The navigation log on a real printer (or Qt's PDF output): the two entry
// points the window's Print, Print Blank Form and Print Preview commands use.
#pragma once

#include "plan/plan.h"

class QPrinter;
struct PrintContext;

// A5 or half letter: the paper of the portrait kneeboard log.
bool KneeboardPaper(const QPrinter& printer);

// Draws the filled log of `plan` (ComputeLegs already run) onto `printer`,
// from the start of the document to its end, landscape, with the plan's
// margins; on kneeboard paper the kneeboard log instead.
void PrintFilledLog(QPrinter& printer, Plan& plan, PrintContext& ctx);

// Draws the one-page blank form onto `printer`. Leaves `plan.legs` as a
// following filled print needs it (that print recomputes the legs anyway).
void PrintBlankForm(QPrinter& printer, Plan& plan, PrintContext& ctx);

// The navigation log on a real printer (or Qt's PDF output): the two entry
// points the window's Print, Print Blank Form and Print Preview commands use.
#pragma once

#include "plan/legs.h"
#include "plan/plan.h"

class QPrinter;
struct PrintContext;

// Draws `plan` with its computed `log` onto `printer`,
// from the start of the document to its end, landscape, with the plan's margins.
void PrintFilledLog(QPrinter& printer, const Plan& plan, const NavLog& log, PrintContext& ctx);

// Draws the one-page blank form onto `printer`.
void PrintBlankForm(QPrinter& printer, const Plan& plan, PrintContext& ctx);

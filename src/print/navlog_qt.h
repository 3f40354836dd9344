// The navigation log on a real printer (or Qt's PDF output): the two entry
// points the window's Print, Print Blank Form and Print Preview commands use.
#pragma once

#include "plan/legs.h"
#include "plan/plan.h"

class QPrinter;
struct PrintContext;

// A5 or half letter: the paper of the portrait kneeboard log.
bool KneeboardPaper(const QPrinter& printer);

// Draws `plan` with its computed `log` onto `printer`, from the start of the
// document to its end, landscape, with the plan's margins; on kneeboard paper
// the kneeboard log instead.
void PrintFilledLog(QPrinter& printer, const Plan& plan, const NavLog& log, PrintContext& ctx);

// Draws the one-page blank form onto `printer`.
void PrintBlankForm(QPrinter& printer, const Plan& plan, PrintContext& ctx);

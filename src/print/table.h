// The navigation-log table: the two-level column header, one row per leg and
// the Total row with the footer line.
#pragma once

#include <string>

#include "plan/plan.h"
#include "print/printjob.h"

// The footer line printed in the Total row of every page.
extern const char* const kFooterText;

void DrawTableHeader(PrintContext& ctx, int top, const std::string& departure);
void DrawLegRow(PrintContext& ctx, const LegResult& leg, int top, bool shaded);
// `totals` null leaves the value cells empty (every page but the last).
void DrawTotalRow(PrintContext& ctx, const LegResult* totals, int top, bool shaded);

// International Morse for a-z (any case), 0-9 and ". , ?"; empty for the rest.
std::string MorseCode(char c);
// The identifier as stacked lines of bars, right-aligned in the column at x
// (`cellwidth` wide), the last character lowest with its bottom near ybottom.
void DrawMorse(PrintContext& ctx, int x, int ybottom, const std::string& ident);

// The navigation-log table: the two-level column header, one row per leg and
// the Total row with the footer line.
#pragma once

#include <climits>
#include <string>

#include "plan/plan.h"
#include "print/primitives.h"

void DrawTableHeader(PrintContext& ctx, int top, const std::string& departure);
void DrawLegRow(PrintContext& ctx, const LegResult& leg, int top, bool shaded);

// What the Total row shows: nothing (every page but the last), or the route
// totals, marked when they leave out legs that could not be computed.
struct TotalsShown {
  const LegResult* totals = nullptr;
  bool incomplete = false;
};
// Marks a total that leaves out legs, and the note that says why.
extern const char* const kIncompleteMark;
extern const char* const kIncompleteNote;
void DrawTotalRow(PrintContext& ctx, const TotalsShown& totals, int top, bool shaded,
                  const std::string& footer);

// International Morse for a-z (any case), 0-9 and ". , ?"; empty for the rest.
std::string MorseCode(char c);
// The identifier as stacked lines of bars, right-aligned in the column at x
// (`cellwidth` wide), the last character lowest with its bottom near ybottom.
// Bars wider than `maxwidth` (default: the column) or a stack higher than
// `maxheight` are scaled down; lines that still do not fit are left out.
void DrawMorse(PrintContext& ctx, int x, int ybottom, const std::string& ident, int maxwidth = -1,
               int maxheight = INT_MAX);

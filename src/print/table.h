// The navigation-log table: the two-level column header, one row per leg and
// the Total row with the footer line.
#pragma once

#include <climits>
#include <string>

#include "plan/fuel.h"
#include "plan/plan.h"
#include "print/primitives.h"

void DrawTableHeader(PrintContext& ctx, int top, const std::string& departure);

// What a leg row shows beside the leg's own values: how its remaining fuel
// stands against the reserve (framed below it, hatched as well below zero),
// and, on the first row of a continuation page, the headings and ground
// speed in effect from earlier legs, printed in parentheses where the leg
// has none of its own.
struct LegMarks {
  FuelState fuel = FuelState::Unknown;
  const LegResult* carried = nullptr;
};
void DrawLegRow(PrintContext& ctx, const LegResult& leg, int top, bool shaded,
                const LegMarks& marks = {});

// What the Total row shows: nothing, the route totals on the page with the
// last leg, or on an earlier page the subtotals so far, in parentheses with
// a note naming the page of the totals. Either is marked when it leaves out
// legs that could not be computed.
struct TotalsShown {
  const LegResult* totals = nullptr;
  bool incomplete = false;
  int totalspage = 0;  // set for subtotals: the page with the route totals
};
// Marks a total that leaves out legs, and the note that says why.
extern const char* const kIncompleteMark;
extern const char* const kIncompleteNote;
// The note beside subtotals; `brief` where it shares the cell with the
// note on unsolved legs, which is then briefer too.
std::string SubtotalNote(int totalspage, bool brief);
extern const char* const kIncompleteShort;
void DrawTotalRow(PrintContext& ctx, const TotalsShown& totals, int top, bool shaded,
                  const std::string& footer);

// The size of a VOR identifier's letters beside its Morse bars.
constexpr int kIdentSize = 7;
// The least height of an identifier's stack of bars on paper, top of the
// first bar to the bottom of the last, where the cell has the room.
constexpr double kMorseLeastMm = 1.5;

// International Morse for a-z (any case), 0-9 and ". , ?"; empty for the rest.
std::string MorseCode(char c);
// The identifier as stacked lines of bars, right-aligned in the column at x
// (`cellwidth` wide), the last character lowest with its bottom near ybottom.
// Bars wider than `maxwidth` (default: the column) or a stack higher than
// `maxheight` are scaled down; lines that still do not fit are left out, and
// bars too wide even at their thinnest are not drawn at all. A stack lower
// than kMorseLeastMm gets thicker bars, as far as `maxheight` allows.
void DrawMorse(PrintContext& ctx, int x, int ybottom, const std::string& ident, int maxwidth = -1,
               int maxheight = INT_MAX);

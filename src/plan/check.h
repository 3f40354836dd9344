// The pre-print check of the first en-route row, without any user interface.
#pragma once

#include <vector>

#include "plan/plan.h"

// The four values the first leg needs before a wind triangle can be solved,
// in the order they are asked for.
enum class MissingItem {
  None,
  TrueCourse,
  WindDirection,
  WindSpeed,
  MagneticVariation,
  TrueAirspeed
};

// The first of course, wind direction, wind speed and variation that route
// row 1's own cells leave empty; None when all are there or the route has
// fewer than two rows (a separate failure: see kTooFewCheckpoints).
MissingItem FindMissingItem(const Plan& plan);

// Every value route row 1's own cells leave empty, in the order above, with
// the true airspeed last; empty when none is or the route is too short.
std::vector<MissingItem> FindMissingItems(const Plan& plan);

// "True Course", "Predicted Wind Direction", "Predicted Wind Speed",
// "Magnetic Variation", "True Airspeed"; empty for None.
const char* MissingItemName(MissingItem item);

extern const char* const kTooFewCheckpoints;

// A number cell of a route row that holds text but no number, such as "abc".
// The legs read it as 0, as the C library does; the pilot is told so.
struct NotANumber {
  int row = -1;  // route row; -1: every number cell holds a number or nothing
  int cell = 0;  // which number: its place in kRowNumbers (plan/route_row.h)
};

// True when `text` is not empty and no number starts it (after blanks and a sign).
bool IsNotANumber(const std::string& text);

// The first such cell of the route, row by row.
NotANumber FindNotANumber(const Plan& plan);

// What to tell the pilot about `found`, e.g. Checkpoint "Lake": the distance
// "abc" is not a number and counts as 0.
std::string NotANumberText(const Plan& plan,
                           const NotANumber& found);  // the message for fewer than two rows

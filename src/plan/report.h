// The computed log as text: an aligned table for the terminal and CSV.
#pragma once

#include <cstdint>
#include <string>

#include "plan/plan.h"

// One line per entry of plan.legs (after ComputeLegs) and a Total line.
std::string FormatLogCsv(const Plan& plan);
std::string FormatLogTable(const Plan& plan);

// A value as the printed log writes it: empty for NOT_ENTERED, at least
// `digits` wide with leading zeros (3 for courses and headings), in
// parentheses for the small figures of a cell's lower half.
std::string FormatInt(int32_t value, int digits, bool parenthesised);

// Fuel as the printed log writes it, one decimal; empty for the -1000.0 marker.
std::string FormatReal(double value, bool parenthesised);

// The VOR bearing as the log prints it: the number the text starts with,
// NOT_ENTERED for an empty text.
int32_t VorBearing(const LegResult& leg);

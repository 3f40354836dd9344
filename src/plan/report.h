// The computed log as text: an aligned table for the terminal and CSV.
#pragma once

#include <string>

#include "plan/plan.h"

// One line per entry of plan.legs (after ComputeLegs) and a Total line.
std::string FormatLogCsv(const Plan& plan);
std::string FormatLogTable(const Plan& plan);

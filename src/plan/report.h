// The computed log as text: an aligned table for the terminal and CSV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plan/columns.h"
#include "plan/legs.h"
#include "plan/plan.h"

// One line per row of the log and a Total line.
std::string FormatLogCsv(const NavLog& log);
std::string FormatLogTable(const Plan& plan, const NavLog& log);

// One CSV line: fields holding a comma, quote or line break are quoted.
std::string CsvLine(const std::vector<std::string>& fields);

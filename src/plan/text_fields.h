// Splitting and converting the fields of data-set lines, without locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

std::string_view Trim(std::string_view text);

// Fields separated by runs of blanks and tabs.
void SplitBlanks(std::string_view line, std::vector<std::string_view>& fields);

// The whole text as a number; false for anything else (trailing text too).
bool ParseInteger(std::string_view text, int64_t& value);
bool ParseDecimal(std::string_view text, double& value);

// Latitude and longitude in range.
bool ValidPosition(double lat, double lon);

std::string Upper(std::string_view text);

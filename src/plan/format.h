// Numbers as the log writes them, on screen, on paper and for scripts.
#pragma once

#include <cstdint>
#include <string>

// A value as the printed log writes it: empty for NOT_ENTERED, at least
// `digits` wide with leading zeros (3 for courses and headings), in
// parentheses for the small figures of a cell's lower half.
std::string FormatInt(int32_t value, int digits, bool parenthesised);

// Fuel as the printed log writes it, one decimal; empty from -999.9 down.
std::string FormatReal(double value, bool parenthesised);

// `decimals` places, for scripts and the terminal; empty only for the
// -1000.0 marker.
std::string FormatDecimals(double value, int decimals);

// The text in parentheses, as the small figures of a printed cell's lower
// half are; empty stays empty.
std::string Parenthesised(const std::string& text);

// Splitting and converting the fields of data-set lines, without locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The C locale's white space: blank, tab, line feed, vertical tab, form feed,
// carriage return. Whatever locale the desktop sets, plan files read alike.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text without white space at either end.
std::string_view Trim(std::string_view text);

// Whether the whole text is well-formed UTF-8 (no overlong forms, surrogates
// or code points past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The bytes of the UTF-8 character that starts at `at`; 1 for a byte that
// starts none, so a walk over damaged text still ends.
std::size_t Utf8CharLength(std::string_view text, std::size_t at);

// Appends the UTF-8 bytes of a code point.
void AppendUtf8(std::string& out, int32_t code_point);

// Fields separated by runs of blanks and tabs.
void SplitBlanks(std::string_view line, std::vector<std::string_view>& fields);

// The whole text as a number; false for anything else (trailing text too).
bool ParseInteger(std::string_view text, int64_t& value);
bool ParseDecimal(std::string_view text, double& value);

// Latitude and longitude in range.
bool ValidPosition(double lat, double lon);

std::string Upper(std::string_view text);

// Text from an outside file made safe to show: control characters (an escape
// sequence, a NUL byte, DEL) become a visible \xNN, so no terminal, list or
// printed log ever receives them raw; tabs and line breaks become blanks.
// Text without any comes back as it was.
std::string PrintableText(std::string_view text);

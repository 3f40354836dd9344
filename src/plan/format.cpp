#include "plan/format.h"

#include <cstdio>

#include "plan/cnumbers.h"
#include "plan/plan.h"

std::string FormatInt(int32_t value, int digits, bool parenthesised) {
  if (value == NOT_ENTERED) return {};
  char buf[48];
  std::snprintf(buf, sizeof buf, parenthesised ? "(%0*d)" : "%0*d", digits,
                static_cast<int>(value));
  return buf;
}

std::string FormatReal(double value, bool parenthesised) {
  if (!(value > -999.9)) return {};
  // Wide enough for any double "%1.1f" can produce (DBL_MAX has 309 digits).
  char buf[400];
  CNumbers c_numbers;  // a decimal point on the log whatever the desktop's locale
  std::snprintf(buf, sizeof buf, parenthesised ? "(%1.1f)" : "%1.1f", value);
  return buf;
}

std::string FormatDecimals(double value, int decimals) {
  if (value == NOT_ENTERED_FUEL) return {};
  CNumbers c_numbers;
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Parenthesised(const std::string& text) {
  return text.empty() ? text : "(" + text + ")";
}

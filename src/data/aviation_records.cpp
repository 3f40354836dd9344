#include "data/aviation_records.h"

#include <cctype>

#include "plan/text_fields.h"

const char* NavaidTypeName(NavaidType type) {
  switch (type) {
    case NavaidType::Vor:
      return "VOR";
    case NavaidType::VorDme:
      return "VOR-DME";
    case NavaidType::Vortac:
      return "VORTAC";
    case NavaidType::Ndb:
      return "NDB";
    case NavaidType::Dme:
      return "DME";
    case NavaidType::Fix:
      break;
  }
  return "FIX";
}

bool HasRadials(NavaidType type) {
  return type == NavaidType::Vor || type == NavaidType::VorDme || type == NavaidType::Vortac;
}

bool InComBand(int64_t khz) {
  return khz >= 118000 && khz <= 136975;
}
bool InVorBand(int64_t khz) {
  return khz >= 108000 && khz <= 117950;
}
bool InNdbBand(int64_t khz) {
  return khz >= 190 && khz <= 1750;
}

bool ParseMegahertz(const std::string& text, int64_t& khz) {
  const std::string_view t = Trim(text);
  const std::size_t dot = t.find('.');
  const std::string_view whole = t.substr(0, dot);
  std::string_view fraction =
      dot == std::string_view::npos ? std::string_view() : t.substr(dot + 1);
  int64_t mhz = 0;
  if (!ParseInteger(whole, mhz) || mhz < 0) return false;
  // Digits beyond the third are zeros in any real channel; anything else is not a channel.
  int64_t frac = 0;
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(fraction[i]))) return false;
    if (i < 3) {
      frac = frac * 10 + (fraction[i] - '0');
    } else if (fraction[i] != '0') {
      return false;
    }
  }
  for (std::size_t i = fraction.size(); i < 3; ++i) frac *= 10;
  if (mhz > 1000000) return false;
  khz = mhz * 1000 + frac;
  return true;
}

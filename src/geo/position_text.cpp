#include "geo/position_text.h"

#include <GeographicLib/Constants.hpp>
#include <GeographicLib/DMS.hpp>
#include <cctype>
#include <cmath>
#include <vector>

namespace {

bool IsSeparator(char c) {
  return c == ',' || c == ';' || std::isspace(static_cast<unsigned char>(c));
}

std::vector<std::string> Parts(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (IsSeparator(c)) {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

// "N37 09.9" is degrees and minutes apart; the decoder reads them joined by ':'.
std::string Joined(const std::vector<std::string>& parts, std::size_t first, std::size_t count) {
  std::string out = parts[first];
  for (std::size_t i = 1; i < count; ++i) out += ":" + parts[first + i];
  return out;
}

bool HasDigit(const std::string& text) {
  for (char c : text)
    if (std::isdigit(static_cast<unsigned char>(c))) return true;
  return false;
}

}  // namespace

PositionText ParsePositionText(const std::string& text, GeoPosition& position, std::string& why) {
  const std::vector<std::string> parts = Parts(text);
  if (parts.size() != 2 && parts.size() != 4 && parts.size() != 6)
    return PositionText::NotAPosition;
  for (const std::string& part : parts)
    if (!HasDigit(part)) return PositionText::NotAPosition;
  const std::size_t half = parts.size() / 2;
  const std::string first = Joined(parts, 0, half);
  const std::string second = Joined(parts, half, half);
  double lat = 0.0;
  double lon = 0.0;
  try {
    GeographicLib::DMS::DecodeLatLon(first, second, lat, lon);
  } catch (const GeographicLib::GeographicErr& e) {
    // The decoder says "Latitude 95d not in [-90d, 90d]" for a value past its
    // limit and something else for text that is no coordinate at all.
    const std::string message = e.what();
    if (message.find("not in [") == std::string::npos) return PositionText::NotAPosition;
    why = message.rfind("Latitude", 0) == 0 ? "a latitude must lie between 90S and 90N"
                                            : "a longitude must lie between 180W and 180E";
    return PositionText::OutOfRange;
  }
  if (!std::isfinite(lat) || !std::isfinite(lon)) return PositionText::NotAPosition;
  if (lon > 180.0 || lon < -180.0) {
    why = "a longitude must lie between 180W and 180E";
    return PositionText::OutOfRange;
  }
  position = GeoPosition{lat, lon};
  return PositionText::Position;
}

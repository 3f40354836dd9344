#include "plan/wind_triangle.h"

#include <cmath>
#include <limits>

namespace {

// Not the full-precision value: the printed logs pilots compare against were
// computed with this one, and ground speeds differ by a knot without it.
constexpr double kPi = 3.14159;

double Radians(double degrees) {
  return degrees * kPi / 180.0;
}
double Degrees(double radians) {
  return radians * 180.0 / kPi;
}

// Truncation toward zero, kept inside the int32 range for absurd inputs.
int32_t Truncate(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace

Triangle WindTriangle(int32_t tc, int32_t winddir, int32_t windvel, int32_t tas, int32_t& wca,
                      int32_t& gs) {
  if (tas <= 0) return Triangle::AirspeedNotPositive;
  const int64_t d = static_cast<int64_t>(tc) - winddir;
  const double ratio = std::sin(Radians(static_cast<double>(d) + 180.0)) * windvel / tas;
  if (!(ratio >= -1.0 && ratio <= 1.0)) return Triangle::CrosswindTooStrong;

  wca = Truncate(Degrees(std::asin(ratio)));
  gs = Truncate(tas * std::cos(Radians(wca)) - windvel * std::cos(Radians(static_cast<double>(d))));
  if (gs <= 0) return Triangle::NoGroundSpeed;
  return Triangle::Solved;
}

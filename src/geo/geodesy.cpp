#include "geo/geodesy.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <algorithm>
#include <cmath>
#include <limits>

LegMeasure MeasureLeg(const GeoPosition& from, const GeoPosition& to) {
  const GeographicLib::Geodesic& earth = GeographicLib::Geodesic::WGS84();
  const GeographicLib::GeodesicLine line = earth.InverseLine(from.lat, from.lon, to.lat, to.lon);
  LegMeasure leg;
  leg.distance_nm = line.Distance() / kMetresPerNauticalMile;
  line.Position(line.Distance() / 2.0, leg.midpoint.lat, leg.midpoint.lon, leg.course);
  return leg;
}

double DistanceNm(const GeoPosition& from, const GeoPosition& to) {
  double metres = 0.0;
  GeographicLib::Geodesic::WGS84().Inverse(from.lat, from.lon, to.lat, to.lon, metres);
  return metres / kMetresPerNauticalMile;
}

double DistanceToRouteNm(const GeoPosition& point, const std::vector<GeoPosition>& route) {
  double best = std::numeric_limits<double>::infinity();
  if (route.empty()) return best;
  best = DistanceNm(point, route.front());
  const GeographicLib::Geodesic& earth = GeographicLib::Geodesic::WGS84();
  for (std::size_t i = 1; i < route.size(); ++i) {
    const GeoPosition& a = route[i - 1];
    const GeoPosition& b = route[i];
    const GeographicLib::GeodesicLine line = earth.InverseLine(a.lat, a.lon, b.lat, b.lon);
    const double length_nm = line.Distance() / kMetresPerNauticalMile;
    const double to_end = std::min(DistanceNm(point, a), DistanceNm(point, b));
    best = std::min(best, to_end);
    // Every place on the leg is within half its length of an end.
    if (to_end - length_nm / 2.0 >= best) continue;
    const int steps = static_cast<int>(std::ceil(length_nm / 2.0));
    for (int s = 1; s < steps; ++s) {
      GeoPosition on;
      line.Position(line.Distance() * s / steps, on.lat, on.lon);
      best = std::min(best, DistanceNm(point, on));
    }
  }
  return best;
}

int32_t WholeDegrees(double azimuth) {
  long degrees = std::lround(std::fmod(azimuth, 360.0));
  degrees = ((degrees % 360) + 360) % 360;
  return degrees == 0 ? 360 : static_cast<int32_t>(degrees);
}

Bearing BearingBetween(const GeoPosition& from, const GeoPosition& to) {
  double metres = 0.0, azimuth_to = 0.0;
  Bearing bearing;
  GeographicLib::Geodesic::WGS84().Inverse(from.lat, from.lon, to.lat, to.lon, metres,
                                           bearing.azimuth, azimuth_to);
  bearing.distance_nm = metres / kMetresPerNauticalMile;
  return bearing;
}

#include "plan/geodesy.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <cmath>

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

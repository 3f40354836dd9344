// Legs between two points on the WGS84 ellipsoid, as a pilot measures them.
#pragma once

#include <cstdint>
#include <vector>

#include "plan/plan.h"

constexpr double kMetresPerNauticalMile = 1852.0;

struct LegMeasure {
  double distance_nm = 0.0;  // geodesic length
  double course = 0.0;       // azimuth at the midpoint, degrees from true north, -180..180
  GeoPosition midpoint;      // halfway along the geodesic
};

// The shortest path from `from` to `to`, however it crosses the antimeridian.
LegMeasure MeasureLeg(const GeoPosition& from, const GeoPosition& to);

// Geodesic distance in nautical miles.
double DistanceNm(const GeoPosition& from, const GeoPosition& to);

// How far `point` is from the nearest place on the route through `route`'s
// points (leg by leg along the geodesic), within a nautical mile; infinite
// for no points.
double DistanceToRouteNm(const GeoPosition& point, const std::vector<GeoPosition>& route);

// A direction rounded to a whole degree in 1..360, north being 360.
int32_t WholeDegrees(double azimuth);

struct Bearing {
  double distance_nm = 0.0;
  double azimuth = 0.0;  // at `from`, degrees from true north, -180..180
};

// Distance and direction from `from` to `to`, as a station's radial is measured.
Bearing BearingBetween(const GeoPosition& from, const GeoPosition& to);

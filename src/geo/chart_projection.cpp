#include "geo/chart_projection.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <GeographicLib/LambertConformalConic.hpp>
#include <GeographicLib/Math.hpp>
#include <algorithm>
#include <cmath>

#include "geo/geodesy.h"

struct ChartProjection::Impl {
  GeographicLib::LambertConformalConic cone;
  double origin_y = 0.0;  // the origin's northing from the cone's own origin

  explicit Impl(const LambertParameters& p)
      : cone(p.equatorial_radius, p.flattening, p.standard_parallel1, p.standard_parallel2, 1.0) {
    double x = 0.0;
    cone.Forward(p.central_meridian, p.origin_lat, p.central_meridian, x, origin_y);
  }
};

ChartProjection::ChartProjection(const LambertParameters& parameters)
    : parameters_(parameters), impl_(std::make_unique<Impl>(parameters)) {}
ChartProjection::~ChartProjection() = default;
ChartProjection::ChartProjection(const ChartProjection& other)
    : parameters_(other.parameters_), impl_(std::make_unique<Impl>(*other.impl_)) {}
ChartProjection& ChartProjection::operator=(const ChartProjection& other) {
  if (this != &other) {
    parameters_ = other.parameters_;
    impl_ = std::make_unique<Impl>(*other.impl_);
  }
  return *this;
}

ChartProjection ChartProjection::ForRoute(const std::vector<GeoPosition>& points) {
  LambertParameters p;
  if (points.empty()) {
    p.standard_parallel1 = -1.0;
    p.standard_parallel2 = 1.0;
    return ChartProjection(p);
  }
  double south = 90.0, north = -90.0;
  for (const GeoPosition& point : points) {
    south = std::min(south, point.lat);
    north = std::max(north, point.lat);
  }
  // Longitudes relative to the first point, so a route over the antimeridian
  // spans the short way.
  const double base = points.front().lon;
  double west = 0.0, east = 0.0;
  for (const GeoPosition& point : points) {
    const double d = GeographicLib::Math::AngDiff(base, point.lon);
    west = std::min(west, d);
    east = std::max(east, d);
  }
  const double span = north - south;
  double lat1 = south + span / 6.0;
  double lat2 = south + span * 5.0 / 6.0;
  const double middle = (south + north) / 2.0;
  if (lat2 - lat1 < 2.0) {
    lat1 = middle - 1.0;
    lat2 = middle + 1.0;
  }
  // A cone needs its parallels off the poles and on one side of the equator
  // or symmetric about it; GeographicLib takes both.
  p.standard_parallel1 = std::clamp(lat1, -89.0, 89.0);
  p.standard_parallel2 = std::clamp(lat2, -89.0, 89.0);
  p.origin_lat = middle;
  p.central_meridian = GeographicLib::Math::AngNormalize(base + (west + east) / 2.0);
  return ChartProjection(p);
}

ProjectedPoint ChartProjection::Forward(const GeoPosition& position) const {
  ProjectedPoint out;
  impl_->cone.Forward(parameters_.central_meridian, position.lat, position.lon, out.x, out.y);
  out.y -= impl_->origin_y;
  return out;
}

GeoPosition ChartProjection::Reverse(const ProjectedPoint& point) const {
  GeoPosition out;
  impl_->cone.Reverse(parameters_.central_meridian, point.x, point.y + impl_->origin_y, out.lat,
                      out.lon);
  return out;
}

double ChartProjection::Convergence(const GeoPosition& position) const {
  double x = 0.0, y = 0.0, gamma = 0.0, k = 1.0;
  impl_->cone.Forward(parameters_.central_meridian, position.lat, position.lon, x, y, gamma, k);
  return gamma;
}

std::vector<GeoPosition> GeodesicPoints(const GeoPosition& from, const GeoPosition& to,
                                        double step_nm) {
  const GeographicLib::GeodesicLine line =
      GeographicLib::Geodesic::WGS84().InverseLine(from.lat, from.lon, to.lat, to.lon);
  const double length = line.Distance();
  const int steps =
      std::clamp(static_cast<int>(std::ceil(length / (step_nm * kMetresPerNauticalMile))), 1, 4096);
  std::vector<GeoPosition> points;
  points.reserve(static_cast<std::size_t>(steps) + 1);
  points.push_back(from);
  for (int i = 1; i < steps; ++i) {
    GeoPosition on;
    line.Position(length * i / steps, on.lat, on.lon);
    points.push_back(on);
  }
  points.push_back(to);
  return points;
}

GeoPosition GeodesicDestination(const GeoPosition& from, double azimuth, double distance_m) {
  GeoPosition out;
  GeographicLib::Geodesic::WGS84().Direct(from.lat, from.lon, azimuth, distance_m, out.lat,
                                          out.lon);
  return out;
}

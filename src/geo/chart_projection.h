// The Lambert conformal conic projection a route's chart is drawn in: one
// projection for the window, the printout and the exported image of a plan.
#pragma once

#include <memory>
#include <vector>

#include "plan/plan.h"

// Easting and northing in metres from the projection's origin.
struct ProjectedPoint {
  double x = 0.0;
  double y = 0.0;
};

struct LambertParameters {
  double equatorial_radius = 6378137.0;     // metres
  double flattening = 1.0 / 298.257223563;  // WGS84 unless told
  double standard_parallel1 = 0.0;
  double standard_parallel2 = 0.0;
  double origin_lat = 0.0;
  double central_meridian = 0.0;
};

class ChartProjection {
 public:
  explicit ChartProjection(const LambertParameters& parameters);
  ~ChartProjection();
  ChartProjection(const ChartProjection& other);
  ChartProjection& operator=(const ChartProjection& other);

  // The projection that suits a route through `points` on WGS84: standard
  // parallels at a sixth and five sixths of its latitude span (at least two
  // degrees apart), origin and central meridian at the middle of its box.
  // A route across the antimeridian takes the shorter way round.
  static ChartProjection ForRoute(const std::vector<GeoPosition>& points);

  ProjectedPoint Forward(const GeoPosition& position) const;
  GeoPosition Reverse(const ProjectedPoint& point) const;
  // How far the projection's north is turned from true north at `position`,
  // degrees clockwise: a true bearing b is drawn at b - Convergence.
  double Convergence(const GeoPosition& position) const;

  const LambertParameters& parameters() const { return parameters_; }

 private:
  struct Impl;
  LambertParameters parameters_;
  std::unique_ptr<Impl> impl_;
};

// The geodesic from `from` to `to` as points at most `step_nm` apart, both
// ends included, for drawing as a polyline.
std::vector<GeoPosition> GeodesicPoints(const GeoPosition& from, const GeoPosition& to,
                                        double step_nm);

// Where the geodesic from `from` along true `azimuth` ends after `distance_m` metres.
GeoPosition GeodesicDestination(const GeoPosition& from, double azimuth, double distance_m);

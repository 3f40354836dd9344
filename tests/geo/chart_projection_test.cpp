#include "geo/chart_projection.h"

#include <gtest/gtest.h>

#include "geo/geodesy.h"

namespace {

TEST(ChartProjection, MatchesTheWorkedExampleOnClarke1866) {
  LambertParameters p;
  p.equatorial_radius = 6378206.4;
  p.flattening = 1.0 / 294.9786982;
  p.standard_parallel1 = 33.0;
  p.standard_parallel2 = 45.0;
  p.origin_lat = 23.0;
  p.central_meridian = -96.0;
  const ChartProjection projection(p);
  const ProjectedPoint point = projection.Forward({35.0, -75.0});
  EXPECT_NEAR(point.x, 1894410.9, 0.1);
  EXPECT_NEAR(point.y, 1564649.5, 0.1);
  const GeoPosition back = projection.Reverse(point);
  EXPECT_NEAR(back.lat, 35.0, 1e-9);
  EXPECT_NEAR(back.lon, -75.0, 1e-9);
}

TEST(ChartProjection, FitsTheRoute) {
  // Oakland to Reno: a short span widens to two degrees between the parallels.
  const ChartProjection narrow = ChartProjection::ForRoute({{37.72, -122.22}, {39.50, -119.77}});
  EXPECT_NEAR(narrow.parameters().standard_parallel1, 37.61, 1e-9);
  EXPECT_NEAR(narrow.parameters().standard_parallel2, 39.61, 1e-9);
  EXPECT_NEAR(narrow.parameters().central_meridian, -120.995, 1e-9);
  const ProjectedPoint middle = narrow.Forward({38.61, -120.995});
  EXPECT_NEAR(middle.x, 0.0, 1e-6);
  EXPECT_NEAR(middle.y, 0.0, 1e-6);

  const ChartProjection wide = ChartProjection::ForRoute({{30.0, -100.0}, {42.0, -90.0}});
  EXPECT_NEAR(wide.parameters().standard_parallel1, 32.0, 1e-9);
  EXPECT_NEAR(wide.parameters().standard_parallel2, 40.0, 1e-9);
  // North is up on the central meridian.
  EXPECT_NEAR(wide.Convergence({36.0, -95.0}), 0.0, 1e-9);
  EXPECT_GT(wide.Forward({40.0, -95.0}).y, wide.Forward({35.0, -95.0}).y);

  // Across the antimeridian the box is the short one.
  const ChartProjection pacific = ChartProjection::ForRoute({{10.0, 178.0}, {12.0, -176.0}});
  EXPECT_NEAR(pacific.parameters().central_meridian, -179.0, 1e-9);
}

TEST(ChartProjection, GeodesicPointsFollowTheLeg) {
  const GeoPosition from{37.72, -122.22};
  const GeoPosition to{39.50, -119.77};
  const std::vector<GeoPosition> points = GeodesicPoints(from, to, 5.0);
  ASSERT_GE(points.size(), 33u);
  EXPECT_EQ(points.front().lat, from.lat);
  EXPECT_EQ(points.back().lon, to.lon);
  // On the geodesic the two parts add up to the whole.
  const double whole = DistanceNm(from, to);
  for (const GeoPosition& point : points)
    EXPECT_NEAR(DistanceNm(from, point) + DistanceNm(point, to), whole, 1e-6);
  EXPECT_EQ(GeodesicPoints(from, from, 5.0).size(), 2u);
}

}  // namespace

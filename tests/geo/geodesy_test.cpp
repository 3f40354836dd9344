#include "geo/geodesy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "geo/magnetic.h"

namespace {

double Metres(double nm) {
  return nm * kMetresPerNauticalMile;
}

// Values published independently of the library: Vincenty's Flinders Peak to
// Buninyong line, the length of a degree of latitude and of longitude at the
// equator on WGS84, and the quarter meridian.
TEST(GeodesyTest, LegsMatchPublishedGeodesics) {
  const GeoPosition flinders{-(37 + 57 / 60.0 + 3.72030 / 3600), 144 + 25 / 60.0 + 29.52440 / 3600};
  const GeoPosition buninyong{-(37 + 39 / 60.0 + 10.15610 / 3600),
                              143 + 55 / 60.0 + 35.38390 / 3600};
  LegMeasure line = MeasureLeg(flinders, buninyong);
  EXPECT_NEAR(Metres(line.distance_nm), 54972.271, 0.01);
  // Starts at 306°52'05" and ends at 307°10'25": the plotter reads between.
  EXPECT_GT(line.course + 360, 306.87);
  EXPECT_LT(line.course + 360, 307.18);
  EXPECT_EQ(WholeDegrees(line.course), 307);

  LegMeasure meridian = MeasureLeg({-1.0, 0.0}, {1.0, 0.0});
  EXPECT_NEAR(Metres(meridian.distance_nm), 2 * 110574.389, 0.01);
  EXPECT_EQ(WholeDegrees(meridian.course), 360);
  EXPECT_NEAR(meridian.midpoint.lat, 0.0, 1e-9);

  LegMeasure quarter = MeasureLeg({0.0, 10.0}, {90.0, 10.0});
  EXPECT_NEAR(Metres(quarter.distance_nm), 10001965.729, 0.01);
  EXPECT_EQ(std::lround(quarter.distance_nm), 5401);

  LegMeasure equator = MeasureLeg({0.0, 0.0}, {0.0, 10.0});
  EXPECT_NEAR(Metres(equator.distance_nm), 10 * 111319.4908, 0.01);
  EXPECT_EQ(WholeDegrees(equator.course), 90);
  EXPECT_EQ(WholeDegrees(MeasureLeg({0.0, 10.0}, {0.0, 0.0}).course), 270);
  EXPECT_EQ(WholeDegrees(MeasureLeg({1.0, 0.0}, {-1.0, 0.0}).course), 180);
}

TEST(GeodesyTest, TheAntimeridianIsCrossedTheShortWay) {
  LegMeasure east = MeasureLeg({0.0, 179.5}, {0.0, -179.5});
  EXPECT_NEAR(Metres(east.distance_nm), 111319.4908, 0.01);
  EXPECT_EQ(WholeDegrees(east.course), 90);
  EXPECT_NEAR(std::abs(east.midpoint.lon), 180.0, 1e-9);

  // Adak to Shemya, in the Aleutians: westbound across the date line.
  LegMeasure west = MeasureLeg({51.878, -176.646}, {52.712, 174.114});
  EXPECT_GT(west.distance_nm, 340);
  EXPECT_LT(west.distance_nm, 350);
  EXPECT_GT(WholeDegrees(west.course), 270);
  EXPECT_LT(WholeDegrees(west.course), 300);
}

TEST(GeodesyTest, CourseIsTakenAtTheMidpointNotAtTheStart) {
  // Along the 60th parallel the geodesic bulges north; halfway it heads due east.
  LegMeasure leg = MeasureLeg({60.0, 0.0}, {60.0, 20.0});
  EXPECT_NEAR(leg.course, 90.0, 1e-9);
  EXPECT_GT(leg.midpoint.lat, 60.0);
  EXPECT_NEAR(leg.midpoint.lon, 10.0, 1e-9);
}

TEST(GeodesyTest, WholeDegreesRoundsIntoOneTo360) {
  EXPECT_EQ(WholeDegrees(0.0), 360);
  EXPECT_EQ(WholeDegrees(-0.4), 360);
  EXPECT_EQ(WholeDegrees(359.6), 360);
  EXPECT_EQ(WholeDegrees(0.5), 1);
  EXPECT_EQ(WholeDegrees(-90.2), 270);
  EXPECT_EQ(WholeDegrees(180.0), 180);
  EXPECT_EQ(WholeDegrees(-179.6), 180);
}

MagneticModel ShippedModel() {
  MagneticModel model;
  std::string error;
  EXPECT_TRUE(model.Load(HALVIX_WMM_DIR "/WMM2025.COF", error)) << error;
  return model;
}

TEST(MagneticModelTest, ReproducesEveryNoaaTestValue) {
  const MagneticModel model = ShippedModel();
  EXPECT_EQ(model.name(), "WMM-2025");
  std::ifstream in(HALVIX_WMM_DIR "/test-values.csv");
  std::string line;
  ASSERT_TRUE(std::getline(in, line));  // the header
  int checked = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<double> v;
    std::string cell;
    while (std::getline(fields, cell, ',')) v.push_back(std::stod(cell));
    ASSERT_EQ(v.size(), 12u) << line;
    const double year = v[0], height_km = v[1], lat = v[2], lon = v[3], declination = v[10];
    EXPECT_NEAR(model.Declination(lat, lon, height_km * 1000.0, year), declination, 0.01) << line;
    ++checked;
  }
  EXPECT_EQ(checked, 100);
}

TEST(MagneticModelTest, DatesAndTheModelsSpan) {
  CivilDate date;
  EXPECT_TRUE(ParseCivilDate("2025-07-02", date));
  EXPECT_DOUBLE_EQ(DecimalYear(date), 2025 + 182 / 365.0);
  EXPECT_TRUE(ParseCivilDate("2028-02-29", date));
  EXPECT_DOUBLE_EQ(DecimalYear(date), 2028 + 59 / 366.0);
  for (const char* bad : {"2027-02-29", "2025-13-01", "2025-00-10", "2025-1-01", "25-01-01",
                          "2025-01-01x", "", "2025/01/01"})
    EXPECT_FALSE(ParseCivilDate(bad, date)) << bad;
  EXPECT_EQ(FormatCivilDate(CivilDate{2026, 3, 9}), "2026-03-09");

  const MagneticModel model = ShippedModel();
  EXPECT_EQ(FormatCivilDate(model.released()), "2024-11-13");
  EXPECT_EQ(FormatCivilDate(model.expires()), "2029-11-13");
  EXPECT_TRUE(model.Covers(CivilDate{2024, 11, 13}));
  EXPECT_TRUE(model.Covers(CivilDate{2029, 11, 12}));
  EXPECT_FALSE(model.Covers(CivilDate{2029, 11, 13}));
  EXPECT_FALSE(model.Covers(CivilDate{2024, 1, 1}));
}

TEST(MagneticModelTest, ADamagedCoefficientFileIsRefused) {
  MagneticModel model;
  std::string error;
  EXPECT_FALSE(model.Load("/nonexistent/WMM.COF", error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos);
  const std::string path = ::testing::TempDir() + "/halvix-bad.cof";
  std::ofstream(path) << "    2025.0            WMM-2025     11/13/2024\n  1  0  abc\n";
  EXPECT_FALSE(model.Load(path, error));
  std::ofstream(path)
      << "    2025.0            WMM-2025     11/13/2024\n  1  0 -29351.8 0.0 12.0 0.0\n";
  EXPECT_FALSE(model.Load(path, error));  // cut short: no closing line
  EXPECT_NE(error.find("ends before"), std::string::npos) << error;
}

// A degree of latitude is 60 NM; one north of an east-west leg's middle is a
// mile less, the geodesic bowing north. A degree of longitude at 42N is 44.6
// NM. Nearer than either end, and nothing is infinitely far away.
TEST(GeodesyTest, DistanceToARouteIsToItsNearestPlace) {
  const std::vector<GeoPosition> route = {{40.0, -101.0}, {40.0, -97.0}, {45.0, -97.0}};
  EXPECT_NEAR(DistanceToRouteNm({41.0, -99.0}, route), 59.0, 0.5);
  EXPECT_NEAR(DistanceToRouteNm({42.0, -96.0}, route), 44.6, 0.5);
  EXPECT_NEAR(DistanceToRouteNm({40.0, -102.0}, route), DistanceNm({40.0, -102.0}, route[0]), 1e-9);
  EXPECT_TRUE(std::isinf(DistanceToRouteNm({0.0, 0.0}, {})));
}

}  // namespace

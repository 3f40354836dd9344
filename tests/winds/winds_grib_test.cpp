// GRIB2 forecasts: files written here from ecCodes' own sample, read back
// for a plan's area and levels.
#include "winds/winds_grib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "grib_util.h"
#include "test_util.h"
#include "winds/grib_messages.h"
#include "winds/winds_file.h"

namespace {

TEST(GribForecast, BilinearAcrossTheSeamBetweenLevelsAndTimes) {
  TempDir dir;
  const std::string path = dir.File("gfs.txt");  // the content decides, not the name
  WriteFile(path, Forecast());
  const Plan plan = SeamPlan();
  const WindForecastLoad load = LoadWindForecast(path, plan, {});
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_TRUE(load.grib);
  const auto& grib = static_cast<const GribForecast&>(*load.source);
  EXPECT_EQ(grib.levels_held(), 2u);  // 1500 and 3000 m hold 7382 ft between them
  EXPECT_EQ(grib.times_held(), 2u);
  EXPECT_LT(grib.values_held(), 2u * 2 * 4 * 40);

  // Halfway between 359 E and 0 E, halfway between 850 and 700 hPa, at 03Z:
  // 15 m/s times 1.5 is 43.7 kt.
  const WindFill fill = ProposeWinds(plan, *load.source, WindFillOptions{3 * 60});
  ASSERT_TRUE(fill.legs[0].filled) << fill.legs[0].note;
  EXPECT_EQ(fill.legs[0].wind.winddir, 270);
  EXPECT_EQ(fill.legs[0].wind.windvel, 44);
  EXPECT_EQ(fill.legs[0].wind.temp, 5);
  EXPECT_EQ(fill.legs[0].time, "080000Z-080600Z");
  // At the first forecast time when no departure is given.
  EXPECT_EQ(ProposeWinds(plan, *load.source, {}).legs[0].wind.windvel, 29);
}

TEST(GribForecast, BadFilesNameTheMessage) {
  TempDir dir;
  const std::string whole = Forecast();
  WriteFile(dir.File("cut.grib2"), whole.substr(0, whole.size() - 100));
  WindForecastLoad load = LoadWindForecast(dir.File("cut.grib2"), SeamPlan(), {});
  EXPECT_FALSE(load.ok);
  EXPECT_EQ(load.error, dir.File("cut.grib2") + ": the file ends inside message 32");
  WriteFile(dir.File("junk.grib2"), "GRIB" + std::string(200, 'x'));
  load = LoadWindForecast(dir.File("junk.grib2"), SeamPlan(), {});
  EXPECT_FALSE(load.ok);
  EXPECT_EQ(load.error, dir.File("junk.grib2") + ": not a GRIB file");

  // Headers that promise more than the data holds are refused before
  // anything is decoded or allocated.
  const std::pair<std::string, std::string> hostile[] = {
      {HostileGrib(64, 0, 0), "message 1: 64 bits per value; at most 32 are read"},
      {HostileGrib(16, 0, 0), "message 1: the data section is shorter than its 65160 values"},
      {HostileGrib(0, 40000, 40000),
       "message 1: a grid of 40000 by 40000 points, more than this program reads"},
      {HostileGrib(0, 4000, 4000), "message 1: 65160 values for a grid of 16000000 points"},
  };
  for (const auto& [bytes, error] : hostile) {
    WriteFile(dir.File("hostile.grib2"), bytes);
    load = LoadWindForecast(dir.File("hostile.grib2"), SeamPlan(), {});
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.error, dir.File("hostile.grib2") + ": " + error);
  }
}

TEST(GribForecast, LevelsAreChosenByTheirHeightsInTheFile) {
  // A deep low: every level 450 m below the standard atmosphere's, and the
  // wind at 1000 ft is between 950 and 925 hPa, not above 950.
  const long levels[] = {1000, 975, 950, 925, 900};
  const double heights[] = {-340, -130, 90, 310, 540};
  std::vector<Field> fields;
  for (int n = 0; n < 5; ++n) {
    fields.push_back({"u", levels[n], 0, [n](double, double) { return n == 3 ? 15.0 : 5.0; }});
    fields.push_back({"v", levels[n], 0, [](double, double) { return 0.0; }});
    fields.push_back({"gh", levels[n], 0, [h = heights[n]](double, double) { return h; }});
  }
  TempDir dir;
  WriteFile(dir.File("low.grib2"), GribBytes(fields));
  Plan plan = LinePlan({10.0, 10.5});
  plan.route[1].subitems[kCellAltitude] = "1000";
  WindForecastLoad load = LoadWindForecast(dir.File("low.grib2"), plan, {});
  ASSERT_TRUE(load.ok) << load.error;
  const WindFill fill = ProposeWinds(plan, *load.source, {});
  EXPECT_EQ(fill.legs[0].wind.winddir, 270);
  EXPECT_EQ(fill.legs[0].wind.windvel, 29);

  // A wind faster than any jet stream is a damaged field's: none rather than 777 kt.
  for (Field& field : fields) {
    if (std::string(field.name) == "u") field.value = [](double, double) { return 400.0; };
  }
  WriteFile(dir.File("fast.grib2"), GribBytes(fields));
  load = LoadWindForecast(dir.File("fast.grib2"), plan, {});
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_EQ(ProposeWinds(plan, *load.source, {}).legs[0].note, "no wind in the forecast");

  fields.erase(std::remove_if(fields.begin(), fields.end(),
                              [](const Field& f) { return std::string(f.name) == "gh"; }),
               fields.end());
  WriteFile(dir.File("nogh.grib2"), GribBytes(fields));
  load = LoadWindForecast(dir.File("nogh.grib2"), plan, {});
  EXPECT_EQ(load.error, dir.File("nogh.grib2") +
                            ": no geopotential height (gh) on pressure levels: the heights of its "
                            "levels are unknown");
}

// A grid of 20 degrees either side of 0 and of 180: a route entering it
// from the west gets its winds inside, and a leg just past the last column
// gets none, whichever way the route is flown.
TEST(GribForecast, RegionalGridsEndAtTheirEdges) {
  TempDir dir;
  struct Case {
    double lon0;
    std::vector<double> lons;
    std::vector<bool> filled;  // flown eastward
  };
  const Case cases[] = {
      {350.0, {-13.5, -12.5, -9.5, -7.5}, {false, false, true}},
      {350.0, {8.0, 9.8, 10.6}, {true, false}},
      {170.0, {166.5, 168.5, 172.5}, {false, true}},
      {170.0, {-173.0, -170.6, -169.0}, {true, false}},
  };
  for (const Case& c : cases) {
    WriteFile(dir.File("regional.grib2"), Forecast({0}, GribGrid{21, 21, 50.0, c.lon0}));
    for (const bool east : {true, false}) {
      std::vector<double> lons = c.lons;
      std::vector<bool> filled = c.filled;
      if (!east) {
        std::reverse(lons.begin(), lons.end());
        std::reverse(filled.begin(), filled.end());
      }
      const Plan plan = LinePlan(lons);
      const WindForecastLoad load = LoadWindForecast(dir.File("regional.grib2"), plan, {});
      ASSERT_TRUE(load.ok) << load.error;
      const WindFill fill = ProposeWinds(plan, *load.source, {});
      for (std::size_t k = 0; k < filled.size(); ++k) {
        EXPECT_EQ(fill.legs[k].filled, filled[k]) << c.lon0 << " " << lons[k] << " " << east;
        if (filled[k]) {
          EXPECT_EQ(fill.legs[k].wind.windvel, 19);
        }
      }
    }
  }
}

TEST(GribForecast, ALegOutsideTheForecastsTimesNamesTheTimeUsed) {
  TempDir dir;
  const Plan plan = SeamPlan();
  for (const auto& [steps, depart, time] :
       {std::tuple<std::vector<long>, int, const char*>{{0}, 5 * 60, "080000Z"},
        {{0, 6}, 9 * 60, "080600Z"}}) {
    WriteFile(dir.File("times.grib2"), Forecast(steps));
    const WindForecastLoad load = LoadWindForecast(dir.File("times.grib2"), plan, {});
    ASSERT_TRUE(load.ok) << load.error;
    const WindFill fill = ProposeWinds(plan, *load.source, WindFillOptions{depart});
    ASSERT_EQ(fill.warnings.size(), 1u);
    EXPECT_EQ(fill.warnings[0], std::string("leg 1 (Greenwich): the leg's time is outside the "
                                            "forecast; the nearest time, ") +
                                    time + ", is used");
  }
  // Within an hour of a single time, no warning.
  WriteFile(dir.File("times.grib2"), Forecast({0}));
  const WindForecastLoad load = LoadWindForecast(dir.File("times.grib2"), plan, {});
  EXPECT_TRUE(ProposeWinds(plan, *load.source, WindFillOptions{30}).warnings.empty());
}

TEST(GribModule, ACutCopyIsAMessageNotACrash) {
  const std::string navlog = HALVIX_NAVLOG;
  const std::string module =
      navlog.substr(0, navlog.rfind('/')) + "/" HALVIX_LIB_FROM_PROGRAM "/halvix-grib.so";
  const std::string whole = ReadFile(module);
  ASSERT_GT(whole.size(), 4096u);
  TempDir dir;
  std::string error;
  for (const std::size_t size : {whole.size() / 2, whole.size() - 1, std::size_t{100}}) {
    WriteFile(dir.File("cut.so"), whole.substr(0, size));
    EXPECT_EQ(LoadGribModule(dir.File("cut.so"), error), nullptr) << size;
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  }
  EXPECT_NE(LoadGribModule(module, error), nullptr) << error;
}

}  // namespace

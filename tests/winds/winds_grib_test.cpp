// GRIB2 forecasts: files written here from ecCodes' own sample, read back
// for a plan's area and levels.
#include "winds/winds_grib.h"

#include <gtest/gtest.h>

#include "grib_util.h"
#include "test_util.h"
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
  EXPECT_EQ(grib.levels_held(), 3u);  // 250 hPa is far above 7382 ft
  EXPECT_EQ(grib.times_held(), 2u);
  EXPECT_LT(grib.values_held(), 2u * 3 * 4 * 40);

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
  EXPECT_NE(load.error.find("message 32"), std::string::npos) << load.error;
  WriteFile(dir.File("junk.grib2"), "GRIB" + std::string(200, 'x'));
  load = LoadWindForecast(dir.File("junk.grib2"), SeamPlan(), {});
  EXPECT_FALSE(load.ok);
  EXPECT_NE(load.error.find("message"), std::string::npos) << load.error;
}

}  // namespace

// GRIB2 forecasts: files written here from ecCodes' own sample, read back
// for a plan's area and levels.
#include "winds/winds_grib.h"

#include <gtest/gtest.h>

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

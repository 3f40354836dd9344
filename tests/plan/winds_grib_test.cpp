// GRIB2 forecasts: files written here from ecCodes' own sample, read back
// for a plan's area and levels.
#include "plan/winds_grib.h"

#include <eccodes.h>
#include <gtest/gtest.h>

#include <functional>

#include "plan/winds_file.h"
#include "test_util.h"

namespace {

struct Field {
  const char* name;
  long hpa;
  long step;  // hours after 2026-12-08 00Z
  std::function<double(double lat, double lon)> value;
};

// A global one-degree grid per field, north to south from 0 E.
std::string GribBytes(const std::vector<Field>& fields) {
  std::string bytes;
  std::vector<double> values(360 * 181);
  for (const Field& field : fields) {
    codes_handle* h = codes_grib_handle_new_from_samples(nullptr, "regular_ll_pl_grib2");
    std::size_t length = std::string(field.name).size();
    codes_set_long(h, "dataDate", 20261208);
    codes_set_long(h, "dataTime", 0);
    codes_set_string(h, "shortName", field.name, &length);
    codes_set_long(h, "level", field.hpa);
    codes_set_long(h, "step", field.step);
    codes_set_long(h, "Ni", 360);
    codes_set_long(h, "Nj", 181);
    codes_set_double(h, "latitudeOfFirstGridPointInDegrees", 90.0);
    codes_set_double(h, "latitudeOfLastGridPointInDegrees", -90.0);
    codes_set_double(h, "longitudeOfFirstGridPointInDegrees", 0.0);
    codes_set_double(h, "longitudeOfLastGridPointInDegrees", 359.0);
    codes_set_double(h, "iDirectionIncrementInDegrees", 1.0);
    codes_set_double(h, "jDirectionIncrementInDegrees", 1.0);
    codes_set_long(h, "bitsPerValue", 24);
    for (int j = 0; j < 181; ++j) {
      for (int i = 0; i < 360; ++i) values[j * 360 + i] = field.value(90.0 - j, i);
    }
    codes_set_double_array(h, "values", values.data(), values.size());
    const void* message = nullptr;
    std::size_t size = 0;
    codes_get_message(h, &message, &size);
    bytes.append(static_cast<const char*>(message), size);
    codes_handle_delete(h);
  }
  return bytes;
}

// Levels at 1500, 3000, 5500 and 10000 m, 10, 0, -20 and -50 C; an east
// wind... from the west, 10 m/s, but 20 m/s on the 0 E meridian, doubled
// six hours later.
std::string Forecast() {
  std::vector<Field> fields;
  const long levels[] = {850, 700, 500, 250};
  const double heights[] = {1500, 3000, 5500, 10000};
  const double temps[] = {10, 0, -20, -50};
  for (long step : {0L, 6L}) {
    for (int n = 0; n < 4; ++n) {
      const double factor = step == 0 ? 1.0 : 2.0;
      fields.push_back({"u", levels[n], step, [factor](double, double lon) {
                          return (lon == 0.0 ? 20.0 : 10.0) * factor;
                        }});
      fields.push_back({"v", levels[n], step, [](double, double) { return 0.0; }});
      fields.push_back(
          {"t", levels[n], step, [t = temps[n]](double, double) { return t + 273.15; }});
      fields.push_back({"gh", levels[n], step, [h = heights[n]](double, double) { return h; }});
    }
  }
  return GribBytes(fields);
}

Plan SeamPlan() {
  Plan plan;
  plan.route = {Row("West"), Row("Greenwich", "46", "90", "7382", "", "", "", "100", "0")};
  plan.route[0].position = GeoPosition{40.0, -1.0};
  plan.route[1].position = GeoPosition{40.0, 0.0};
  return plan;
}

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

// GRIB2 files for the tests, written from ecCodes' own sample: a global
// one-degree grid with u, v, t and gh on pressure levels.
#pragma once

#include <eccodes.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "test_util.h"

struct Field {
  const char* name;
  long hpa;
  long step;  // hours after 2026-12-08 00Z
  std::function<double(double lat, double lon)> value;
};

// A one-degree grid, north to south from `lat0` and east from `lon0`; by
// default the globe from 0 E.
struct GribGrid {
  long ni = 360, nj = 181;
  double lat0 = 90.0, lon0 = 0.0;
};

inline std::string GribBytes(const std::vector<Field>& fields, const GribGrid& grid = {}) {
  std::string bytes;
  std::vector<double> values(static_cast<std::size_t>(grid.ni * grid.nj));
  for (const Field& field : fields) {
    codes_handle* h = codes_grib_handle_new_from_samples(nullptr, "regular_ll_pl_grib2");
    std::size_t length = std::string(field.name).size();
    codes_set_long(h, "dataDate", 20261208);
    codes_set_long(h, "dataTime", 0);
    codes_set_string(h, "shortName", field.name, &length);
    codes_set_long(h, "level", field.hpa);
    codes_set_long(h, "step", field.step);
    codes_set_long(h, "Ni", grid.ni);
    codes_set_long(h, "Nj", grid.nj);
    codes_set_double(h, "latitudeOfFirstGridPointInDegrees", grid.lat0);
    codes_set_double(h, "latitudeOfLastGridPointInDegrees", grid.lat0 - (grid.nj - 1));
    codes_set_double(h, "longitudeOfFirstGridPointInDegrees", grid.lon0);
    codes_set_double(h, "longitudeOfLastGridPointInDegrees",
                     std::fmod(grid.lon0 + grid.ni - 1, 360.0));
    codes_set_double(h, "iDirectionIncrementInDegrees", 1.0);
    codes_set_double(h, "jDirectionIncrementInDegrees", 1.0);
    codes_set_long(h, "bitsPerValue", 24);
    for (long j = 0; j < grid.nj; ++j) {
      for (long i = 0; i < grid.ni; ++i)
        values[static_cast<std::size_t>(j * grid.ni + i)] =
            field.value(grid.lat0 - j, grid.lon0 + i);
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

// Levels at 1500, 3000, 5500 and 10000 m, 10, 0, -20 and -50 C; a west wind
// of 10 m/s, 20 m/s on the 0 E meridian, twice that six hours later.
inline std::string Forecast(const std::vector<long>& steps = {0, 6}, const GribGrid& grid = {}) {
  std::vector<Field> fields;
  const long levels[] = {850, 700, 500, 250};
  const double heights[] = {1500, 3000, 5500, 10000};
  const double temps[] = {10, 0, -20, -50};
  for (long step : steps) {
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
  return GribBytes(fields, grid);
}

// `value` written big-endian over `width` bytes at `at`, as GRIB keeps numbers.
inline void PutNumber(std::string& bytes, std::size_t at, unsigned long long value, int width) {
  for (int n = width - 1; n >= 0; --n, value >>= 8) bytes[at + n] = static_cast<char>(value & 0xFF);
}

// One gh message of the global grid with its header changed: `bits` per
// value and the data section emptied when `bits` is not 0, `ni` by `nj`
// points declared when they are not 0. The offsets are the sample's.
inline std::string HostileGrib(int bits, unsigned long ni, unsigned long nj) {
  std::string bytes = GribBytes({{"gh", 850, 0, [](double, double) { return 1500.0; }}});
  if (bits != 0) {
    bytes.resize(170);
    bytes[162] = static_cast<char>(bits);
    bytes += std::string("\0\0\0\5\7", 5) + "7777";
    PutNumber(bytes, 8, bytes.size(), 8);
  }
  if (ni != 0) {
    PutNumber(bytes, 43, ni * nj, 4);
    PutNumber(bytes, 67, ni, 4);
    PutNumber(bytes, 71, nj, 4);
  }
  return bytes;
}

// Checkpoints along 40 N at these longitudes, flown at 7382 ft.
inline Plan LinePlan(const std::vector<double>& lons) {
  Plan plan;
  for (std::size_t n = 0; n < lons.size(); ++n) {
    plan.route.push_back(
        n == 0 ? Row("P0")
               : Row("P" + std::to_string(n), "46", "90", "7382", "", "", "", "100", "0"));
    plan.route.back().position = GeoPosition{40.0, lons[n]};
  }
  return plan;
}

inline Plan SeamPlan() {
  Plan plan;
  plan.route = {Row("West"), Row("Greenwich", "46", "90", "7382", "", "", "", "100", "0")};
  plan.route[0].position = GeoPosition{40.0, -1.0};
  plan.route[1].position = GeoPosition{40.0, 0.0};
  return plan;
}

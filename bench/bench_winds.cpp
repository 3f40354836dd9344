// Filling a full plan's winds once the forecast is read: from a bulletin of
// a country's worth of stations, and from a one-degree global GRIB2 file.
// The target is 50 ms for each.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "full_plan.h"
#include "grib_util.h"
#include "winds/winds.h"
#include "winds/winds_fb.h"
#include "winds/winds_grib.h"

namespace {

// The full plan zigzagging east across the middle of the country.
Plan WindPlan() {
  Plan plan = FullPlan();
  for (std::size_t i = 0; i < plan.route.size(); ++i) {
    plan.route[i].position = GeoPosition{38.0 + (i % 2 == 0 ? 0.0 : 1.0), -120.0 + 1.5 * i};
  }
  return plan;
}

// 180 stations on a one-and-a-half degree lattice over the lower 48.
std::string CountryBulletin(std::map<std::string, GeoPosition>& places) {
  std::string text =
      "DATA BASED ON 081200Z\nVALID 081800Z   FOR USE 1400-2100Z. TEMPS NEG ABV 24000\n"
      "FT  3000    6000    9000   12000   18000   24000  30000  34000  39000\n";
  for (int n = 0; n < 180; ++n) {
    std::string ident = "S";
    ident += static_cast<char>('A' + n / 26 % 26);
    ident += static_cast<char>('A' + n % 26);
    places[ident] = GeoPosition{30.0 + 1.5 * (n / 20), -122.0 + 3.0 * (n % 20)};
    text += ident + " 2714 2720+05 2725+01 2830-04 2840-16 2850-28 286042 287052 288058\n";
  }
  return text;
}

void BM_FillFromBulletin(benchmark::State& state) {
  std::map<std::string, GeoPosition> places;
  const FbDecodeResult decoded = DecodeFb(CountryBulletin(places));
  FbForecast forecast(decoded.bulletins, [&](const std::string& ident) {
    return std::optional<GeoPosition>(places.at(ident));
  });
  const Plan plan = WindPlan();
  for (auto _ : state) {
    Plan filled = plan;
    const WindFill fill = ProposeWinds(filled, forecast, WindFillOptions{15 * 60});
    ApplyWinds(filled, fill);
    benchmark::DoNotOptimize(filled.route.back().subitems);
  }
}
BENCHMARK(BM_FillFromBulletin)->Unit(benchmark::kMillisecond);

// Four times of u, v, t and gh on ten levels, one degree, global.
std::string WriteGlobalGrib() {
  char path[] = "/tmp/halvix-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) close(fd);
  const long levels[] = {1000, 925, 850, 700, 600, 500, 400, 300, 250, 200};
  const double heights[] = {110, 760, 1460, 3010, 4200, 5570, 7180, 9160, 10360, 11790};
  std::vector<Field> fields;
  for (long step = 0; step <= 18; step += 6) {
    for (int l = 0; l < 10; ++l) {
      const double h = heights[l];
      fields.push_back({"u", levels[l], step, [](double lat, double lon) {
                          return 10.0 + 5.0 * std::sin((lat + lon) * 0.1);
                        }});
      fields.push_back({"v", levels[l], step, [](double lat, double) { return lat * 0.1; }});
      fields.push_back(
          {"t", levels[l], step, [h](double, double) { return 288.0 - 6.5 * h / 1000.0; }});
      fields.push_back({"gh", levels[l], step, [h](double lat, double) { return h + lat; }});
    }
  }
  WriteFile(path, GribBytes(fields));
  return path;
}

void BM_FillFromGlobalGrib(benchmark::State& state) {
  const std::string path = WriteGlobalGrib();
  const Plan plan = WindPlan();
  GribForecast forecast;
  std::string error;
  if (!forecast.Read(path, AreaOfPlan(plan), error)) state.SkipWithError(error.c_str());
  std::remove(path.c_str());
  for (auto _ : state) {
    Plan filled = plan;
    const WindFill fill = ProposeWinds(filled, forecast, WindFillOptions{3 * 60});
    ApplyWinds(filled, fill);
    benchmark::DoNotOptimize(filled.route.back().subitems);
  }
  state.counters["values_held"] = static_cast<double>(forecast.values_held());
}
BENCHMARK(BM_FillFromGlobalGrib)->Unit(benchmark::kMillisecond);

// Reading the same file, for scale: what the fill comes after.
void BM_ReadGlobalGrib(benchmark::State& state) {
  const std::string path = WriteGlobalGrib();
  const GribArea area = AreaOfPlan(WindPlan());
  for (auto _ : state) {
    GribForecast forecast;
    std::string error;
    benchmark::DoNotOptimize(forecast.Read(path, area, error));
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadGlobalGrib)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

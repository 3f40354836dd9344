// Filling a full plan's winds once the forecast is read: from a bulletin of
// a country's worth of stations, and from a one-degree global GRIB2 file.
// The target is 50 ms for each.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "full_plan.h"
#include "grib_util.h"
#include "plan/planfile.h"
#include "winds/winds.h"
#include "winds/winds_fb.h"
#include "winds/winds_grib.h"

extern char** environ;

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
  const ReadReport report = forecast.Read(path, AreaOfPlan(plan));
  if (!report.ok()) state.SkipWithError(report.FirstError().c_str());
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
    benchmark::DoNotOptimize(forecast.Read(path, area).ok());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadGlobalGrib)->Unit(benchmark::kMillisecond);

// CPU time (user and system) of a child process running `args`, its output
// thrown away; negative when it fails.
double ChildCpuMs(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1.0;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1.0;
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// A whole `--winds FILE.grib2` run of the command-line program against the
// floor: ecCodes' own start-up and decoding of the messages the route needs
// (u, v, t and gh of the levels kept), run in turn so that both see the
// same machine load. Medians of the rounds; the target is a ratio of 1.5.
void BM_WindsRunAgainstEccodesFloor(benchmark::State& state) {
  const std::string grib = WriteGlobalGrib();
  Plan plan = WindPlan();
  char plan_path[] = "/tmp/halvix-bench-plan-XXXXXX";
  const int fd = mkstemp(plan_path);
  if (fd >= 0) close(fd);
  const std::string flt = std::string(plan_path) + ".flt";
  std::rename(plan_path, flt.c_str());
  SavePlan(plan, flt);
  GribForecast forecast;
  const ReadReport report = forecast.Read(grib, AreaOfPlan(plan));
  if (!report.ok()) state.SkipWithError(report.FirstError().c_str());
  std::vector<std::string> floor = {HALVIX_GRIB_FLOOR, grib};
  for (long hpa : forecast.pressures_held()) floor.push_back(std::to_string(hpa));
  const std::vector<std::string> run = {HALVIX_NAVLOG, "--winds", grib, "--depart", "0300", flt};
  std::vector<double> runs;
  std::vector<double> floors;
  for (auto _ : state) {
    const double a = ChildCpuMs(run);
    const double b = ChildCpuMs(floor);
    if (a < 0.0 || b < 0.0) {
      state.SkipWithError("a child failed");
      break;
    }
    runs.push_back(a);
    floors.push_back(b);
    state.SetIterationTime(a / 1000.0);
  }
  auto median = [](std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  state.counters["run_cpu_ms"] = median(runs);
  state.counters["floor_cpu_ms"] = median(floors);
  state.counters["ratio"] = median(floors) > 0.0 ? median(runs) / median(floors) : 0.0;
  state.counters["levels"] = static_cast<double>(forecast.pressures_held().size());
  if (getenv("HALVIX_BENCH_KEEP") != nullptr) {
    std::fprintf(stderr, "kept %s %s\n", grib.c_str(), flt.c_str());
    return;
  }
  std::remove(grib.c_str());
  std::remove(flt.c_str());
}
BENCHMARK(BM_WindsRunAgainstEccodesFloor)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Launch to a mapped main window: the program beside a bare QMainWindow and
// beside the floor (a bare window with the controls the program's main window
// needs), launched in turn so all see the same machine load. Medians of 15
// launches each; resident memory is taken when the window is shown. The
// paired ratio is the median of each round's program/bare ratio, which a
// machine whose speed drifts between rounds disturbs less.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Launch {
  double ms = 0.0;
  double rss_mb = 0.0;
  bool ok = false;
};

Launch Run(const char* program) {
  Launch result;
  int out[2];
  if (pipe(out) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  char* argv[] = {const_cast<char*>(program), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return result;
  }
  char line[64] = {};
  std::size_t got = 0;
  while (got < sizeof line - 1) {
    const ssize_t n = read(out[0], line + got, 1);
    if (n <= 0 || line[got] == '\n') break;
    ++got;
  }
  const auto shown = std::chrono::steady_clock::now();
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.ms = std::chrono::duration<double, std::milli>(shown - start).count();
  result.rss_mb = std::atof(line) / 1024.0;
  result.ok = got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void BM_StartUpAgainstBareWindow(benchmark::State& state) {
  // On a display, measure what a pilot sees; without one, Qt's offscreen platform.
  const char* display = std::getenv("DISPLAY");
  if (display != nullptr && *display != '\0') setenv("QT_QPA_PLATFORM", "xcb", 1);
  constexpr int kRuns = 15;
  const char* const programs[] = {HALVIX_STARTUP_BARE, HALVIX_STARTUP_FLOOR,
                                  HALVIX_STARTUP_PROGRAM};
  for (auto _ : state) {
    std::vector<double> ms[3], mb[3], paired, paired_floor;
    for (const char* program : programs) Run(program);  // warm the page cache for all
    for (int i = 0; i < kRuns; ++i) {
      Launch launch[3];
      for (int p = 0; p < 3; ++p) {
        launch[p] = Run(programs[p]);
        if (!launch[p].ok) {
          state.SkipWithError("a probe did not show its window");
          return;
        }
        ms[p].push_back(launch[p].ms);
        mb[p].push_back(launch[p].rss_mb);
      }
      paired.push_back(launch[2].ms / launch[0].ms);
      paired_floor.push_back(launch[2].ms / launch[1].ms);
    }
    const double b = Median(ms[0]), f = Median(ms[1]), h = Median(ms[2]);
    const double bm = Median(mb[0]), fm = Median(mb[1]), hm = Median(mb[2]);
    state.SetIterationTime(h / 1000.0);
    state.counters["bare_ms"] = b;
    state.counters["floor_ms"] = f;
    state.counters["halvix_ms"] = h;
    state.counters["time_ratio"] = h / b;
    state.counters["paired_time_ratio"] = Median(paired);
    state.counters["floor_time_ratio"] = f / b;
    // The program against the floor: what it costs beyond its kinds of control.
    state.counters["over_floor_paired_time_ratio"] = Median(paired_floor);
    state.counters["over_floor_rss_ratio"] = hm / fm;
    state.counters["bare_MB"] = bm;
    state.counters["floor_MB"] = fm;
    state.counters["halvix_MB"] = hm;
    state.counters["rss_ratio"] = hm / bm;
    state.counters["floor_rss_ratio"] = fm / bm;
  }
}
BENCHMARK(BM_StartUpAgainstBareWindow)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

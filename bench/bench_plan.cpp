// A full plan (33 rows, 23 airfields) saved and loaded, beside the same bytes
// written and read with plain file I/O. Both sides make the data durable
// (fsync) before the rename or close, as a save that must survive a crash does.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "colliding_names.h"
#include "full_plan.h"
#include "plan/planfile.h"

namespace {

std::string Dir() {
  static std::string dir = [] {
    char pattern[] = "/tmp/halvix-bench-XXXXXX";
    return std::string(mkdtemp(pattern));
  }();
  return dir;
}

void BM_PlanSaveLoad(benchmark::State& state) {
  Plan plan = FullPlan();
  const std::string path = Dir() + "/plan.flt";
  std::remove(path.c_str());
  Plan loaded;
  for (auto _ : state) {
    SavePlan(plan, path);
    LoadPlan(loaded, path);
    benchmark::DoNotOptimize(loaded.route.data());
  }
  if (loaded.route.size() != plan.route.size()) state.SkipWithError("round trip lost rows");
}
BENCHMARK(BM_PlanSaveLoad)->Unit(benchmark::kMicrosecond);

void BM_PlainFileWriteRead(benchmark::State& state) {
  Plan plan = FullPlan();
  const std::string path = Dir() + "/plain.flt";
  SavePlan(plan, Dir() + "/bytes.flt");
  std::string bytes;
  {
    FILE* f = std::fopen((Dir() + "/bytes.flt").c_str(), "rb");
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
  }
  std::string back;
  for (auto _ : state) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      state.SkipWithError("write failed");
    }
    fsync(fd);
    close(fd);
    back.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) back.append(buf, n);
    std::fclose(f);
    benchmark::DoNotOptimize(back.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_PlainFileWriteRead)->Unit(benchmark::kMicrosecond);

// The copy of the whole plan that each undoable change keeps: it must stay
// small beside the leg computation an edit sets off.
void BM_PlanSnapshot(benchmark::State& state) {
  const Plan plan = FullPlan();
  for (auto _ : state) {
    Plan copy = plan;
    benchmark::DoNotOptimize(copy.route.data());
  }
}
BENCHMARK(BM_PlanSnapshot)->Unit(benchmark::kMicrosecond);

// Writes `keys` (the [misc] section's opening) to `path` with two route
// rows after them, and times loading the file.
void LoadPlanAfterKeys(benchmark::State& state, const std::string& path, std::string keys) {
  keys += "count=2\r\n[dest0]\r\ntoname=A\r\n[dest1]\r\ntoname=B\r\ndist=10\r\n";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(keys.data(), 1, keys.size(), f);
  std::fclose(f);
  state.counters["bytes"] = static_cast<double>(keys.size());
  Plan plan;
  for (auto _ : state) {
    LoadPlan(plan, path);
    benchmark::DoNotOptimize(plan.route.data());
  }
  if (plan.route.size() != 2) state.SkipWithError("the rows after the keys were not read");
}

// A plan file with 200,000 extra keys in [misc] (about 3 MB): the cost of
// reading must grow with the file, not with its square. Target: under 0.2 s.
void BM_LoadPlanWithManyKeys(benchmark::State& state) {
  std::string text = "[misc]\r\ntitle=Many keys\r\n";
  for (int i = 0; i < 200000; ++i) {
    text += "extra" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
  }
  LoadPlanAfterKeys(state, Dir() + "/keys.flt", text);
}
BENCHMARK(BM_LoadPlanWithManyKeys)->Unit(benchmark::kMillisecond);

// The same with 65,536 names crafted to share one hash of the key index
// (about 9 MB): a hostile file must open as fast as an honest one.
// Target: under 0.2 s (47.6 s while they lined up in one probe chain).
void BM_LoadPlanWithCollidingKeys(benchmark::State& state) {
  std::string text = "[misc]\r\ntitle=Colliding keys\r\n";
  for (const std::string& name : CollidingNames(16)) text += name + "=1\r\n";
  LoadPlanAfterKeys(state, Dir() + "/colliding.flt", text);
}
BENCHMARK(BM_LoadPlanWithCollidingKeys)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// One edit of a full plan with the Navigation Log open: the leg computation
// alone, beside what the edit costs with the window following it (the
// computation, the table model's refresh and the window's labels), and the
// repaint of the table that follows in the event loop.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <QTimer>
#include <string>

#include "forms/Fhalvix.h"
#include "forms/Fnavlog.h"
#include "full_plan.h"
#include "plan/legs.h"

namespace {

// Alternates the distance of one row, so every run is a real change.
void EditOneRow(Plan& plan, int n) {
  plan.route[5].subitems[kCellDist] = (n & 1) ? "21" : "15";
}

void BM_ComputeLogAlone(benchmark::State& state) {
  Plan plan = FullPlan();
  int n = 0;
  for (auto _ : state) {
    EditOneRow(plan, ++n);
    const NavLog log = ComputeLog(plan);
    benchmark::DoNotOptimize(log.totals.ete);
  }
}
BENCHMARK(BM_ComputeLogAlone)->Unit(benchmark::kMicrosecond);

struct Windows {
  Windows() {
    form.TimerAutoLoad->stop();
    form.Document().Replace(FullPlan());
    form.NavigationLog1->trigger();
    QApplication::processEvents();
  }
  // One undoable change, as the Edit command makes it.
  void Edit(int n) {
    form.Document().Change("Edit Checkpoint", [n](Plan& plan) { EditOneRow(plan, n); });
  }
  // The font is set before the window is made.
  bool font_set = (UseFormFont(), true);
  TForm1 form;
};

void BM_EditWithNavigationLogOpen(benchmark::State& state) {
  Windows windows;
  int n = 0;
  for (auto _ : state) windows.Edit(++n);
  if (windows.form.FormNavLog()->Model()->rowCount() != kMaxRoute + 1)
    state.SkipWithError("rows missing");
}
BENCHMARK(BM_EditWithNavigationLogOpen)->Unit(benchmark::kMicrosecond);

void BM_EditAndRepaint(benchmark::State& state) {
  Windows windows;
  int n = 0;
  for (auto _ : state) {
    windows.Edit(++n);
    windows.form.FormNavLog()->GridLog->viewport()->repaint();
  }
}
BENCHMARK(BM_EditAndRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

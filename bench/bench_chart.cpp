// The route chart over the western US with an index the size of the full
// simulator data (generated here, spread over the globe as the aviation
// benchmarks spread theirs): the first picture, a pan or zoom redraw of a
// 1600x1000 view at 1:1,000,000 and 1:5,000,000, and a 1600x1200 GeoTIFF.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "chart/chart_draw.h"
#include "chart/chart_export.h"
#include "chart/chart_scene.h"
#include "data/aviation_data.h"
#include "generated_places.h"

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    char pattern[] = "/tmp/halvix-bench-chart-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~Scratch() { std::system(("rm -rf '" + path + "'").c_str()); }
};

Scratch& Folder() {
  static Scratch scratch;
  return scratch;
}

// 35,000 airports (every third towered), 10,000 navaids and 120,000 fixes.
const AviationData& Data() {
  static AviationData data = [] {
    const std::string dir = Folder().path + "/data";
    std::system(("mkdir -p '" + dir + "'").c_str());
    std::ofstream apt(dir + "/apt.dat");
    apt << "I\n1100 Version - generated for a benchmark.\n\n";
    char line[512];
    for (int i = 0; i < 35000; ++i) {
      std::snprintf(line, sizeof line,
                    "1 %d 0 0 %s Field Number %d\n"
                    "100 30.00 1 0 0.25 0 2 0 09 %.8f %.8f 0 0 2 0 0 0 27 %.8f %.8f 0 0 2 0 0 0\n"
                    "50 12590 ATIS\n%s",
                    i % 9000, Ident(i).c_str(), i, Lat(i), Lon(i), Lat(i), Lon(i) + 0.01,
                    i % 3 == 0 ? "54 11900 TWR\n" : "");
      apt << line;
    }
    apt << "99\n";
    std::ofstream nav(dir + "/nav.dat");
    nav << "I\n1150 Version - generated for a benchmark.\n\n";
    for (int i = 0; i < 10000; ++i) {
      if (i % 4 == 0) {
        std::snprintf(line, sizeof line, "2 %.8f %.8f 100 %d 50 0.0 N%s ENRT K2 BEACON %d NDB\n",
                      Lat(i * 3), Lon(i * 3), 200 + i % 300, Ident(i).substr(1).c_str(), i);
      } else {
        std::snprintf(line, sizeof line,
                      "3 %.8f %.8f 100 %d 130 14.000 V%s ENRT K2 STATION %d VORTAC\n", Lat(i * 3),
                      Lon(i * 3), 10800 + (i % 200) * 5, Ident(i).substr(1).c_str(), i);
      }
      nav << line;
    }
    nav << "99\n";
    std::ofstream fix(dir + "/fix.dat");
    fix << "I\n1101 Version - generated for a benchmark.\n\n";
    for (int i = 0; i < 120000; ++i) {
      std::snprintf(line, sizeof line, " %.9f %.9f F%s ENRT K2 0\n", Lat(i * 5 + 1), Lon(i * 5 + 1),
                    Ident(i).c_str());
      fix << line;
    }
    fix << "99\n";
    fix.close();
    nav.close();
    apt.close();
    AviationData opened;
    std::string error;
    if (!opened.Open(dir, Folder().path + "/cache", error))
      std::fprintf(stderr, "%s\n", error.c_str());
    return opened;
  }();
  return data;
}

// Over the western US: Seattle, Reno, Las Vegas, Phoenix.
Plan WesternRoute() {
  Plan plan;
  const GeoPosition points[] = {
      {47.45, -122.31}, {39.50, -119.77}, {36.08, -115.15}, {33.43, -112.01}};
  const char* names[] = {"KSEA", "KRNO", "KLAS", "KPHX"};
  for (int i = 0; i < 4; ++i) {
    Checkpoint row;
    row.caption = names[i];
    row.subitems.assign(9, "");
    row.position = points[i];
    plan.route.push_back(row);
  }
  return plan;
}

// The window's first picture, as the window draws it: the route, the grid
// and the aviation layers; the base map is read on a worker and follows.
void BM_ChartFirstPicture(benchmark::State& state) {
  const AviationData& data = Data();
  const Plan plan = WesternRoute();
  for (auto _ : state) {
    ChartScene scene;
    scene.SetAviationData(&data);
    scene.SetBaseMapSources(FindBaseMapSources());
    scene.SetPlan(plan, true);
    const ChartView view = FitView(scene.projection(), scene.RoutePositions(), 1600, 1000);
    scene.Prepare(view, false);
    QImage image(view.width, view.height, QImage::Format_ARGB32_Premultiplied);
    ChartCanvas canvas;
    QPainter painter(&image);
    canvas.Draw(painter, scene, view);
    painter.end();
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(BM_ChartFirstPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

// The picture with the base map, the first time in the program (the border
// file opened) and later (its outlines kept).
void BM_ChartWithBaseMap(benchmark::State& state) {
  const AviationData& data = Data();
  const Plan plan = WesternRoute();
  std::vector<double> times;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ChartScene scene;
    scene.SetAviationData(&data);
    scene.SetBaseMapSources(FindBaseMapSources());
    scene.SetPlan(plan, true);
    const ChartView view = FitView(scene.projection(), scene.RoutePositions(), 1600, 1000);
    scene.Prepare(view);
    QImage image = RenderChart(scene, view);
    benchmark::DoNotOptimize(image.bits());
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  state.counters["first_ms"] = times.front();
}
BENCHMARK(BM_ChartWithBaseMap)->Unit(benchmark::kMillisecond)->Iterations(5);

double ThreadCpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double P95(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[static_cast<std::size_t>(v.size() * 0.95)];
}

// Every frame timed, by the clock and by the processor time of the drawing
// thread (this machine is shared, so the clock also counts other work), and
// the 95th percentile of each reported. Frames come at 60 Hz, as a dragging
// mouse or a turning wheel gives them, drawn as the window draws them: the
// map kept as a picture, a sharp one drawn on a worker after a zoom or a
// pan off its margin (its time and the share of sharp frames are reported
// too). Pans go 40 pixels a frame back and forth; zooms step in and out by
// a wheel notch. Without the kept map (`whole`), each frame draws everything,
// as the export does: the measure of what keeping it saves.
void Redraw(benchmark::State& state, bool zoom, bool whole = false) {
  const AviationData& data = Data();
  ChartScene scene;
  scene.SetAviationData(&data);
  scene.SetBaseMapSources(FindBaseMapSources());
  scene.SetPlan(WesternRoute(), true);
  ChartView view = FitView(scene.projection(), scene.RoutePositions(), 1600, 1000);
  view.metres_per_pixel = static_cast<double>(state.range(0)) * kScreenMetresPerPixel;
  const double base_mpp = view.metres_per_pixel;
  scene.Prepare(view);
  QImage image(1600, 1000, QImage::Format_ARGB32_Premultiplied);
  ChartCanvas canvas;
  {
    QPainter painter(&image);
    canvas.Draw(painter, scene, view);
  }
  std::vector<double> wall, cpu, layers;
  int n = 0, sharp = 0;
  auto frame = std::chrono::steady_clock::now();
  for (auto _ : state) {
    frame += std::chrono::microseconds(16667);
    std::this_thread::sleep_until(frame);
    const auto start = std::chrono::steady_clock::now();
    const double cpu_start = ThreadCpuMs();
    if (zoom) {
      view.metres_per_pixel = base_mpp * (n % 2 ? 1.25 : 1.0);
    } else {
      view.centre.x += (n % 40 < 20 ? 40 : -40) * view.metres_per_pixel;
    }
    ++n;
    scene.Prepare(view);
    QPainter painter(&image);
    const double layer_before = canvas.last_layer_ms();
    if (whole) {
      DrawChart(painter, scene, view);
    } else {
      canvas.Draw(painter, scene, view);
    }
    painter.end();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    wall.push_back(took.count() * 1000.0);
    cpu.push_back(ThreadCpuMs() - cpu_start);
    if (canvas.last_layer_ms() != layer_before) layers.push_back(canvas.last_layer_ms());
    sharp += canvas.sharp() ? 1 : 0;
    state.SetIterationTime(took.count());
  }
  canvas.Wait();
  state.counters["p95_ms"] = P95(wall);
  state.counters["p95_cpu_ms"] = P95(cpu);
  state.counters["features"] = static_cast<double>(scene.features().size());
  state.counters["sharp_pct"] = n ? 100.0 * sharp / n : 0.0;
  state.counters["map_p95_ms"] = P95(layers);
}

void BM_ChartPan(benchmark::State& state) {
  Redraw(state, false);
}
void BM_ChartZoom(benchmark::State& state) {
  Redraw(state, true);
}
void BM_ChartPanWhole(benchmark::State& state) {
  Redraw(state, false, true);
}
void BM_ChartZoomWhole(benchmark::State& state) {
  Redraw(state, true, true);
}
BENCHMARK(BM_ChartPan)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_ChartZoom)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

BENCHMARK(BM_ChartPanWhole)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);
BENCHMARK(BM_ChartZoomWhole)
    ->Arg(1'000'000)
    ->Arg(5'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

void BM_ChartGeoTiff(benchmark::State& state) {
  const AviationData& data = Data();
  const Plan plan = WesternRoute();
  const std::string path = Folder().path + "/chart.tif";
  for (auto _ : state) {
    const ChartFileResult result = ExportChartGeoTiff(plan, &data, ChartRequest(), path);
    if (!result.ok) state.SkipWithError(result.error.c_str());
  }
}
BENCHMARK(BM_ChartGeoTiff)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

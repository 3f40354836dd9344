// The filled log of a full plan (32 legs, 6 airfields) drawn to PDF, beside a
// baseline that draws the same lines, fills, polygons and texts with plain
// QPainter calls: the cost of the canvas layer and the layout on top of Qt.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <string>

#include "plan/legs.h"
#include "plan/route_row.h"
#include "print/navlog.h"
#include "print/qpainter_canvas.h"
#include "print/recording_canvas.h"

namespace {

Plan FullPlan() {
  Plan plan;
  plan.title = "Long cross country with every leg used";
  plan.print.enableshade = 1;
  plan.print.topmargin = plan.print.leftmargin = 0.25;
  plan.print.rightmargin = plan.print.bottommargin = 0.25;
  AddRow(plan, RowBuilder("Departure Field"));
  for (int i = 1; i <= kMaxLegs; ++i) {
    AddRow(plan, RowBuilder("Checkpoint " + std::to_string(i))
                     .distance_nm(10 + i)
                     .true_course_deg((i * 37) % 360 + 1)
                     .altitude_ft(4500)
                     .wind_from_deg(270)
                     .wind_speed_kt(15 + i % 7)
                     .temperature_c(8)
                     .true_airspeed_kt(110)
                     .variation_deg(-5)
                     .vor(i % 2 ? "112.3/ 090/ ABC/ To" : ""));
  }
  for (int j = 0; j < 6; ++j) {
    plan.airfields.push_back({"Airfield " + std::to_string(j), "812", "1800", "14/32, 5/23",
                              "124.35", "118.3", "126.65", "121.7", "122.8"});
  }
  return plan;
}

// Runs `draw` on a landscape Letter PDF in memory; the document's size.
template <typename Draw>
std::size_t ToPdf(Draw draw) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    draw(writer);
  }
  return static_cast<std::size_t>(buffer.size());
}

void BM_FilledLogPdf(benchmark::State& state) {
  const Plan plan = FullPlan();
  const NavLog log = ComputeLog(plan);
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = ToPdf([&](QPdfWriter& writer) {
      QPainterCanvas canvas(writer);
      PrintContext ctx;
      benchmark::DoNotOptimize(PrintFilledLogOn(canvas, plan, log, ctx));
    });
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}

// Replays recorded operations with plain QPainter calls.
void Replay(const RecordingCanvas& recorder, QPdfWriter& writer) {
  QPainter painter(&writer);
  QFont font;
  font.setFamilies({"Liberation Sans", "Arial", "Sans Serif"});
  int size = 0;
  for (const CanvasOp& op : recorder.ops()) {
    switch (op.kind) {
      case CanvasOp::NewPage:
        writer.newPage();
        break;
      case CanvasOp::Line:
        painter.drawLine(op.x0, op.y0, op.x1, op.y1);
        break;
      case CanvasOp::FillRect:
        painter.fillRect(op.x0, op.y0, op.x1 - op.x0, op.y1 - op.y0,
                         QColor(op.brush.r, op.brush.g, op.brush.b));
        break;
      case CanvasOp::Polygon: {
        QPolygon polygon;
        for (const CanvasPoint& p : op.points) polygon << QPoint(p.x, p.y);
        painter.setBrush(Qt::black);
        painter.drawPolygon(polygon);
        painter.setBrush(Qt::NoBrush);
        break;
      }
      case CanvasOp::Text:
        if (op.fontsize != size) {
          size = op.fontsize;
          font.setPointSize(size);
          painter.setFont(font);
        }
        painter.drawText(op.x0, op.y1, QString::fromStdString(op.text));
        break;
      default:
        break;
    }
  }
}

void BM_BaselinePdf(benchmark::State& state) {
  // The same operations, taken from a recording on the same page size.
  const Plan plan = FullPlan();
  const NavLog log = ComputeLog(plan);
  std::unique_ptr<RecordingCanvas> recorder;
  ToPdf([&](QPdfWriter& writer) {
    recorder = std::make_unique<RecordingCanvas>(writer.width(), writer.height(), writer.widthMM(),
                                                 writer.heightMM(), 16);
  });
  PrintContext ctx;
  PrintFilledLogOn(*recorder, plan, log, ctx);
  int lines = 0, texts = 0;
  for (const CanvasOp& op : recorder->ops()) {
    lines += op.kind == CanvasOp::Line;
    texts += op.kind == CanvasOp::Text;
  }

  std::size_t bytes = 0;
  for (auto _ : state) bytes = ToPdf([&](QPdfWriter& writer) { Replay(*recorder, writer); });
  state.counters["lines"] = lines;
  state.counters["texts"] = texts;
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_FilledLogPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselinePdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

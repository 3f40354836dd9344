#include "chart/chart_export.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>

#include "chart/chart_draw.h"
#include "chart/geotiff_export.h"
#include "plan/fileio.h"

bool ParseChartSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  auto whole = [](const std::string& part, int& value) {
    if (part.empty() || part.size() > 6 ||
        part.find_first_not_of("0123456789") != std::string::npos)
      return false;
    value = std::atoi(part.c_str());
    return value >= 1 && value <= kMaxChartSide;
  };
  return whole(text.substr(0, x), width) && whole(text.substr(x + 1), height);
}

std::string ChartRefusal(const Plan& plan) {
  int placed = 0;
  for (const Checkpoint& row : plan.route) placed += row.position ? 1 : 0;
  if (placed >= 2) return std::string();
  return "the chart needs at least two checkpoints with positions (import a route, or "
         "build it with --route)";
}

ChartView ChartViewFor(const ChartScene& scene, const ChartRequest& request) {
  ChartView view =
      FitView(scene.projection(), scene.RoutePositions(), request.width, request.height, 0.1);
  if (request.scale) view.metres_per_pixel = *request.scale * kScreenMetresPerPixel;
  return view;
}

ChartFileResult ExportChartGeoTiff(const Plan& plan, const AviationData* data,
                                   const ChartRequest& request, const std::string& path) {
  ChartFileResult result;
  result.error = ChartRefusal(plan);
  if (!result.error.empty()) return result;
  ChartScene scene;
  scene.SetBaseMapSources(FindBaseMapSources());
  scene.SetAviationData(data);
  scene.SetPlan(plan, true);
  const ChartView view = ChartViewFor(scene, request);
  scene.Prepare(view);
  const QImage image = RenderChart(scene, view);
  if (image.isNull()) {
    result.error = "not enough memory for a chart of that size";
    return result;
  }
  const ChartExportResult written = WriteGeoTiff(image, scene.projection(), view, path);
  result.ok = written.ok;
  result.error = written.error;
  return result;
}

void PaintChartPage(QPainter& painter, const Plan& plan, const AviationData* data,
                    const std::optional<double>& scale, int dpi) {
  const QRect area = painter.viewport();
  ChartScene scene;
  scene.SetBaseMapSources(FindBaseMapSources());
  scene.SetAviationData(data);
  scene.SetPlan(plan, true);
  ChartView view =
      FitView(scene.projection(), scene.RoutePositions(), area.width(), area.height(), 0.1);
  // On paper a scale is what it says: 1:N of the printed millimetres.
  if (scale) view.metres_per_pixel = *scale * 0.0254 / dpi;
  scene.Prepare(view);
  ChartDrawOptions options;
  // Symbols and lines keep the size they have on a screen.
  options.pixel_ratio = dpi / 96.0;
  options.scale_bar = true;
  options.legend = true;
  DrawChart(painter, scene, view, options);
}

ChartFileResult ExportChartPdf(const Plan& plan, const AviationData* data, PaperSize paper,
                               const std::optional<double>& scale, const std::string& path) {
  ChartFileResult result;
  result.error = ChartRefusal(plan);
  if (!result.error.empty()) return result;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    constexpr int kDpi = 300;
    writer.setResolution(kDpi);
    writer.setPageLayout(QPageLayout(QPageSize(PageSizeIdOf(paper)), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer.setTitle(QString::fromStdString(plan.title.empty() ? "Route chart" : plan.title));
    writer.setCreator("Halvix");
    QPainter painter(&writer);
    PaintChartPage(painter, plan, data, scale, kDpi);
    painter.end();
  }
  std::string bytes = buffer.data().toStdString();
  result.ok = ReplaceFile(path, bytes, result.error);
  if (!result.ok) result.error = path + ": " + result.error;
  return result;
}

// The route chart of a plan written to files: a GeoTIFF for moving-map and
// GIS programs, a PDF page with scale bar and legend.
#pragma once

#include <optional>
#include <string>

#include "chart/chart_scene.h"
#include "print/export.h"

class QPainter;

struct ChartRequest {
  int width = 1600;
  int height = 1200;
  std::optional<double> scale;  // N of 1:N on a 96 dpi screen; default: the route fits
};

// "WIDTHxHEIGHT" of 1..kMaxChartSide each; false for anything else.
bool ParseChartSize(const std::string& text, int& width, int& height);

// Why a plan has no chart ("...needs two checkpoints with positions"), or empty.
std::string ChartRefusal(const Plan& plan);

// The view of `request` on the plan's route: the route fitted with 10% of
// each side to spare, or centred at the given scale.
ChartView ChartViewFor(const ChartScene& scene, const ChartRequest& request);

struct ChartFileResult {
  bool ok = false;
  std::string error;
};

// The chart filling the painter's page at `dpi`, with scale bar and legend:
// the route fitted, or at 1:`scale` on the paper.
void PaintChartPage(QPainter& painter, const Plan& plan, const AviationData* data,
                    const std::optional<double>& scale, int dpi);

// `data` may be null (no aviation layers).
ChartFileResult ExportChartGeoTiff(const Plan& plan, const AviationData* data,
                                   const ChartRequest& request, const std::string& path);
ChartFileResult ExportChartPdf(const Plan& plan, const AviationData* data, PaperSize paper,
                               const std::optional<double>& scale, const std::string& path);

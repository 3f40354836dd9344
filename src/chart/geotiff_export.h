// The route chart as a GeoTIFF: an RGBA image north up in the plan's Lambert
// projection, with the GeoKeys, tie point and pixel scale that let GIS and
// moving-map programs place it.
#pragma once

#include <QImage>
#include <string>

#include "chart/chart_scene.h"

// Pictures larger than this on a side are refused, before any memory is taken.
constexpr int kMaxChartSide = 20000;

struct ChartExportResult {
  bool ok = false;
  std::string error;
};

// Writes `image` (the view's size) as a GeoTIFF at `path`, through a
// temporary file renamed over it, so a failed write leaves no half file.
ChartExportResult WriteGeoTiff(const QImage& image, const ChartProjection& projection,
                               const ChartView& view, const std::string& path);

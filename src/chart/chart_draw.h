// The route chart drawn with Qt's painter, the same for the window, the
// exported image and the printed page.
#pragma once

#include <QImage>
#include <string>

#include "chart/chart_scene.h"

class QPainter;

struct ChartDrawOptions {
  // Point sizes and line widths are multiplied by this: 1 on a screen, more
  // on a printer's finer pixels.
  double pixel_ratio = 1.0;
  bool scale_bar = false;
  bool legend = false;
  // The checkpoint to show as picked (index into the scene's checkpoints), -1 for none.
  int highlight = -1;
};

constexpr unsigned kRouteColour = 0xFF00FF;  // magenta, as charts draw a planned route

// Draws the scene as `view` shows it into the painter's device, from (0, 0)
// to (view.width, view.height). The scene must have been prepared for the view.
void DrawChart(QPainter& painter, const ChartScene& scene, const ChartView& view,
               const ChartDrawOptions& options = {});

// The chart of `scene` as an RGBA image of the view's size.
QImage RenderChart(const ChartScene& scene, const ChartView& view,
                   const ChartDrawOptions& options = {});

// "1:1,000,000".
std::string ScaleText(double scale);

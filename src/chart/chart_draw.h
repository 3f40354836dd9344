// The route chart drawn with Qt's painter, the same for the window, the
// exported image and the printed page.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <string>

#include "chart/background_job.h"
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

// The window's drawing. The map under the route (base map, grid and aviation
// layers) is kept as a picture a quarter of the view larger each side, so a
// pan only moves it; after a zoom, a pan off its margin or a change of the
// scene it is stretched or moved as it is while a sharp one is drawn on a
// worker thread. The route and what goes over it are drawn fresh each time.
class ChartCanvas {
 public:
  // `ready` is called on the worker thread when a sharp map can be shown.
  explicit ChartCanvas(std::function<void()> ready = {});
  ~ChartCanvas();
  ChartCanvas(const ChartCanvas&) = delete;
  ChartCanvas& operator=(const ChartCanvas&) = delete;

  // As DrawChart; the scene must have been prepared for the view.
  void Draw(QPainter& painter, const ChartScene& scene, const ChartView& view,
            const ChartDrawOptions& options = {});
  // Whether the last Draw showed the map sharp and up to date.
  bool sharp() const { return sharp_; }
  // How long the newest map took to draw, in milliseconds.
  double last_layer_ms() const { return last_layer_ms_; }
  // Waits for the map being drawn on the worker; the next Draw shows it.
  void Wait();

 private:
  struct MapLayer;
  static MapLayer Render(const ChartScene& scene, const ChartView& view, double pixel_ratio,
                         double device_ratio);

  std::unique_ptr<MapLayer> layer_;
  bool sharp_ = false;
  double last_layer_ms_ = 0.0;
  // Last, so that it is gone, its worker stopped, before the rest.
  std::unique_ptr<BackgroundJob<MapLayer>> job_;
};

// The chart of `scene` as an RGBA image of the view's size.
QImage RenderChart(const ChartScene& scene, const ChartView& view,
                   const ChartDrawOptions& options = {});

// "1:1,000,000".
std::string ScaleText(double scale);

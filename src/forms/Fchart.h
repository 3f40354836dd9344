// The Route Chart window: the plan's route on a chart of coastlines,
// borders and aviation data, following every change of the plan document.
// The chart and its data are made on first use, never at start-up.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "chart/background_job.h"
#include "chart/chart_draw.h"
#include "chart/chart_scene.h"
#include "chart/route_edit.h"

class PlanDocument;
class QLabel;
class QPrinter;

// The map itself: pan with the mouse or the arrow keys, zoom with the wheel,
// + and -, Home fits the route.
class ChartWidget : public QWidget {
  Q_OBJECT

 public:
  ChartWidget(PlanDocument& document, QWidget* parent);
  ~ChartWidget() override;

  ChartScene& scene() { return scene_; }
  // Waits for the base map and the map picture read and drawn in the
  // background, and takes them in (tests).
  void Settle();
  const ChartCanvas& canvas() const { return canvas_; }
  const ChartView& view() const { return view_; }
  void SetView(const ChartView& view);
  // The whole route in view with a tenth of each side to spare.
  void FitRoute();
  void ZoomBy(double factor, const QPointF& at);
  // What the status line says for the place under (x, y).
  QString Describe(double x, double y) const;

  // The route changes made on the chart, each one undoable change of the
  // plan; false when nothing changed (a full route, nothing there).
  // The feature appended to the route: "Add to Route".
  bool AddToRoute(int feature);
  // A checkpoint put on leg `leg` at (x, y): the feature within 10 pixels, else that point.
  bool InsertOnLeg(int leg, double x, double y);
  // Checkpoint `checkpoint` (of the scene) moved to (x, y), snapping likewise.
  bool MoveCheckpoint(int checkpoint, double x, double y);
  bool DeleteCheckpoint(int checkpoint);

 signals:
  void Hovered(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void PlanChanged(bool refit);
  // The place of the data within 10 pixels of (x, y), else the point itself.
  RoutePoint SnapTarget(double x, double y) const;
  bool Edit(const QString& what, const std::function<bool(Plan&, const VariationSource&)>& edit);
  // The scene's checkpoint on the document's selected row, -1 for none.
  int SelectedCheckpoint() const;

  PlanDocument& document_;
  ChartScene scene_;
  ChartView view_;
  bool fitted_ = false;
  // What a press of the left button took hold of.
  enum class Drag { None, Pan, Checkpoint, Leg };
  Drag drag_ = Drag::None;
  int drag_index_ = -1;
  bool drag_moved_ = false;
  QPointF press_at_;
  QPointF drag_from_;
  // Last, so that their workers stop before the rest goes.
  ChartCanvas canvas_;
  BackgroundJob<ChartLines> lines_job_;
};

class TFormChart : public QMainWindow {
  Q_OBJECT

 public:
  TFormChart(PlanDocument& document, QWidget* parent);

  ChartWidget* Chart() const { return chart_; }
  // File > Export Chart...: a GeoTIFF of the route; false when cancelled or failed.
  bool ExportChart();
  // File > Print Chart...
  bool PrintChart();

 private:
  PlanDocument& document_;
  ChartWidget* chart_;
  QLabel* status_;
};

// Opens the window held in `window` (made on first use; later calls raise it).
TFormChart* ShowRouteChart(QPointer<TFormChart>& window, QWidget* owner, PlanDocument& document);

#include "forms/Fchart.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QStatusBar>
#include <QUndoStack>
#include <QWheelEvent>
#include <cmath>
#include <cstdio>

#include "chart/chart_draw.h"
#include "chart/chart_export.h"
#include "data/aviation_fill.h"
#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "forms/PlanDocument.h"
#include "geo/geodesy.h"
#include "session/planning_session.h"

namespace {

// The scales the window keeps to: a street plan to half a continent.
constexpr double kFinestMpp = 2.0;
constexpr double kCoarsestMpp = 20000.0;

QString Position(const GeoPosition& p) {
  auto part = [](double v, char pos, char neg, int width) {
    const double a = std::fabs(v);
    const int deg = static_cast<int>(a);
    const double min = (a - deg) * 60.0;
    char text[32];
    std::snprintf(text, sizeof text, "%0*d\u00b0%04.1f'%c", width, deg, min, v < 0 ? neg : pos);
    return QString::fromUtf8(text);
  };
  return part(p.lat, 'N', 'S', 2) + " " + part(p.lon, 'E', 'W', 3);
}

}  // namespace

ChartWidget::ChartWidget(PlanDocument& document, QWidget* parent)
    : QWidget(parent),
      document_(document),
      // The workers ask for a repaint; it runs on this window's thread.
      canvas_([this] {
        QMetaObject::invokeMethod(
            this, [this] { update(); }, Qt::QueuedConnection);
      }),
      lines_job_([this] {
        QMetaObject::invokeMethod(
            this, [this] { update(); }, Qt::QueuedConnection);
      }) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(400, 300);
  // The aviation data only when a folder is chosen: the chart never asks for one.
  if (!AviationFolder().isEmpty()) scene_.SetAviationData(UseAviationData(this));
  scene_.SetPlan(document_.plan(), true);
  // Only where the data sets lie: they are read after the first picture, off this thread.
  scene_.SetBaseMapSources(FindBaseMapSources());
  connect(&document_, &PlanDocument::Changed, this, [this] { PlanChanged(false); });
  connect(&document_, &PlanDocument::Replaced, this, [this] { PlanChanged(true); });
  connect(&document_, &PlanDocument::SelectionChanged, this, [this] { update(); });
}

ChartWidget::~ChartWidget() {
  canvas_.Wait();
  lines_job_.Wait();
}

void ChartWidget::Settle() {
  lines_job_.Wait();
  if (std::optional<ChartLines> read = lines_job_.Take()) scene_.TakeLines(std::move(*read));
  canvas_.Wait();
}

void ChartWidget::PlanChanged(bool refit) {
  scene_.SetPlan(document_.plan(), refit);
  if (refit) FitRoute();
  update();
}

void ChartWidget::SetView(const ChartView& view) {
  view_ = view;
  view_.width = width();
  view_.height = height();
  view_.metres_per_pixel = std::clamp(view_.metres_per_pixel, kFinestMpp, kCoarsestMpp);
  fitted_ = true;
  update();
}

void ChartWidget::FitRoute() {
  ChartView view = FitView(scene_.projection(), scene_.RoutePositions(), width(), height(), 0.1);
  SetView(view);
}

void ChartWidget::ZoomBy(double factor, const QPointF& at) {
  // The place under `at` stays where it is.
  const ProjectedPoint fixed = view_.FromPixel(at.x(), at.y());
  ChartView view = view_;
  view.metres_per_pixel = std::clamp(view_.metres_per_pixel / factor, kFinestMpp, kCoarsestMpp);
  view.centre = {fixed.x - (at.x() - width() / 2.0) * view.metres_per_pixel,
                 fixed.y + (at.y() - height() / 2.0) * view.metres_per_pixel};
  SetView(view);
}

QString ChartWidget::Describe(double x, double y) const {
  const GeoPosition here = scene_.projection().Reverse(view_.FromPixel(x, y));
  QString text = Position(here);
  const ChartHit hit = scene_.HitTest(view_, x, y);
  if (hit.kind == ChartHit::Feature) {
    const ChartFeature& f = scene_.features()[static_cast<std::size_t>(hit.index)];
    QString what = QString::fromStdString(f.ident);
    if (!f.name.empty()) what += " " + QString::fromStdString(f.name);
    if (f.elevation_ft) what += QString(", %1 ft").arg(*f.elevation_ft);
    if (!f.frequencies.empty()) what += ", " + QString::fromStdString(f.frequencies);
    text = what + "   " + text;
  } else if (hit.kind == ChartHit::Checkpoint) {
    const ChartCheckpoint& c = scene_.checkpoints()[static_cast<std::size_t>(hit.index)];
    text = QString::fromStdString(c.name) + "   " + text;
  } else if (hit.kind == ChartHit::Leg) {
    const ChartLeg& leg = scene_.legs()[static_cast<std::size_t>(hit.index)];
    for (const ChartMark& mark : scene_.marks()) {
      const PixelPoint at = view_.ToPixel(mark.xy);
      if (mark.leg == hit.index && std::hypot(at.x - x, at.y - y) <= 8.0)
        text = QString::fromStdString(mark.name) + "   " + text;
    }
    const ChartCheckpoint& from = scene_.checkpoints()[static_cast<std::size_t>(leg.from)];
    const Bearing b = BearingBetween(from.position, here);
    text += QString::fromUtf8("   %1 NM, %2\u00b0 true from %3")
                .arg(b.distance_nm, 0, 'f', 1)
                .arg(WholeDegrees(b.azimuth), 3, 10, QChar('0'))
                .arg(QString::fromStdString(from.name));
  }
  return text + "   " + QString::fromStdString(ScaleText(view_.Scale()));
}

void ChartWidget::paintEvent(QPaintEvent*) {
  if (!fitted_) FitRoute();
  view_.width = width();
  view_.height = height();
  // The base map is read on a worker: the picture never waits for it, and
  // shows it when it comes.
  if (std::optional<ChartLines> read = lines_job_.Take()) scene_.TakeLines(std::move(*read));
  scene_.Prepare(view_, false);
  if (!lines_job_.busy()) {
    if (std::optional<LinesRequest> wanted = scene_.LinesWanted(view_)) {
      lines_job_.Start(
          [sources = scene_.base_map_sources(), projection = scene_.projection(),
           request = *wanted] { return ReadChartLines(sources, projection, request); });
    }
  }
  QPainter painter(this);
  ChartDrawOptions options;
  options.highlight = SelectedCheckpoint();
  canvas_.Draw(painter, scene_, view_, options);
  if ((drag_ == Drag::Checkpoint || drag_ == Drag::Leg) && drag_moved_) {
    // Where the route will go when the button is let go.
    std::vector<int> ends;
    if (drag_ == Drag::Leg) {
      const ChartLeg& leg = scene_.legs()[static_cast<std::size_t>(drag_index_)];
      ends = {leg.from, leg.to};
    } else {
      for (int i : {drag_index_ - 1, drag_index_ + 1})
        if (i >= 0 && i < static_cast<int>(scene_.checkpoints().size())) ends.push_back(i);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor::fromRgb(kRouteColour), 2, Qt::DashLine));
    for (int i : ends) {
      const PixelPoint p = view_.ToPixel(scene_.checkpoints()[static_cast<std::size_t>(i)].xy);
      painter.drawLine(QPointF(p.x, p.y), drag_from_);
    }
    painter.setBrush(Qt::white);
    painter.drawEllipse(drag_from_, 6.5, 6.5);
  }
}

void ChartWidget::resizeEvent(QResizeEvent*) {
  view_.width = width();
  view_.height = height();
}

void ChartWidget::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps != 0) ZoomBy(std::pow(1.25, steps), event->position());
  event->accept();
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  press_at_ = drag_from_ = event->position();
  drag_moved_ = false;
  const ChartHit hit = scene_.HitTest(view_, press_at_.x(), press_at_.y());
  drag_index_ = hit.index;
  if (hit.kind == ChartHit::Checkpoint) {
    drag_ = Drag::Checkpoint;
    document_.SelectRow(scene_.checkpoints()[static_cast<std::size_t>(hit.index)].row);
  } else if (hit.kind == ChartHit::Leg) {
    drag_ = Drag::Leg;
  } else {
    drag_ = Drag::Pan;
    setCursor(Qt::ClosedHandCursor);
  }
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  // A press that moves less than a few pixels is a click, not a drag.
  if (drag_ != Drag::None && (at - press_at_).manhattanLength() > 4) drag_moved_ = true;
  if (drag_ == Drag::Pan) {
    const QPointF delta = at - drag_from_;
    ChartView view = view_;
    view.centre.x -= delta.x() * view_.metres_per_pixel;
    view.centre.y += delta.y() * view_.metres_per_pixel;
    SetView(view);
  } else if (drag_ != Drag::None && drag_moved_) {
    update();
  }
  drag_from_ = at;
  emit Hovered(Describe(at.x(), at.y()));
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  const Drag drag = drag_;
  drag_ = Drag::None;
  unsetCursor();
  if (!drag_moved_) return;
  const QPointF at = event->position();
  if (drag == Drag::Checkpoint) MoveCheckpoint(drag_index_, at.x(), at.y());
  if (drag == Drag::Leg) InsertOnLeg(drag_index_, at.x(), at.y());
  update();
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const int feature = scene_.FeatureAt(view_, event->position().x(), event->position().y(), 8.0);
  if (feature >= 0) AddToRoute(feature);
}

void ChartWidget::contextMenuEvent(QContextMenuEvent* event) {
  const QPointF at = event->pos();
  const ChartHit hit = scene_.HitTest(view_, at.x(), at.y());
  QMenu menu(this);
  if (hit.kind == ChartHit::Feature) {
    menu.addAction("Add to Route", this, [this, hit] { AddToRoute(hit.index); });
  } else if (hit.kind == ChartHit::Checkpoint) {
    document_.SelectRow(scene_.checkpoints()[static_cast<std::size_t>(hit.index)].row);
    menu.addAction("Delete Checkpoint", this, [this, hit] { DeleteCheckpoint(hit.index); });
  } else if (hit.kind == ChartHit::Leg) {
    menu.addAction("Insert Checkpoint Here", this,
                   [this, hit, at] { InsertOnLeg(hit.index, at.x(), at.y()); });
  }
  const int feature = scene_.FeatureAt(view_, at.x(), at.y(), 10.0);
  if (hit.kind != ChartHit::Feature && feature < 0) {
    menu.addAction("Add Point to Route", this, [this, at] {
      const RoutePoint point = SnapTarget(at.x(), at.y());
      Edit("Add to Route", [&](Plan& plan, const VariationSource& var) {
        return AppendRoutePoint(plan, point, var);
      });
    });
  }
  menu.addSeparator();
  menu.addAction("Fit the Route", this, [this] { FitRoute(); });
  menu.exec(event->globalPos());
}

RoutePoint ChartWidget::SnapTarget(double x, double y) const {
  RoutePoint point;
  const int feature = scene_.FeatureAt(view_, x, y, 10.0);
  if (feature >= 0) {
    const ChartFeature& f = scene_.features()[static_cast<std::size_t>(feature)];
    point.name = f.ident;
    point.position = f.position;
    point.airport = f.airport;
    return point;
  }
  point.position = scene_.projection().Reverse(view_.FromPixel(x, y));
  point.name = CoordinateName(point.position);
  return point;
}

bool ChartWidget::Edit(const QString& what,
                       const std::function<bool(Plan&, const VariationSource&)>& edit) {
  std::string error;
  VariationSource var;
  // Without the model the variation cells stay as they are; the rest is still measured.
  var.model = PlanningSession::Magnetic(error);
  var.year = DecimalYear(Today());
  // The change is made on a copy, so a refused one leaves the plan as it was.
  if (!document_.ChangeIf(what, [&](Plan& changed) { return edit(changed, var); })) return false;
  emit Hovered(what);
  return true;
}

bool ChartWidget::AddToRoute(int feature) {
  if (feature < 0 || feature >= static_cast<int>(scene_.features().size())) return false;
  const ChartFeature& f = scene_.features()[static_cast<std::size_t>(feature)];
  const RoutePoint point{f.ident, f.position, f.airport};
  return Edit("Add to Route", [&](Plan& plan, const VariationSource& var) {
    return AppendRoutePoint(plan, point, var);
  });
}

bool ChartWidget::InsertOnLeg(int leg, double x, double y) {
  if (leg < 0 || leg >= static_cast<int>(scene_.legs().size())) return false;
  const int row =
      scene_
          .checkpoints()[static_cast<std::size_t>(scene_.legs()[static_cast<std::size_t>(leg)].to)]
          .row;
  const RoutePoint point = SnapTarget(x, y);
  return Edit("Insert Checkpoint", [&](Plan& plan, const VariationSource& var) {
    return InsertRoutePoint(plan, row, point, var);
  });
}

bool ChartWidget::MoveCheckpoint(int checkpoint, double x, double y) {
  if (checkpoint < 0 || checkpoint >= static_cast<int>(scene_.checkpoints().size())) return false;
  const int row = scene_.checkpoints()[static_cast<std::size_t>(checkpoint)].row;
  const RoutePoint point = SnapTarget(x, y);
  return Edit("Move Checkpoint", [&](Plan& plan, const VariationSource& var) {
    const std::optional<GeoPosition> was = row >= 0 && row < static_cast<int>(plan.route.size())
                                               ? plan.route[static_cast<std::size_t>(row)].position
                                               : std::nullopt;
    if (!MoveRoutePoint(plan, row, point, var)) return false;
    // A VOR cross-check the data filled follows the checkpoint.
    if (const AviationData* data = DesktopSession().OpenedData()) {
      try {
        FollowVorCrossCheck(*data, plan, row, was, var.model);
      } catch (const AviationDataError&) {
        // The text stays as it was; the chart's own layers tell of the index.
      }
    }
    return true;
  });
}

bool ChartWidget::DeleteCheckpoint(int checkpoint) {
  if (checkpoint < 0 || checkpoint >= static_cast<int>(scene_.checkpoints().size())) return false;
  const int row = scene_.checkpoints()[static_cast<std::size_t>(checkpoint)].row;
  return Edit("Delete Checkpoint", [&](Plan& plan, const VariationSource& var) {
    return RemoveRoutePoint(plan, row, var);
  });
}

int ChartWidget::SelectedCheckpoint() const {
  const int row = document_.SelectedRow();
  for (std::size_t i = 0; i < scene_.checkpoints().size(); ++i)
    if (scene_.checkpoints()[i].row == row) return static_cast<int>(i);
  return -1;
}

void ChartWidget::keyPressEvent(QKeyEvent* event) {
  const QPointF middle(width() / 2.0, height() / 2.0);
  ChartView view = view_;
  const double step = std::min(width(), height()) / 8.0 * view_.metres_per_pixel;
  switch (event->key()) {
    case Qt::Key_Left:
      view.centre.x -= step;
      break;
    case Qt::Key_Right:
      view.centre.x += step;
      break;
    case Qt::Key_Up:
      view.centre.y += step;
      break;
    case Qt::Key_Down:
      view.centre.y -= step;
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomBy(1.5, middle);
      return;
    case Qt::Key_Minus:
      ZoomBy(1 / 1.5, middle);
      return;
    case Qt::Key_Home:
      FitRoute();
      return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
      DeleteCheckpoint(SelectedCheckpoint());
      return;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  SetView(view);
}

TFormChart::TFormChart(PlanDocument& document, QWidget* parent)
    : QMainWindow(parent, Qt::Window), document_(document) {
  setObjectName("FormChart");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Route Chart");
  chart_ = new ChartWidget(document, this);
  setCentralWidget(chart_);
  status_ = new QLabel(this);
  statusBar()->addWidget(status_, 1);
  connect(chart_, &ChartWidget::Hovered, status_, &QLabel::setText);
  QMenu* file = menuBar()->addMenu("File");
  file->addAction(QString::fromUtf8("Export Chart\u2026"), this, [this] { ExportChart(); });
  file->addAction(QString::fromUtf8("Print Chart\u2026"), this, [this] { PrintChart(); });
  file->addSeparator();
  file->addAction("Close", this, &QWidget::close);
  // The chart's own changes are undone where they are made, as in the main window.
  QMenu* edit = menuBar()->addMenu("Edit");
  QAction* undo = document_.UndoStack()->createUndoAction(this, "&Undo");
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = document_.UndoStack()->createRedoAction(this, "&Redo");
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  edit->addAction(undo);
  edit->addAction(redo);
  QMenu* view = menuBar()->addMenu("View");
  view->addAction("Zoom In", this, [this] {
    chart_->ZoomBy(1.5, QPointF(chart_->width() / 2.0, chart_->height() / 2.0));
  });
  view->addAction("Zoom Out", this, [this] {
    chart_->ZoomBy(1 / 1.5, QPointF(chart_->width() / 2.0, chart_->height() / 2.0));
  });
  view->addAction("Fit the Route", this, [this] { chart_->FitRoute(); });
  resize(1000, 720);
}

bool TFormChart::ExportChart() {
  const std::string refusal = ChartRefusal(document_.plan());
  if (!refusal.empty()) {
    desktop().MessageBox(this, "The route has no chart: " + QString::fromStdString(refusal) + ".",
                         "Export Chart", MessageButtons::Ok);
    return false;
  }
  QString path = QString::fromStdString(document_.plan().filename);
  if (path.endsWith(".flt", Qt::CaseInsensitive)) path.chop(4);
  path += ".tif";
  if (!desktop().SaveFileName(this, path, "GeoTIFF image (*.tif)")) return false;
  const ChartFileResult result = ExportChartGeoTiff(
      document_.plan(), chart_->scene().aviation_data(), ChartRequest(), path.toStdString());
  if (!result.ok) {
    desktop().MessageBox(this, QString::fromStdString(result.error), "Export Chart",
                         MessageButtons::Ok);
  }
  return result.ok;
}

bool TFormChart::PrintChart() {
  const std::string refusal = ChartRefusal(document_.plan());
  if (!refusal.empty()) {
    desktop().MessageBox(this, "The route has no chart: " + QString::fromStdString(refusal) + ".",
                         "Print Chart", MessageButtons::Ok);
    return false;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  if (!desktop().PrintDialog(this, printer)) return false;
  QPainter painter(&printer);
  PaintChartPage(painter, document_.plan(), chart_->scene().aviation_data(), std::nullopt,
                 printer.resolution());
  return true;
}

TFormChart* ShowRouteChart(QPointer<TFormChart>& window, QWidget* owner, PlanDocument& document) {
  TFormChart* chart = MadeOnFirstUse(window, document, owner);
  chart->show();
  chart->raise();
  chart->activateWindow();
  return chart;
}

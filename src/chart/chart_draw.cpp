#include "chart/chart_draw.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

const QColor kBackground(0xF6, 0xF3, 0xEA);
const QColor kGraticule(0xB8, 0xC4, 0xCC);
const QColor kGraticuleText(0x70, 0x80, 0x8C);
const QColor kCoast(0x3C, 0x6E, 0x9C);
const QColor kRiver(0x7F, 0xAE, 0xD6);
const QColor kBorder(0x8E, 0x6A, 0x94);
const QColor kState(0xB5, 0xA3, 0xBA);
const QColor kTowered(0x1E, 0x5A, 0xA8);
const QColor kUntowered(0x9C, 0x2E, 0x78);
const QColor kNavaid(0x1E, 0x5A, 0xA8);
const QColor kNdb(0x8A, 0x3B, 0x2A);
const QColor kFix(0x40, 0x40, 0x40);
const QColor kRoute = QColor::fromRgb(kRouteColour);
const QColor kMark(0x80, 0x00, 0x80);

// Labels placed so far, so that none is drawn over another; kept in cells
// of a coarse grid, so each new label is held only against its neighbours.
class LabelPlacer {
 public:
  explicit LabelPlacer(const QRectF& page) : page_(page) {
    columns_ = std::max(1, static_cast<int>(page.width() / kCell) + 1);
    rows_ = std::max(1, static_cast<int>(page.height() / kCell) + 1);
    cells_.resize(static_cast<std::size_t>(columns_ * rows_));
  }
  bool Free(const QRectF& r) const {
    if (!page_.contains(r)) return false;
    bool free = true;
    ForCells(r, [&](std::vector<QRectF>& cell) {
      for (const QRectF& t : cell)
        if (t.intersects(r)) free = false;
    });
    return free;
  }
  void Take(const QRectF& r) {
    ForCells(r, [&](std::vector<QRectF>& cell) { cell.push_back(r); });
  }
  // The first free box of `size` beside `at` (right, left, above, below),
  // taken; empty when none is free.
  QRectF Place(const QPointF& at, const QSizeF& size, double gap) {
    const QRectF options[] = {
        QRectF(QPointF(at.x() + gap, at.y() - size.height() / 2), size),
        QRectF(QPointF(at.x() - gap - size.width(), at.y() - size.height() / 2), size),
        QRectF(QPointF(at.x() - size.width() / 2, at.y() - gap - size.height()), size),
        QRectF(QPointF(at.x() - size.width() / 2, at.y() + gap), size),
    };
    for (const QRectF& r : options) {
      if (Free(r)) {
        Take(r);
        return r;
      }
    }
    return QRectF();
  }

 private:
  static constexpr double kCell = 64.0;

  template <typename F>
  void ForCells(const QRectF& r, F&& f) const {
    const QRectF c = r.intersected(page_);
    if (c.isEmpty()) return;
    const int x0 = static_cast<int>((c.left() - page_.left()) / kCell);
    const int x1 = std::min(columns_ - 1, static_cast<int>((c.right() - page_.left()) / kCell));
    const int y0 = static_cast<int>((c.top() - page_.top()) / kCell);
    const int y1 = std::min(rows_ - 1, static_cast<int>((c.bottom() - page_.top()) / kCell));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) f(cells_[static_cast<std::size_t>(y * columns_ + x)]);
  }

  QRectF page_;
  int columns_ = 1;
  int rows_ = 1;
  mutable std::vector<std::vector<QRectF>> cells_;
};

QPointF At(const ChartView& view, const ProjectedPoint& p) {
  const PixelPoint px = view.ToPixel(p);
  return {px.x, px.y};
}

bool Visible(const ChartView& view, const QPointF& p, double slack) {
  return p.x() >= -slack && p.y() >= -slack && p.x() <= view.width + slack &&
         p.y() <= view.height + slack;
}

double GraticuleStep(const ChartView& view) {
  return view.Scale() < 1'200'000.0 ? 0.5 : view.Scale() < 20'000'000.0 ? 1.0 : 10.0;
}

// The box of whole steps round the view; false when it would be too many lines to draw.
bool GraticuleBox(const ChartScene& scene, const ChartView& view, MapBox& grid) {
  const MapBox box = ViewBox(scene.projection(), view);
  const double step = GraticuleStep(view);
  grid.south = std::floor(box.south / step) * step;
  grid.north = std::ceil(box.north / step) * step;
  grid.west = std::floor(box.west / step) * step;
  grid.east = std::ceil(box.east / step) * step;
  return (grid.north - grid.south) / step <= 400 && (grid.east - grid.west) / step <= 800;
}

void DrawGraticuleLines(QPainter& painter, const ChartScene& scene, const ChartView& view,
                        double k) {
  const ChartProjection& projection = scene.projection();
  MapBox grid;
  if (!GraticuleBox(scene, view, grid)) return;
  const double step = GraticuleStep(view);
  painter.setPen(QPen(kGraticule, 0.8 * k));
  for (double lon = grid.west; lon <= grid.east + 1e-9; lon += step) {
    // Meridians are straight on a cone.
    painter.drawLine(At(view, projection.Forward({std::clamp(grid.south, -89.9, 89.9), lon})),
                     At(view, projection.Forward({std::clamp(grid.north, -89.9, 89.9), lon})));
  }
  for (double lat = grid.south; lat <= grid.north + 1e-9; lat += step) {
    if (std::fabs(lat) > 89.9) continue;
    QPolygonF line;
    for (double lon = grid.west; lon <= grid.east + 1e-9; lon += step / 2)
      line << At(view, projection.Forward({lat, lon}));
    painter.drawPolyline(line);
  }
}

// Latitudes along the left edge, longitudes along the bottom.
void DrawGraticuleLabels(QPainter& painter, const ChartScene& scene, const ChartView& view,
                         double k) {
  const ChartProjection& projection = scene.projection();
  MapBox grid;
  if (!GraticuleBox(scene, view, grid)) return;
  const double step = GraticuleStep(view);
  QFont font = painter.font();
  font.setPointSizeF(7.5);
  font.setBold(false);
  painter.setFont(font);
  auto label = [](double degrees, bool lat) {
    const char hemisphere = lat ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
    double a = std::fabs(degrees);
    if (!lat && a > 180.0) a = 360.0 - a;
    const int whole = static_cast<int>(std::floor(a + 1e-9));
    const int minutes = static_cast<int>(std::lround((a - whole) * 60.0));
    char text[32];
    std::snprintf(text, sizeof text, "%d\u00b0%02d'%c", whole, minutes, hemisphere);
    return QString::fromUtf8(text);
  };
  painter.setPen(kGraticuleText);
  const QFontMetricsF metrics(painter.font());
  const GeoPosition left = projection.Reverse(view.FromPixel(0, view.height / 2.0));
  for (double lat = grid.south; lat <= grid.north + 1e-9; lat += step) {
    const QPointF p = At(view, projection.Forward({lat, left.lon}));
    if (p.y() < 12 || p.y() > view.height - 12) continue;
    painter.drawText(QPointF(3 * k, p.y() - 2 * k), label(lat, true));
  }
  double free_from = 40 * k;  // labels that would touch the one before are left out
  const GeoPosition bottom = projection.Reverse(view.FromPixel(view.width / 2.0, view.height));
  for (double lon = grid.west; lon <= grid.east + 1e-9; lon += step) {
    const QPointF p = At(view, projection.Forward({bottom.lat, lon}));
    const QString text = label(lon, false);
    const double width = metrics.horizontalAdvance(text);
    if (p.x() < free_from || p.x() + width > view.width - 40 * k) continue;
    painter.drawText(QPointF(p.x() + 2 * k, view.height - 3 * k), text);
    free_from = p.x() + width + 8 * k;
  }
}

void DrawLines(QPainter& painter, const ChartScene& scene, const ChartView& view, double k) {
  const ProjectedPoint low = view.FromPixel(0, view.height);
  const ProjectedPoint high = view.FromPixel(view.width, 0);
  const double x0 = low.x, y0 = low.y, x1 = high.x, y1 = high.y;
  const MapLineKind order[] = {MapLineKind::State, MapLineKind::Border, MapLineKind::River,
                               MapLineKind::Lake, MapLineKind::Coast};
  QPolygonF polygon;
  for (MapLineKind kind : order) {
    QPen pen;
    switch (kind) {
      case MapLineKind::State:
        pen = QPen(kState, 0.9 * k, Qt::DashLine);
        break;
      case MapLineKind::Border:
        pen = QPen(kBorder, 1.3 * k, Qt::DashDotLine);
        break;
      case MapLineKind::River:
        pen = QPen(kRiver, 0.9 * k);
        break;
      case MapLineKind::Lake:
      case MapLineKind::Coast:
        pen = QPen(kCoast, 1.1 * k);
        break;
    }
    painter.setPen(pen);
    for (const ProjectedLine& line : scene.lines()) {
      if (line.kind != kind) continue;
      if (line.max_x < x0 || line.min_x > x1 || line.max_y < y0 || line.min_y > y1) continue;
      polygon.resize(static_cast<int>(line.points.size()));
      for (std::size_t i = 0; i < line.points.size(); ++i)
        polygon[static_cast<int>(i)] = At(view, line.points[i]);
      painter.drawPolyline(polygon);
    }
  }
}

void DrawCompassRose(QPainter& painter, const QPointF& at, double radius, double north, double k) {
  painter.save();
  painter.translate(at);
  painter.rotate(north);
  painter.setPen(QPen(kNavaid, 0.8 * k));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(0, 0), radius, radius);
  for (int deg = 0; deg < 360; deg += 10) {
    const double len = deg % 30 == 0 ? 6 * k : 3 * k;
    const double a = deg * M_PI / 180.0;
    painter.drawLine(QPointF(std::sin(a) * radius, -std::cos(a) * radius),
                     QPointF(std::sin(a) * (radius - len), -std::cos(a) * (radius - len)));
  }
  // Magnetic north: an arrow on the rim.
  QPolygonF arrow;
  arrow << QPointF(0, -radius - 7 * k) << QPointF(-3.5 * k, -radius) << QPointF(3.5 * k, -radius);
  painter.setBrush(kNavaid);
  painter.drawPolygon(arrow);
  painter.restore();
}

void DrawSymbol(QPainter& painter, const ChartFeature& f, const QPointF& p, double k) {
  painter.save();
  switch (f.kind) {
    case FeatureKind::ToweredAirport:
    case FeatureKind::Airport: {
      const QColor colour = f.kind == FeatureKind::ToweredAirport ? kTowered : kUntowered;
      painter.setPen(QPen(colour, 1.6 * k));
      painter.setBrush(f.kind == FeatureKind::ToweredAirport ? QBrush(colour) : QBrush(Qt::white));
      painter.drawEllipse(p, 4.5 * k, 4.5 * k);
      // Ticks round the circle: an airport with services.
      for (int deg = 0; deg < 360; deg += 90) {
        const double a = deg * M_PI / 180.0;
        painter.drawLine(p + QPointF(std::sin(a), -std::cos(a)) * 4.5 * k,
                         p + QPointF(std::sin(a), -std::cos(a)) * 7.5 * k);
      }
      break;
    }
    case FeatureKind::Vor:
    case FeatureKind::VorDme:
    case FeatureKind::Vortac: {
      painter.setPen(QPen(kNavaid, 1.3 * k));
      painter.setBrush(Qt::NoBrush);
      QPolygonF hexagon;
      for (int i = 0; i < 6; ++i) {
        const double a = (i * 60.0) * M_PI / 180.0;
        hexagon << p + QPointF(std::cos(a), std::sin(a)) * 5.0 * k;
      }
      painter.drawPolygon(hexagon);
      if (f.kind != FeatureKind::Vor)
        painter.drawRect(QRectF(p - QPointF(6, 5) * k, QSizeF(12, 10) * k));
      painter.setBrush(kNavaid);
      painter.drawEllipse(p, 1.2 * k, 1.2 * k);
      break;
    }
    case FeatureKind::Ndb:
      painter.setPen(QPen(kNdb, 1.4 * k, Qt::DotLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(p, 6.0 * k, 6.0 * k);
      painter.setBrush(kNdb);
      painter.setPen(Qt::NoPen);
      painter.drawEllipse(p, 2.0 * k, 2.0 * k);
      break;
    case FeatureKind::Dme:
      painter.setPen(QPen(kNavaid, 1.3 * k));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(p - QPointF(4, 4) * k, QSizeF(8, 8) * k));
      break;
    case FeatureKind::Fix: {
      painter.setPen(QPen(kFix, 1.0 * k));
      painter.setBrush(Qt::NoBrush);
      QPolygonF triangle;
      triangle << p + QPointF(0, -4.5) * k << p + QPointF(4, 3) * k << p + QPointF(-4, 3) * k;
      painter.drawPolygon(triangle);
      break;
    }
  }
  painter.restore();
}

void DrawFeatures(QPainter& painter, const ChartScene& scene, const ChartView& view,
                  LabelPlacer& labels, double k) {
  const bool runways = view.metres_per_pixel < 40.0;
  const bool roses = view.Scale() <= 2'000'000.0;
  // Runways first, under every symbol.
  if (runways) {
    for (const ChartFeature& f : scene.features()) {
      for (const ChartFeature::RunwayLine& r : f.runways) {
        const QPointF a = At(view, r.end1), b = At(view, r.end2);
        if (!Visible(view, a, 200) && !Visible(view, b, 200)) continue;
        // Drawn to scale: a runway is about 30 m wide, never thinner than a line.
        painter.setPen(QPen(QColor(0x55, 0x55, 0x55),
                            std::max(2.5 * k, 30.0 / view.metres_per_pixel), Qt::SolidLine,
                            Qt::FlatCap));
        painter.drawLine(a, b);
      }
    }
  }
  QFont font = painter.font();
  font.setPointSizeF(7.5);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  // Priority: towered airports, VORs, the rest, fixes last.
  const FeatureKind order[] = {
      FeatureKind::ToweredAirport, FeatureKind::Vortac, FeatureKind::VorDme, FeatureKind::Vor,
      FeatureKind::Airport,        FeatureKind::Ndb,    FeatureKind::Dme,    FeatureKind::Fix};
  for (FeatureKind kind : order) {
    if (!ChartScene::Shows(kind, view)) continue;
    for (const ChartFeature& f : scene.features()) {
      if (f.kind != kind) continue;
      const QPointF p = At(view, f.xy);
      if (!Visible(view, p, 60)) continue;
      const bool vor =
          kind == FeatureKind::Vor || kind == FeatureKind::VorDme || kind == FeatureKind::Vortac;
      if (vor && roses) {
        const double north = f.variation - scene.projection().Convergence(f.position);
        DrawCompassRose(painter, p, 34.0 * k, north, k);
      }
      if (f.IsAirport() && runways && !f.runways.empty()) {
        // The runways show the airport; a small ring marks its reference point.
        painter.setPen(
            QPen(f.kind == FeatureKind::ToweredAirport ? kTowered : kUntowered, 1.2 * k));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(p, 3 * k, 3 * k);
      } else {
        DrawSymbol(painter, f, p, k);
      }
      const QString text = QString::fromStdString(f.ident);
      const QSizeF size(metrics.horizontalAdvance(text) + 2 * k, metrics.height());
      const QRectF box = labels.Place(p, size, 8 * k);
      if (box.isNull()) continue;
      painter.setPen(kind == FeatureKind::Airport ? kUntowered
                     : kind == FeatureKind::Ndb   ? kNdb
                     : kind == FeatureKind::Fix   ? kFix
                                                  : kTowered);
      painter.drawText(box, Qt::AlignCenter, text);
    }
  }
}

struct RouteLabels {
  std::vector<QRectF> names;  // one per checkpoint
  std::vector<QRectF> legs;   // one per leg, empty where none fits
  std::vector<QRectF> marks;  // one per top of climb or descent, empty where none fits
};

QFont NameFont(const QFont& base) {
  QFont font = base;
  font.setPointSizeF(8.5);
  font.setBold(true);
  return font;
}

QFont LegFont(const QFont& base) {
  QFont font = base;
  font.setPointSizeF(7.5);
  font.setBold(false);
  return font;
}

// The route's labels are placed before anything else's, so the map's give way to them.
RouteLabels PlaceRouteLabels(const QFont& base, const ChartScene& scene, const ChartView& view,
                             LabelPlacer& labels, double k) {
  RouteLabels placed;
  for (const ChartCheckpoint& c : scene.checkpoints())
    labels.Take(QRectF(At(view, c.xy) - QPointF(7, 7) * k, QSizeF(14, 14) * k));
  const QFontMetricsF names(NameFont(base));
  for (const ChartCheckpoint& c : scene.checkpoints()) {
    const QPointF p = At(view, c.xy);
    const QString text = QString::fromStdString(c.name);
    const QSizeF size(names.horizontalAdvance(text) + 6 * k, names.height() + 2 * k);
    QRectF box = labels.Place(p, size, 9 * k);
    // A name is never left out: crowded, it goes to the right all the same.
    if (box.isNull()) box = QRectF(QPointF(p.x() + 9 * k, p.y() - size.height() / 2), size);
    placed.names.push_back(box);
  }
  for (const ChartMark& m : scene.marks())
    labels.Take(QRectF(At(view, m.xy) - QPointF(5, 5) * k, QSizeF(10, 10) * k));
  const QFontMetricsF legs(LegFont(base));
  for (const ChartMark& m : scene.marks()) {
    const QString text = QString::fromStdString(m.name);
    const QSizeF size(legs.horizontalAdvance(text) + 6 * k, legs.height() + 2 * k);
    placed.marks.push_back(labels.Place(At(view, m.xy), size, 8 * k));
  }
  for (const ChartLeg& leg : scene.legs()) {
    QRectF box;
    if (leg.line.size() >= 2) {
      const QPointF mid = At(view, leg.line[leg.line.size() / 2]);
      const QString text = QString::fromStdString(leg.label);
      const QSizeF size(legs.horizontalAdvance(text) + 6 * k, legs.height() + 2 * k);
      box = labels.Place(mid, size, 6 * k);
    }
    placed.legs.push_back(box);
  }
  return placed;
}

void DrawRoute(QPainter& painter, const ChartScene& scene, const ChartView& view,
               const RouteLabels& placed, const ChartDrawOptions& options, double k) {
  painter.setPen(QPen(kRoute, 3.0 * k, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  for (const ChartLeg& leg : scene.legs()) {
    QPolygonF line;
    for (const ProjectedPoint& p : leg.line) line << At(view, p);
    painter.drawPolyline(line);
  }
  // A top of climb or descent: a bar across the leg where it falls.
  painter.setPen(QPen(kMark, 2.5 * k, Qt::SolidLine, Qt::FlatCap));
  for (const ChartMark& m : scene.marks()) {
    const ChartLeg& leg = scene.legs()[static_cast<std::size_t>(m.leg)];
    const QPointF p = At(view, m.xy);
    QPointF along = At(view, leg.line.back()) - At(view, leg.line.front());
    const double length = std::hypot(along.x(), along.y());
    along = length > 0 ? along / length : QPointF(1, 0);
    const QPointF across(-along.y() * 8 * k, along.x() * 8 * k);
    painter.drawLine(p - across, p + across);
  }
  const QFont base = painter.font();
  painter.setFont(LegFont(base));
  for (std::size_t i = 0; i < scene.marks().size(); ++i) {
    const QRectF& box = placed.marks[i];
    if (box.isNull()) continue;
    painter.setPen(QPen(kMark, 1.0 * k));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter, QString::fromStdString(scene.marks()[i].name));
  }
  for (std::size_t i = 0; i < scene.legs().size(); ++i) {
    const QRectF& box = placed.legs[i];
    if (box.isNull()) continue;
    painter.setPen(QPen(kRoute, 1.0 * k));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setPen(QColor(0x80, 0x00, 0x80));
    painter.drawText(box, Qt::AlignCenter, QString::fromStdString(scene.legs()[i].label));
  }
  for (std::size_t i = 0; i < scene.checkpoints().size(); ++i) {
    const QPointF p = At(view, scene.checkpoints()[i].xy);
    const bool picked = static_cast<int>(i) == options.highlight;
    painter.setPen(QPen(kRoute, (picked ? 3.0 : 2.0) * k));
    painter.setBrush(picked ? QBrush(QColor(0xFF, 0xC0, 0xFF)) : QBrush(Qt::white));
    painter.drawEllipse(p, 6.5 * k, 6.5 * k);
  }
  painter.setFont(NameFont(base));
  for (std::size_t i = 0; i < scene.checkpoints().size(); ++i) {
    const QRectF& box = placed.names[i];
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, QString::fromStdString(scene.checkpoints()[i].name));
  }
  painter.setFont(base);
}

// A list in a corner: the rows that have no place on the map, and what the
// base map lacks.
void DrawNotes(QPainter& painter, const ChartScene& scene, const ChartView& view, double k) {
  QStringList lines;
  if (!scene.unplaced().empty()) {
    lines << QString::fromUtf8("Checkpoints without a position:");
    for (const std::string& name : scene.unplaced())
      lines << QString::fromUtf8("  ") + QString::fromStdString(name.empty() ? "(unnamed)" : name);
  }
  for (const std::string& message : scene.messages()) lines << QString::fromStdString(message);
  if (lines.isEmpty()) return;
  QFont font = painter.font();
  font.setPointSizeF(8);
  font.setBold(false);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  double width = 0;
  for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
  const QRectF box(6 * k, 6 * k, width + 12 * k, lines.size() * metrics.height() + 10 * k);
  painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1 * k));
  painter.setBrush(QColor(255, 255, 255, 235));
  painter.drawRect(box);
  painter.setPen(Qt::black);
  for (int i = 0; i < lines.size(); ++i)
    painter.drawText(
        QPointF(box.left() + 6 * k, box.top() + 5 * k + metrics.ascent() + i * metrics.height()),
        lines[i]);
  (void)view;
}

// A bar of a round number of nautical miles, and the scale.
void DrawScaleBar(QPainter& painter, const ChartView& view, double k) {
  const double target_nm = view.width * 0.15 * view.metres_per_pixel / 1852.0;
  const double steps[] = {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000, 2000};
  double nm = steps[0];
  for (double s : steps)
    if (s <= target_nm) nm = s;
  const double length = nm * 1852.0 / view.metres_per_pixel;
  QFont font = painter.font();
  font.setPointSizeF(7.5);
  font.setBold(false);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  char text[64];
  std::snprintf(text, sizeof text, "%g NM", nm);
  const QString distance = QString::fromUtf8(text);
  // On paper a device pixel is smaller than a screen's by the pixel ratio.
  const QString ratio = QString::fromStdString(ScaleText(view.Scale() * k));
  const double ratio_width = metrics.horizontalAdvance(ratio) + 10 * k;
  const QPointF origin(view.width - length - 20 * k, view.height - 14 * k);
  const QRectF box(origin.x() - ratio_width - 6 * k, origin.y() - metrics.height() - 10 * k,
                   ratio_width + length + 12 * k, metrics.height() + 16 * k);
  painter.setPen(QPen(Qt::black, 1.2 * k));
  painter.setBrush(Qt::white);
  painter.drawRect(box);
  painter.drawLine(origin, origin + QPointF(length, 0));
  for (int i = 0; i <= 4; ++i)
    painter.drawLine(origin + QPointF(length * i / 4, 0), origin + QPointF(length * i / 4, -5 * k));
  painter.drawText(
      QPointF(origin.x() + length - metrics.horizontalAdvance(distance), origin.y() - 7 * k),
      distance);
  painter.drawText(QPointF(origin.x() - ratio_width, origin.y()), ratio);
}

void DrawLegend(QPainter& painter, const ChartView& view, double k) {
  enum Sign { Route, Mark, Symbol };
  struct Item {
    const char* text;
    Sign sign;
    FeatureKind kind;
  };
  const Item items[] = {{"Route", Route, FeatureKind::Fix},
                        {"Top of climb or descent", Mark, FeatureKind::Fix},
                        {"Towered airport", Symbol, FeatureKind::ToweredAirport},
                        {"Airport", Symbol, FeatureKind::Airport},
                        {"VOR, VOR-DME, VORTAC", Symbol, FeatureKind::VorDme},
                        {"NDB", Symbol, FeatureKind::Ndb},
                        {"Fix", Symbol, FeatureKind::Fix}};
  constexpr int kItems = sizeof items / sizeof items[0];
  QFont font = painter.font();
  font.setPointSizeF(7.5);
  font.setBold(false);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const double row = std::max(16.0 * k, metrics.height() + 4 * k);
  const double width = 170 * k;
  const QRectF box(view.width - width - 10 * k, 10 * k, width, row * kItems + 10 * k);
  painter.setPen(QPen(QColor(0x90, 0x90, 0x90), 1 * k));
  painter.setBrush(QColor(255, 255, 255, 235));
  painter.drawRect(box);
  for (int i = 0; i < kItems; ++i) {
    const QPointF symbol(box.left() + 16 * k, box.top() + 5 * k + row * (i + 0.5));
    if (items[i].sign != Symbol) {
      painter.setPen(QPen(kRoute, 3 * k));
      painter.drawLine(symbol - QPointF(9 * k, 0), symbol + QPointF(9 * k, 0));
      if (items[i].sign == Mark) {
        painter.setPen(QPen(kMark, 2.5 * k, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(symbol - QPointF(0, 7 * k), symbol + QPointF(0, 7 * k));
      }
    } else {
      ChartFeature f;
      f.kind = items[i].kind;
      DrawSymbol(painter, f, symbol, k);
    }
    painter.setPen(Qt::black);
    painter.drawText(QPointF(box.left() + 34 * k, symbol.y() + metrics.ascent() / 2 - 1),
                     QString::fromUtf8(items[i].text));
  }
}

}  // namespace

std::string ScaleText(double scale) {
  const long long n = std::llround(scale);
  std::string digits = std::to_string(n);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
  return "1:" + digits;
}

namespace {

// The map under the route: background, base map, grid and aviation layers,
// and where the route's labels go, which the map's give way to.
RouteLabels DrawMapLayer(QPainter& painter, const ChartScene& scene, const ChartView& view,
                         double k) {
  painter.fillRect(QRectF(0, 0, view.width, view.height), kBackground);
  painter.setRenderHint(QPainter::Antialiasing, true);
  DrawLines(painter, scene, view, k);
  DrawGraticuleLines(painter, scene, view, k);
  LabelPlacer labels(QRectF(0, 0, view.width, view.height));
  RouteLabels route_labels = PlaceRouteLabels(painter.font(), scene, view, labels, k);
  DrawFeatures(painter, scene, view, labels, k);
  return route_labels;
}

// What goes over the map: the grid's figures at the edges, the route and
// the notes, scale bar and legend.
void DrawOverlay(QPainter& painter, const ChartScene& scene, const ChartView& view,
                 const RouteLabels& route_labels, const ChartDrawOptions& options) {
  const double k = options.pixel_ratio;
  painter.setRenderHint(QPainter::Antialiasing, true);
  DrawGraticuleLabels(painter, scene, view, k);
  // The route on top of every symbol: it is what the chart is for.
  DrawRoute(painter, scene, view, route_labels, options, k);
  DrawNotes(painter, scene, view, k);
  if (options.scale_bar) DrawScaleBar(painter, view, k);
  if (options.legend) DrawLegend(painter, view, k);
}

}  // namespace

void DrawChart(QPainter& painter, const ChartScene& scene, const ChartView& view,
               const ChartDrawOptions& options) {
  painter.save();
  painter.setClipRect(QRectF(0, 0, view.width, view.height));
  const RouteLabels route_labels = DrawMapLayer(painter, scene, view, options.pixel_ratio);
  DrawOverlay(painter, scene, view, route_labels, options);
  painter.restore();
}

struct ChartCanvas::MapLayer {
  QImage image;
  ChartView view;
  uint64_t revision = 0;
  int projection = 0;
  double pixel_ratio = 1.0;
  double device_ratio = 1.0;  // device pixels to a pixel of the view, as a screen has them
  RouteLabels route_labels;
  double took_ms = 0.0;
};

namespace {

using Clock = std::chrono::steady_clock;

// A margin of a quarter of the view each side: pans within it only move the picture.
ChartView WithMargin(const ChartView& view) {
  ChartView layer = view;
  layer.width = view.width + 2 * (view.width / 4);
  layer.height = view.height + 2 * (view.height / 4);
  return layer;
}

}  // namespace

ChartCanvas::ChartCanvas(std::function<void()> ready)
    : job_(std::make_unique<BackgroundJob<MapLayer>>(std::move(ready))) {}

ChartCanvas::~ChartCanvas() = default;

void ChartCanvas::Wait() {
  job_->Wait();
}

ChartCanvas::MapLayer ChartCanvas::Render(const ChartScene& scene, const ChartView& view,
                                          double pixel_ratio, double device_ratio) {
  const Clock::time_point start = Clock::now();
  MapLayer layer;
  layer.view = view;
  layer.revision = scene.revision();
  layer.projection = scene.projection_id();
  layer.pixel_ratio = pixel_ratio;
  layer.device_ratio = device_ratio;
  // At the screen's own pixels, so that a fine screen shows the map as fine.
  layer.image = QImage(static_cast<int>(std::ceil(view.width * device_ratio)),
                       static_cast<int>(std::ceil(view.height * device_ratio)),
                       QImage::Format_ARGB32_Premultiplied);
  if (!layer.image.isNull()) {
    layer.image.setDevicePixelRatio(device_ratio);
    QPainter painter(&layer.image);
    layer.route_labels = DrawMapLayer(painter, scene, view, pixel_ratio);
  }
  layer.took_ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  return layer;
}

void ChartCanvas::Draw(QPainter& painter, const ChartScene& scene, const ChartView& view,
                       const ChartDrawOptions& options) {
  const double k = options.pixel_ratio;
  const double device_ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  if (std::optional<MapLayer> done = job_->Take()) {
    last_layer_ms_ = done->took_ms;
    layer_ = std::make_unique<MapLayer>(std::move(*done));
  }
  // The view's corners inside the layer's, in the plane: a pan within the margin.
  auto covers = [&](const MapLayer& layer) {
    const ProjectedPoint a = view.FromPixel(0, 0), b = view.FromPixel(view.width, view.height);
    const ProjectedPoint la = layer.view.FromPixel(0, 0);
    const ProjectedPoint lb = layer.view.FromPixel(layer.view.width, layer.view.height);
    const double slack = 0.01 * view.metres_per_pixel;
    return a.x >= la.x - slack && b.x <= lb.x + slack && a.y <= la.y + slack && b.y >= lb.y - slack;
  };
  // The first picture, or one in a new projection, is drawn at once, without
  // the margin, which comes with the next one; any other waits for nothing
  // and shows the map it has until the sharp one is done.
  if (!layer_ || layer_->projection != scene.projection_id() || layer_->pixel_ratio != k ||
      layer_->device_ratio != device_ratio) {
    layer_ = std::make_unique<MapLayer>(Render(scene, view, k, device_ratio));
    last_layer_ms_ = layer_->took_ms;
  }
  const MapLayer& layer = *layer_;
  const bool same_scale = layer.view.metres_per_pixel == view.metres_per_pixel;
  const bool inside = same_scale && covers(layer);
  sharp_ = inside && layer.revision == scene.revision();
  if (!sharp_ && !job_->busy()) {
    const ChartView wanted = WithMargin(view);
    // The worker gets a copy of the scene: this thread goes on changing its own.
    job_->Start(
        [scene, wanted, k, device_ratio] { return Render(scene, wanted, k, device_ratio); });
  }

  painter.save();
  painter.setClipRect(QRectF(0, 0, view.width, view.height));
  const PixelPoint origin = view.ToPixel(layer.view.FromPixel(0, 0));
  if (!inside) painter.fillRect(QRectF(0, 0, view.width, view.height), kBackground);
  RouteLabels route_labels;
  if (same_scale) {
    const QPoint at(static_cast<int>(std::lround(origin.x)),
                    static_cast<int>(std::lround(origin.y)));
    painter.drawImage(at, layer.image);
    if (sharp_) {
      route_labels = layer.route_labels;
      for (std::vector<QRectF>* boxes :
           {&route_labels.names, &route_labels.legs, &route_labels.marks})
        for (QRectF& box : *boxes)
          if (!box.isNull()) box.translate(at);
    }
  } else {
    // Stretched while zooming: coarse for a moment, never a blank window.
    const double scale = layer.view.metres_per_pixel / view.metres_per_pixel;
    painter.drawImage(
        QRectF(origin.x, origin.y, layer.image.width() * scale, layer.image.height() * scale),
        layer.image);
  }
  if (!sharp_) {
    LabelPlacer labels(QRectF(0, 0, view.width, view.height));
    route_labels = PlaceRouteLabels(painter.font(), scene, view, labels, k);
  }
  DrawOverlay(painter, scene, view, route_labels, options);
  painter.restore();
}

QImage RenderChart(const ChartScene& scene, const ChartView& view,
                   const ChartDrawOptions& options) {
  QImage image(view.width, view.height, QImage::Format_ARGB32);
  if (image.isNull()) return image;
  QPainter painter(&image);
  DrawChart(painter, scene, view, options);
  painter.end();
  return image;
}

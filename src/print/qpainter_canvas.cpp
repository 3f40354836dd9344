#include "print/qpainter_canvas.h"

#include <QBitmap>
#include <QImage>
#include <QLine>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QColor ToQColor(CanvasColor c) {
  return QColor(c.r, c.g, c.b);
}

int Round(double v) {
  return static_cast<int>(std::lround(v));
}

}  // namespace

QPainterCanvas::QPainterCanvas(QPaintDevice& device) : device_(&device) {
  const int mm = device.widthMM();
  pxpermm_ = mm > 0 ? static_cast<double>(device.width()) / mm : device.logicalDpiX() / 25.4;
  if (pxpermm_ <= 0) pxpermm_ = 96 / 25.4;

  // A one-pixel line is a hairline at printer resolutions; from 600 dpi up
  // the lines grow to keep about 0.085 mm, the weight of a ruled form.
  linepen_ = QPen(Qt::black, std::max(1, Round(pxpermm_ * 0.085)), Qt::SolidLine, Qt::FlatCap,
                  Qt::MiterJoin);
  // Dots spaced by a fixed fraction of a millimetre, so the writing lines
  // stay dotted instead of merging into grey at 1200 dpi.
  const int dot = std::max(1, Round(pxpermm_ * 0.2));
  const int gap = std::max(2, Round(pxpermm_ * 0.8));
  dotpen_ = QPen(Qt::black, dot, Qt::CustomDashLine, Qt::FlatCap);
  dotpen_.setDashPattern({1.0, static_cast<qreal>(gap) / dot});

  // The cells are sized for Arial's metrics; a wider default sans breaks
  // frequencies like 124.35 in the narrow airfield columns.
  font_.setFamilies({"Liberation Sans", "Arial", "Sans Serif"});
  font_.setStyleHint(QFont::SansSerif);
  font_.setPointSize(fontsize_);
}

QPainterCanvas::~QPainterCanvas() {
  if (painter_.isActive()) painter_.end();
}

int QPainterCanvas::PageWidth() const {
  return device_->width();
}
int QPainterCanvas::PageHeight() const {
  return device_->height();
}
int QPainterCanvas::WidthMM() const {
  return device_->widthMM();
}
int QPainterCanvas::HeightMM() const {
  return device_->heightMM();
}

bool QPainterCanvas::BeginDoc() {
  return Restart(*device_);
}

bool QPainterCanvas::Restart(QPaintDevice& device) {
  if (painter_.isActive()) painter_.end();
  device_ = &device;
  if (!painter_.begin(device_)) return false;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setFont(font_);
  ApplyPen();
  return true;
}

void QPainterCanvas::NewPage() {
  if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device_)) paged->newPage();
}

void QPainterCanvas::EndDoc() {
  if (painter_.isActive()) painter_.end();
}

void QPainterCanvas::SetFontSize(int points) {
  if (points == fontsize_) return;
  fontsize_ = points;
  font_.setPointSize(std::max(1, points));
  if (painter_.isActive()) painter_.setFont(font_);
}

void QPainterCanvas::SetPenStyle(PenStyle style) {
  penstyle_ = style;
  ApplyPen();
}

void QPainterCanvas::ApplyPen() {
  if (painter_.isActive()) painter_.setPen(penstyle_ == PenStyle::Dotted ? dotpen_ : linepen_);
}

void QPainterCanvas::FillRect(int x0, int y0, int x1, int y1) {
  if (x1 <= x0 || y1 <= y0) return;
  if (brushstyle_ == BrushStyle::Solid) {
    painter_.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), ToQColor(brush_));
    return;
  }
  QBrush hatch = HatchBrush();
  hatch.setColor(ToQColor(brush_));
  painter_.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), hatch);
}

// The cross-hatch as a texture of diagonal lines about a millimetre apart (a
// hatch pattern of device pixels turns to grey or moire on a printer). One
// tile serves every band: a PDF holds it once as a pattern, and the tiles
// line up across the page because they start at its origin.
const QBrush& QPainterCanvas::HatchBrush() {
  if (hatch_.style() != Qt::NoBrush) return hatch_;
  const int step = std::max(3, Round(pxpermm_));
  QImage tile(step, step, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  {
    QPainter p(&tile);
    QPen pen = linepen_;
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    // Each diagonal three times, shifted by a tile, so thick lines wrap.
    for (int shift = -step; shift <= step; shift += step) {
      p.drawLine(shift, 0, shift + step, step);
      p.drawLine(shift, step, shift + step, 0);
    }
  }
  hatch_ = QBrush(QBitmap::fromImage(tile.createAlphaMask()));
  hatch_.setColor(Qt::black);
  return hatch_;
}

void QPainterCanvas::MoveTo(int x, int y) {
  pos_ = QPoint(x, y);
}

void QPainterCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  painter_.drawLine(pos_, to);
  pos_ = to;
}

void QPainterCanvas::Polygon(const CanvasPoint* points, int count) {
  QPolygon polygon;
  polygon.reserve(count);
  for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
  painter_.setBrush(ToQColor(brush_));
  painter_.drawPolygon(polygon);
  painter_.setBrush(Qt::NoBrush);
}

const QFontMetrics& QPainterCanvas::Metrics() {
  auto it = metrics_.find(fontsize_);
  if (it == metrics_.end()) it = metrics_.emplace(fontsize_, QFontMetrics(font_, device_)).first;
  return it->second;
}

void QPainterCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  const QString s = QString::fromStdString(text);
  const QFontMetrics& fm = Metrics();
  // The box is painted only as high as the ink: a full-height box would cut
  // the descenders of a small label stacked closely above. The same labels
  // and numbers come back on every row, so their ink is measured once.
  auto key = std::make_pair(fontsize_, text);
  auto it = inks_.find(key);
  if (it == inks_.end()) {
    const QRect ink = fm.tightBoundingRect(s);
    it = inks_
             .emplace(std::move(key),
                      std::make_pair(std::max(0, fm.ascent() + ink.top() - 1),
                                     std::min(fm.height(), fm.ascent() + ink.bottom() + 2)))
             .first;
  }
  const int boxtop = it->second.first;
  const int boxbottom = it->second.second;
  if (boxbottom > boxtop) {
    painter_.fillRect(QRect(x, y + boxtop, TextWidth(text), boxbottom - boxtop), ToQColor(brush_));
  }
  painter_.drawText(QPoint(x, y + fm.ascent()), s);
}

int QPainterCanvas::TextWidth(const std::string& text) {
  // The layout measures the same labels and numbers over and over.
  auto key = std::make_pair(fontsize_, text);
  auto it = widths_.find(key);
  if (it != widths_.end()) return it->second;
  const int width = Metrics().horizontalAdvance(QString::fromStdString(text));
  widths_.emplace(std::move(key), width);
  return width;
}

int QPainterCanvas::TextHeight(const std::string&) {
  return Metrics().height();
}

ImagePagesCanvas::ImagePagesCanvas(int width, int height, int dpi, Sink sink)
    : detail::PageImage(
          std::make_unique<QImage>(std::max(1, width), std::max(1, height), QImage::Format_RGB32)),
      QPainterCanvas((image_->setDotsPerMeterX(Round(dpi / 0.0254)),
                      image_->setDotsPerMeterY(Round(dpi / 0.0254)), *image_)),
      sink_(std::move(sink)) {
  image_->fill(Qt::white);
}

ImagePagesCanvas::~ImagePagesCanvas() = default;

bool ImagePagesCanvas::BeginDoc() {
  page_ = 1;
  ok_ = true;
  image_->fill(Qt::white);
  return QPainterCanvas::BeginDoc();
}

bool ImagePagesCanvas::FinishPage() {
  if (painter().isActive()) painter().end();
  if (ok_ && sink_ && !sink_(*image_, page_)) ok_ = false;
  return ok_;
}

void ImagePagesCanvas::NewPage() {
  FinishPage();
  ++page_;
  image_->fill(Qt::white);
  Restart(*image_);
}

void ImagePagesCanvas::EndDoc() {
  if (page_ > 0) FinishPage();
  page_ = 0;
}

#include "forms/Fwb.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "forms/Desktop.h"
#include "forms/Formutil.h"

EnvelopeView::EnvelopeView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(360, 260);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void EnvelopeView::Show(const std::vector<EnvelopePoint>& envelope, const WeightBalance& wb) {
  envelope_ = envelope;
  wb_ = wb;
  update();
}

void EnvelopeView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  // The frame takes in the envelope and both points, with a margin, so a
  // point far outside is still seen where it is.
  double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  auto take = [&](double arm, double lb) {
    x0 = std::min(x0, arm);
    x1 = std::max(x1, arm);
    y0 = std::min(y0, lb);
    y1 = std::max(y1, lb);
  };
  for (const EnvelopePoint& e : envelope_) take(e.arm, e.lb);
  const bool has_points = wb_.takeoff.lb > 0.0;
  if (has_points) {
    take(wb_.takeoff.cg, wb_.takeoff.lb);
    take(wb_.landing.cg, wb_.landing.lb);
  }
  if (x0 > x1) {
    p.drawText(rect(), Qt::AlignCenter, tr("No envelope and no loading entered"));
    return;
  }
  const double dx = std::max(1.0, x1 - x0);
  const double dy = std::max(10.0, y1 - y0);
  x0 -= dx * 0.08;
  x1 += dx * 0.08;
  y0 -= dy * 0.08;
  y1 += dy * 0.08;
  const QRectF area(56, 12, width() - 70, height() - 50);
  auto at = [&](double arm, double lb) {
    return QPointF(area.left() + (arm - x0) / (x1 - x0) * area.width(),
                   area.bottom() - (lb - y0) / (y1 - y0) * area.height());
  };

  // Axes with a few round figures.
  p.setPen(QPen(palette().color(QPalette::Mid), 1));
  p.drawRect(area);
  p.setPen(palette().color(QPalette::Text));
  for (int k = 0; k <= 4; ++k) {
    const double arm = x0 + (x1 - x0) * k / 4.0;
    const double lb = y0 + (y1 - y0) * k / 4.0;
    const QPointF bx = at(arm, y0);
    const QPointF by = at(x0, lb);
    p.drawText(QRectF(bx.x() - 30, area.bottom() + 4, 60, 16), Qt::AlignCenter,
               QString::number(arm, 'f', 1));
    p.drawText(QRectF(0, by.y() - 8, 52, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(std::lround(lb)));
  }
  p.drawText(QRectF(area.left(), height() - 18, area.width(), 16), Qt::AlignCenter,
             tr("CG, inches aft of datum"));

  if (envelope_.size() >= 3) {
    QPolygonF poly;
    for (const EnvelopePoint& e : envelope_) poly << at(e.arm, e.lb);
    p.setPen(QPen(QColor(30, 70, 140), 2));
    p.setBrush(QColor(30, 70, 140, 40));
    p.drawPolygon(poly);
  }
  if (!has_points) return;
  const QPointF to = at(wb_.takeoff.cg, wb_.takeoff.lb);
  const QPointF ld = at(wb_.landing.cg, wb_.landing.lb);
  p.setPen(QPen(Qt::black, 1.5, Qt::DashLine));
  p.drawLine(to, ld);
  // Takeoff is the heavier point: its name goes above it, landing's below,
  // each on the side of the point with room for it.
  auto mark = [&](const QPointF& c, const LoadPoint& lp, const QString& name, bool above) {
    const QColor color = lp.inside && !lp.over_max ? QColor(0, 130, 0) : QColor(200, 0, 0);
    p.setPen(QPen(color, 2));
    p.setBrush(color);
    p.drawEllipse(c, 5, 5);
    p.setPen(palette().color(QPalette::Text));
    const int w = p.fontMetrics().horizontalAdvance(name);
    const double x = c.x() + 8 + w > width() ? c.x() - 8 - w : c.x() + 8;
    p.drawText(QPointF(x, above ? c.y() - 7 : c.y() + 7 + p.fontMetrics().ascent()), name);
  };
  mark(to, wb_.takeoff, tr("Takeoff"), true);
  mark(ld, wb_.landing, tr("Landing"), false);
}

TFormWeightBalance::TFormWeightBalance(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Weight and Balance"));
  setFont(FormFont());
  auto* layout = new QVBoxLayout(this);
  ViewEnvelope = new EnvelopeView(this);
  layout->addWidget(ViewEnvelope, 1);
  ListLoading = new QTreeWidget(this);
  ListLoading->setRootIsDecorated(false);
  ListLoading->setHeaderLabels({tr("Item"), tr("Weight lb"), tr("Arm in"), tr("Moment lb-in"), ""});
  ListLoading->setMinimumHeight(150);
  layout->addWidget(ListLoading);
  LabelWarnings = new QLabel(this);
  LabelWarnings->setWordWrap(true);
  LabelWarnings->setStyleSheet("color: #c00000");
  layout->addWidget(LabelWarnings);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  ButtonClose = new QPushButton(tr("Close"), this);
  connect(ButtonClose, &QPushButton::clicked, this, [this] { done(mrOk); });
  buttons->addWidget(ButtonClose);
  layout->addLayout(buttons);
  resize(520, 560);
}

void TFormWeightBalance::Show(const Loading& loading, double fuel_gal, double trip_gal) {
  const WeightBalance wb = ComputeWeightBalance(loading, fuel_gal, trip_gal);
  ViewEnvelope->Show(loading.envelope, wb);
  ListLoading->clear();
  auto row = [&](const QString& item, double lb, double arm, double moment, const QString& note) {
    auto* r = new QTreeWidgetItem(ListLoading);
    r->setText(0, item);
    r->setText(1, FormatFixed(lb, 1));
    r->setText(2, FormatFixed(arm, 2));
    r->setText(3, FormatFixed(moment, 0));
    r->setText(4, note);
    for (int c = 1; c <= 3; ++c) r->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
  };
  for (const LoadLine& line : wb.lines) {
    row(QString::fromStdString(line.item), line.lb, line.arm, line.moment, QString());
  }
  // Without an envelope a point is neither inside nor outside of one.
  const bool judged = !loading.envelope.empty();
  auto verdict = [judged](const LoadPoint& lp) {
    if (!judged) return QStringLiteral("no envelope");
    return lp.inside && !lp.over_max ? QStringLiteral("inside") : QStringLiteral("outside");
  };
  row(tr("Takeoff"), wb.takeoff.lb, wb.takeoff.cg, wb.takeoff.moment, verdict(wb.takeoff));
  row(tr("Landing"), wb.landing.lb, wb.landing.cg, wb.landing.moment, verdict(wb.landing));
  for (int c = 0; c < 5; ++c) ListLoading->resizeColumnToContents(c);
  QStringList warnings;
  if (!loading.empty_lb || !judged)
    warnings << tr(
        "Set the empty weight, the stations and the envelope under Checkpoints > "
        "Aircraft Performance & Loading to weigh this flight.");
  for (const std::string& w : wb.warnings) warnings << QString::fromStdString(w);
  LabelWarnings->setText(warnings.join('\n'));
  LabelWarnings->setVisible(!warnings.isEmpty());
}

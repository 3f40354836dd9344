// The weight and balance window: the envelope drawn with the takeoff and
// landing points on it, joined by the line the centre of gravity moves along
// as the fuel burns, and the loading as a table.
#pragma once

#include <QDialog>
#include <QWidget>

#include "plan/performance.h"

class QTreeWidget;
class QLabel;
class QPushButton;

class EnvelopeView : public QWidget {
  Q_OBJECT
 public:
  explicit EnvelopeView(QWidget* parent = nullptr);
  void Show(const std::vector<EnvelopePoint>& envelope, const WeightBalance& wb);
  QSize sizeHint() const override { return QSize(420, 300); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<EnvelopePoint> envelope_;
  WeightBalance wb_;
};

class TFormWeightBalance : public QDialog {
  Q_OBJECT
 public:
  explicit TFormWeightBalance(QWidget* parent = nullptr);

  EnvelopeView* ViewEnvelope;
  QTreeWidget* ListLoading;
  QLabel* LabelWarnings;
  QPushButton* ButtonClose;

  void Show(const Loading& loading, double fuel_gal, double trip_gal);
};

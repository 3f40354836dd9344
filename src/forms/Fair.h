// The aircraft and pilot dialog.
#pragma once

#include <QStringList>
#include <QTableWidget>
#include <vector>

#include "forms/Formutil.h"
#include "plan/plan.h"

class QLineEdit;
class QPushButton;

class TFormAircraft : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormAircraft(QWidget* parent = nullptr);

  QLineEdit* EditPilotName;
  QLineEdit* EditNNumber;
  QLineEdit* EditType;
  QLineEdit* EditGPH;
  QLineEdit* EditFullFuel;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;

  // Texts as they are, fuel values with one decimal.
  void LoadAircraft(const AircraftInfo& aircraft);
  // Texts as typed, fuel values read as numbers (no number gives 0).
  void StoreAircraft(AircraftInfo& aircraft) const;

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
};

class QLabel;
class QTableWidget;
class QTabWidget;

// A grid of numbers that takes a pasted table: lines of cells split at tabs,
// or at blanks when a line has no tab. It keeps one empty row at the end to
// type a new row into.
class PasteGrid : public QTableWidget {
  Q_OBJECT
 public:
  PasteGrid(const QStringList& headers, QWidget* parent);

  // Fills the grid from the current cell on, adding rows as needed. Lines
  // with more words than the grid has columns give the extra leading words
  // to the first column (a station's name may have blanks).
  void PasteText(const QString& text);
  // The rows that are not empty, each as its cells joined by blanks.
  QStringList RowTexts() const;
  void SetRows(const std::vector<std::vector<QString>>& rows);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void KeepEmptyLastRow();
};

// The aircraft's performance and loading, two pages beside the aircraft and
// pilot dialog: the handbook's climb table, descent, fuel policy and the
// alternate; the empty weight, loading stations, fuel and the envelope.
class TFormPerformance : public QDialog {
  Q_OBJECT
 public:
  explicit TFormPerformance(QWidget* parent = nullptr);

  QTabWidget* Pages;
  PasteGrid* GridClimb;
  QLineEdit* EditClimbIsa;
  QLineEdit* EditDescentFpm;
  QLineEdit* EditDescentTas;
  QLineEdit* EditDescentGph;
  QLineEdit* EditTaxiGal;
  QLineEdit* EditContingency;
  QLineEdit* EditExtraGal;
  QLineEdit* EditAlternate;
  QLineEdit* EditAlternateDist;
  QLineEdit* EditAlternateTc;
  QLineEdit* EditAlternateAlt;
  QLineEdit* EditEmptyLb;
  QLineEdit* EditEmptyArm;
  PasteGrid* GridStations;
  QLineEdit* EditFuelArm;
  QLineEdit* EditFuelLbPerGal;
  QLineEdit* EditMaxLb;
  QLineEdit* EditEnvelope;
  QPushButton* ButtonWeightBalance;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;

  // The fuel on board and the trip fuel the weight and balance is shown with.
  double fuel_gal = 0.0;
  double trip_gal = 0.0;

  void LoadPerformance(const Performance& perf, const Loading& loading);
  // Reads every page; a value that makes no sense is shown in an "error"
  // box naming it, and false keeps the dialog open.
  bool StorePerformance(Performance& perf, Loading& loading);

 public slots:
  void ButtonOkClick();
  void ButtonCancelClick();
  void ButtonWeightBalanceClick();

 private:
  bool Refuse(QWidget* where, const QString& message);
  Performance loaded_perf_;
  Loading loaded_loading_;
};

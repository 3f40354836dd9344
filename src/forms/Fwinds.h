// Checkpoints > Winds Aloft: each leg's wind and temperature from a forecast
// file or a pasted bulletin, shown beside the pilot's values before any is
// written.
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

#include "plan/plan.h"
#include "winds/winds.h"
#include "winds/winds_fb.h"
#include "winds/winds_file.h"

class PlanDocument;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class TFormWinds : public QDialog {
  Q_OBJECT

 public:
  explicit TFormWinds(QWidget* parent = nullptr);
  ~TFormWinds() override;

  // Shows the window for the document's plan; on OK the proposed winds are
  // written into it as one change. True when a row changed.
  bool Execute(PlanDocument& document, const StationLocator& locate);

  QPushButton* ButtonOpen;
  QPlainTextEdit* MemoBulletin;
  QPushButton* ButtonReadText;
  QLineEdit* EditDepart;
  QLabel* LabelForecast;
  QTableWidget* GridLegs;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;

  const WindFill& Fill() const { return fill_; }
  // A forecast file was read in an earlier showing; the next one reads it
  // again and proposes its winds at once.
  bool HasForecast() const { return !forecast_path_.isEmpty(); }

 public slots:
  void ButtonOpenClick();
  void ButtonReadTextClick();
  void EditDepartChange();

 private:
  void Use(WindForecastLoad load, const QString& what);
  void Propose();
  void ShowFill();

  const Plan* plan_ = nullptr;
  StationLocator locate_;
  std::unique_ptr<WindSource> source_;
  WindFill fill_;
  QString forecast_path_;
};

// Opens the window held in `window` (made on first use) over `owner` for the
// document's plan, a bulletin's stations placed with the aviation data of
// File > Aviation Data Folder; true when rows changed.
bool ShowWindsAloft(QPointer<TFormWinds>& window, QWidget* owner, PlanDocument& document);

// The computed navigation log on screen, beside the main window: recomputed
// with every change of the plan, each checkpoint's fuel held against the
// pilot's reserve, and unsolved legs marked where they are.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <string>
#include <tuple>
#include <vector>

#include "plan/columns.h"
#include "plan/legs.h"
#include "plan/plan.h"

class QAction;
class QLabel;
class PlanDocument;
class QCheckBox;
class QDateTimeEdit;
class QSpinBox;
class QTableView;

// The leg table as rows: row 0 is the departure and row i the leg that ends
// at route row i, so a row number means the same checkpoint in both windows;
// the Total row comes last. Every figure is written as the printed log
// writes it.
class NavLogModel : public QAbstractTableModel {
 public:
  // The window's columns are the log's columns that have a width in it, in
  // the log's order.
  static int ColumnCount();
  static LogColumn ColumnAt(int column);
  // -1 for a column the window leaves out.
  static int ColumnOf(LogColumn column);

  static const QColor kBelowReserve;  // amber
  static const QColor kExhausted;     // red

  NavLogModel(PlanDocument& document, QObject* parent);

  // Follows the document's log: rows come and go, every cell is repainted.
  void Recompute();

  int TotalRow() const { return rows_ - 1; }
  // Legs of the log that could not be solved.
  int UnsolvedLegs() const;

  // The log as the window shows it, captions and departure row included.
  std::string Csv() const;

  QString CellText(int row, int column) const;
  // The cell carries a warning mark.
  bool Marked(int row, int column) const;
  // The rows that may hold a marked cell; every other row holds none.
  std::vector<int> RowsWithMarks() const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  int RowsWanted() const;
  QString ToolTip(int row, int column) const;
  // The route row's own cell under `column` holds text that is no number.
  bool NotANumberAt(int row, int column) const;
  // Route row 1 lacks the value the pre-print check asks for under `column`.
  bool MissingAt(int row, int column) const;
  QColor FuelColour(int row) const;

  const ::Plan& PlanNow() const;
  const NavLog& Log() const;

  PlanDocument& document_;
  int rows_ = 1;        // as the view last heard
  mutable QIcon mark_;  // made on first use: the style's icons are not free
};

class TFormNavLog : public QWidget {
  Q_OBJECT

 public:
  // A window of its own above `owner`, showing `document`.
  TFormNavLog(PlanDocument& document, QWidget* owner);

  QLabel* LabelTitle;
  QLabel* LabelCheck;  // the pre-print check's finding, when there is one
  QLabel* LabelReserve;
  QSpinBox* SpinReserve;
  QLabel* LabelReserveFuel;
  // The departure, UTC: it dates the daylight and times the arrival.
  QCheckBox* CheckDeparture;
  QDateTimeEdit* EditDeparture;
  QTableView* GridLog;
  QLabel* LabelSummary;
  QLabel* LabelFuelPlan;  // with performance figures: the fuel plan and what to watch
  QAction* Copy1;

  NavLogModel* Model() const { return model_; }

 public slots:
  // Everything shown follows the plan again.
  void PlanChanged();
  // The whole log as CSV on the clipboard, as halvix-navlog --csv writes it.
  void Copy1Click();
  void SpinReserveChanged(int minutes);
  void DepartureChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DocumentSelectionChanged();
  void OwnSelectionChanged();
  void WidenMarkedColumns();
  void ShowFuelPlan(const Plan& plan, const NavLog& log);

  PlanDocument& document_;
  NavLogModel* model_;
  // The marked cells and their texts when the columns were last widened.
  std::vector<std::tuple<int, int, QString>> widened_for_;
  bool syncing_ = false;  // a selection being mirrored must not echo back
};

// Shows the window held in `window`, made on the first Checkpoints > Navigation
// Log (so start-up never pays for it) and then placed below `owner`.
TFormNavLog* ShowNavigationLog(QPointer<TFormNavLog>& window, QWidget* owner,
                               PlanDocument& document);

// The airfield list of the plan.
#pragma once

#include <QAbstractTableModel>
#include <QPalette>

#include "forms/Formutil.h"
#include "plan/plan.h"

class PlanDocument;
class QLabel;
class QPushButton;
class QTreeView;

// The plan's airfields as a table: name, then the eight cells. The name can
// be edited in place.
class AirfieldModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit AirfieldModel(QObject* parent);

  void SetPlan(Plan* plan);  // null: an empty list
  Plan* plan() const { return plan_; }
  void Reset();  // the plan's list was replaced wholesale

  void Append(const AirfieldInfo& field);
  void Replace(int row, const AirfieldInfo& field);
  void Remove(int row);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  Plan* plan_ = nullptr;
};

class TFormFields : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormFields(QWidget* parent = nullptr);

  QTreeView* ListViewFields;
  QPushButton* ButtonAdd;
  QPushButton* ButtonEdit;
  QPushButton* ButtonDelete;
  QPushButton* ButtonDone;
  // Sunrise, sunset and civil twilight at the airfields the route places, on
  // the plan's departure date or else today.
  QLabel* LabelDaylight;

  void SetPlan(Plan* plan);
  void PlanReplaced();
  void ShowDaylight();

  // Index of the selected airfield, -1 when none.
  int SelectedRow() const;
  AirfieldModel* Model() const { return model_; }

 public slots:
  void ButtonAddClick();
  void ButtonEditClick();
  void ButtonDeleteClick();
  void ButtonDoneClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  AirfieldModel* model_;
  // The list's palette with and without a visible selection.
  QPalette selection_shown_;
  QPalette selection_hidden_;
};

extern TFormFields* FormFields;

// The airfield list of `document`, made on its first use as a child of
// `owner`; it follows the document when a plan replaces the one shown.
TFormFields* FieldsDialog(QWidget* owner, PlanDocument& document);

// The airfield list of the plan.
#pragma once

#include <QPalette>
#include <QPointer>

#include "forms/Formutil.h"
#include "plan/plan.h"

class AirfieldModel;
class PlanDocument;
class QLabel;
class QPushButton;
class QTreeView;
class TFormAddField;

class TFormFields : public HalvixDialog {
  Q_OBJECT
 public:
  // The airfields of `document`, which every change goes to.
  explicit TFormFields(PlanDocument& document, QWidget* parent = nullptr);

  QTreeView* ListViewFields;
  QPushButton* ButtonAdd;
  QPushButton* ButtonEdit;
  QPushButton* ButtonDelete;
  QPushButton* ButtonDone;
  // Sunrise, sunset and civil twilight at the airfields the route places, on
  // the plan's departure date or else today.
  QLabel* LabelDaylight;

  void ShowDaylight();

  // Index of the selected airfield, -1 when none.
  int SelectedRow() const;
  AirfieldModel* Model() const { return model_; }
  // The airfield dialog of Add and Edit, made on first use.
  TFormAddField* FormAddField();

 public slots:
  void ButtonAddClick();
  void ButtonEditClick();
  void ButtonDeleteClick();
  void ButtonDoneClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PlanDocument& document_;
  AirfieldModel* model_;
  QPointer<TFormAddField> add_field_;
  // The list's palette with and without a visible selection.
  QPalette selection_shown_;
  QPalette selection_hidden_;
};

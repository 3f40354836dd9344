#include "forms/Fpick.h"

#include <QListWidget>
#include <QPushButton>

#include "forms/Desktop.h"

TFormPickPlace::TFormPickPlace(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Choose"), 402, 241) {
  ListPlaces = new QListWidget(this);
  ListPlaces->setGeometry(8, 8, 385, 185);
  ButtonOk = AddButton(this, QStringLiteral("Ok"), 8, 208, 75, 25, &TFormPickPlace::ButtonOkClick);
  ButtonOk->setDefault(true);
  ButtonCancel = AddButton(this, QStringLiteral("Cancel"), 88, 208, 75, 25,
                           &TFormPickPlace::ButtonCancelClick);
  connect(ListPlaces, &QListWidget::itemDoubleClicked, this, &TFormPickPlace::ButtonOkClick);
  SetTabOrder({ListPlaces, ButtonOk, ButtonCancel});
  FitToTexts();
}

void TFormPickPlace::SetPlaces(const QStringList& places) {
  ListPlaces->clear();
  ListPlaces->addItems(places);
  if (!places.isEmpty()) ListPlaces->setCurrentRow(0);
}

int TFormPickPlace::Chosen() const {
  return ListPlaces->currentRow();
}

void TFormPickPlace::ButtonOkClick() {
  done(mrOk);
}

void TFormPickPlace::ButtonCancelClick() {
  done(mrCancel);
}

int PickPlace(QWidget* parent, const QString& caption, const QStringList& places) {
  TFormPickPlace form(parent);
  form.setWindowTitle(caption);
  form.SetPlaces(places);
  PlaceDialog(parent, &form);
  if (desktop().ExecModal(&form) != mrOk) return -1;
  return form.Chosen();
}

#include "forms/Fair.h"

#include <QLineEdit>
#include <QPushButton>

TFormAircraft::TFormAircraft(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Aircraft & Pilot Info"), 219, 186) {
  SetEscapeCancels(false);
  EditPilotName = AddEdit(this, QStringLiteral("Pilot's Name:"), 8, 24, 201, 21);
  EditNNumber = AddEdit(this, QStringLiteral("N-Number"), 8, 72, 97, 21);
  EditType = AddEdit(this, QStringLiteral("Type:"), 112, 72, 97, 21);
  EditGPH = AddEdit(this, QStringLiteral("Gallons Per Hour:"), 8, 120, 97, 21);
  EditFullFuel = AddEdit(this, QStringLiteral("Full Fuel Gallons:"), 112, 120, 97, 21);
  ButtonOk = AddButton(this, QStringLiteral("Ok"), 8, 152, 75, 25, &TFormAircraft::ButtonOkClick);
  ButtonCancel =
      AddButton(this, QStringLiteral("Cancel"), 88, 152, 75, 25, &TFormAircraft::ButtonCancelClick);

  // The aircraft changes more often than the pilot: its fields come first.
  SetTabOrder(
      {EditNNumber, EditType, EditGPH, EditFullFuel, EditPilotName, ButtonOk, ButtonCancel});

  for (QLineEdit* edit : {EditPilotName, EditNNumber, EditType}) LimitBytes(edit, kLongTextMax);

  FitToTexts();
}

void TFormAircraft::LoadAircraft(const AircraftInfo& aircraft) {
  EditPilotName->setText(QString::fromStdString(aircraft.pilotname));
  EditNNumber->setText(QString::fromStdString(aircraft.acnumber));
  EditType->setText(QString::fromStdString(aircraft.actype));
  EditGPH->setText(FormatFixed(aircraft.acgph, 1));
  EditFullFuel->setText(FormatFixed(aircraft.acfullfuel, 1));
}

void TFormAircraft::StoreAircraft(AircraftInfo& aircraft) const {
  aircraft.pilotname = EditPilotName->text().toStdString();
  aircraft.acnumber = EditNNumber->text().toStdString();
  aircraft.actype = EditType->text().toStdString();
  aircraft.acgph = ReadNumber(EditGPH->text());
  aircraft.acfullfuel = ReadNumber(EditFullFuel->text());
}

void TFormAircraft::ButtonOkClick() {
  done(mrOk);
}

void TFormAircraft::ButtonCancelClick() {
  done(mrCancel);
}

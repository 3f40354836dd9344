#include "forms/Fair.h"

#include <QLineEdit>
#include <QPushButton>

TFormAircraft* FormAircraft = nullptr;

TFormAircraft::TFormAircraft(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Aircraft & Pilot Info"), 219, 186) {
  SetEscapeCancels(false);
  EditPilotName = AddEdit(this, QStringLiteral("Pilot's Name:"), 8, 24, 201, 21);
  EditNNumber = AddEdit(this, QStringLiteral("N-Number"), 8, 72, 97, 21);
  EditType = AddEdit(this, QStringLiteral("Type:"), 112, 72, 97, 21);
  EditGPH = AddEdit(this, QStringLiteral("Gallons Per Hour:"), 8, 120, 97, 21);
  EditFullFuel = AddEdit(this, QStringLiteral("Full Fuel Gallons:"), 112, 120, 97, 21);
  ButtonOk = new QPushButton(QStringLiteral("Ok"), this);
  ButtonOk->setGeometry(8, 152, 75, 25);
  ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
  ButtonCancel->setGeometry(88, 152, 75, 25);

  // The aircraft changes more often than the pilot: its fields come first.
  QWidget* order[] = {EditNNumber,   EditType, EditGPH,     EditFullFuel,
                      EditPilotName, ButtonOk, ButtonCancel};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  for (QLineEdit* edit : {EditPilotName, EditNNumber, EditType}) LimitBytes(edit, kLongTextMax);

  connect(ButtonOk, &QPushButton::clicked, this, &TFormAircraft::ButtonOkClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TFormAircraft::ButtonCancelClick);
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

#include "forms/Fadd1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/aviation_fill.h"
#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "plan/plan.h"

TFormAddFirst::TFormAddFirst(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Add Depature Point"), 402, 177) {
  Label2 = AddLabel(this,
                    QStringLiteral("Enter the name of your departure location below. Usually "
                                   "this is the name of the airport that you are departing "
                                   "from. "),
                    8, 8, 393, 33, true);
  Label3 = AddLabel(this,
                    QStringLiteral(" You do not need to enter wind or nav data at this time; "
                                   "Navigational data will be entered beginning with the first "
                                   "enroute checkpoint."),
                    8, 48, 393, 33, true);
  EditDeparture = AddEdit(this, QStringLiteral("Depature Name:"), 8, 104, 161, 21, &Label1);
  ButtonOk = AddButton(this, QStringLiteral("Ok"), 8, 144, 75, 25, &TFormAddFirst::ButtonOkClick);
  ButtonOk->setDefault(true);
  ButtonCancel =
      AddButton(this, QStringLiteral("Cancel"), 88, 144, 75, 25, &TFormAddFirst::ButtonCancelClick);
  EditLookUp = AddEdit(this, QStringLiteral("Ident or Lat,Lon:"), 176, 104, 129, 21);
  ButtonLookUp = AddButton(this, QStringLiteral("Look Up"), 312, 102, 75, 25,
                           &TFormAddFirst::ButtonLookUpClick);
  SetTabOrder({EditDeparture, ButtonOk, ButtonCancel, EditLookUp, ButtonLookUp});

  // The name becomes the first row's caption, a 79-byte field of the log.
  LimitBytes(EditDeparture, kShortTextMax);

  FitToTexts();
}

void TFormAddFirst::ButtonOkClick() {
  if (!RequireText(EditDeparture, QStringLiteral("You must enter a departure name!"))) return;
  done(mrOk);
}

void TFormAddFirst::ButtonCancelClick() {
  done(mrCancel);
}

void TFormAddFirst::ResetLookUp() {
  EditLookUp->clear();
  position.reset();
  airport.reset();
  route_positions.clear();
}

void TFormAddFirst::ButtonLookUpClick() {
  const std::optional<Place> place =
      LookUpPlace(this, EditLookUp->text(), std::nullopt, route_positions);
  if (!place) return;
  position = place->position;
  airport = place->airport;
  if (EditDeparture->text().trimmed().isEmpty()) {
    const std::string name = place->airport ? AirportLabel(*place->airport) : place->ident;
    EditDeparture->setText(QString::fromStdString(CutUtf8(name, kShortTextMax)));
  }
}

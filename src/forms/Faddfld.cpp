#include "forms/Faddfld.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "data/aviation_fill.h"
#include "forms/Aviationdata.h"
#include "forms/Desktop.h"

namespace {

// The edits in the order of an airfield row's columns (name first).
std::array<QLineEdit*, kAirfieldColumns> Columns(const TFormAddField& form) {
  return {form.EditName,    form.EditElevation, form.EditTPA,    form.EditRunways, form.EditATC,
          form.EditTraffic, form.EditATIS,      form.EditGround, form.EditUnicom};
}

}  // namespace

TFormAddField::TFormAddField(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Add/Edit Field"), 264, 390) {
  EditName = AddEdit(this, QStringLiteral("Field Name:"), 8, 40, 249, 21);
  EditElevation = AddEdit(this, QStringLiteral("Elevation:"), 8, 88, 121, 21);
  EditTPA = AddEdit(this, QStringLiteral("Traffic Pattern Alt:"), 136, 88, 121, 21);
  EditRunways = AddEdit(this, QStringLiteral("Runways:"), 8, 136, 249, 21);
  Button1 = AddButton(this, QStringLiteral("Ok"), 8, 296, 75, 25, &TFormAddField::Button1Click);
  Button2 =
      AddButton(this, QStringLiteral("Cancel"), 88, 296, 75, 25, &TFormAddField::Button2Click);
  GroupBox1 = new QGroupBox(QStringLiteral("Radio Frequencies:"), this);
  GroupBox1->setGeometry(8, 168, 249, 121);
  EditATC = AddEdit(GroupBox1, QStringLiteral("ATC:"), 8, 36, 73, 21);
  EditTraffic = AddEdit(GroupBox1, QStringLiteral("CTAF/Tower:"), 88, 36, 73, 21);
  EditATIS = AddEdit(GroupBox1, QStringLiteral("ATIS:"), 168, 36, 73, 21);
  EditGround = AddEdit(GroupBox1, QStringLiteral("Ground:"), 8, 84, 73, 21);
  EditUnicom = AddEdit(GroupBox1, QStringLiteral("Unicom:"), 88, 84, 73, 21);
  ButtonReset =
      AddButton(this, QStringLiteral("Reset"), 168, 296, 75, 25, &TFormAddField::ButtonResetClick);

  ButtonLookUp = AddButton(this, QStringLiteral("Look Up"), 182, 12, 75, 23,
                           &TFormAddField::ButtonLookUpClick);
  LabelLookUp = AddLabel(this, QString(), 8, 328, 249, 57, true);

  SetTabOrder({EditName, EditElevation, EditTPA, EditRunways, Button1, Button2, EditATC,
               EditTraffic, EditATIS, EditGround, EditUnicom, ButtonReset, ButtonLookUp});

  // The plan file keeps at most 255 bytes of each value.
  for (QLineEdit* edit : Columns(*this)) LimitBytes(edit, kLongTextMax);

  FitToTexts();
}

void TFormAddField::ClearEdits() {
  for (QLineEdit* edit : Columns(*this)) edit->clear();
  LabelLookUp->clear();
}

void TFormAddField::FieldRowToDialog(const AirfieldInfo& field) {
  LabelLookUp->clear();
  const auto edits = Columns(*this);
  for (int k = 0; k < kAirfieldColumns; ++k) {
    edits[k]->setText(QString::fromStdString(AirfieldColumn(field, k)));
  }
}

void TFormAddField::DialogToFieldRow(AirfieldInfo& field) const {
  const auto edits = Columns(*this);
  for (int k = 0; k < kAirfieldColumns; ++k) {
    AirfieldColumn(field, k) = edits[k]->text().toStdString();
  }
}

bool HasFieldName(const AirfieldInfo& field) {
  return !QString::fromStdString(field.name).trimmed().isEmpty();
}

void TFormAddField::Button1Click() {
  // Blanks alone count as no name: a plan file keeps no blanks around a value.
  if (name_required && EditName->text().trimmed().isEmpty()) {
    desktop().MessageBox(this, QStringLiteral("You must enter a field name!"),
                         QStringLiteral("error"), MessageButtons::Ok);
    // Else the focus stays on Ok, where a blank presses it again.
    FocusEdit(EditName);
    return;
  }
  done(mrOk);
}

void TFormAddField::Button2Click() {
  done(mrCancel);
}

void TFormAddField::ButtonResetClick() {
  ClearEdits();
}

void TFormAddField::ButtonLookUpClick() {
  const std::optional<Airport> airport = LookUpAirport(this, EditName->text(), route_positions);
  if (!airport) return;
  std::vector<std::string> notes;
  FieldRowToDialog(AirfieldFromAirport(*airport, notes));
  QStringList lines;
  for (const std::string& note : notes) {
    // The airport's name leads every note; the dialog already shows it.
    const QString text = QString::fromStdString(note);
    lines << text.mid(text.indexOf(QStringLiteral(": ")) + 2);
  }
  LabelLookUp->setText(lines.join(QStringLiteral("; ")));
}

#include "forms/Fadd.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "forms/Viewdoc.h"
#include "plan/route_row.h"

namespace {

// The VOR cell is "freq/ bearing/ ident/ From" at its longest: the three
// edits share what the separators and "From" leave of the cell's 79 bytes.
constexpr std::size_t kVorOverhead = 6 + 4;
constexpr std::size_t kVorEditsBudget = kShortTextMax - kVorOverhead;

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TFormAdd::TFormAdd(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Add/Edit Checkpoint"), 522, 228) {
  Label1 = AddLabel(this,
                    QStringLiteral("Enter the information for the next waypoint below. You do not "
                                   "need to enter all data items -- just enter the information "
                                   "which has changed since the previous waypoint."),
                    8, 8, 497, 33, true);
  EditCheckpointName = AddEdit(this, QStringLiteral("Checkpoint Name:"), 8, 64, 121, 21);
  EditDistance = AddEdit(this, QStringLiteral("Distance (NM):"), 136, 64, 89, 21);
  EditTrueCourse = AddEdit(this, QStringLiteral("True Course:"), 232, 64, 89, 21);
  EditAltitude = AddEdit(this, QStringLiteral("Altitude:"), 328, 64, 89, 21);
  EditAirspeed = AddEdit(this, QStringLiteral("True Airspeed:"), 424, 64, 89, 21);

  GroupBox1 = new QGroupBox(QStringLiteral("Weather"), this);
  GroupBox1->setGeometry(8, 96, 233, 81);
  EditWindDir = AddEdit(GroupBox1, QStringLiteral("Wind Direction:"), 8, 48, 73, 21);
  EditWindSpeed = AddEdit(GroupBox1, QStringLiteral("Wind Speed:"), 88, 48, 65, 21);
  EditTemperature = AddEdit(GroupBox1, QStringLiteral("Temperature"), 160, 48, 65, 21);

  GroupBox2 = new QGroupBox(QStringLiteral("VOR Navigation"), this);
  GroupBox2->setGeometry(248, 96, 265, 81);
  EditFreq = AddEdit(GroupBox2, QStringLiteral("Freq:"), 8, 48, 57, 21);
  EditBear = AddEdit(GroupBox2, QStringLiteral("Bearing:"), 72, 48, 57, 21);
  EditIdent = AddEdit(GroupBox2, QStringLiteral("Ident:"), 136, 48, 57, 21);
  RadioButtonTo = new QRadioButton(QStringLiteral("To"), GroupBox2);
  RadioButtonTo->setGeometry(208, 40, 33, 17);
  RadioButtonFrom = new QRadioButton(QStringLiteral("From"), GroupBox2);
  RadioButtonFrom->setGeometry(208, 56, 49, 17);
  RadioButtonFrom->setChecked(true);
  // Qt gives the Tab stop of an exclusive pair to whichever button last had
  // the focus, checked or not; Tab must enter the pair at the checked one.
  for (QRadioButton* button : {RadioButtonTo, RadioButtonFrom}) {
    connect(button, &QRadioButton::toggled, this, &TFormAdd::KeepTabOnCheckedRadio);
  }
  KeepTabOnCheckedRadio();

  ButtonOk = AddButton(this, QStringLiteral("Ok"), 8, 192, 75, 25, &TFormAdd::ButtonOkClick);
  ButtonOk->setDefault(true);
  ButtonCancel =
      AddButton(this, QStringLiteral("Cancel"), 88, 192, 75, 25, &TFormAdd::ButtonCancelClick);
  ButtonHelp =
      AddButton(this, QStringLiteral("Help"), 168, 192, 75, 25, &TFormAdd::ButtonHelpClick);
  EditMagVar = AddEdit(this, QStringLiteral("Mag Variation:"), 424, 200, 89, 21);
  EditLookUp = AddEdit(this, QStringLiteral("Ident or Lat,Lon:"), 248, 200, 97, 21);
  ButtonLookUp =
      AddButton(this, QStringLiteral("Look Up"), 350, 198, 67, 25, &TFormAdd::ButtonLookUpClick);

  // The airspeed comes right after the row of leg values although it fills a
  // later cell; the variation, set once per area, comes last.
  SetTabOrder({EditCheckpointName, EditDistance, EditTrueCourse, EditAltitude, EditAirspeed,
               EditWindDir, EditWindSpeed, EditTemperature, EditFreq, EditBear, EditIdent,
               RadioButtonTo, RadioButtonFrom, ButtonOk, ButtonCancel, ButtonHelp, EditMagVar,
               EditLookUp, ButtonLookUp});

  LimitBytes(EditCheckpointName, kShortTextMax);
  QLineEdit* vor[] = {EditFreq, EditBear, EditIdent};
  for (QLineEdit* edit : vor) {
    LimitBytes(edit, [this, edit] {
      std::size_t others = 0;
      for (QLineEdit* other : {EditFreq, EditBear, EditIdent}) {
        if (other != edit) others += Utf8Bytes(other->text());
      }
      return others < kVorEditsBudget ? kVorEditsBudget - others : 0;
    });
  }

  FitToTexts();
}

void TFormAdd::KeepTabOnCheckedRadio() {
  for (QRadioButton* button : {RadioButtonTo, RadioButtonFrom}) {
    button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

void TFormAdd::ClearEdits() {
  for (QLineEdit* edit :
       {EditCheckpointName, EditDistance, EditTrueCourse, EditAltitude, EditWindDir, EditWindSpeed,
        EditTemperature, EditAirspeed, EditMagVar, EditFreq, EditBear, EditIdent, EditLookUp}) {
    edit->clear();
  }
  RadioButtonFrom->setChecked(true);
  position.reset();
  airport.reset();
  row_position.reset();
}

QLineEdit* TFormAdd::EditOf(RowNumber number) const {
  const std::pair<RowNumber, QLineEdit*> edits[] = {
      {&RowValues::distance_nm, EditDistance},      {&RowValues::true_course_deg, EditTrueCourse},
      {&RowValues::altitude_ft, EditAltitude},      {&RowValues::wind_from_deg, EditWindDir},
      {&RowValues::wind_speed_kt, EditWindSpeed},   {&RowValues::temperature_c, EditTemperature},
      {&RowValues::true_airspeed_kt, EditAirspeed}, {&RowValues::variation_deg, EditMagVar}};
  for (const auto& [typed, edit] : edits) {
    if (number != nullptr && typed == number) return edit;
  }
  return nullptr;
}

CheckpointDialogTexts TFormAdd::Texts() const {
  CheckpointDialogTexts t;
  t.EditCheckpointName = EditCheckpointName->text().toStdString();
  t.EditDistance = EditDistance->text().toStdString();
  t.EditTrueCourse = EditTrueCourse->text().toStdString();
  t.EditAltitude = EditAltitude->text().toStdString();
  t.EditWindDir = EditWindDir->text().toStdString();
  t.EditWindSpeed = EditWindSpeed->text().toStdString();
  t.EditTemperature = EditTemperature->text().toStdString();
  t.EditAirspeed = EditAirspeed->text().toStdString();
  t.EditMagVar = EditMagVar->text().toStdString();
  t.EditFreq = EditFreq->text().toStdString();
  t.EditBear = EditBear->text().toStdString();
  t.EditIdent = EditIdent->text().toStdString();
  t.RadioButtonTo = RadioButtonTo->isChecked();
  t.NoToFrom = !RadioButtonTo->isChecked() && !RadioButtonFrom->isChecked();
  return t;
}

void TFormAdd::SetTexts(const CheckpointDialogTexts& t) {
  EditLookUp->clear();
  position.reset();
  airport.reset();
  EditCheckpointName->setText(FromStd(t.EditCheckpointName));
  EditDistance->setText(FromStd(t.EditDistance));
  EditTrueCourse->setText(FromStd(t.EditTrueCourse));
  EditAltitude->setText(FromStd(t.EditAltitude));
  EditWindDir->setText(FromStd(t.EditWindDir));
  EditWindSpeed->setText(FromStd(t.EditWindSpeed));
  EditTemperature->setText(FromStd(t.EditTemperature));
  EditAirspeed->setText(FromStd(t.EditAirspeed));
  EditMagVar->setText(FromStd(t.EditMagVar));
  EditFreq->setText(FromStd(t.EditFreq));
  EditBear->setText(FromStd(t.EditBear));
  EditIdent->setText(FromStd(t.EditIdent));
  if (t.NoToFrom) {
    ClearToFrom();
  } else if (t.RadioButtonTo) {
    RadioButtonTo->setChecked(true);
  } else {
    RadioButtonFrom->setChecked(true);
  }
}

void TFormAdd::ClearToFrom() {
  // Radio buttons of one group never all go off by a click, so briefly not.
  for (QRadioButton* button : {RadioButtonTo, RadioButtonFrom}) {
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
  }
}

void TFormAdd::ButtonOkClick() {
  // Only emptiness is checked: the cells are kept as typed and read by the
  // computation, where text without digits simply counts as 0.
  if (!RequireText(EditCheckpointName, QStringLiteral("You must enter a checkpoint name!"))) return;
  if (!RequireText(EditDistance, QStringLiteral("You must enter a distance!"))) return;
  done(mrOk);
}

void TFormAdd::ButtonCancelClick() {
  done(mrCancel);
}

void TFormAdd::ButtonHelpClick() {
  ViewDocument(QStringLiteral("addcheck"), StartDirectory, false);
}

void TFormAdd::ButtonLookUpClick() {
  const std::optional<Place> place = LookUpPlace(this, EditLookUp->text(), previous_position);
  if (!place) return;
  // The VOR text the data filled where the checkpoint lay is not the pilot's.
  const std::optional<GeoPosition> was = position ? position : row_position;
  const QString vor_now = QString::fromStdString(ComposeVorCell(Texts()));
  const bool vor_filled = was && !vor_now.isEmpty() && vor_now == VorTextFor(this, *was);
  position = place->position;
  airport = place->airport;
  if (EditCheckpointName->text().trimmed().isEmpty()) {
    EditCheckpointName->setText(FromStd(CutUtf8(place->ident, kShortTextMax)));
  }
  if (previous_position) {
    const LegTexts leg = MeasureLegTexts(*previous_position, place->position);
    EditDistance->setText(leg.distance);
    EditTrueCourse->setText(leg.course);
    if (!leg.variation.isEmpty()) EditMagVar->setText(leg.variation);
  }
  // A VOR the pilot typed stays.
  if (!vor_filled &&
      (!EditFreq->text().isEmpty() || !EditBear->text().isEmpty() || !EditIdent->text().isEmpty()))
    return;
  const Checkpoint row =
      RowBuilder(std::string()).vor(VorTextFor(this, place->position).toStdString()).Build();
  CheckpointDialogTexts vor;
  RowToDialog(row, vor);
  EditFreq->setText(FromStd(vor.EditFreq));
  EditBear->setText(FromStd(vor.EditBear));
  EditIdent->setText(FromStd(vor.EditIdent));
  // At the VOR itself there is no radial and so no To or From, as the
  // command line writes it.
  if (vor.NoToFrom) {
    ClearToFrom();
  } else {
    RadioButtonFrom->setChecked(true);
  }
}

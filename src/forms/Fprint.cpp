#include "forms/Fprint.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "forms/Desktop.h"
#include "print/margins.h"

TFormPrintSettings::TFormPrintSettings(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Print Options"), 514, 313) {
  SetEscapeCancels(false);
  GroupBox1 = new QGroupBox(QStringLiteral("Navlog background Shading"), this);
  GroupBox1->setGeometry(8, 8, 497, 121);
  Label1 = AddLabel(GroupBox1,
                    QStringLiteral("Turning on the shading option will cause the background to "
                                   "alternate between light gray and white. It makes the nav log "
                                   "more readable. "),
                    8, 24, 481, 33, true);
  Label2 = AddLabel(GroupBox1,
                    QStringLiteral("Shading works well on continuous tone printers such as "
                                   "ink-jets and dye-sublimation printers, but does not look good "
                                   "on laser jet and dot matrix printers. You can try it both "
                                   "ways and see which you prefer..."),
                    8, 56, 481, 33, true);
  CheckBoxShade = new QCheckBox(QStringLiteral("Enable shading"), GroupBox1);
  CheckBoxShade->setGeometry(8, 96, 97, 17);

  ButtonOk =
      AddButton(this, QStringLiteral("Ok"), 8, 280, 75, 25, &TFormPrintSettings::ButtonOkClick);
  ButtonCancel = AddButton(this, QStringLiteral("Cancel"), 88, 280, 75, 25,
                           &TFormPrintSettings::ButtonCancelClick);

  GroupBox2 = new QGroupBox(QStringLiteral("Margins"), this);
  GroupBox2->setGeometry(8, 136, 497, 129);
  Label3 = AddLabel(GroupBox2,
                    QStringLiteral("Halvix needs as much space as it can get, so I suggest "
                                   "setting the margines to the MINIMUM values that your printer "
                                   "will tolerate. Most lasers that I have tried will function "
                                   "with all margins set to 0. "),
                    8, 24, 481, 33, true);
  Label4 = AddLabel(GroupBox2,
                    QStringLiteral("Margins are specified in INCHES. You may use fractions (0.1 "
                                   "= 1/10 inch)."),
                    8, 56, 349, 13);
  EditTop = AddEdit(GroupBox2, QStringLiteral("Top:"), 8, 96, 73, 21);
  EditLeft = AddEdit(GroupBox2, QStringLiteral("Left:"), 88, 96, 73, 21);
  EditBottom = AddEdit(GroupBox2, QStringLiteral("Bottom:"), 168, 96, 73, 21);
  EditRight = AddEdit(GroupBox2, QStringLiteral("Right:"), 248, 96, 73, 21);

  SetTabOrder({CheckBoxShade, ButtonOk, ButtonCancel, EditTop, EditLeft, EditBottom, EditRight});

  FitToTexts();
}

void TFormPrintSettings::LoadSettings(const PrintSettings& settings) {
  CheckBoxShade->setChecked(settings.enableshade != 0);
  EditTop->setText(FormatFixed(settings.topmargin, 2));
  EditLeft->setText(FormatFixed(settings.leftmargin, 2));
  EditBottom->setText(FormatFixed(settings.bottommargin, 2));
  EditRight->setText(FormatFixed(settings.rightmargin, 2));
}

void TFormPrintSettings::StoreSettings(PrintSettings& settings) const {
  settings.enableshade = CheckBoxShade->isChecked() ? 1 : 0;
  settings.topmargin = ReadNumber(EditTop->text());
  settings.bottommargin = ReadNumber(EditBottom->text());
  settings.leftmargin = ReadNumber(EditLeft->text());
  settings.rightmargin = ReadNumber(EditRight->text());
}

void TFormPrintSettings::ButtonOkClick() {
  // Margins typed in millimetres, or merely too wide, would print a log that
  // cannot be read.
  PrintSettings typed;
  StoreSettings(typed);
  const MarginCheck check = RefuseUnreadableMargins(this, typed);
  if (!check.refusal.empty()) {
    QLineEdit* edit = check.across ? EditLeft : EditTop;
    edit->setFocus();
    edit->selectAll();
    return;
  }
  done(mrOk);
}

void TFormPrintSettings::ButtonCancelClick() {
  done(mrCancel);
}

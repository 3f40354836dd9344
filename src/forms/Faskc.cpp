#include "forms/Faskc.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "forms/Fadd.h"
#include "forms/PlanDocument.h"
#include "plan/check.h"

TFormAskContinue::TFormAskContinue(QWidget* parent)
    : HalvixDialog(parent, QStringLiteral("Insufficient information to compute wind effects"), 555,
                   265) {
  // Closing by the frame is the only way out other than the three choices.
  SetEscapeCancels(false);
  LabelParam = AddLabel(this, QString(), 8, 8, 545, 20);
  QFont bold = font();
  bold.setBold(true);
  bold.setPixelSize(16);
  LabelParam->setFont(bold);
  LabelParam->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label1 = AddLabel(this,
                    QStringLiteral("In order to compute wind effects and compass headings, a "
                                   "certain minimal amount of information must be entered on "
                                   "your first enroute checkpoint. If this information is not "
                                   "provided, then wind effects, ground speed, ETEs, etc cannot "
                                   "be computed."),
                    8, 40, 537, 41, true);
  Label2 = AddLabel(this,
                    QStringLiteral("Halvix can continue and print out the navigation log without "
                                   "the information present, or you can go directly to the data "
                                   "item that needs to be filled in and try again."),
                    8, 88, 545, 33, true);
  Label3 = AddLabel(this,
                    QStringLiteral("If there is NO WIND (i.e. calm), then you should set the wind "
                                   "direction and velocity to zero. You must still enter a "
                                   "magnetic variation to correctly compute compass heading. "),
                    8, 120, 537, 33, true);
  Button1 = AddButton(this, QStringLiteral("Proceed without computing Wind effects"), 165, 168, 225,
                      25, &TFormAskContinue::Button1Click);
  Button2 = AddButton(this, QStringLiteral("Enter the missing information now"), 165, 200, 225, 25,
                      &TFormAskContinue::Button2Click);
  Button3 =
      AddButton(this, QStringLiteral("Cancel"), 165, 232, 225, 25, &TFormAskContinue::Button3Click);
  SetTabOrder({Button1, Button2, Button3});

  FitToTexts();
}

void TFormAskContinue::Button1Click() {
  done(mrYes);
}

void TFormAskContinue::Button2Click() {
  done(mrOk);
}

void TFormAskContinue::Button3Click() {
  done(mrNo);
}

namespace {

QLineEdit* EditFor(const TFormAdd& form, MissingItem item) {
  switch (item) {
    case MissingItem::TrueCourse:
      return form.EditTrueCourse;
    case MissingItem::WindDirection:
      return form.EditWindDir;
    case MissingItem::WindSpeed:
      return form.EditWindSpeed;
    case MissingItem::MagneticVariation:
      return form.EditMagVar;
    case MissingItem::None:
      break;
  }
  return nullptr;
}

}  // namespace

bool CheckRoute(PlanDocument& document, QWidget* owner, const CheckDialogs& dialogs) {
  const Plan& plan = document.plan();
  if (plan.route.size() < 2) {
    desktop().MessageBox(owner, QString::fromUtf8(kTooFewCheckpoints), QStringLiteral("error"),
                         MessageButtons::Ok);
    return false;
  }
  const MissingItem item = FindMissingItem(plan);
  if (item != MissingItem::None &&
      !AskMissingInfo(document, QString::fromUtf8(MissingItemName(item)),
                      EditFor(*dialogs.checkpoint(), item), owner, dialogs))
    return false;
  // A cell such as "abc" counts as 0: a leg of 0 NM, say, which the log
  // would print as if it were meant.
  const NotANumber found = FindNotANumber(plan);
  if (found.row < 0) return true;
  return desktop().MessageBox(
             owner, QString::fromStdString(NotANumberText(plan, found)) + "\nPrint anyway?",
             QStringLiteral("Confirm"), MessageButtons::YesNo) == mrYes;
}

bool AskMissingInfo(PlanDocument& document, const QString& item, QLineEdit* edit, QWidget* owner,
                    const CheckDialogs& dialogs) {
  const Plan& plan = document.plan();
  TFormAskContinue* prompt = dialogs.prompt();
  PlaceDialog(owner, prompt);
  prompt->LabelParam->setText(QStringLiteral("Missing Information: %1").arg(item));
  switch (desktop().ExecModal(prompt)) {
    case mrOk: {
      if (plan.route.size() < 2) return false;
      TFormAdd* dialog = dialogs.checkpoint();
      CheckpointDialogTexts texts;
      RowToDialog(plan.route[1], texts);
      dialog->SetTexts(texts);
      PlaceDialog(owner, dialog);
      // The caret waits in the value that is missing.
      if (edit != nullptr) dialog->FocusEdit(edit);
      if (desktop().ExecModal(dialog) == mrOk) {
        const CheckpointDialogTexts typed = dialog->Texts();
        document.Change(QStringLiteral("Edit Checkpoint"),
                        [&typed](Plan& edited) { DialogToRow(typed, edited.route[1]); });
      }
      // Nothing is printed now: the next Print checks the route again.
      return false;
    }
    case mrNo:
      return false;
    case mrYes:
    default:
      // Closed by its frame: the user did not ask to stop, so printing goes on.
      return true;
  }
}

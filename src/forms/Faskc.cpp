#include "forms/Faskc.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <vector>

#include "forms/Fadd.h"
#include "forms/PlanDocument.h"
#include "plan/check.h"
#include "plan/columns.h"
#include "plan/legs.h"

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
  // Beside the second choice, and only while a forecast can fill the winds.
  ButtonWinds = AddButton(this, QString::fromUtf8("Winds Aloft\u2026"), 398, 200, 110, 25,
                          &TFormAskContinue::ButtonWindsClick);
  ButtonWinds->hide();
  SetTabOrder({Button1, Button2, ButtonWinds, Button3});

  FitToTexts();
  title_font_ = LabelParam->font();
}

void TFormAskContinue::ShowMissing(const QString& text, bool offer_winds) {
  // One line in the large face when it fits, else two in a smaller one,
  // still above the explanation.
  QFont font = title_font_;
  LabelParam->setWordWrap(false);
  LabelParam->setFixedHeight(20);
  if (QFontMetrics(font).horizontalAdvance(text) > LabelParam->width()) {
    font.setPixelSize(12);
    LabelParam->setWordWrap(true);
    LabelParam->setFixedHeight(30);
  }
  LabelParam->setFont(font);
  LabelParam->setText(text);
  ButtonWinds->setVisible(offer_winds);
}

void TFormAskContinue::ButtonWindsClick() {
  done(mrWindsAloft);
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
  const LogColumnInfo* column = ColumnChecking(item);
  return column != nullptr ? form.EditOf(column->input) : nullptr;
}

}  // namespace

bool CheckRoute(PlanDocument& document, QWidget* owner, const CheckDialogs& dialogs) {
  const Plan& plan = document.plan();
  if (document.Log().too_few) {
    desktop().MessageBox(owner, QString::fromUtf8(kTooFewCheckpoints), QStringLiteral("error"),
                         MessageButtons::Ok);
    return false;
  }
  // Copied before any dialog runs: an edit made meanwhile replaces the log.
  const NotANumber found = document.Log().not_a_number;
  // Every missing value at once, so that one visit to the checkpoint dialog
  // mends them all.
  const std::vector<MissingItem> items = FindMissingItems(plan);
  if (!items.empty()) {
    QStringList names;
    bool winds = false;
    for (MissingItem item : items) {
      names << QString::fromUtf8(MissingItemName(item));
      winds = winds || item == MissingItem::WindDirection || item == MissingItem::WindSpeed;
    }
    const QString last = names.takeLast();
    const QString text = names.isEmpty() ? last : names.join(", ") + " and " + last;
    if (!AskMissingInfo(document, text, EditFor(*dialogs.checkpoint(), items.front()), owner,
                        dialogs, winds))
      return false;
  }
  // A cell such as "abc" counts as 0: a leg of 0 NM, say, which the log
  // would print as if it were meant.
  if (found.row < 0) return true;
  return desktop().MessageBox(
             owner, QString::fromStdString(NotANumberText(plan, found)) + "\nPrint anyway?",
             QStringLiteral("Confirm"), MessageButtons::YesNo) == mrYes;
}

bool AskMissingInfo(PlanDocument& document, const QString& item, QLineEdit* edit, QWidget* owner,
                    const CheckDialogs& dialogs, bool winds_missing) {
  const Plan& plan = document.plan();
  TFormAskContinue* prompt = dialogs.prompt();
  PlaceDialog(owner, prompt);
  const bool offer_winds = winds_missing && dialogs.forecast_at_hand &&
                           dialogs.forecast_at_hand() && dialogs.winds_aloft;
  prompt->ShowMissing(QStringLiteral("Missing Information: %1").arg(item), offer_winds);
  switch (desktop().ExecModal(prompt)) {
    case mrWindsAloft:
      dialogs.winds_aloft();
      // As after the checkpoint dialog: the next Print checks again.
      return false;
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

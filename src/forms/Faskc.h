// The pre-print check of the first leg and the prompt for a missing value.
#pragma once

#include <functional>

#include "forms/Formutil.h"
#include "plan/plan.h"

class PlanDocument;
class TFormAdd;
class QLabel;
class QLineEdit;
class QPushButton;

class TFormAskContinue : public HalvixDialog {
  Q_OBJECT
 public:
  explicit TFormAskContinue(QWidget* parent = nullptr);

  QLabel* LabelParam;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QPushButton* Button1;  // print anyway: mrYes
  QPushButton* Button2;  // fill in the value now: mrOk
  QPushButton* Button3;  // cancel: mrNo

 public slots:
  void Button1Click();
  void Button2Click();
  void Button3Click();
};

// The dialogs the check may show, each made when it is first asked for.
struct CheckDialogs {
  std::function<TFormAskContinue*()> prompt;
  std::function<TFormAdd*()> checkpoint;
};

// True when printing may go on. Needs two rows; when the first leg lacks
// course, wind or variation, asks the user (AskMissingInfo); when a number
// cell holds no number, asks whether to print it counted as 0. `owner` is
// the window the dialogs are placed over.
bool CheckRoute(PlanDocument& document, QWidget* owner, const CheckDialogs& dialogs);

// Shows the prompt for `item`; the user prints anyway (true), cancels (false)
// or edits route row 1 in the checkpoint dialog with the caret in `edit`
// (false: the user prints again once the value is there), one change of the
// document.
bool AskMissingInfo(PlanDocument& document, const QString& item, QLineEdit* edit, QWidget* owner,
                    const CheckDialogs& dialogs);

// The pre-print check of the first leg and the prompt for a missing value.
#pragma once

#include <QFont>
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
  QPushButton* Button1;      // print anyway: mrYes
  QPushButton* Button2;      // fill in the value now: mrOk
  QPushButton* Button3;      // cancel: mrNo
  QPushButton* ButtonWinds;  // fill the winds from the forecast: mrWindsAloft

  // "Missing Information: ..." in LabelParam, and Winds Aloft offered or not.
  void ShowMissing(const QString& text, bool offer_winds);

 public slots:
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void ButtonWindsClick();

 private:
  QFont title_font_;
};

// The prompt's result when the pilot asks for Winds Aloft.
constexpr int mrWindsAloft = 8;

// The dialogs the check may show, each made when it is first asked for.
struct CheckDialogs {
  std::function<TFormAskContinue*()> prompt;
  std::function<TFormAdd*()> checkpoint;
  // Whether a forecast read earlier can fill missing winds, and the window
  // that fills them; either may be empty.
  std::function<bool()> forecast_at_hand;
  std::function<void()> winds_aloft;
};

// True when printing may go on. Needs two rows; when the first leg lacks
// course, wind, variation or airspeed, asks the user once, naming them all
// (AskMissingInfo); when a number
// cell holds no number, asks whether to print it counted as 0. `owner` is
// the window the dialogs are placed over.
bool CheckRoute(PlanDocument& document, QWidget* owner, const CheckDialogs& dialogs);

// Shows the prompt for `item`; the user prints anyway (true), cancels (false)
// or edits route row 1 in the checkpoint dialog with the caret in `edit`
// (false: the user prints again once the value is there), one change of the
// document. With `winds_missing` and a forecast at hand, Winds Aloft is
// offered as well (false, as for the dialog).
bool AskMissingInfo(PlanDocument& document, const QString& item, QLineEdit* edit, QWidget* owner,
                    const CheckDialogs& dialogs, bool winds_missing = false);

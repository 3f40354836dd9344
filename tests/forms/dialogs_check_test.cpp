// The pre-print check of the first leg and the missing-information prompt.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "ScriptedDesktop.h"
#include "forms/Fadd.h"
#include "forms/Faskc.h"
#include "forms/PlanDocument.h"
#include "plan/route_row.h"

namespace {

class PrePrintCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { AddRow(plan_, RowBuilder("Home")); }

  // The check of the plan built so far, opened in the document on the first call.
  bool Check() {
    if (!opened_) document_.Replace(plan_);
    opened_ = true;
    return CheckRoute(document_, &owner_,
                      {[this] { return &ask_; }, [this] { return &add_; }, nullptr, nullptr});
  }
  const Plan& Shown() const { return document_.plan(); }

  void AddLeg(const std::string& course, const std::string& winddir, const std::string& windvel,
              const std::string& var) {
    CheckpointDialogTexts t;
    t.EditCheckpointName = "Leg" + std::to_string(plan_.route.size());
    t.EditDistance = "20";
    t.EditTrueCourse = course;
    t.EditWindDir = winddir;
    t.EditWindSpeed = windvel;
    t.EditMagVar = var;
    t.EditAirspeed = "100";
    plan_.route.emplace_back();
    DialogToRow(t, plan_.route.back());
  }

  // Answers the prompt with `button` and records what it showed.
  void AnswerPrompt(void (TFormAskContinue::*button)()) {
    desk_.dialog_answers.push_back([this, button](QDialog* dialog) {
      prompt_text_ = static_cast<TFormAskContinue*>(dialog)->LabelParam->text();
      (static_cast<TFormAskContinue*>(dialog)->*button)();
      return dialog->result();
    });
  }

  ScriptedDesktop desk_;
  Plan plan_;
  PlanDocument document_;
  bool opened_ = false;
  TFormAdd add_;
  TFormAskContinue ask_;
  QWidget owner_;
  QString prompt_text_;
};

TEST_F(PrePrintCheckTest, FewerThanTwoRowsIsRefused) {
  desk_.message_answers = {mrOk};
  EXPECT_FALSE(Check());
  ASSERT_EQ(desk_.messages.size(), 1u);
  EXPECT_EQ(desk_.messages[0].text,
            "You must have at least two checkpoints before computing the route");
  EXPECT_EQ(desk_.messages[0].caption, "error");
  EXPECT_EQ(desk_.messages[0].buttons, MessageButtons::Ok);
  EXPECT_TRUE(desk_.shown_dialogs.empty());
}

TEST_F(PrePrintCheckTest, ACompleteFirstLegPassesWithoutAQuestion) {
  AddLeg("90", "0", "0", "-3");
  EXPECT_TRUE(Check());
  EXPECT_TRUE(desk_.shown_dialogs.empty());
  EXPECT_TRUE(desk_.messages.empty());
}

TEST_F(PrePrintCheckTest, ProceedPrintsAndCancelStops) {
  AddLeg("", "", "10", "3");
  AddLeg("90", "270", "10", "3");
  AnswerPrompt(&TFormAskContinue::Button1Click);
  EXPECT_TRUE(Check());
  EXPECT_EQ(prompt_text_, "Missing Information: True Course and Predicted Wind Direction");

  AnswerPrompt(&TFormAskContinue::Button3Click);
  EXPECT_FALSE(Check());
  EXPECT_FALSE(document_.IsModified());
  EXPECT_EQ(desk_.shown_dialogs.size(), 2u);
}

TEST_F(PrePrintCheckTest, EveryMissingValueIsNamedAtOnceAirspeedIncluded) {
  AddLeg("", "", "", "");
  plan_.route[1].subitems[kCellTas].clear();
  AnswerPrompt(&TFormAskContinue::Button3Click);
  EXPECT_FALSE(Check());
  EXPECT_EQ(prompt_text_,
            "Missing Information: True Course, Predicted Wind Direction, Predicted Wind Speed, "
            "Magnetic Variation and True Airspeed");
  // It is read whole: wrapped within the window, above the explanation.
  EXPECT_LE(ask_.LabelParam->sizeHint().width(), ask_.LabelParam->width());
  EXPECT_LE(ask_.LabelParam->geometry().bottom(), ask_.Label1->geometry().top());
  EXPECT_TRUE(ask_.ButtonWinds->isHidden());  // no forecast at hand
}

TEST_F(PrePrintCheckTest, ClosingThePromptByItsFrameGoesOnToPrint) {
  AddLeg("90", "270", "", "3");
  desk_.dialog_answers.push_back([](QDialog* dialog) {
    dialog->show();
    dialog->close();
    return dialog->result();
  });
  EXPECT_TRUE(Check());
  EXPECT_EQ(ask_.LabelParam->text(), "Missing Information: Predicted Wind Speed");
}

TEST_F(PrePrintCheckTest, VariationOfTheDepartureRowDoesNotCount) {
  plan_.route[0].subitems[kCellMagVar] = "5";
  AddLeg("90", "270", "10", "");
  AnswerPrompt(&TFormAskContinue::Button3Click);
  EXPECT_FALSE(Check());
  EXPECT_EQ(prompt_text_, "Missing Information: Magnetic Variation");
}

TEST_F(PrePrintCheckTest, EnteringTheValueNowEditsRowOneAndStops) {
  AddLeg("90", "", "10", "3");
  AddLeg("120", "", "", "");
  AnswerPrompt(&TFormAskContinue::Button2Click);
  QString shown_name;
  QWidget* focus = nullptr;
  desk_.dialog_answers.push_back([&](QDialog* dialog) {
    auto* form = static_cast<TFormAdd*>(dialog);
    shown_name = form->EditCheckpointName->text();
    focus = form->focusWidget();
    form->EditWindDir->setText("250");
    form->ButtonOkClick();
    return form->result();
  });
  EXPECT_FALSE(Check());
  EXPECT_EQ(prompt_text_, "Missing Information: Predicted Wind Direction");
  ASSERT_EQ(desk_.shown_dialogs.size(), 2u);
  EXPECT_EQ(desk_.shown_dialogs[1], &add_);
  EXPECT_EQ(shown_name, "Leg1");
  EXPECT_EQ(focus, add_.EditWindDir);
  EXPECT_EQ(Shown().route[1].SubItem(kCellWindDir), "250");
  EXPECT_EQ(Shown().route[1].SubItem(kCellCourse), "90");
  EXPECT_EQ(Shown().route[2].SubItem(kCellCourse), "120");
  EXPECT_TRUE(document_.IsModified());

  // Filled in: the next Print passes.
  EXPECT_TRUE(Check());
}

TEST_F(PrePrintCheckTest, CancellingTheCheckpointDialogChangesNothing) {
  AddLeg("90", "270", "10", "");
  AnswerPrompt(&TFormAskContinue::Button2Click);
  desk_.dialog_answers.push_back([](QDialog* dialog) {
    static_cast<TFormAdd*>(dialog)->EditMagVar->setText("7");
    static_cast<TFormAdd*>(dialog)->ButtonCancelClick();
    return dialog->result();
  });
  const Checkpoint before = plan_.route[1];
  EXPECT_FALSE(Check());
  EXPECT_EQ(Shown().route[1].subitems, before.subitems);
  EXPECT_FALSE(document_.IsModified());
}

TEST_F(PrePrintCheckTest, PromptLayoutAndResults) {
  EXPECT_EQ(ask_.windowTitle(), "Insufficient information to compute wind effects");
  EXPECT_EQ(ask_.size(), QSize(555, 265));
  EXPECT_EQ(ask_.Button1->text(), "Proceed without computing Wind effects");
  EXPECT_EQ(ask_.Button2->geometry(), QRect(165, 200, 225, 25));
  EXPECT_TRUE(ask_.LabelParam->font().bold());
  ask_.Button1Click();
  EXPECT_EQ(ask_.result(), mrYes);
  ask_.Button2Click();
  EXPECT_EQ(ask_.result(), mrOk);
  ask_.Button3Click();
  EXPECT_EQ(ask_.result(), mrNo);
}

}  // namespace

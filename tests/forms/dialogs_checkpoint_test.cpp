// The checkpoint and departure dialogs: OK checks, transfers, limits, closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUrl>

#include "DialogsTestUtil.h"
#include "ScriptedDesktop.h"
#include "forms/Fadd.h"
#include "forms/Fadd1.h"
#include "forms/Viewdoc.h"

namespace {

TEST(CheckpointDialogTest, OkDemandsANameThenADistance) {
  ScriptedDesktop desk;
  TFormAdd form;
  form.ClearEdits();
  desk.message_answers = {mrOk, mrOk};

  form.ButtonOkClick();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text, "You must enter a checkpoint name!");
  EXPECT_EQ(desk.messages[0].caption, "error");
  EXPECT_EQ(desk.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(form.result(), mrNone);

  form.EditCheckpointName->setText(" ");  // blanks are a name
  form.ButtonOkClick();
  ASSERT_EQ(desk.messages.size(), 2u);
  EXPECT_EQ(desk.messages[1].text, "You must enter a distance!");
  EXPECT_EQ(desk.messages[1].caption, "error");
  EXPECT_EQ(form.result(), mrNone);

  form.EditDistance->setText("abc");  // not parsed here
  form.ButtonOkClick();
  EXPECT_EQ(desk.messages.size(), 2u);
  EXPECT_EQ(form.result(), mrOk);
}

TEST(CheckpointDialogTest, ClearEditsEmptiesEverythingAndSelectsFrom) {
  TFormAdd form;
  CheckpointDialogTexts t;
  t.EditCheckpointName = "Lake";
  t.EditMagVar = "-3";
  t.EditFreq = "112.3";
  t.RadioButtonTo = true;
  form.SetTexts(t);
  form.ClearEdits();
  const CheckpointDialogTexts cleared = form.Texts();
  for (const std::string* text :
       {&cleared.EditCheckpointName, &cleared.EditDistance, &cleared.EditTrueCourse,
        &cleared.EditAltitude, &cleared.EditWindDir, &cleared.EditWindSpeed,
        &cleared.EditTemperature, &cleared.EditAirspeed, &cleared.EditMagVar, &cleared.EditFreq,
        &cleared.EditBear, &cleared.EditIdent}) {
    EXPECT_TRUE(text->empty());
  }
  EXPECT_FALSE(form.RadioButtonTo->isChecked());
  EXPECT_TRUE(form.RadioButtonFrom->isChecked());
}

TEST(CheckpointDialogTest, EditsReachTheirOwnCells) {
  TFormAdd form;
  const QString values[] = {"Dam", "12.7", "270T", "4500", "310", "25", "-5", "110", "-3"};
  QLineEdit* edits[] = {form.EditCheckpointName, form.EditDistance, form.EditTrueCourse,
                        form.EditAltitude,       form.EditWindDir,  form.EditWindSpeed,
                        form.EditTemperature,    form.EditAirspeed, form.EditMagVar};
  for (std::size_t i = 0; i < std::size(edits); ++i) edits[i]->setText(values[i]);
  Checkpoint row;
  DialogToRow(form.Texts(), row);
  EXPECT_EQ(row.caption, "Dam");
  ASSERT_EQ(row.subitems.size(), 9u);
  for (int cell = kCellDist; cell <= kCellMagVar; ++cell) {
    EXPECT_EQ(row.SubItem(cell), values[cell + 1].toStdString()) << "cell " << cell;
  }
  EXPECT_EQ(row.SubItem(kCellVor), "");
}

TEST(CheckpointDialogTest, VorToFromRoundTrip) {
  TFormAdd form;
  form.ClearEdits();
  form.EditCheckpointName->setText("Tower");
  form.EditDistance->setText("10");
  form.EditFreq->setText("112.3");
  form.EditBear->setText("090");
  form.EditIdent->setText("ABC");
  form.RadioButtonTo->setChecked(true);
  Checkpoint row;
  DialogToRow(form.Texts(), row);
  EXPECT_EQ(row.SubItem(kCellVor), "112.3/ 090/ ABC/ To");

  form.ClearEdits();
  CheckpointDialogTexts back;
  RowToDialog(row, back);
  form.SetTexts(back);
  EXPECT_EQ(form.EditFreq->text(), "112.3");
  EXPECT_EQ(form.EditBear->text(), "090");
  EXPECT_EQ(form.EditIdent->text(), "ABC");
  EXPECT_TRUE(form.RadioButtonTo->isChecked());
  EXPECT_FALSE(form.RadioButtonFrom->isChecked());

  // An empty frequency keeps its place; a fourth part in capitals still means To.
  row.subitems[kCellVor] = "/ 090/ ABC/  TO ";
  RowToDialog(row, back);
  form.SetTexts(back);
  EXPECT_EQ(form.EditFreq->text(), "");
  EXPECT_EQ(form.EditBear->text(), "090");
  EXPECT_TRUE(form.RadioButtonTo->isChecked());

  // To with no VOR data stores nothing, so the row comes back as From.
  form.ClearEdits();
  form.RadioButtonTo->setChecked(true);
  DialogToRow(form.Texts(), row);
  EXPECT_EQ(row.SubItem(kCellVor), "");
  RowToDialog(row, back);
  form.SetTexts(back);
  EXPECT_TRUE(form.RadioButtonFrom->isChecked());
}

TEST(CheckpointDialogTest, NameStaysWithin79BytesWithoutSplittingACharacter) {
  TFormAdd form;
  form.ClearEdits();
  form.EditCheckpointName->setText(QString(78, 'a'));
  Type(form.EditCheckpointName, QString::fromUtf8("ü"));  // would make 80 bytes
  EXPECT_EQ(form.EditCheckpointName->text(), QString(78, 'a'));
  Type(form.EditCheckpointName, "b");
  EXPECT_EQ(Utf8Bytes(form.EditCheckpointName->text()), kShortTextMax);
}

TEST(CheckpointDialogTest, ComposedVorCellStaysWithin79Bytes) {
  TFormAdd form;
  form.ClearEdits();
  form.EditFreq->setText(QString(30, '1'));
  form.EditBear->setText(QString(30, '2'));
  for (int i = 0; i < 20; ++i) Type(form.EditIdent, QString::fromUtf8("Ж"));
  form.EditCheckpointName->setText("x");
  Checkpoint row;
  DialogToRow(form.Texts(), row);
  const std::string& vor = row.SubItem(kCellVor);
  EXPECT_LE(vor.size(), kShortTextMax);
  EXPECT_GE(vor.size(), kShortTextMax - 1);  // filled up to the last whole character
  EXPECT_EQ(QString::fromStdString(vor).toStdString(), vor);  // still valid UTF-8
  EXPECT_TRUE(form.EditIdent->text().startsWith(QString::fromUtf8("ЖЖЖЖ")));
}

TEST(CheckpointDialogTest, HelpOpensTheCheckpointManualFromTheStartDirectory) {
  ScriptedDesktop desk;
  QTemporaryDir dir;
  QFile page(dir.filePath("addcheck.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.close();
  const QString saved = StartDirectory;
  StartDirectory = dir.path();
  TFormAdd form;
  form.ButtonHelpClick();
  StartDirectory = saved;
  ASSERT_EQ(desk.opened_urls.size(), 1u);
  EXPECT_EQ(desk.opened_urls[0], QUrl::fromLocalFile(dir.filePath("addcheck.html")).toString());
  EXPECT_EQ(form.result(), mrNone);
}

TEST(CheckpointDialogTest, FrameEscapeAndCancelAllGiveCancel) {
  TFormAdd form;
  form.show();
  form.close();
  EXPECT_EQ(form.result(), mrCancel);

  form.show();
  form.setResult(mrNone);
  PressKey(&form, Qt::Key_Escape);
  EXPECT_EQ(form.result(), mrCancel);
  EXPECT_FALSE(form.isVisible());

  form.show();
  form.setResult(mrNone);
  form.ButtonCancelClick();
  EXPECT_EQ(form.result(), mrCancel);
}

TEST(CheckpointDialogTest, LayoutAndTabOrder) {
  TFormAdd form;
  EXPECT_EQ(form.windowTitle(), "Add/Edit Checkpoint");
  EXPECT_EQ(form.size(), QSize(522, 228));
  EXPECT_EQ(form.EditMagVar->geometry(), QRect(424, 200, 89, 21));
  EXPECT_EQ(form.EditWindSpeed->parentWidget(), static_cast<QWidget*>(form.GroupBox1));
  EXPECT_EQ(form.EditWindSpeed->geometry(), QRect(88, 48, 65, 21));
  EXPECT_TRUE(form.ButtonOk->isDefault());
  // Airspeed follows altitude; the variation comes after Help.
  EXPECT_EQ(NextTabStop(form.EditAltitude), form.EditAirspeed);
  EXPECT_EQ(NextTabStop(form.EditAirspeed), form.EditWindDir);
  EXPECT_EQ(NextTabStop(form.ButtonHelp), form.EditMagVar);
}

TEST(CheckpointDialogTest, TabEntersTheToFromPairAtTheCheckedButton) {
  TFormAdd form;
  form.show();
  // Last time the user tabbed onto "To"; this time the dialog was emptied,
  // which selects "From".
  form.RadioButtonTo->setChecked(true);
  QFocusEvent tabbed_in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(form.RadioButtonTo, &tabbed_in);
  form.ClearEdits();

  form.EditIdent->setFocus();
  PressKey(form.EditIdent, Qt::Key_Tab);
  EXPECT_EQ(form.focusWidget(), form.RadioButtonFrom);
  PressKey(form.RadioButtonFrom, Qt::Key_Tab);
  EXPECT_EQ(form.focusWidget(), form.ButtonOk);

  // Backwards alike, after the choice changed to "To".
  form.RadioButtonTo->setChecked(true);
  QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
  QApplication::sendEvent(form.ButtonOk, &backtab);
  EXPECT_EQ(form.focusWidget(), form.RadioButtonTo);
  QApplication::sendEvent(form.RadioButtonTo, &backtab);
  EXPECT_EQ(form.focusWidget(), form.EditIdent);
}

TEST(DepartureDialogTest, OkDemandsAName) {
  ScriptedDesktop desk;
  TFormAddFirst form;
  EXPECT_EQ(form.windowTitle(), "Add Depature Point");
  EXPECT_EQ(form.Label1->text(), "Depature Name:");
  desk.message_answers = {mrOk};
  form.ButtonOkClick();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text, "You must enter a departure name!");
  EXPECT_EQ(desk.messages[0].caption, "error");
  EXPECT_EQ(form.result(), mrNone);
  form.EditDeparture->setText("Home Field");
  form.ButtonOkClick();
  EXPECT_EQ(form.result(), mrOk);

  form.show();
  form.close();
  EXPECT_EQ(form.result(), mrCancel);
}

}  // namespace

// The aircraft and print options dialogs: what they show and what they store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "DialogsTestUtil.h"
#include "ScriptedDesktop.h"
#include "forms/Fair.h"
#include "forms/Fprint.h"
#include "forms/Fwb.h"

namespace {

TEST(AircraftDialogTest, ShowsFuelWithOneDecimalAndStoresTextsAsTyped) {
  TFormAircraft form;
  AircraftInfo info;
  info.pilotname = "Sam Flyer";
  info.acnumber = "N4711";
  info.actype = "PA28";
  info.acgph = 9;
  info.acfullfuel = 38;
  form.LoadAircraft(info);
  EXPECT_EQ(form.EditPilotName->text(), "Sam Flyer");
  EXPECT_EQ(form.EditNNumber->text(), "N4711");
  EXPECT_EQ(form.EditType->text(), "PA28");
  EXPECT_EQ(form.EditGPH->text(), "9.0");
  EXPECT_EQ(form.EditFullFuel->text(), "38.0");

  // A confirmed dialog rounds the fuel through its one decimal.
  info.acgph = 8.76;
  form.LoadAircraft(info);
  AircraftInfo stored;
  form.StoreAircraft(stored);
  EXPECT_DOUBLE_EQ(stored.acgph, 8.8);

  form.EditPilotName->setText("  Lee  ");
  form.EditGPH->setText("abc");
  form.EditFullFuel->setText("1/2");
  form.StoreAircraft(stored);
  EXPECT_EQ(stored.pilotname, "  Lee  ");
  EXPECT_DOUBLE_EQ(stored.acgph, 0.0);
  EXPECT_DOUBLE_EQ(stored.acfullfuel, 1.0);
}

TEST(AircraftDialogTest, NoDefaultOrCancelKeyAndFrameGivesCancel) {
  TFormAircraft form;
  EXPECT_EQ(form.windowTitle(), "Aircraft & Pilot Info");
  EXPECT_EQ(form.size(), QSize(219, 186));
  EXPECT_FALSE(form.ButtonOk->isDefault());
  form.show();
  PressKey(&form, Qt::Key_Escape);
  EXPECT_TRUE(form.isVisible());
  form.close();
  EXPECT_EQ(form.result(), mrCancel);
  // The N-number is first in tab order, the pilot's name last before the buttons.
  EXPECT_EQ(NextTabStop(form.EditFullFuel), form.EditPilotName);
  EXPECT_EQ(NextTabStop(form.EditPilotName), form.ButtonOk);
}

TEST(PrintOptionsDialogTest, ShowsMarginsWithTwoDecimalsAndStoresEachInItsPlace) {
  TFormPrintSettings form;
  PrintSettings settings;
  settings.enableshade = 5;
  settings.topmargin = 0.1;
  settings.leftmargin = 0.25;
  settings.bottommargin = 1;
  settings.rightmargin = 0.125;
  form.LoadSettings(settings);
  EXPECT_TRUE(form.CheckBoxShade->isChecked());
  EXPECT_EQ(form.EditTop->text(), "0.10");
  EXPECT_EQ(form.EditLeft->text(), "0.25");
  EXPECT_EQ(form.EditBottom->text(), "1.00");
  EXPECT_EQ(form.EditRight->text(), "0.12");

  PrintSettings stored;
  form.StoreSettings(stored);
  EXPECT_EQ(stored.enableshade, 1);
  EXPECT_DOUBLE_EQ(stored.topmargin, 0.1);
  EXPECT_DOUBLE_EQ(stored.leftmargin, 0.25);
  EXPECT_DOUBLE_EQ(stored.bottommargin, 1.0);
  EXPECT_DOUBLE_EQ(stored.rightmargin, 0.12);

  form.CheckBoxShade->setChecked(false);
  form.EditTop->setText("1/2");
  form.EditLeft->setText("0,5");
  form.EditBottom->setText("-0.3");
  form.EditRight->setText("x");
  form.StoreSettings(stored);
  EXPECT_EQ(stored.enableshade, 0);
  EXPECT_DOUBLE_EQ(stored.topmargin, 1.0);
  EXPECT_DOUBLE_EQ(stored.leftmargin, 0.0);
  EXPECT_DOUBLE_EQ(stored.bottommargin, -0.3);
  EXPECT_DOUBLE_EQ(stored.rightmargin, 0.0);
}

TEST(PrintOptionsDialogTest, MarginsThatLeaveTheLogNoRoomAreRefused) {
  ScriptedDesktop desk;
  TFormPrintSettings form;
  form.show();
  // Millimetres typed as inches.
  form.EditLeft->setText("5");
  form.EditRight->setText("5");
  form.EditTop->setText("6");
  desk.message_answers = {mrOk};
  form.setResult(mrNone);
  form.ButtonOkClick();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].caption, "error");
  EXPECT_TRUE(desk.messages[0].text.contains("left and right margins may add up to"));
  EXPECT_TRUE(desk.messages[0].text.contains("top and bottom margins may add up to"));
  EXPECT_EQ(form.result(), mrNone) << "the dialog stays open";
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.focusWidget(), form.EditLeft);

  // An inch all round still leaves room on letter and A4.
  for (QLineEdit* edit : {form.EditLeft, form.EditRight, form.EditTop, form.EditBottom}) {
    edit->setText("1.00");
  }
  form.ButtonOkClick();
  EXPECT_EQ(form.result(), mrOk);
  EXPECT_EQ(desk.messages.size(), 1u);
}

TEST(PrintOptionsDialogTest, ButtonsAndFrame) {
  TFormPrintSettings form;
  EXPECT_EQ(form.windowTitle(), "Print Options");
  // Drawn 514 by 313; enlarged as a whole where the font needs more room.
  EXPECT_GE(form.width(), 514);
  EXPECT_NEAR(form.width() / 514.0, form.height() / 313.0, 0.01);
  form.ButtonOkClick();
  EXPECT_EQ(form.result(), mrOk);
  form.ButtonCancelClick();
  EXPECT_EQ(form.result(), mrCancel);
  form.show();
  form.setResult(mrNone);
  form.close();
  EXPECT_EQ(form.result(), mrCancel);
  // The buttons sit between the two boxes in tab order.
  EXPECT_EQ(NextTabStop(form.CheckBoxShade), form.ButtonOk);
  EXPECT_EQ(NextTabStop(form.ButtonCancel), form.EditTop);
}

TEST(PerformanceDialogTest, PastedTablesAreReadAndBadRowsKeepTheDialogOpen) {
  ScriptedDesktop desk;
  TFormPerformance form;
  Performance perf;
  perf.taxigal = 1.1;
  Loading loading;
  form.LoadPerformance(perf, loading);
  // From a spreadsheet (tabs) and from a PDF (blanks).
  form.GridClimb->PasteText("0\t0\t0\t0\r\n2000\t3\t0.7\t4\n");
  form.GridClimb->setCurrentCell(2, 0);
  form.GridClimb->PasteText("6000  11 2.3   14\n");
  EXPECT_EQ(form.GridClimb->rowCount(), 4);  // one empty row to type into
  form.GridStations->PasteText("front seats 64 400 380\nbaggage\t142\t120\t20");
  form.EditEmptyLb->setText("1495");
  form.EditEmptyArm->setText("101.4");
  form.EditFuelArm->setText("96");
  form.EditTaxiGal->clear();
  form.EditEnvelope->setText("82:1500 82:1950 94.5:2300 94.5:1500");
  ASSERT_TRUE(form.StorePerformance(perf, loading));
  ASSERT_EQ(perf.climb.size(), 3u);
  EXPECT_EQ(perf.climb[2].gallons, 2.3);
  EXPECT_FALSE(perf.taxigal);
  ASSERT_EQ(loading.stations.size(), 2u);
  EXPECT_EQ(loading.stations[0].name, "front seats");
  EXPECT_EQ(loading.stations[1].lb, 20.0);
  EXPECT_EQ(loading.envelope.size(), 4u);
  EXPECT_TRUE(desk.messages.empty());

  // A row below the one before it: named, and Ok leaves the dialog open on that page.
  form.Pages->setCurrentIndex(1);
  form.GridClimb->setCurrentCell(3, 0);
  form.GridClimb->PasteText("4000 7 1.5 8");
  desk.message_answers = {mrOk, mrOk};
  form.show();
  form.setResult(mrNone);
  form.ButtonOkClick();
  EXPECT_TRUE(form.isVisible());
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text,
            "climb row 4 (4000 7 1.5 8): the altitudes must rise from row to row");
  EXPECT_EQ(desk.messages[0].caption, "error");
  EXPECT_EQ(form.Pages->currentIndex(), 0);
  form.GridClimb->item(3, 0)->setText("");
  form.GridClimb->item(3, 1)->setText("");
  form.GridClimb->item(3, 2)->setText("");
  form.GridClimb->item(3, 3)->setText("");
  form.EditEnvelope->setText("82:1500 94:2300");
  form.ButtonOkClick();
  ASSERT_EQ(desk.messages.size(), 2u);
  EXPECT_EQ(desk.messages[1].text,
            "envelope 82:1500 94:2300: an envelope needs at least three points");
  form.hide();
}

}  // namespace

TEST(WeightBalanceDialogTest, APlanWithoutLoadingIsNeitherInsideNorOutside) {
  TFormWeightBalance dialog;
  dialog.Show(Loading(), 40.0, 8.8);
  const QTreeWidgetItem* takeoff =
      dialog.ListLoading->topLevelItem(dialog.ListLoading->topLevelItemCount() - 2);
  EXPECT_EQ(takeoff->text(4), "no envelope");
  EXPECT_TRUE(dialog.LabelWarnings->text().contains("Set the empty weight"));
}

// The main window's start-up, file commands, save-changes prompt and route commands.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "DialogsTestUtil.h"
#include "MainWindowFixture.h"
#include "forms/Fair.h"
#include "forms/Ffield.h"
#include "forms/FileCommands.h"
#include "forms/Fprint.h"
#include "plan/planfile.h"

namespace {

const QString kFilter = "Halvix Flight Plans (*.flt)";

void TypeInto(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
  }
}

}  // namespace

TEST_F(MainWindowTest, StartsWithTheDefaultPlanPathAndAircraft) {
  const Plan& plan = Form1->plan;
  EXPECT_EQ(plan.filename, Path("default.flt"));
  EXPECT_EQ(plan.aircraft.pilotname, "Pat Example");
  EXPECT_EQ(plan.aircraft.acnumber, "12345");
  EXPECT_EQ(plan.aircraft.actype, "C172/U");
  EXPECT_DOUBLE_EQ(plan.aircraft.acgph, 9.0);
  EXPECT_DOUBLE_EQ(plan.aircraft.acfullfuel, 38.0);
  EXPECT_EQ(plan.print.enableshade, 0);
  EXPECT_DOUBLE_EQ(plan.print.topmargin, 0.1);  // none chosen yet: a plan file's default
  EXPECT_FALSE(Form1->Document().IsModified());
  EXPECT_TRUE(plan.route.empty());
  EXPECT_TRUE(Form1->EditTitle->text().isEmpty());
  EXPECT_EQ(Form1->windowTitle(), "Cross Country Flight Planner");
  EXPECT_EQ(Form1->centralWidget()->size(), QSize(643, 312));
  EXPECT_EQ(Form1->minimumSize(), Form1->maximumSize());

  const char* captions[] = {"To: Checkpoint", "Dist", "Course", "Altitude", "Wind Dir",
                            "Wind Vel",       "Temp", "TAS",    "Mag Var",  "VOR"};
  const int widths[] = {95, 48, 48, 48, 55, 55, 48, 48, 55, 120};
  for (int c = 0; c < 10; ++c) {
    EXPECT_EQ(Form1->RouteModel()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
              captions[c]);
    // The drawn widths, narrowed alike to leave room for a scroll bar.
    const int width = Form1->ListViewPlan->header()->sectionSize(c);
    if (c < 9) {
      EXPECT_LE(width, widths[c]);
    }
    EXPECT_GE(width, widths[c] * 9 / 10);
  }
  QStringList menus;
  for (QAction* a : Form1->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"File", "Edit", "Checkpoints", "Help"}));
  QStringList file_items;
  for (QAction* a : Form1->File1->actions())
    if (!a->isSeparator()) file_items << a->text();
  EXPECT_EQ(
      file_items,
      QStringList({"New", "&Open", "&Save", "Save &As ...", QString::fromUtf8("Import Route\u2026"),
                   QString::fromUtf8("Export Route\u2026"),
                   QString::fromUtf8("Aviation Data Folder\u2026"), "Print Settings", "Print",
                   "Print Blank Form", "Print Preview", "&Quit"}));
  // Start-up makes the main window alone; each dialog is made on first use.
  EXPECT_TRUE(Form1->findChildren<QDialog*>().isEmpty());
}

TEST_F(MainWindowTest, TimerLoadsTheDefaultPlanOnceAfterStartUp) {
  DestroyForms();
  WriteFile(Path("default.flt"), PlanText("Morning hop", 3, 2));
  CreateForms();
  MakeDialogs();  // a dialog made before the load shows the loaded plan too
  EXPECT_TRUE(Form1->TimerAutoLoad->isActive());
  EXPECT_TRUE(Form1->plan.route.empty());  // not before the event loop runs

  QElapsedTimer clock;
  clock.start();
  while (Form1->TimerAutoLoad->isActive() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

  EXPECT_FALSE(Form1->TimerAutoLoad->isActive());
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 3);
  EXPECT_EQ(Form1->EditTitle->text(), "Morning hop");
  EXPECT_EQ(Form1->FormFields()->Model()->rowCount(), 2);
  EXPECT_FALSE(Form1->Document().IsModified());
  EXPECT_EQ(Form1->plan.filename, Path("default.flt"));
}

TEST_F(MainWindowTest, TimerWithoutDefaultPlanKeepsTheEmptyPlan) {
  Form1->TimerAutoLoadTimer();
  EXPECT_FALSE(Form1->TimerAutoLoad->isActive());
  EXPECT_TRUE(Form1->plan.route.empty());
  EXPECT_EQ(Form1->plan.filename, Path("default.flt"));
  // A later Save creates the default plan in the start-up directory.
  AddRoute(0);
  Form1->Save1Click();
  EXPECT_TRUE(QFileInfo::exists(QPath("default.flt")));
}

TEST_F(MainWindowTest, SaveChangesPromptAnswers) {
  // Nothing changed: no question.
  EXPECT_TRUE(Form1->FormCloseQuery());
  EXPECT_TRUE(desk.messages.empty());

  AddRoute(1);
  MarkModified();
  desk.message_answers = {mrCancel, mrNo, mrYes};
  EXPECT_FALSE(Form1->FormCloseQuery());
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text,
            QString("Do you wish to save changes to %1 ? ").arg(QPath("default.flt")));
  EXPECT_EQ(desk.messages[0].caption, "Confirm");
  EXPECT_EQ(desk.messages[0].buttons, MessageButtons::YesNoCancel);

  EXPECT_TRUE(Form1->FormCloseQuery());  // No: leaves without saving
  EXPECT_FALSE(QFileInfo::exists(QPath("default.flt")));
  EXPECT_TRUE(Form1->Document().IsModified());

  EXPECT_TRUE(Form1->FormCloseQuery());  // Yes: saved without a file dialog
  EXPECT_TRUE(QFileInfo::exists(QPath("default.flt")));
  EXPECT_FALSE(Form1->Document().IsModified());
  EXPECT_TRUE(desk.file_dialog_proposals.empty());
}

TEST_F(MainWindowTest, CloseRequestIsRefusedOnCancel) {
  AddRoute(1);
  MarkModified();
  Form1->show();
  desk.message_answers = {mrCancel};
  EXPECT_FALSE(Form1->close());
  EXPECT_TRUE(Form1->isVisible());
  desk.message_answers = {mrNo};
  EXPECT_TRUE(Form1->close());
}

TEST_F(MainWindowTest, YesOnAnEmptyRouteShowsTheNoDataMessageAndCloses) {
  TypeInto(Form1->EditTitle, "Trip");
  ASSERT_TRUE(Form1->Document().IsModified());
  desk.message_answers = {mrYes, mrOk};
  EXPECT_TRUE(Form1->FormCloseQuery());
  ASSERT_EQ(desk.messages.size(), 2u);
  EXPECT_EQ(desk.messages[1].text, "There is no data entered into the plan!");
  EXPECT_EQ(desk.messages[1].caption, "Error");
  EXPECT_FALSE(QFileInfo::exists(QPath("default.flt")));
}

TEST_F(MainWindowTest, FailedSaveIsReportedAndKeepsThePlanOpen) {
  AddRoute(1);
  Form1->Document().SetFileName(Path("missing-dir/plan.flt"));
  MarkModified();
  desk.message_answers = {mrOk};
  Form1->Save1Click();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].caption, "Error");
  EXPECT_TRUE(desk.messages[0].text.contains(QPath("missing-dir/plan.flt")));
  EXPECT_TRUE(Form1->Document().IsModified());

  // In the close prompt a failed Yes does not let the typed plan go.
  desk.message_answers = {mrYes, mrOk};
  EXPECT_FALSE(Form1->FormCloseQuery());
  EXPECT_EQ(desk.messages.back().caption, "Error");
  EXPECT_TRUE(Form1->Document().IsModified());

  // Nor does New.
  desk.message_answers = {mrYes, mrOk};
  Form1->New1Click();
  EXPECT_EQ(Form1->plan.route.size(), 2u);
}

TEST_F(MainWindowTest, NewEmptiesThePlanButKeepsTheModifiedFlag) {
  MakeDialogs();
  AddRoute(2);
  ShowPlan([](Plan& plan) {
    plan.airfields.push_back(AirfieldInfo{"Field", "1", "", "", "", "", "", "", ""});
    plan.title = "Old";
  });
  MarkModified();

  desk.message_answers = {mrCancel};
  Form1->New1Click();
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 3);

  desk.message_answers = {mrNo};
  Form1->New1Click();
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 0);
  EXPECT_TRUE(Form1->plan.title.empty());
  EXPECT_TRUE(Form1->EditTitle->text().isEmpty());
  EXPECT_EQ(Form1->FormFields()->Model()->rowCount(), 0);
  EXPECT_EQ(Form1->plan.filename, "newplan.flt");
  EXPECT_TRUE(Form1->Document().IsModified());

  desk.message_answers = {mrNo};
  Form1->FormCloseQuery();
  EXPECT_EQ(desk.messages.back().text, "Do you wish to save changes to newplan.flt ? ");
}

TEST_F(MainWindowTest, OpenCompletesTheExtensionAndLoads) {
  MakeDialogs();
  WriteFile(Path("trip.flt"), PlanText("Lakes", 4, 1));
  desk.file_answers = {QPath("trip")};
  Form1->Open1Click();
  ASSERT_EQ(desk.file_dialog_proposals.size(), 1u);
  EXPECT_EQ(desk.file_dialog_proposals[0], QPath("default.flt"));
  EXPECT_EQ(desk.file_dialog_filters[0], kPlanFilter);
  EXPECT_EQ(Form1->plan.filename, Path("trip.flt"));
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 4);
  EXPECT_EQ(Caption(2), "Point 2");
  EXPECT_EQ(Form1->RouteModel()->index(1, 10 - 1).data().toString(), "112.3/ 068/ CDL/ To");
  EXPECT_EQ(Form1->EditTitle->text(), "Lakes");
  EXPECT_EQ(Form1->windowTitle(), "Cross Country Flight Planner");
  EXPECT_EQ(Form1->FormFields()->Model()->rowCount(), 1);
  EXPECT_FALSE(Form1->Document().IsModified());

  // A name that exists as typed is taken as it is.
  WriteFile(Path("plain"), PlanText("Plain", 2, 0));
  desk.file_answers = {QPath("plain")};
  Form1->Open1Click();
  EXPECT_EQ(Form1->plan.filename, Path("plain"));
  EXPECT_EQ(Form1->EditTitle->text(), "Plain");
}

TEST_F(MainWindowTest, AFileWithMoreRowsThanAPlanHoldsIsNamedBeforeItCanBeSaved) {
  const char* warning =
      "This plan has 40 checkpoints; Halvix keeps the first 33. Saving will drop the others.";
  WriteFile(Path("long.flt"), PlanText("Long", 40, 0));
  desk.file_answers = {QPath("long.flt")};
  desk.message_answers = {mrOk};
  Form1->Open1Click();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text, warning);
  EXPECT_EQ(desk.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(Form1->RouteModel()->rowCount(), kMaxRoute);

  // The start-up load of the default plan tells it too.
  WriteFile(Path("default.flt"), PlanText("Long", 40, 0));
  Form1->Document().SetFileName(Path("default.flt"));
  desk.message_answers = {mrOk};
  Form1->TimerAutoLoadTimer();
  ASSERT_EQ(desk.messages.size(), 2u);
  EXPECT_EQ(desk.messages[1].text, warning);

  // Exactly as many rows as a plan holds is no news.
  WriteFile(Path("full.flt"), PlanText("Full", kMaxRoute, 0));
  desk.file_answers = {QPath("full.flt")};
  Form1->Open1Click();
  EXPECT_EQ(desk.messages.size(), 2u);
  EXPECT_EQ(Form1->RouteModel()->rowCount(), kMaxRoute);
}

TEST_F(MainWindowTest, OpenOfANameThatDoesNotExistGivesTheReadDefaults) {
  AddRoute(2);
  desk.file_answers = {QPath("nowhere")};
  Form1->Open1Click();
  EXPECT_EQ(Form1->plan.filename, Path("nowhere"));
  EXPECT_EQ(Form1->EditTitle->text(), "Cross Country Plan");
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 0);
  EXPECT_DOUBLE_EQ(Form1->plan.print.topmargin, 0.1);
}

TEST_F(MainWindowTest, FilesThatCannotBeReadOrWrittenAreReportedAndThePlanKept) {
  WriteFile(Path("trip.flt"), PlanText("Lakes", 4, 1));
  desk.file_answers = {QPath("trip.flt")};
  Form1->Open1Click();
  ASSERT_EQ(Form1->RouteModel()->rowCount(), 4);

  // A directory used to open as the empty default plan, under its name.
  ASSERT_TRUE(QDir().mkpath(QPath("folder.flt")));
  desk.file_answers = {QPath("folder.flt")};
  desk.message_answers = {mrOk};
  Form1->Open1Click();
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].caption, "Error");
  EXPECT_TRUE(desk.messages[0].text.contains("folder.flt")) << desk.messages[0].text.toStdString();
  EXPECT_TRUE(desk.messages[0].text.contains("Is a directory"));
  EXPECT_EQ(Form1->plan.filename, Path("trip.flt"));
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 4);
  EXPECT_EQ(Form1->EditTitle->text(), "Lakes");

  // A read-only plan is not replaced behind the user's back.
  QFile::setPermissions(QPath("trip.flt"), QFileDevice::ReadOwner);
  desk.message_answers = {mrOk};
  Form1->Save1Click();
  ASSERT_EQ(desk.messages.size(), 2u);
  EXPECT_TRUE(desk.messages[1].text.contains("read-only")) << desk.messages[1].text.toStdString();
  EXPECT_TRUE(Form1->Document().IsModified());
  EXPECT_EQ(ReadFile(Path("trip.flt")), PlanText("Lakes", 4, 1));
}

TEST_F(MainWindowTest, OpenAsksFirstAndStopsOnCancel) {
  AddRoute(1);
  MarkModified();
  desk.message_answers = {mrCancel};
  Form1->Open1Click();
  EXPECT_TRUE(desk.file_dialog_proposals.empty());

  // Cancelling the file dialog after saving leaves the plan and its name.
  desk.message_answers = {mrYes};
  desk.file_answers = {QString()};
  Form1->Open1Click();
  EXPECT_EQ(desk.file_dialog_proposals.size(), 1u);
  EXPECT_EQ(Form1->plan.filename, Path("default.flt"));
  EXPECT_EQ(Form1->plan.route.size(), 2u);
  EXPECT_TRUE(QFileInfo::exists(QPath("default.flt")));
}

TEST_F(MainWindowTest, SaveAsAppendsTheExtensionOnlyWithoutAPoint) {
  AddRoute(1);
  desk.file_answers = {QPath("north")};
  Form1->SaveAs1Click();
  EXPECT_EQ(desk.file_dialog_filters[0], kPlanFilter);
  EXPECT_EQ(Form1->plan.filename, Path("north.flt"));
  EXPECT_TRUE(QFileInfo::exists(QPath("north.flt")));
  EXPECT_NE(ReadFile(Path("north.flt")).find("toname=Point 1"), std::string::npos);

  // Only the file's own name counts: a point in a folder's name does not.
  ASSERT_TRUE(QDir(dir_.path()).mkdir("v1.2"));
  desk.file_answers = {QPath("v1.2/south"), QPath("v1.2/south.plan")};
  Form1->SaveAs1Click();
  EXPECT_EQ(desk.file_dialog_proposals[1], QPath("north.flt"));
  EXPECT_EQ(Form1->plan.filename, Path("v1.2/south.flt"));
  EXPECT_TRUE(QFileInfo::exists(QPath("v1.2/south.flt")));
  Form1->SaveAs1Click();
  EXPECT_EQ(Form1->plan.filename, Path("v1.2/south.plan"));

  desk.file_answers = {QString()};
  Form1->SaveAs1Click();
  EXPECT_EQ(Form1->plan.filename, Path("v1.2/south.plan"));
}

TEST_F(MainWindowTest, SaveAsOfAnEmptyRouteTakesTheNameButWritesNothing) {
  desk.file_answers = {QPath("empty")};
  desk.message_answers = {mrOk};
  Form1->SaveAs1Click();
  EXPECT_EQ(Form1->plan.filename, Path("empty.flt"));
  EXPECT_EQ(desk.messages.at(0).text, "There is no data entered into the plan!");
  EXPECT_FALSE(QFileInfo::exists(QPath("empty.flt")));
}

TEST_F(MainWindowTest, DeleteAsksAboutTheSelectedRow) {
  AddRoute(2);
  desk.message_answers = {mrOk};
  Form1->Delete1Click();
  EXPECT_EQ(desk.messages[0].text, "Please select an item in the list first!");
  EXPECT_EQ(desk.messages[0].caption, "Error");
  EXPECT_EQ(desk.messages[0].buttons, MessageButtons::Ok);

  Select(1);
  desk.message_answers = {mrNo};
  Form1->ButtonDeleteClick();
  EXPECT_EQ(desk.messages[1].text, "Are you sure you wish to delete checkpoint Point 1 ?");
  EXPECT_EQ(desk.messages[1].caption, "Confirm");
  EXPECT_EQ(desk.messages[1].buttons, MessageButtons::YesNo);
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 3);
  EXPECT_FALSE(Form1->Document().IsModified());

  desk.message_answers = {mrYes};
  Form1->Delete1Click();
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 2);
  EXPECT_EQ(Caption(1), "Point 2");
  EXPECT_TRUE(Form1->Document().IsModified());

  // The departure row can go too; the next row becomes the departure.
  Select(0);
  desk.message_answers = {mrYes};
  Form1->Delete1Click();
  EXPECT_EQ(Caption(0), "Point 2");
}

TEST_F(MainWindowTest, DeleteAllAsksEvenOnAnEmptyListAndMarksRemovedRows) {
  desk.message_answers = {mrYes};
  Form1->DeleteAll1Click();
  EXPECT_EQ(desk.messages[0].text, "Are you SURE you want to DELETE all checkpoints?");
  EXPECT_EQ(desk.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_FALSE(Form1->Document().IsModified());

  AddRoute(2);
  desk.message_answers = {mrNo};
  Form1->DeleteAll1Click();
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 3);

  desk.message_answers = {mrYes};
  Form1->DeleteAll1Click();
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 0);
  // The rows are gone from the plan that would be saved: closing must ask.
  EXPECT_TRUE(Form1->Document().IsModified());
  EXPECT_EQ(Form1->plan.filename, Path("default.flt"));
}

TEST_F(MainWindowTest, AddOpensTheDepartureDialogOnAnEmptyRoute) {
  MakeDialogs();  // as an earlier showing left them
  Form1->FormAddFirst()->EditDeparture->setText("left over");
  desk.dialog_answers.push_back([](QDialog* d) {
    // Emptied, with the caret in it, before it shows.
    EXPECT_TRUE(Form1->FormAddFirst()->EditDeparture->text().isEmpty());
    EXPECT_EQ(d->focusWidget(), Form1->FormAddFirst()->EditDeparture);
    Form1->FormAddFirst()->EditDeparture->setText("Millbrook");
    Form1->FormAddFirst()->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonAddClick();
  ASSERT_EQ(desk.shown_dialogs.size(), 1u);
  EXPECT_EQ(desk.shown_dialogs[0], Form1->FormAddFirst());
  ASSERT_EQ(Form1->plan.route.size(), 1u);
  const Checkpoint& row = Form1->plan.route[0];
  EXPECT_EQ(row.caption, "Millbrook");
  ASSERT_EQ(row.subitems.size(), 9u);
  for (const std::string& cell : row.subitems) EXPECT_TRUE(cell.empty());
  EXPECT_TRUE(Form1->Document().IsModified());

  // The next Add is an en-route checkpoint with every edit emptied.
  Form1->FormAdd()->EditDistance->setText("stale");
  Form1->FormAdd()->RadioButtonTo->setChecked(true);
  desk.dialog_answers.push_back([](QDialog* d) {
    EXPECT_TRUE(Form1->FormAdd()->EditDistance->text().isEmpty());
    EXPECT_TRUE(Form1->FormAdd()->RadioButtonFrom->isChecked());
    EXPECT_EQ(d->focusWidget(), Form1->FormAdd()->EditCheckpointName);
    return int(mrCancel);
  });
  Form1->ButtonAddClick();
  EXPECT_EQ(desk.shown_dialogs[1], Form1->FormAdd());
  EXPECT_EQ(Form1->plan.route.size(), 1u);
}

TEST_F(MainWindowTest, AddAppendsAtTheEndAndKeepsTheSelection) {
  AddRoute(2);
  Select(1);
  CheckpointDialogTexts t = Texts("Cedar Lake", "18");
  t.EditTrueCourse = "072";
  t.EditFreq = "112.3";
  t.EditBear = "068";
  t.EditIdent = "CDL";
  t.RadioButtonTo = true;
  AnswerCheckpoint(t);
  Form1->Add1Click();
  ASSERT_EQ(Form1->RouteModel()->rowCount(), 4);
  EXPECT_EQ(Caption(3), "Cedar Lake");
  EXPECT_EQ(Form1->RouteModel()->index(3, 2).data().toString(), "072");
  EXPECT_EQ(Form1->RouteModel()->index(3, 9).data().toString(), "112.3/ 068/ CDL/ To");
  EXPECT_EQ(Form1->SelectedRow(), 1);
  EXPECT_TRUE(Form1->Document().IsModified());

  Form1->Document().MarkSaved();
  AnswerCancel();
  Form1->ButtonAddClick();
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 4);
  EXPECT_FALSE(Form1->Document().IsModified());
}

TEST_F(MainWindowTest, AddOnAFullRouteSaysSoAndOpensNoDialog) {
  AddRoute(kMaxRoute - 2);
  AnswerCheckpoint(Texts("Last", "5"));
  Form1->ButtonAddClick();
  ASSERT_EQ(Form1->plan.route.size(), static_cast<std::size_t>(kMaxRoute));
  const std::size_t shown = desk.shown_dialogs.size();

  desk.message_answers = {mrOk};
  Form1->ButtonAddClick();
  EXPECT_EQ(desk.shown_dialogs.size(), shown);
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_TRUE(desk.messages[0].text.contains("33"));
  EXPECT_EQ(Form1->plan.route.size(), static_cast<std::size_t>(kMaxRoute));
}

TEST_F(MainWindowTest, DialogsReopenWithTheFirstEditFocusedAndItsTextSelected) {
  AddRoute(1);
  MakeDialogs();
  // Each dialog was last left by a mouse click on its Ok button; it must
  // reopen with `first` focused and all of `text` selected.
  auto expect_ready = [this](QPushButton* ok, QLineEdit* first, void (TForm1::*command)(),
                             const QString& text) {
    ok->setFocus(Qt::MouseFocusReason);
    QWidget* focused = nullptr;
    QString selected;
    desk.dialog_answers.push_back([&](QDialog* d) {
      focused = d->focusWidget();
      selected = first->selectedText();
      return int(mrCancel);
    });
    (Form1->*command)();
    EXPECT_EQ(focused, first) << text.toStdString();
    EXPECT_EQ(selected, text);
  };
  Select(0);
  expect_ready(Form1->FormAddFirst()->ButtonOk, Form1->FormAddFirst()->EditDeparture,
               &TForm1::ButtonEditClick, "Home");
  Select(1);
  expect_ready(Form1->FormAdd()->ButtonOk, Form1->FormAdd()->EditCheckpointName,
               &TForm1::ButtonEditClick, "Point 1");
  // A new registration replaces the old one instead of being appended to it.
  expect_ready(Form1->FormAircraft()->ButtonOk, Form1->FormAircraft()->EditNNumber,
               &TForm1::ButtonAircraftClick, "12345");
}

TEST_F(MainWindowTest, EditOfTheFirstRowChangesOnlyItsName) {
  WriteFile(Path("p.flt"), PlanText("T", 3, 0));
  ShowPlan([this](Plan& plan) {
    LoadPlan(plan, Path("p.flt"));
    plan.route[0].subitems[kCellDist] = "7";  // only a plan file can put it there
  });
  ASSERT_EQ(Form1->plan.route[0].SubItem(kCellDist), "7");

  desk.message_answers = {mrOk};
  Form1->ButtonEditClick();
  EXPECT_EQ(desk.messages[0].text, "Please select an item in the list first!");

  Select(0);
  desk.dialog_answers.push_back([](QDialog* d) {
    EXPECT_EQ(Form1->FormAddFirst()->EditDeparture->text(), "Point 0");
    Form1->FormAddFirst()->EditDeparture->setText("Renamed");
    Form1->FormAddFirst()->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonEditClick();
  EXPECT_EQ(desk.shown_dialogs.back(), Form1->FormAddFirst());
  EXPECT_EQ(Caption(0), "Renamed");
  EXPECT_EQ(Form1->plan.route[0].SubItem(kCellDist), "7");
  EXPECT_TRUE(Form1->Document().IsModified());
}

TEST_F(MainWindowTest, EditOfACheckpointRoundTripsThroughTheDialog) {
  WriteFile(Path("p.flt"), PlanText("T", 3, 0));
  ShowPlan([this](Plan& plan) { LoadPlan(plan, Path("p.flt")); });
  Select(2);
  desk.dialog_answers.push_back([](QDialog* d) {
    EXPECT_EQ(Form1->FormAdd()->EditCheckpointName->text(), "Point 2");
    EXPECT_EQ(Form1->FormAdd()->EditWindDir->text(), "270");
    EXPECT_EQ(Form1->FormAdd()->EditFreq->text(), "112.3");
    EXPECT_EQ(Form1->FormAdd()->EditIdent->text(), "CDL");
    EXPECT_TRUE(Form1->FormAdd()->RadioButtonTo->isChecked());
    Form1->FormAdd()->EditAltitude->setText("6500");
    Form1->FormAdd()->ButtonOkClick();
    return d->result();
  });
  Form1->Edit1Click();
  EXPECT_EQ(desk.shown_dialogs.back(), Form1->FormAdd());
  EXPECT_EQ(Form1->RouteModel()->index(2, 3).data().toString(), "6500");
  EXPECT_EQ(Form1->plan.route[2].SubItem(kCellVor), "112.3/ 068/ CDL/ To");
  EXPECT_TRUE(Form1->Document().IsModified());

  Form1->Document().MarkSaved();
  AnswerCancel();
  Form1->ButtonEditClick();
  EXPECT_EQ(Form1->plan.route[2].SubItem(kCellAltitude), "6500");
  EXPECT_FALSE(Form1->Document().IsModified());
  EXPECT_EQ(Form1->SelectedRow(), 2);
}

TEST_F(MainWindowTest, ChangesToStoredDataMarkThePlanModified) {
  AddRoute(1);

  // Renaming a row in place, cut to what a name field holds.
  const QString long_name = QString(50, QChar(0x00e9));  // 100 bytes of UTF-8
  ASSERT_TRUE(
      Form1->RouteModel()->setData(Form1->RouteModel()->index(1, 0), long_name, Qt::EditRole));
  EXPECT_EQ(Form1->plan.route[1].caption.size(), 78u);
  EXPECT_EQ(Caption(1), QString(39, QChar(0x00e9)));
  EXPECT_TRUE(Form1->Document().IsModified());
  EXPECT_FALSE(Form1->RouteModel()->flags(Form1->RouteModel()->index(1, 1)) & Qt::ItemIsEditable);

  // Typing the title.
  Form1->Document().MarkSaved();
  TypeInto(Form1->EditTitle, "Lake tour");
  EXPECT_EQ(Form1->plan.title, "Lake tour");
  EXPECT_TRUE(Form1->Document().IsModified());

  // Confirming the print options.
  Form1->Document().MarkSaved();
  desk.dialog_answers.push_back([](QDialog* d) {
    Form1->FormPrintSettings()->CheckBoxShade->setChecked(true);
    Form1->FormPrintSettings()->EditTop->setText("0.5");
    Form1->FormPrintSettings()->ButtonOkClick();
    return d->result();
  });
  Form1->PrintSettings1Click();
  EXPECT_EQ(Form1->plan.print.enableshade, 1);
  EXPECT_DOUBLE_EQ(Form1->plan.print.topmargin, 0.5);
  EXPECT_TRUE(Form1->Document().IsModified());

  // Cancelled dialogs change nothing.
  Form1->Document().MarkSaved();
  AnswerCancel();
  Form1->PrintSettings1Click();
  AnswerCancel();
  Form1->ButtonAircraftClick();
  EXPECT_FALSE(Form1->Document().IsModified());

  // The aircraft dialog, confirmed unchanged, still marks the plan.
  desk.dialog_answers.push_back([](QDialog* d) {
    EXPECT_EQ(Form1->FormAircraft()->EditGPH->text(), "9.0");
    Form1->FormAircraft()->EditType->setText("PA28");
    Form1->FormAircraft()->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonAircraftClick();
  EXPECT_EQ(Form1->plan.aircraft.actype, "PA28");
  EXPECT_TRUE(Form1->Document().IsModified());
}

TEST_F(MainWindowTest, TitleKeepsWithinWhatAPlanFileHolds) {
  TypeInto(Form1->EditTitle, QString(130, QChar(0x00fc)));  // 260 bytes typed
  EXPECT_EQ(Form1->plan.title.size(), 254u);                // 127 whole characters
  EXPECT_EQ(Form1->EditTitle->text(), QString::fromStdString(Form1->plan.title));
}

TEST_F(MainWindowTest, FieldsShowsTheAirfieldListOverTheMainWindow) {
  desk.dialog_answers.push_back([](QDialog* d) {
    EXPECT_EQ(static_cast<TFormFields*>(d)->Model(), Form1->Document().Airfields());
    return int(mrCancel);
  });
  Form1->ButtonFieldsClick();
  ASSERT_EQ(desk.shown_dialogs.size(), 1u);
  EXPECT_EQ(desk.shown_dialogs[0], Form1->FormFields());
}

TEST_F(MainWindowTest, TabOrderStartsAtPrint) {
  EXPECT_EQ(Form1->focusWidget(), static_cast<QWidget*>(Form1->ButtonPrint));
  const QWidget* expected[] = {Form1->ButtonPrint, Form1->ListViewPlan,   Form1->ButtonAdd,
                               Form1->ButtonEdit,  Form1->ButtonAircraft, Form1->ButtonDelete,
                               Form1->ButtonHelp,  Form1->ButtonFields,   Form1->EditTitle};
  // What Tab reaches: widgets of this window that take the focus by Tab.
  auto next_stop = [](const QWidget* w) {
    QWidget* next = w->nextInFocusChain();
    while (next != w && (next->window() != Form1 || !(next->focusPolicy() & Qt::TabFocus) ||
                         !next->isVisibleTo(Form1)))
      next = next->nextInFocusChain();
    return next;
  };
  for (std::size_t i = 1; i < std::size(expected); ++i)
    EXPECT_EQ(next_stop(expected[i - 1]), expected[i]) << "after tab stop " << i - 1;
}

TEST_F(MainWindowTest, DialogsOpenCentredOverTheMainWindow) {
  Form1->move(200, 150);
  AddRoute(1);
  desk.shown_dialogs.clear();
  MakeDialogs();
  QWidget* dialogs[] = {Form1->FormAdd(), Form1->FormAddFirst(), Form1->FormAircraft(),
                        Form1->FormPrintSettings(), Form1->FormFields()};
  for (QWidget* d : dialogs) {
    EXPECT_EQ(d->parentWidget(), Form1);  // owned by the main window, made on first use
    d->move(0, 0);
  }
  for (int i = 0; i < 5; ++i) AnswerCancel();
  Form1->ButtonAddClick();
  Select(0);
  Form1->ButtonEditClick();
  Form1->ButtonAircraftClick();
  Form1->PrintSettings1Click();
  Form1->ButtonFieldsClick();
  ASSERT_EQ(desk.shown_dialogs.size(), 5u);
  const QRect owner = Form1->frameGeometry();
  for (QWidget* d : dialogs) {
    const QRect dialog = d->frameGeometry();
    // A dialog about the owner's size is nudged so both stay in sight.
    const int dx = std::abs(owner.width() - dialog.width()) < 10 ? 15 : 0;
    const int dy = std::abs(owner.height() - dialog.height()) < 10 ? 15 : 0;
    EXPECT_LE(std::abs(dialog.center().x() - dx - owner.center().x()), 1)
        << d->windowTitle().toStdString();
    EXPECT_LE(std::abs(dialog.center().y() - dy - owner.center().y()), 1)
        << d->windowTitle().toStdString();
  }
}

TEST_F(MainWindowTest, AddedAndEditedRowsAreScrolledIntoSight) {
  Form1->show();
  auto in_sight = [](int row) {
    QCoreApplication::processEvents();
    const QRect rect = Form1->ListViewPlan->visualRect(Form1->RouteModel()->index(row, 0));
    return Form1->ListViewPlan->viewport()->rect().contains(rect);
  };
  AddRoute(20);
  EXPECT_TRUE(in_sight(20));

  Select(18);
  Form1->ListViewPlan->scrollToTop();
  ASSERT_FALSE(in_sight(18));
  AnswerCheckpoint(Texts("Renamed", "12"));
  Form1->ButtonEditClick();
  EXPECT_TRUE(in_sight(18));
}

TEST_F(MainWindowTest, EnterPressesTheFocusedButtonAsSpaceDoes) {
  // Print has the focus when the window opens.
  desk.message_answers = {mrOk};
  PressKey(Form1->ButtonPrint, Qt::Key_Return);
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].text,
            "You must have at least two checkpoints before computing the route");

  Form1->ButtonAdd->setFocus();
  AnswerCancel();
  QKeyEvent keypad(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
  QApplication::sendEvent(Form1->ButtonAdd, &keypad);
  ASSERT_EQ(desk.shown_dialogs.size(), 1u);
  EXPECT_EQ(desk.shown_dialogs[0], Form1->FormAddFirst());

  // Enter with a modifier, or in the title, presses nothing.
  QKeyEvent shifted(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier);
  QApplication::sendEvent(Form1->ButtonAdd, &shifted);
  Form1->EditTitle->setFocus();
  PressKey(Form1->EditTitle, Qt::Key_Return);
  EXPECT_EQ(desk.shown_dialogs.size(), 1u);
  EXPECT_EQ(desk.messages.size(), 1u);
}

TEST_F(MainWindowTest, RouteListFitsEveryColumnBesideItsScrollBar) {
  Form1->show();
  AddRoute(20);
  EXPECT_TRUE(Form1->ListViewPlan->verticalScrollBar()->isVisible());
  ExpectColumnsFit(Form1->ListViewPlan, "VOR");
}

TEST_F(MainWindowTest, CtrlSSavesAndQuitAsksAboutChangesFirst) {
  EXPECT_EQ(Form1->Save1->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(Form1->Quit1->shortcut(), QKeySequence("Ctrl+Q"));
  Form1->show();
  AddRoute(1);
  MarkModified();
  desk.message_answers = {mrCancel};
  Form1->Quit1->trigger();
  EXPECT_TRUE(Form1->isVisible());
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].caption, "Confirm");
  desk.message_answers = {mrYes};
  Form1->Quit1->trigger();
  EXPECT_FALSE(Form1->isVisible());
  EXPECT_TRUE(PathExists(Path("default.flt")));
}

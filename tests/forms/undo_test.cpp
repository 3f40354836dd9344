// Every change of the plan is one step of Edit > Undo and Redo, named after
// the change, and the save prompt knows when the plan is back as saved.
#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>

#include "DialogsTestUtil.h"
#include "MainWindowFixture.h"
#include "forms/Fair.h"
#include "forms/Ffield.h"
#include "forms/Fnavlog.h"
#include "forms/Fprint.h"

namespace {

class UndoTest : public MainWindowTest {
 protected:
  void Undo() { Form1->Undo1->trigger(); }
  void Redo() { Form1->Redo1->trigger(); }
  static QString UndoText() { return Form1->Undo1->text(); }
  static std::size_t Rows() { return Form1->plan.route.size(); }

  void OpenTrip() {
    WriteFile(Path("trip.flt"), PlanText("Lakes", 3, 2));
    desk.file_answers.push_back(QPath("trip.flt"));
    Form1->Open1Click();
  }
};

TEST_F(UndoTest, TheEditMenuUndoesAndRedoesWithItsKeys) {
  QStringList items;
  for (QAction* a : Form1->EditMenu1->actions()) items << a->text();
  EXPECT_EQ(items, QStringList({"&Undo", "&Redo"}));
  EXPECT_FALSE(Form1->Undo1->isEnabled());
  EXPECT_EQ(Form1->Undo1->shortcut(), QKeySequence("Ctrl+Z"));
  EXPECT_EQ(Form1->Redo1->shortcuts(),
            QList<QKeySequence>({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
}

TEST_F(UndoTest, CheckpointCommandsAreStepsNamedAfterThem) {
  AnswerDeparture("Home");
  Form1->ButtonAddClick();
  AnswerCheckpoint(Texts("Lake", "12"));
  Form1->ButtonAddClick();
  AnswerCheckpoint(Texts("Town", "20"));
  Form1->ButtonAddClick();
  Select(1);
  AnswerCheckpoint(Texts("Lake", "15"));
  Form1->ButtonEditClick();
  desk.message_answers = {mrYes, mrYes};
  Select(2);
  Form1->Delete1Click();
  Form1->DeleteAll1Click();
  ASSERT_EQ(Rows(), 0u);

  EXPECT_EQ(UndoText(), "&Undo Delete All Checkpoints");
  Undo();
  EXPECT_EQ(Rows(), 2u);
  EXPECT_EQ(UndoText(), "&Undo Delete Checkpoint");
  Undo();
  ASSERT_EQ(Rows(), 3u);
  EXPECT_EQ(Caption(2), "Town");
  EXPECT_EQ(UndoText(), "&Undo Edit Checkpoint");
  Undo();
  EXPECT_EQ(Form1->plan.route[1].SubItem(kCellDist), "12");
  Undo();
  Undo();
  EXPECT_EQ(UndoText(), "&Undo Add Departure");
  Undo();
  EXPECT_EQ(Rows(), 0u);
  EXPECT_FALSE(Form1->Document().IsModified());  // back where the run started

  for (int i = 0; i < 4; ++i) Redo();
  EXPECT_EQ(Form1->Redo1->text(), "&Redo Delete Checkpoint");
  EXPECT_EQ(Form1->plan.route[1].SubItem(kCellDist), "15");
  EXPECT_TRUE(Form1->Document().IsModified());
}

TEST_F(UndoTest, UndoKeepsTheSelectionOnTheRowsThatStayed) {
  AddRoute(3);
  desk.message_answers = {mrYes};
  Select(1);
  Form1->Delete1Click();
  Select(2);  // "Point 3"
  Undo();     // "Point 1" comes back above it
  EXPECT_EQ(Form1->SelectedRow(), 3);
  EXPECT_EQ(Caption(3), "Point 3");
}

TEST_F(UndoTest, TypingATitleIsOneStepAndTheEditFollowsUndo) {
  OpenTrip();
  Form1->EditTitle->selectAll();
  for (QChar c : QString("Coast")) Type(Form1->EditTitle, QString(c));
  EXPECT_EQ(Form1->plan.title, "Coast");
  EXPECT_EQ(UndoText(), "&Undo Title");
  Undo();
  EXPECT_EQ(Form1->plan.title, "Lakes");
  EXPECT_EQ(Form1->EditTitle->text(), "Lakes");
  EXPECT_FALSE(Form1->Undo1->isEnabled());
  EXPECT_FALSE(Form1->Document().IsModified());
}

TEST_F(UndoTest, DialogsHandBackOneChangeEach) {
  OpenTrip();
  const double top = Form1->plan.print.topmargin;
  desk.dialog_answers.push_back([](QDialog* d) {
    Form1->FormAircraft()->EditType->setText("PA28");
    Form1->FormAircraft()->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonAircraftClick();
  desk.dialog_answers.push_back([](QDialog* d) {
    Form1->FormPrintSettings()->EditTop->setText("0.5");
    Form1->FormPrintSettings()->ButtonOkClick();
    return d->result();
  });
  Form1->PrintSettings1Click();
  EXPECT_DOUBLE_EQ(Form1->plan.print.topmargin, 0.5);
  Undo();
  EXPECT_DOUBLE_EQ(Form1->plan.print.topmargin, top);
  EXPECT_EQ(Form1->plan.aircraft.actype, "PA28");
  EXPECT_EQ(UndoText(), "&Undo Aircraft");
  Undo();
  EXPECT_EQ(Form1->plan.aircraft.actype, "C172/U");
}

TEST_F(UndoTest, AirfieldChangesAndRenamesInPlaceAreUndone) {
  OpenTrip();
  TFormFields* fields = Form1->FormFields();
  AirfieldModel* model = fields->Model();
  EXPECT_TRUE(model->setData(model->index(0, 0), "Renamed", Qt::EditRole));
  EXPECT_EQ(UndoText(), "&Undo Rename Field");
  Form1->RouteModel()->setData(Form1->RouteModel()->index(1, 0), "Ridge", Qt::EditRole);
  EXPECT_EQ(UndoText(), "&Undo Rename Checkpoint");
  fields->ListViewFields->setCurrentIndex(model->index(1, 0));
  desk.message_answers = {mrYes};
  fields->ButtonDeleteClick();
  ASSERT_EQ(model->rowCount(), 1);

  Undo();
  EXPECT_EQ(model->rowCount(), 2);
  EXPECT_EQ(model->index(1, 0).data().toString(), "Field 1");
  Undo();
  EXPECT_EQ(Caption(1), "Point 1");
  Undo();
  EXPECT_EQ(model->index(0, 0).data().toString(), "Field 0");
  EXPECT_FALSE(Form1->Document().IsModified());
}

TEST_F(UndoTest, TheSavePromptKnowsTheSavedState) {
  OpenTrip();
  Form1->RouteModel()->setData(Form1->RouteModel()->index(1, 0), "Ridge", Qt::EditRole);
  EXPECT_TRUE(Form1->Document().IsModified());
  Undo();
  EXPECT_TRUE(Form1->FormCloseQuery());  // no question: the plan is as saved
  EXPECT_TRUE(desk.messages.empty());

  Redo();
  Form1->Save1Click();
  EXPECT_FALSE(Form1->Document().IsModified());
  Undo();  // now the saved file holds the rename
  EXPECT_TRUE(Form1->Document().IsModified());
  desk.message_answers = {mrCancel};
  EXPECT_FALSE(Form1->FormCloseQuery());
}

TEST_F(UndoTest, NewOpenAndImportAreDocumentReplacements) {
  OpenTrip();
  EXPECT_FALSE(Form1->Undo1->isEnabled());  // an opened plan starts a new history
  Form1->New1Click();
  EXPECT_EQ(Rows(), 0u);
  EXPECT_FALSE(Form1->Document().IsModified());
  EXPECT_EQ(UndoText(), "&Undo New Plan");
  Undo();
  EXPECT_EQ(Rows(), 3u);
  EXPECT_EQ(Form1->plan.filename, Path("trip.flt"));
  EXPECT_EQ(Form1->EditTitle->text(), "Lakes");

  WriteFile(Path("north.gpx"), ReadFile(QString(HALVIX_ROUTES "/europe.gpx").toStdString()));
  desk.file_answers = {QPath("north.gpx")};
  desk.message_answers = {mrNo};  // the plan differs from the file again
  Form1->ImportRoute1Click();
  ASSERT_EQ(UndoText(), "&Undo Import Route");
  EXPECT_EQ(Form1->plan.filename, Path("north.flt"));
  Undo();
  EXPECT_EQ(Form1->plan.filename, Path("trip.flt"));
  EXPECT_EQ(Rows(), 3u);
}

TEST_F(UndoTest, ReserveStepsAndTheMissingValueAreUndone) {
  OpenTrip();
  Form1->NavigationLog1->trigger();
  QSpinBox* spin = Form1->FormNavLog()->SpinReserve;
  const int reserve = Form1->plan.reserve;
  spin->setValue(reserve + 5);
  spin->setValue(reserve + 10);
  EXPECT_EQ(UndoText(), "&Undo Reserve");
  Undo();
  EXPECT_EQ(Form1->plan.reserve, reserve);
  EXPECT_EQ(spin->value(), reserve);
  EXPECT_FALSE(Form1->Undo1->isEnabled());

  Form1->Document().Change("Clear",
                           [](Plan& plan) { plan.route[1].subitems[kCellMagVar].clear(); });
  desk.dialog_answers.push_back([](QDialog* d) {
    Form1->FormAskContinue()->Button2Click();
    return d->result();
  });
  desk.dialog_answers.push_back([](QDialog* d) {
    Form1->FormAdd()->EditMagVar->setText("14");
    Form1->FormAdd()->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonPrintClick();
  EXPECT_EQ(Form1->plan.route[1].SubItem(kCellMagVar), "14");
  EXPECT_EQ(UndoText(), "&Undo Edit Checkpoint");
  Undo();
  EXPECT_EQ(Form1->plan.route[1].SubItem(kCellMagVar), "");
}

}  // namespace

// The Navigation Log window: made on first use, following every command of
// the main window, marking what cannot be computed and holding the fuel
// against the reserve.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTableView>
#include <QTimeZone>
#include <functional>

#include "MainWindowFixture.h"
#include "forms/Fair.h"
#include "forms/Fnavlog.h"
#include "geo/daylight.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/report.h"

namespace {

// Where the window shows a column of the log.
int Col(LogColumn column) {
  return NavLogModel::ColumnOf(column);
}

// acgph 9, 38 gallons: the wind triangle of the first leg gives WCA 11,
// TH 101, MH 111, GS 98, 30 minutes and 4.5 gallons.
const char kTrip[] =
    "; kept by hand\r\n"
    "[misc]\r\ntitle=Lakes run\r\nacgph=9\r\nacfullfuel=38\r\ncount=3\r\nfieldcount=0\r\n"
    "mystery=42\r\n"
    "[dest0]\r\ntoname=Home\r\n"
    "[dest1]\r\ntoname=Lake\r\ndist=50\r\ntc=90\r\nwinddir=180\r\nwindvel=20\r\ntas=100\r\n"
    "var=10\r\nvortext=112.3/ 45/ ABC/ To\r\n"
    "[dest2]\r\ntoname=Mill\r\ndist=30\r\n";

class NavLogWindowTest : public MainWindowTest {
 protected:
  void OpenPlan(const std::string& bytes, const QString& name = "trip.flt") {
    WriteFile(Path(name), bytes);
    desk.file_answers.push_back(QPath(name));
    Form1->Open1Click();
  }

  // Edit on route row `row`, the dialog's texts changed by `change`, then Ok.
  void EditRow(int row, const std::function<void(CheckpointDialogTexts&)>& change) {
    Select(row);
    CheckpointDialogTexts texts;
    RowToDialog(Form1->plan.route[static_cast<std::size_t>(row)], texts);
    change(texts);
    AnswerCheckpoint(texts);
    Form1->ButtonEditClick();
  }

  TFormNavLog* Show() {
    Form1->NavigationLog1->trigger();
    return Form1->FormNavLog();
  }

  QVariant Cell(int row, int column, int role = Qt::DisplayRole) const {
    return Form1->FormNavLog()->Model()->index(row, column).data(role);
  }
  QString Text(int row, int column) const { return Cell(row, column).toString(); }
  QString Tip(int row, int column) const { return Cell(row, column, Qt::ToolTipRole).toString(); }
  bool Marked(int row, int column) const { return Cell(row, column, Qt::DecorationRole).isValid(); }
  QColor Background(int row, int column = Col(LogColumn::Name)) const {
    return Cell(row, column, Qt::BackgroundRole).value<QColor>();
  }
  int Rows() const { return Form1->FormNavLog()->Model()->rowCount(); }
};

TEST_F(NavLogWindowTest, TheMenuItemMakesTheWindowOnFirstUseAndShowsItAgainLater) {
  EXPECT_EQ(Form1->FormNavLog(), nullptr);  // start-up does not pay for it
  const QList<QAction*> items = Form1->Checkpoints1->actions();
  ASSERT_GE(items.size(), 2);
  EXPECT_TRUE(items[items.size() - 2]->isSeparator());
  EXPECT_EQ(items.last(), Form1->NavigationLog1);
  EXPECT_EQ(Form1->NavigationLog1->text(), "Navigation Log");

  TFormNavLog* log = Show();
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->isVisible());
  EXPECT_FALSE(log->isModal());
  EXPECT_TRUE(log->isWindow());
  EXPECT_EQ(log->windowTitle(), "Navigation Log");
  EXPECT_LT(log->minimumWidth(), log->maximumWidth());  // resizable
  EXPECT_TRUE(desk.shown_dialogs.empty());

  log->hide();
  EXPECT_EQ(Show(), log);
  EXPECT_TRUE(log->isVisible());
}

TEST_F(NavLogWindowTest, CellsAreThePrintedFiguresAndFollowEveryCommand) {
  OpenPlan(kTrip);
  Show();
  ASSERT_EQ(Rows(), 4);  // departure, two legs, Total
  EXPECT_EQ(Text(0, Col(LogColumn::Name)), "Home");
  EXPECT_EQ(Text(0, Col(LogColumn::FuelRem)), "");
  const QStringList lake = {"Lake", "090",  "",      "180", "20",  "",   "100", "11",
                            "101",  "10",   "111",   "111", "50",  "30", "98",  "30",
                            "4.5",  "33.5", "112.3", "045", "ABC", "To"};
  for (int c = 0; c < NavLogModel::ColumnCount(); ++c) EXPECT_EQ(Text(1, c), lake[c]) << c;
  // Carried values solve Mill, but only the changed inputs show, as on paper.
  EXPECT_EQ(Text(2, Col(LogColumn::Tc)), "");
  EXPECT_EQ(Text(2, Col(LogColumn::Gs)), "");
  EXPECT_EQ(Text(2, Col(LogColumn::Ete)), "18");
  EXPECT_EQ(Text(2, Col(LogColumn::FuelRem)), "30.8");
  EXPECT_EQ(Text(3, Col(LogColumn::Name)), "Total");
  EXPECT_EQ(Text(3, Col(LogColumn::Dist)), "80");
  EXPECT_EQ(Text(3, Col(LogColumn::Ete)), "48");
  EXPECT_EQ(Text(3, Col(LogColumn::FuelUsed)), "7.2");
  EXPECT_TRUE(Form1->FormNavLog()->LabelTitle->text().contains("Lakes run"));
  EXPECT_EQ(Form1->FormNavLog()->LabelSummary->text(),
            "Total 80 NM, 0:48 (48 min), 7.2 gal used; at destination 30.8 gal, endurance 3:25 "
            "left");

  // Add: a third leg with a new course.
  CheckpointDialogTexts bay = Texts("Bay", "40");
  bay.EditTrueCourse = "45";
  AnswerCheckpoint(bay);
  Form1->ButtonAddClick();
  ASSERT_EQ(Rows(), 5);
  EXPECT_EQ(Text(3, Col(LogColumn::Name)), "Bay");
  EXPECT_EQ(Text(3, Col(LogColumn::Th)), "053");
  EXPECT_EQ(Text(4, Col(LogColumn::Dist)), "120");

  // Edit: Mill becomes 60 miles.
  Select(2);
  AnswerCheckpoint(Texts("Mill", "60"));
  Form1->ButtonEditClick();
  EXPECT_EQ(Text(2, Col(LogColumn::Ete)), "36");
  EXPECT_EQ(Text(4, Col(LogColumn::Dist)), "150");

  // Aircraft: a thirstier engine changes every fuel figure.
  desk.dialog_answers.push_back([](QDialog* d) {
    auto* form = static_cast<TFormAircraft*>(d);
    AircraftInfo info;
    form->StoreAircraft(info);
    info.acgph = 12.0;
    form->LoadAircraft(info);
    form->ButtonOkClick();
    return d->result();
  });
  Form1->ButtonAircraftClick();
  EXPECT_EQ(Text(1, Col(LogColumn::FuelUsed)), "6.0");

  // Title.
  Form1->EditTitle->setText("Evening run");
  emit Form1->EditTitle->textEdited("Evening run");
  EXPECT_TRUE(Form1->FormNavLog()->LabelTitle->text().contains("Evening run"));

  // Delete, then Delete All, then New.
  Select(3);
  desk.message_answers.push_back(mrYes);
  Form1->Delete1Click();
  EXPECT_EQ(Rows(), 4);
  EXPECT_EQ(Text(3, Col(LogColumn::Dist)), "110");
  desk.message_answers.push_back(mrYes);
  Form1->DeleteAll1Click();
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Text(0, Col(LogColumn::Name)), "Total");
  EXPECT_EQ(Form1->FormNavLog()->LabelCheck->text(),
            "You must have at least two checkpoints before computing the route");
  desk.message_answers.push_back(mrNo);  // don't save the edits
  OpenPlan(kTrip);
  EXPECT_EQ(Rows(), 4);
  desk.message_answers.push_back(mrNo);  // don't save
  MarkModified();
  Form1->New1Click();
  EXPECT_EQ(Rows(), 1);
  EXPECT_FALSE(Form1->FormNavLog()->LabelTitle->text().contains("Lakes run"));
}

TEST_F(NavLogWindowTest, ProblemsAreMarkedWhereTheyAre) {
  // No variation on the first leg; Storm's crosswind beats the airspeed; Far
  // is solved with the variation Ridge brings.
  OpenPlan(
      "[misc]\r\ncount=5\r\n[dest0]\r\ntoname=Home\r\n"
      "[dest1]\r\ntoname=Lake\r\ndist=20\r\ntc=90\r\nwinddir=180\r\nwindvel=20\r\ntas=100\r\n"
      "[dest2]\r\ntoname=Ridge\r\ndist=20\r\nvar=5\r\n"
      "[dest3]\r\ntoname=Storm\r\ndist=20\r\nwindvel=150\r\n"
      "[dest4]\r\ntoname=Far\r\ndist=20\r\nwindvel=10\r\n");
  Show();
  EXPECT_EQ(Form1->FormNavLog()->LabelCheck->text(),
            "Missing Information: Magnetic Variation on the first checkpoint; wind effects cannot "
            "be computed until it is entered");
  EXPECT_TRUE(Form1->FormNavLog()->LabelCheck->isVisibleTo(Form1->FormNavLog()));

  EXPECT_TRUE(Marked(1, Col(LogColumn::Var)));
  EXPECT_EQ(Tip(1, Col(LogColumn::Var)).split('\n').first(),
            "Missing Information: Magnetic Variation");
  EXPECT_FALSE(Marked(1, Col(LogColumn::Tc)));
  EXPECT_TRUE(Marked(1, Col(LogColumn::Name)));
  EXPECT_EQ(Tip(1, Col(LogColumn::Name)),
            "Not solved: no magnetic variation entered on this or an earlier checkpoint");
  EXPECT_FALSE(Marked(2, Col(LogColumn::Name)));
  EXPECT_TRUE(Marked(3, Col(LogColumn::Name)));
  EXPECT_EQ(Tip(3, Col(LogColumn::Name)),
            "Not solved: the crosswind is stronger than the true airspeed");
  EXPECT_EQ(Text(3, Col(LogColumn::Ete)), "");
  EXPECT_FALSE(Marked(4, Col(LogColumn::Name)));
  EXPECT_NE(Text(4, Col(LogColumn::Ete)), "");

  const int total = Form1->FormNavLog()->Model()->TotalRow();
  EXPECT_TRUE(Marked(total, Col(LogColumn::Ete)));
  EXPECT_TRUE(Marked(total, Col(LogColumn::FuelUsed)));
  EXPECT_FALSE(Marked(total, Col(LogColumn::Dist)));  // every distance is counted
  EXPECT_EQ(Tip(total, Col(LogColumn::FuelUsed)),
            "Leaves out the time and fuel of 2 legs that could not be solved");
  EXPECT_TRUE(Form1->FormNavLog()->LabelSummary->text().endsWith(
      "(time and fuel leave out 2 legs that could not be solved)"));
  // The marked totals stay readable, the mark beside them.
  for (int column : {Col(LogColumn::Ete), Col(LogColumn::FuelUsed)}) {
    const QModelIndex cell = Form1->FormNavLog()->Model()->index(total, column);
    EXPECT_GE(Form1->FormNavLog()->GridLog->columnWidth(column),
              Form1->FormNavLog()->GridLog->sizeHintForIndex(cell).width());
  }

  // Filling in the variation clears the check and the first leg's marks.
  EditRow(1, [](CheckpointDialogTexts& lake) { lake.EditMagVar = "5"; });
  EXPECT_TRUE(Form1->FormNavLog()->LabelCheck->isHidden());
  EXPECT_FALSE(Marked(1, Col(LogColumn::Var)));
  EXPECT_FALSE(Marked(1, Col(LogColumn::Name)));
  EXPECT_EQ(Tip(total, Col(LogColumn::FuelUsed)),
            "Leaves out the time and fuel of 1 leg that could not be solved");

  // A distance that is no number counts as 0, and says so where it stands.
  EditRow(4, [](CheckpointDialogTexts& far) { far.EditDistance = "abc"; });
  EXPECT_EQ(Text(4, Col(LogColumn::Dist)), "0");
  EXPECT_TRUE(Marked(4, Col(LogColumn::Dist)));
  EXPECT_FALSE(Marked(3, Col(LogColumn::Dist)));
  const QString nan = "Checkpoint \"Far\": the distance \"abc\" is not a number and counts as 0.";
  EXPECT_EQ(Tip(4, Col(LogColumn::Dist)), nan);
  EXPECT_EQ(Form1->FormNavLog()->LabelCheck->text(), nan);

  // The airspeed is marked where Print will ask for it.
  EditRow(1, [](CheckpointDialogTexts& lake) { lake.EditAirspeed = ""; });
  EXPECT_TRUE(Marked(1, Col(LogColumn::Tas)));
  EXPECT_EQ(Tip(1, Col(LogColumn::Tas)).split('\n').first(), "Missing Information: True Airspeed");
}

TEST_F(NavLogWindowTest, FuelBelowTheReserveIsAmberAndBelowZeroRed) {
  // 10 gallons at 10 an hour: 5.0 left at Lake, 4.0 at Mill, -1.0 at Bay.
  OpenPlan(
      "[misc]\r\nacgph=10\r\nacfullfuel=10\r\ncount=4\r\n[dest0]\r\ntoname=Home\r\n"
      "[dest1]\r\ntoname=Lake\r\ndist=50\r\ntc=90\r\nwinddir=0\r\nwindvel=0\r\ntas=100\r\n"
      "var=0\r\n[dest2]\r\ntoname=Mill\r\ndist=10\r\n[dest3]\r\ntoname=Bay\r\ndist=50\r\n");
  Show();
  EXPECT_EQ(Form1->FormNavLog()->SpinReserve->value(), 30);  // a file without the key
  EXPECT_EQ(Form1->FormNavLog()->LabelReserveFuel->text(), "= 5.0 gal");
  EXPECT_FALSE(Background(1).isValid());  // exactly the reserve is enough
  EXPECT_EQ(Background(2), NavLogModel::kBelowReserve);
  EXPECT_EQ(Background(2, Col(LogColumn::FuelRem)), NavLogModel::kBelowReserve);
  EXPECT_EQ(Tip(2, Col(LogColumn::FuelRem)),
            "fuel remaining 4.0 gal is below the 30 min reserve of 5.0 gal");
  EXPECT_EQ(Background(3), NavLogModel::kExhausted);
  EXPECT_EQ(Tip(3, Col(LogColumn::Name)), "fuel exhausted 6 min before this checkpoint");
  EXPECT_FALSE(Background(4).isValid());  // Total
  EXPECT_TRUE(Form1->FormNavLog()->LabelSummary->text().endsWith(
      "at destination -1.0 gal, fuel exhausted"));

  // The night reserve: Lake too is short now, and the plan has a change to save.
  EXPECT_FALSE(Form1->Document().IsModified());
  Form1->FormNavLog()->SpinReserve->setValue(45);
  EXPECT_EQ(Form1->plan.reserve, 45);
  EXPECT_TRUE(Form1->Document().IsModified());
  EXPECT_EQ(Background(1), NavLogModel::kBelowReserve);
  EXPECT_EQ(Form1->FormNavLog()->LabelReserveFuel->text(), "= 7.5 gal");
}

TEST_F(NavLogWindowTest, TheReserveIsSavedWithThePlanAndTheRestOfTheFileIsKept) {
  OpenPlan(kTrip);
  Show();
  Form1->FormNavLog()->SpinReserve->setValue(45);
  Form1->Save1Click();
  const std::string saved = ReadFile(Path("trip.flt"));
  EXPECT_NE(saved.find("; kept by hand\r\n[misc]\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("mystery=42\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("reserve=45\r\n"), std::string::npos) << saved;
  EXPECT_FALSE(Form1->Document().IsModified());

  // Another plan, then this one again: the window shows the stored value,
  // and showing it is no change of the plan.
  OpenPlan("[misc]\r\ncount=0\r\nreserve=20\r\n", "other.flt");
  EXPECT_EQ(Form1->FormNavLog()->SpinReserve->value(), 20);
  desk.file_answers.push_back(QPath("trip.flt"));
  Form1->Open1Click();
  EXPECT_EQ(Form1->FormNavLog()->SpinReserve->value(), 45);
  EXPECT_FALSE(Form1->Document().IsModified());
}

TEST_F(NavLogWindowTest, SelectingARowInEitherWindowSelectsTheSameCheckpoint) {
  OpenPlan(kTrip);
  Show();
  Select(2);
  EXPECT_EQ(Form1->FormNavLog()->GridLog->currentIndex().row(), 2);
  Form1->FormNavLog()->GridLog->setCurrentIndex(Form1->FormNavLog()->Model()->index(1, 3));
  EXPECT_EQ(Form1->SelectedRow(), 1);
  Form1->FormNavLog()->GridLog->setCurrentIndex(Form1->FormNavLog()->Model()->index(0, 0));
  EXPECT_EQ(Form1->SelectedRow(), 0);
  // The Total row is no checkpoint: the main window keeps its row.
  Form1->FormNavLog()->GridLog->setCurrentIndex(Form1->FormNavLog()->Model()->index(3, 0));
  EXPECT_EQ(Form1->SelectedRow(), 0);
}

TEST_F(NavLogWindowTest, CopyAsCsvCopiesWhatTheWindowShows) {
  OpenPlan(kTrip);
  Show();
  EXPECT_EQ(Form1->FormNavLog()->Copy1->text(), "Copy as CSV");
  QApplication::clipboard()->clear();
  Form1->FormNavLog()->Copy1->trigger();
  const QString csv =
      "Checkpoint,TC,Alt,Wind Dir,Wind Vel,Temp,TAS,WCA,TH,Var,MH,CH,Dist,Rem,GS,ETE,Fuel Used,"
      "Fuel Rem,VOR Freq,Brng,Ident,To/Fr\n"
      "Home,,,,,,,,,,,,,,,,,,,,,\n"
      "Lake,090,,180,20,,100,11,101,10,111,111,50,30,98,30,4.5,33.5,112.3,045,ABC,To\n"
      "Mill,,,,,,,,,,,,30,0,,18,2.7,30.8,,,,\n"
      "Total,,,,,,,,,,,,80,,,48,7.2,,,,,\n";
  EXPECT_EQ(QApplication::clipboard()->text(), csv);

  // Ctrl+C in the table gives the whole log too, not just the current cell.
  QApplication::clipboard()->clear();
  Form1->FormNavLog()->GridLog->setCurrentIndex(Form1->FormNavLog()->Model()->index(1, 1));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "c");
  QCoreApplication::sendEvent(Form1->FormNavLog()->GridLog, &press);
  EXPECT_EQ(QApplication::clipboard()->text(), csv);
  EXPECT_TRUE(Form1->FormNavLog()->GridLog->actions().contains(
      Form1->FormNavLog()->Copy1));  // context menu
}

// 10.5 gph and 1-minute legs: 0.175 gallons a leg.
TEST_F(NavLogWindowTest, FiguresAPilotChecksAddUpAndBearingsAreNeverInvented) {
  OpenPlan(
      "[misc]\nacgph=10.5\nacfullfuel=38\ncount=4\n[dest0]\ntoname=Home\n"
      "[dest1]\ntoname=A\ndist=2\ntc=90\nwinddir=0\nwindvel=0\ntas=100\nvar=0\n"
      "vortext=112.3/ R-270/ ABC/ From\n"
      "[dest2]\ntoname=B\ndist=2\nvortext=112.3/ -/ ABC/ From\n"
      "[dest3]\ntoname=C\ndist=2\nvortext=112.3/ QDM 90/ ABC/ To\n");
  Show();
  EXPECT_EQ(Text(1, Col(LogColumn::VorBrng)), "270");
  EXPECT_EQ(Text(2, Col(LogColumn::VorBrng)), "-");
  EXPECT_EQ(Text(3, Col(LogColumn::VorBrng)), "090");
  // The legs add up to the total, the exact 0.525 to the tenth.
  EXPECT_EQ(QStringList({Text(1, Col(LogColumn::FuelUsed)), Text(2, Col(LogColumn::FuelUsed)),
                         Text(3, Col(LogColumn::FuelUsed)), Text(4, Col(LogColumn::FuelUsed))}),
            QStringList({"0.2", "0.1", "0.2", "0.5"}));
  EXPECT_TRUE(Tip(4, Col(LogColumn::FuelUsed)).contains("exact total"));
  EXPECT_EQ(Form1->FormNavLog()->LabelReserveFuel->text(), "= 5.3 gal");  // 30 minutes: 5.25
}

}  // namespace

namespace {

TEST_F(NavLogWindowTest, ADepartureTimesTheArrivalAndANightLandingTakesTheNightReserve) {
  OpenPlan(
      "[misc]\r\ntitle=Coast\r\nacgph=9\r\nacfullfuel=38\r\ncount=2\r\nfieldcount=0\r\n"
      "[dest0]\r\ntoname=KSQL\r\nlat=37.5119\r\nlon=-122.2495\r\n"
      "[dest1]\r\ntoname=KHAF\r\ndist=12\r\ntc=270\r\nwinddir=270\r\nwindvel=0\r\ntas=100\r\n"
      "var=-13\r\nlat=37.5134\r\nlon=-122.501\r\n");
  TFormNavLog* window = Show();
  EXPECT_FALSE(window->CheckDeparture->isChecked());
  window->CheckDeparture->setChecked(true);
  // Half an hour after the end of civil twilight on the coast, UTC.
  window->EditDeparture->setDateTime(QDateTime(QDate(2026, 6, 2), QTime(4, 30), QTimeZone::utc()));
  EXPECT_EQ(Form1->plan.departure, "2026-06-02T04:30Z");
  EXPECT_EQ(Form1->plan.reserve, kNightReserve);
  EXPECT_EQ(window->SpinReserve->value(), kNightReserve);
  EXPECT_TRUE(window->LabelCheck->text().contains("KHAF (ETA 04:37Z): arrives at night"))
      << window->LabelCheck->text().toStdString();

  Form1->Save1Click();
  EXPECT_NE(ReadFile(Path("trip.flt")).find("departure=2026-06-02T04:30Z\r\n"), std::string::npos);
  window->CheckDeparture->setChecked(false);
  EXPECT_EQ(Form1->plan.departure, "");
  EXPECT_TRUE(window->LabelCheck->text().isEmpty());
}

// The window, the printout and the check read one log, computed once per
// change: asking again hands back the same value, and an edit replaces it.
TEST_F(NavLogWindowTest, EveryReaderGetsTheSameLogUntilTheNextChange) {
  OpenPlan(kTrip);
  Show();
  PlanDocument& document = Form1->Document();
  const NavLog* first = &document.Log();
  EXPECT_EQ(&document.Log(), first);
  EXPECT_EQ(FormatLogCsv(*first), FormatLogCsv(ComputeLog(Form1->plan)));
  EXPECT_EQ(Text(1, Col(LogColumn::Ete)), QString::number(first->legs[0].ete));

  EditRow(2, [](CheckpointDialogTexts& t) { t.EditDistance = "60"; });
  EXPECT_EQ(document.Log().totals.dist, 110);
  EXPECT_EQ(Text(Rows() - 1, Col(LogColumn::Dist)), "110");
  EXPECT_EQ(FormatLogCsv(document.Log()), FormatLogCsv(ComputeLog(Form1->plan)));
}

}  // namespace

TEST_F(NavLogWindowTest, ValuesTypedOverWhatThePositionsGiveAreMarkedAsThePilots) {
  OpenPlan(
      "[misc]\r\ntitle=Placed\r\ncount=2\r\nfieldcount=0\r\n"
      "[dest0]\r\ntoname=KSQL\r\nlat=37.511902\r\nlon=-122.249496\r\n"
      "[dest1]\r\ntoname=South\r\ndist=50\r\ntc=138\r\ntas=100\r\nlat=37.25\r\nlon=-121.95\r\n");
  Show();
  EXPECT_TRUE(Marked(1, Col(LogColumn::Dist)));
  EXPECT_TRUE(Tip(1, Col(LogColumn::Dist))
                  .contains("The distance was typed; the checkpoints' positions give 21 NM"))
      << Tip(1, Col(LogColumn::Dist)).toStdString();
  EXPECT_EQ(Text(1, Col(LogColumn::Dist)), "50");  // the pilot's stands
  EXPECT_FALSE(Tip(1, Col(LogColumn::Tc)).contains("was typed"));
}

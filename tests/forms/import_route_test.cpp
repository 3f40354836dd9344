#include <QLineEdit>

#include "MainWindowFixture.h"
#include "forms/Aviationdata.h"
#include "forms/Ffield.h"
#include "plan/planfile.h"

namespace {

QString Route(const char* name) {
  return QString(HALVIX_ROUTES) + "/" + name;
}

TEST_F(MainWindowTest, ImportRouteReplacesThePlanAndNamesItAfterTheRoute) {
  WriteFile(Path("trip.gpx"), ReadFile(Route("europe.gpx").toStdString()));
  AddRoute(2);
  Form1->plan.modified = 1;
  Form1->plan.aircraft.actype = "DA40";
  desk.message_answers = {mrNo};
  desk.file_answers = {QPath("trip.gpx")};
  Form1->ImportRoute1Click();

  ASSERT_EQ(desk.messages.size(), 1u);  // the save-changes prompt, nothing else
  EXPECT_EQ(desk.messages[0].caption, "Confirm");
  ASSERT_EQ(desk.file_dialog_filters.size(), 1u);
  EXPECT_EQ(desk.file_dialog_filters[0], "Flight plans (*.gpx *.fpl)");
  EXPECT_EQ(desk.file_dialog_proposals[0], dir_.path() + "/");

  EXPECT_EQ(Form1->EditTitle->text(), "Lake Constance to Munich");
  ASSERT_EQ(Form1->RouteModel()->rowCount(), 4);
  EXPECT_EQ(Caption(3), "Oberpfaffenhofen");
  EXPECT_EQ(Form1->RouteModel()->index(1, 1).data().toString(), "23");
  EXPECT_EQ(Form1->RouteModel()->index(1, 2).data().toString(), "61");
  EXPECT_EQ(Form1->plan.filename, Path("trip.flt"));
  EXPECT_EQ(Form1->plan.modified, 1);
  EXPECT_EQ(Form1->plan.aircraft.actype, "DA40");

  // An edited checkpoint keeps its place; saving writes it with the row.
  Select(2);
  CheckpointDialogTexts texts;
  RowToDialog(Form1->plan.route[2], texts);
  texts.EditCheckpointName = "Augsburg";
  texts.EditTrueCourse = "48";
  AnswerCheckpoint(texts);
  Form1->ButtonEditClick();
  Form1->Save1Click();
  Plan back;
  LoadPlan(back, Path("trip.flt"));
  ASSERT_EQ(back.route.size(), 4u);
  EXPECT_EQ(back.route[2].caption, "Augsburg");
  EXPECT_EQ(back.route[2].SubItem(kCellCourse), "48");
  ASSERT_TRUE(back.route[2].position.has_value());
  EXPECT_DOUBLE_EQ(back.route[2].position->lat, 48.425158);
}

TEST_F(MainWindowTest, ImportedAirportsFillTheAirfieldList) {
  MakeDialogs();
  desk.file_answers = {Route("western_us.fpl")};
  Form1->ImportRoute1Click();
  ASSERT_EQ(FormFields->Model()->rowCount(), 2);
  EXPECT_EQ(FormFields->Model()->index(1, 0).data().toString(), "KPDX");
  EXPECT_EQ(Form1->plan.filename, (Route("western_us.flt")).toStdString());
}

TEST_F(MainWindowTest, ImportedAirportsAreFilledFromTheDataAndItsNotesShown) {
  MakeDialogs();
  qputenv("XDG_CACHE_HOME", dir_.path().toUtf8());
  SetAviationFolder(QStringLiteral(HALVIX_AVIATION_TEST_DATA) + "/ourairports");
  desk.file_answers = {Route("bay_area.fpl")};
  desk.message_answers = {mrOk};
  Form1->ImportRoute1Click();
  SetAviationFolder(QString());

  ASSERT_EQ(FormFields->Model()->rowCount(), 2);
  EXPECT_EQ(Form1->plan.airfields[0].runways, "12/30");
  ASSERT_EQ(desk.messages.size(), 1u);
  EXPECT_EQ(desk.messages[0].caption, "Warning");
  EXPECT_TRUE(desk.messages[0].text.contains("pattern altitude 1000 is a default"));
}

TEST_F(MainWindowTest, ImportRouteStopsOnCancelOrAFileItCannotRead) {
  AddRoute(1);
  Form1->plan.modified = 1;
  desk.message_answers = {mrCancel};
  Form1->ImportRoute1Click();
  EXPECT_TRUE(desk.file_dialog_filters.empty());

  desk.message_answers = {mrNo};
  desk.file_answers = {QString()};  // the file dialog cancelled
  Form1->ImportRoute1Click();
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 2);

  WriteFile(Path("bad.gpx"), "<gpx><wpt lat=\"95\" lon=\"0\"/><wpt lat=\"1\" lon=\"0\"/></gpx>");
  desk.message_answers = {mrNo, mrOk};
  desk.file_answers = {QPath("bad.gpx")};
  Form1->ImportRoute1Click();
  ASSERT_EQ(desk.messages.size(), 4u);
  EXPECT_EQ(desk.messages[3].caption, "Error");
  EXPECT_EQ(desk.messages[3].text, "Unable to import " + QPath("bad.gpx") +
                                       "\nwaypoint 1 has a latitude 95 outside -90..90");
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 2);
  EXPECT_EQ(Caption(0), "Home");
  EXPECT_EQ(Form1->plan.modified, 1);
  EXPECT_EQ(Form1->plan.filename, Path("default.flt"));
}

}  // namespace

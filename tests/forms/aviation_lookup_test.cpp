// Look-ups in the aviation data from the dialogs, with scripted answers.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "ScriptedDesktop.h"
#include "chart/route_edit.h"
#include "forms/Aviationdata.h"
#include "forms/Fadd.h"
#include "forms/Fadd1.h"
#include "forms/Faddfld.h"
#include "forms/Fhalvix.h"
#include "forms/Fpick.h"
#include "plan/route_row.h"
#include "routes/route_import.h"

namespace {

const QString kData = QStringLiteral(HALVIX_AVIATION_TEST_DATA);

class AviationLookUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Settings and index go to a folder of the test's own, never the user's.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home_.path());
    qputenv("XDG_CACHE_HOME", home_.path().toUtf8());
    SetAviationFolder(kData + "/ourairports");
  }
  void TearDown() override { SetAviationFolder(QString()); }

  QTemporaryDir home_;
  ScriptedDesktop desk_;
};

}  // namespace

TEST_F(AviationLookUpTest, TheAirfieldDialogFillsFromACodeOrAChosenName) {
  TFormAddField form;
  form.EditName->setText("ksql");
  form.ButtonLookUpClick();
  EXPECT_EQ(form.EditName->text(), "KSQL San Carlos Airport");
  EXPECT_EQ(form.EditElevation->text(), "5");
  EXPECT_EQ(form.EditRunways->text(), "12/30");
  EXPECT_EQ(form.EditATC->text(), "119.0");
  EXPECT_TRUE(form.LabelLookUp->text().contains("pattern altitude 1000 is a default"));

  // Several airports have "airport" in their name: the pilot picks the second.
  desk_.dialog_answers.push_back([](QDialog* dialog) {
    auto* pick = static_cast<TFormPickPlace*>(dialog);
    EXPECT_EQ(pick->ListPlaces->count(), 3);
    pick->ListPlaces->setCurrentRow(1);
    pick->ButtonOkClick();
    return pick->result();
  });
  form.EditName->setText("airport");
  form.ButtonLookUpClick();
  EXPECT_EQ(form.EditName->text(), "KHAF Half Moon Bay Airport");
  EXPECT_EQ(form.EditTraffic->text(), "122.975");

  desk_.message_answers.push_back(mrOk);
  form.EditName->setText("Nowhere");
  form.ButtonLookUpClick();
  ASSERT_EQ(desk_.messages.size(), 1u);
  EXPECT_EQ(desk_.messages[0].text, "No airport matches \"Nowhere\".");
  EXPECT_EQ(form.EditName->text(), "Nowhere");
}

TEST_F(AviationLookUpTest, TheCheckpointDialogMeasuresTheLegAndFillsTheVor) {
  TFormAdd form;
  form.ClearEdits();
  form.previous_position = GeoPosition{37.511902, -122.249496};  // KSQL
  form.EditLookUp->setText(" 37.25,-121.95 ");
  form.ButtonLookUpClick();
  ASSERT_TRUE(form.position.has_value());
  EXPECT_EQ(form.EditCheckpointName->text(), "37.25,-121.95");
  EXPECT_EQ(form.EditDistance->text(), "21");
  EXPECT_EQ(form.EditTrueCourse->text(), "138");
  EXPECT_FALSE(form.EditMagVar->text().isEmpty());
  EXPECT_EQ(form.EditFreq->text(), "114.1");
  EXPECT_EQ(form.EditBear->text(), "165");
  EXPECT_EQ(form.EditIdent->text(), "SJC");
  EXPECT_TRUE(form.RadioButtonFrom->isChecked());

  // A typed name and VOR stay; the ident finds the VORTAC near the previous point.
  form.ClearEdits();
  form.EditCheckpointName->setText("Skyline");
  form.EditFreq->setText("112.3");
  form.EditLookUp->setText("osi");
  form.ButtonLookUpClick();
  EXPECT_NEAR(form.position->lat, 37.3925, 1e-9);
  EXPECT_EQ(form.EditCheckpointName->text(), "Skyline");
  EXPECT_EQ(form.EditFreq->text(), "112.3");
  EXPECT_EQ(form.EditBear->text(), "");

  // At the VOR itself: no radial, and so neither To nor From.
  form.ClearEdits();
  form.EditLookUp->setText("37.3748,-121.9447");
  form.ButtonLookUpClick();
  EXPECT_EQ(ComposeVorCell(form.Texts()), "114.1/ / SJC/ ");

  // Nothing placed before the departure: the pilot chooses among the places.
  desk_.dialog_answers.push_back([](QDialog* dialog) {
    auto* pick = static_cast<TFormPickPlace*>(dialog);
    EXPECT_EQ(pick->ListPlaces->count(), 2);
    EXPECT_TRUE(pick->ListPlaces->item(1)->text().contains("VOR-DME San Jose"));
    pick->ListPlaces->setCurrentRow(0);
    pick->ButtonOkClick();
    return pick->result();
  });
  TFormAddFirst first;
  first.ResetLookUp();
  first.EditLookUp->setText("SJC");
  first.ButtonLookUpClick();
  EXPECT_EQ(first.EditDeparture->text(), "KSJC Norman Y. Mineta San Jose International Airport");
  EXPECT_TRUE(first.position.has_value());
}

TEST_F(AviationLookUpTest, FolderChoiceAndTheCrossCheckCommandReportWhatTheyDid) {
  desk_.file_answers.push_back(kData + "/xplane");
  desk_.message_answers = {mrOk, mrOk, mrOk};
  EXPECT_TRUE(ChooseAviationFolder(nullptr));
  EXPECT_EQ(AviationFolder(), kData + "/xplane");
  ASSERT_EQ(desk_.messages.size(), 2u);
  EXPECT_TRUE(desk_.messages[0].text.contains("more than a year ago"))
      << desk_.messages[0].text.toStdString();
  EXPECT_TRUE(desk_.messages[1].text.contains("3 airports, 6 navaids and fixes, cycle 2013.10"))
      << desk_.messages[1].text.toStdString();

  Plan plan;
  AddRow(plan, RowBuilder("KSQL"));
  AddRow(plan, RowBuilder("South").distance_nm(21).true_course_deg(136));
  plan.route[1].position = GeoPosition{37.25, -121.95};
  EXPECT_EQ(FillVorCrossChecksCommand(nullptr, plan), 1);
  EXPECT_EQ(plan.route[1].SubItem(kCellVor), "114.1/ 165/ SJC/ From");
  EXPECT_EQ(desk_.messages.back().text, "VOR cross-checks filled for 1 checkpoints.");
}

TEST_F(AviationLookUpTest, FillingTheCrossChecksFromTheMenuIsOneUndoableChange) {
  SetAviationFolder(kData + "/xplane");
  TForm1 form;
  form.TimerAutoLoad->stop();
  Plan plan;
  AddRow(plan, RowBuilder("KSQL"));
  AddRow(plan, RowBuilder("South").distance_nm(21).true_course_deg(136));
  plan.route[1].position = GeoPosition{37.25, -121.95};
  form.Document().Replace(plan);
  desk_.message_answers = {mrOk, mrOk, mrOk};
  form.FillVor1->trigger();
  EXPECT_EQ(form.plan.route[1].SubItem(kCellVor), "114.1/ 165/ SJC/ From");
  EXPECT_EQ(form.Undo1->text(), "&Undo Fill VOR Cross-Checks");
  form.Undo1->trigger();
  EXPECT_EQ(form.plan.route[1].SubItem(kCellVor), "");
  EXPECT_FALSE(form.Document().IsModified());
}

TEST_F(AviationLookUpTest, AnIndexKeptInMemoryIsToldWhenTheDataIsFirstUsed) {
  // The cache folder's place is taken by a file.
  QFile blocker(home_.filePath("cache"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  qputenv("XDG_CACHE_HOME", blocker.fileName().toUtf8());
  desk_.message_answers = {mrOk};
  const AviationData* data = UseAviationData(nullptr);
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(data->FindAirports("KSQL").empty());
  ASSERT_EQ(desk_.messages.size(), 1u);
  EXPECT_EQ(desk_.messages[0].caption, "Warning");
  EXPECT_TRUE(desk_.messages[0].text.contains("Not a directory"))
      << desk_.messages[0].text.toStdString();
  EXPECT_EQ(UseAviationData(nullptr), data);
  EXPECT_EQ(desk_.messages.size(), 1u);
}

TEST_F(AviationLookUpTest, DeletingOrLookingUpACheckpointMovesTheLegsBesideIt) {
  std::string error;
  const MagneticModel* model = PlanningSession::Magnetic(error);
  ASSERT_NE(model, nullptr) << error;
  const auto imported = [&](std::vector<GeoPosition> points) {
    Route route;
    for (const GeoPosition& p : points) {
      RouteWaypoint w;
      w.name = CoordinateName(p);
      w.position = p;
      route.points.push_back(w);
    }
    Plan plan;
    EXPECT_TRUE(RouteToPlan(route, *model, DecimalYear(Today()), plan, error));
    return plan;
  };
  const auto leg = [](const Plan& plan, std::size_t row) {
    return std::vector<std::string>{plan.route[row].SubItem(kCellDist),
                                    plan.route[row].SubItem(kCellCourse),
                                    plan.route[row].SubItem(kCellMagVar)};
  };
  const GeoPosition ksql{37.511902, -122.249496}, south{37.25, -121.95}, far{36.9, -121.6};
  TForm1 form;
  form.TimerAutoLoad->stop();
  form.Document().Replace(imported({ksql, south, far}));

  form.Document().SelectRow(1);
  desk_.message_answers = {mrYes};
  form.Delete1Click();
  ASSERT_EQ(form.plan.route.size(), 2u);
  EXPECT_EQ(leg(form.plan, 1), leg(imported({ksql, far}), 1));

  // The departure looked up elsewhere: the first leg follows it.
  form.Document().SelectRow(0);
  desk_.dialog_answers.push_back([&form](QDialog* d) {
    form.FormAddFirst()->EditLookUp->setText("37.3748,-121.9447");
    form.FormAddFirst()->ButtonLookUpClick();
    form.FormAddFirst()->ButtonOkClick();
    return d->result();
  });
  form.ButtonEditClick();
  const Plan expected = imported({{37.3748, -121.9447}, far});
  EXPECT_EQ(leg(form.plan, 1), leg(expected, 1));

  // A distance the pilot typed is kept through a move and pointed out in the log.
  form.Document().Change("Edit", [](Plan& plan) { plan.route[1].subitems[kCellDist] = "40"; });
  form.Document().SelectRow(0);
  desk_.dialog_answers.push_back([&form](QDialog* d) {
    form.FormAddFirst()->EditLookUp->setText("37.25,-121.95");
    form.FormAddFirst()->ButtonLookUpClick();
    form.FormAddFirst()->ButtonOkClick();
    return d->result();
  });
  form.ButtonEditClick();
  EXPECT_EQ(form.plan.route[1].SubItem(kCellDist), "40");
  EXPECT_EQ(form.plan.route[1].SubItem(kCellCourse), leg(imported({south, far}), 1)[1]);
  EXPECT_EQ(std::to_string(form.Document().Log().legs[0].positions_give.dist),
            leg(imported({south, far}), 1)[0]);
}

TEST_F(AviationLookUpTest, LookedUpAirportsJoinTheAirfieldsAndAFilledVorFollowsItsCheckpoint) {
  TForm1 form;
  form.TimerAutoLoad->stop();
  desk_.message_answers = {mrOk, mrOk, mrOk};
  const auto look_up = [](TFormAddFirst* first, TFormAdd* add, const char* text) {
    return [first, add, text](QDialog* d) {
      if (first) {
        first->EditLookUp->setText(text);
        first->ButtonLookUpClick();
        first->ButtonOkClick();
      } else {
        add->EditLookUp->setText(text);
        add->ButtonLookUpClick();
        add->ButtonOkClick();
      }
      return d->result();
    };
  };
  desk_.dialog_answers.push_back(look_up(form.FormAddFirst(), nullptr, "KSQL"));
  form.ButtonAddClick();
  ASSERT_EQ(form.plan.airfields.size(), 1u);
  EXPECT_EQ(form.plan.airfields[0].name, "KSQL San Carlos Airport");
  EXPECT_EQ(form.plan.airfields[0].atc, "119.0");

  desk_.dialog_answers.push_back(look_up(nullptr, form.FormAdd(), "37.25,-121.95"));
  form.ButtonAddClick();
  ASSERT_EQ(form.plan.route.size(), 2u);
  EXPECT_EQ(form.plan.route[1].SubItem(kCellVor), "114.1/ 165/ SJC/ From");
  EXPECT_EQ(form.plan.airfields.size(), 1u);

  // Looked up elsewhere: the filled cross-check is filled again.
  form.Document().SelectRow(1);
  desk_.dialog_answers.push_back(look_up(nullptr, form.FormAdd(), "37.30,-121.80"));
  form.ButtonEditClick();
  EXPECT_EQ(form.plan.route[1].SubItem(kCellVor),
            VorTextFor(nullptr, GeoPosition{37.30, -121.80}).toStdString());
  EXPECT_NE(form.plan.route[1].SubItem(kCellVor), "114.1/ 165/ SJC/ From");
}

TEST_F(AviationLookUpTest, FillingTheCrossChecksOffersToFillStaleOnesAgain) {
  desk_.message_answers = {mrOk, mrOk, mrOk};
  ASSERT_NE(UseAviationData(nullptr), nullptr);
  desk_.messages.clear();
  Plan plan;
  AddRow(plan, RowBuilder("KSQL").position(GeoPosition{37.511902, -122.249496}));
  // Filled at 37.25,-121.95 before the checkpoint moved; and one the pilot typed.
  AddRow(plan,
         RowBuilder("Moved").vor("114.1/ 165/ SJC/ From").position(GeoPosition{37.30, -121.80}));
  AddRow(plan,
         RowBuilder("Typed").vor("114.1/ 100/ SJC/ To").position(GeoPosition{37.30, -121.80}));
  desk_.message_answers = {mrYes, mrOk};
  EXPECT_EQ(FillVorCrossChecksCommand(nullptr, plan), 1);
  ASSERT_EQ(desk_.messages.size(), 2u);
  EXPECT_EQ(desk_.messages[0].text,
            "1 checkpoint has a VOR cross-check from the data that no longer matches where it "
            "lies: Moved.\nFill it again?");
  EXPECT_EQ(ReadRow(plan.route[1]).vor,
            VorTextFor(nullptr, GeoPosition{37.30, -121.80}).toStdString());
  EXPECT_EQ(ReadRow(plan.route[2]).vor, "114.1/ 100/ SJC/ To");
  EXPECT_TRUE(desk_.messages[1].text.contains("1 filled again"))
      << desk_.messages[1].text.toStdString();
}

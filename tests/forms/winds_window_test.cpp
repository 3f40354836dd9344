// Checkpoints > Winds Aloft: proposals beside the pilot's values, written
// as one change on OK, nothing on Cancel or a bad forecast.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>

#include "MainWindowFixture.h"
#include "forms/Aviationdata.h"
#include "forms/Faskc.h"
#include "forms/Fnavlog.h"
#include "forms/Fwinds.h"

namespace {

// San Jose to San Carlos at 100 kt; the pilot has a 60 kt headwind.
const char kTrip[] =
    "[misc]\r\ntitle=Bay\r\ncount=3\r\nfieldcount=0\r\n"
    "[dest0]\r\ntoname=San Jose\r\nlat=37.36\r\nlon=-121.93\r\n"
    "[dest1]\r\ntoname=San Carlos\r\ndist=20\r\ntc=300\r\nalt=6000\r\nwinddir=300\r\n"
    "windvel=60\r\ntemp=15\r\ntas=100\r\nvar=0\r\nlat=37.51\r\nlon=-122.25\r\n"
    "[dest2]\r\ntoname=Half Moon Bay\r\ndist=12\r\ntc=270\r\nlat=37.51\r\nlon=-122.50\r\n";

// Woodside (OSI) and San Jose (SJC) are VORs of the test data.
const char kBulletin[] =
    "VALID 081800Z   FOR USE 1400-2100Z. TEMPS NEG ABV 24000\n"
    "FT  3000    6000    9000   12000   18000   24000  30000  34000  39000\n"
    "OSI      2720+05\nSJC      2720+05\n";

class WindsWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Settings and index in a folder of the test's own, never the user's.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    qputenv("XDG_CACHE_HOME", dir_.path().toUtf8());
    SetAviationFolder(QStringLiteral(HALVIX_AVIATION_TEST_DATA) + "/ourairports");
    WriteFile(Path("trip.flt"), kTrip);
    desk.file_answers.push_back(QPath("trip.flt"));
    Form1->Open1Click();
  }
  void TearDown() override {
    SetAviationFolder(QString());
    MainWindowTest::TearDown();
  }

  // Plays the window: `play` acts, then OK or Cancel.
  void Answer(std::function<void(TFormWinds*)> play, bool ok) {
    desk.dialog_answers.push_back([play, ok](QDialog* d) {
      auto* form = static_cast<TFormWinds*>(d);
      play(form);
      (ok ? form->ButtonOk : form->ButtonCancel)->click();
      return d->result();
    });
  }
  static QString Grid(TFormWinds* form, int row, int column) {
    return form->GridLegs->item(row, column)->text();
  }
};

TEST_F(WindsWindowTest, PastedBulletinShowsEachLegAndOkWritesItAsOneChange) {
  Form1->NavigationLog1->trigger();
  Answer(
      [](TFormWinds* form) {
        form->MemoBulletin->setPlainText(kBulletin);
        form->ButtonReadText->click();
        ASSERT_EQ(form->GridLegs->rowCount(), 2);
        EXPECT_EQ(Grid(form, 0, 0), "San Carlos");
        EXPECT_EQ(Grid(form, 0, 1), "300");  // the pilot's
        EXPECT_EQ(Grid(form, 0, 4), "270");  // the forecast's
        EXPECT_EQ(Grid(form, 1, 2), "60");   // carried from the row above
        EXPECT_EQ(Grid(form, 1, 5), "20");
        EXPECT_EQ(Grid(form, 1, 6), "5");
        EXPECT_TRUE(Grid(form, 1, 7).startsWith("OSI ")) << Grid(form, 1, 7).toStdString();
        EXPECT_EQ(Grid(form, 1, 8), "081800Z");
        EXPECT_TRUE(form->ButtonOk->isEnabled());
      },
      true);
  const QString before = Form1->RouteModel()->index(2, 4).data().toString();
  Form1->WindsAloft1->trigger();
  EXPECT_TRUE(Form1->Document().IsModified());
  EXPECT_EQ(Form1->RouteModel()->index(2, 4).data().toString(), "270");
  EXPECT_EQ(Form1->Undo1->text(), "&Undo Winds Aloft");
  Form1->Undo1->trigger();
  EXPECT_EQ(Form1->RouteModel()->index(2, 4).data().toString(), before);
  Form1->Redo1->trigger();
  EXPECT_EQ(Form1->FormNavLog()
                ->Model()
                ->index(1, NavLogModel::ColumnOf(LogColumn::Gs))
                .data()
                .toString(),
            "82");
  // The save prompt sees it.
  desk.message_answers = {mrCancel};
  EXPECT_FALSE(Form1->FormCloseQuery());
}

TEST_F(WindsWindowTest, ABulletinsWarningsShowWithTheForecast) {
  Answer(
      [](TFormWinds* form) {
        form->MemoBulletin->setPlainText(QString(kBulletin) + "OSI      0920+05\nZZZ      2720\n");
        form->ButtonReadText->click();
        const QString text = form->LabelForecast->text();
        EXPECT_TRUE(text.contains("line 5: station OSI is listed twice; the first is used"))
            << text.toStdString();
        EXPECT_TRUE(text.contains("1 of its stations cannot be placed")) << text.toStdString();
        EXPECT_EQ(Grid(form, 1, 4), "270");
      },
      false);
  Form1->WindsAloft1->trigger();
}

TEST_F(WindsWindowTest, CancelOrABadForecastChangesNothing) {
  Answer(
      [this](TFormWinds* form) {
        form->MemoBulletin->setPlainText(kBulletin);
        form->ButtonReadText->click();
        WriteFile(Path("bad.txt"), "VALID 081800Z FOR USE 1400-2100Z\nFT  3000\nAAA 27X0\n");
        desk.file_answers.push_back(QPath("bad.txt"));
        desk.message_answers.push_back(mrOk);
        form->ButtonOpen->click();
        ASSERT_EQ(desk.messages.size(), 1u);
        EXPECT_TRUE(desk.messages[0].text.endsWith("line 3: group 27X0 fits no wind group form"))
            << desk.messages[0].text.toStdString();
        EXPECT_EQ(Grid(form, 0, 4), "270");  // the pasted forecast still stands
      },
      false);
  Form1->WindsAloft1->trigger();
  EXPECT_FALSE(Form1->Document().IsModified());
  EXPECT_EQ(Form1->plan.route[1].SubItem(kCellWindDir), "300");
}

}  // namespace

TEST_F(WindsWindowTest, ForecastsOpenFromTheirLastFolderAndFillWindsTheCheckFindsMissing) {
  ASSERT_TRUE(QDir().mkpath(QPath("forecasts")));
  WriteFile(Path("forecasts/fb.txt"), kBulletin);
  auto open_and_cancel = [this] {
    Answer(
        [this](TFormWinds* form) {
          desk.file_answers.push_back(QPath("forecasts/fb.txt"));
          form->ButtonOpen->click();
        },
        false);
    Form1->WindsAloft1->trigger();
  };
  open_and_cancel();
  EXPECT_EQ(desk.file_dialog_proposals.back(),
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  open_and_cancel();
  EXPECT_EQ(desk.file_dialog_proposals.back(), QPath("forecasts"));

  // Winds missing at print time: the prompt names them and offers the forecast.
  Form1->Document().Change("Clear", [](Plan& plan) {
    plan.route[1].subitems[kCellWindDir].clear();
    plan.route[1].subitems[kCellWindVel].clear();
  });
  desk.dialog_answers.push_back([](QDialog* d) {
    auto* prompt = static_cast<TFormAskContinue*>(d);
    EXPECT_EQ(prompt->LabelParam->text(),
              "Missing Information: Predicted Wind Direction and Predicted Wind Speed");
    EXPECT_FALSE(prompt->ButtonWinds->isHidden());
    prompt->ButtonWinds->click();
    return d->result();
  });
  Answer([](TFormWinds* form) { EXPECT_EQ(Grid(form, 0, 4), "270"); }, true);
  Form1->ButtonPrintClick();
  EXPECT_EQ(Form1->plan.route[1].SubItem(kCellWindDir), "270");
  EXPECT_EQ(desk.print_dialogs, 0);  // the pilot prints again with the winds in
}

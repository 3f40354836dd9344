// Checkpoints > Winds Aloft: proposals beside the pilot's values, written
// as one change on OK, nothing on Cancel or a bad forecast.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "MainWindowFixture.h"
#include "forms/Fnavlog.h"
#include "forms/Fwinds.h"

namespace {

// Two legs east from 40N 101W at 100 kt; the pilot has a 60 kt headwind.
const char kTrip[] =
    "[misc]\r\ntitle=East\r\ncount=3\r\nfieldcount=0\r\n"
    "[dest0]\r\ntoname=Home\r\nlat=40\r\nlon=-101\r\n"
    "[dest1]\r\ntoname=Middle\r\ndist=92\r\ntc=90\r\nalt=6000\r\nwinddir=90\r\nwindvel=60\r\n"
    "temp=15\r\ntas=100\r\nvar=0\r\nlat=40\r\nlon=-99\r\n"
    "[dest2]\r\ntoname=East\r\ndist=92\r\nlat=40\r\nlon=-97\r\n";

const char kBulletin[] =
    "VALID 081800Z   FOR USE 1400-2100Z. TEMPS NEG ABV 24000\n"
    "FT  3000    6000    9000   12000   18000   24000  30000  34000  39000\n"
    "AAA      2720+05\n";

class WindsWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    WindStations() = [](const std::string& ident) -> std::optional<GeoPosition> {
      if (ident == "AAA") return GeoPosition{40.0, -99.0};
      return std::nullopt;
    };
    WriteFile(Path("trip.flt"), kTrip);
    desk.file_answers.push_back(QPath("trip.flt"));
    Form1->Open1Click();
  }
  void TearDown() override {
    WindStations() = nullptr;
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
        EXPECT_EQ(Grid(form, 0, 0), "Middle");
        EXPECT_EQ(Grid(form, 0, 1), "90");   // the pilot's
        EXPECT_EQ(Grid(form, 0, 4), "270");  // the forecast's
        EXPECT_EQ(Grid(form, 1, 2), "60");   // carried from the row above
        EXPECT_EQ(Grid(form, 1, 5), "20");
        EXPECT_EQ(Grid(form, 1, 6), "5");
        EXPECT_EQ(Grid(form, 1, 7), "AAA 46 NM");
        EXPECT_EQ(Grid(form, 1, 8), "081800Z");
        EXPECT_TRUE(form->ButtonOk->isEnabled());
      },
      true);
  Form1->WindsAloft1->trigger();
  EXPECT_EQ(Form1->plan.modified, 1);
  EXPECT_EQ(Form1->RouteModel()->index(2, 4).data().toString(), "270");
  EXPECT_EQ(FormNavLog->Model()->index(1, NavLogModel::kGs).data().toString(), "119");
  // The save prompt sees it.
  desk.message_answers = {mrCancel};
  EXPECT_FALSE(Form1->FormCloseQuery());
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
  EXPECT_EQ(Form1->plan.modified, 0);
  EXPECT_EQ(Form1->plan.route[1].SubItem(kCellWindDir), "90");
}

}  // namespace

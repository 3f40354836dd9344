// The desktop program's command line and the plan it opens at start.
#include "forms/Startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>

#include "MainWindowFixture.h"
#include "forms/Ffield.h"

namespace {

TEST(StartupArgumentsTest, PlanOptionsAndMistakes) {
  StartupRequest none = ParseStartupArguments({});
  EXPECT_EQ(none.action, StartupRequest::Run);
  EXPECT_TRUE(none.plan.isEmpty());

  StartupRequest plan = ParseStartupArguments({"trips/north.flt"});
  EXPECT_EQ(plan.action, StartupRequest::Run);
  EXPECT_EQ(plan.plan, "trips/north.flt");

  // After "--" a name may start with a dash.
  EXPECT_EQ(ParseStartupArguments({"--", "-odd.flt"}).plan, "-odd.flt");

  // Help and version answer even beside what only the toolkit understands.
  EXPECT_EQ(ParseStartupArguments({"-platform", "xcb", "--help"}).action, StartupRequest::Help);
  EXPECT_EQ(ParseStartupArguments({"-h"}).action, StartupRequest::Help);
  EXPECT_EQ(ParseStartupArguments({"a.flt", "--version"}).action, StartupRequest::Version);

  StartupRequest manual = ParseStartupArguments({"--manual-path"});
  EXPECT_EQ(manual.action, StartupRequest::ManualPath);
  EXPECT_EQ(manual.topic, "halvix");
  EXPECT_EQ(ParseStartupArguments({"--manual-path", "addcheck"}).topic, "addcheck");

  StartupRequest unknown = ParseStartupArguments({"--print", "a.flt"});
  EXPECT_EQ(unknown.action, StartupRequest::Error);
  EXPECT_EQ(unknown.error, "unknown option --print");
  EXPECT_EQ(ParseStartupArguments({"a.flt", "b.flt"}).action, StartupRequest::Error);
  EXPECT_EQ(ParseStartupArguments({"--manual-path", "halvix", "a.flt"}).action,
            StartupRequest::Error);
}

// The usage text and the manual page name the options the parser knows.
TEST(StartupArgumentsTest, UsageAndManualPageListEveryOption) {
  QFile man(QStringLiteral(HALVIX_MAN_DIR "/halvix.1.in"));
  ASSERT_TRUE(man.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(man.readAll());
  QStringList in_man;
  auto it = QRegularExpression(QStringLiteral(R"(\\-\\-[a-z]+(\\-[a-z]+)*)")).globalMatch(text);
  while (it.hasNext()) {
    const QString name = it.next().captured().replace(QStringLiteral("\\-"), QStringLiteral("-"));
    if (!in_man.contains(name)) in_man << name;
  }
  QStringList known = StartupOptionNames();
  known.sort();
  in_man.sort();
  EXPECT_EQ(in_man, known);
  for (const QString& name : known)
    EXPECT_TRUE(StartupUsage().contains("\n  " + name)) << name.toStdString();
}

using StartupPlanTest = MainWindowTest;

// Lets the one-shot start-up load fire, as the message loop would.
void RunStartupLoad() {
  QElapsedTimer clock;
  clock.start();
  while (Form1->TimerAutoLoad->isActive() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST_F(StartupPlanTest, NamedPlanIsLoadedInsteadOfTheDefault) {
  DestroyForms();
  WriteFile(Path("default.flt"), PlanText("Default plan", 2, 0));
  ASSERT_TRUE(QDir(dir_.path()).mkdir("trips"));
  WriteFile(Path("trips/north.flt"), PlanText("North trip", 4, 1));
  CreateForms();
  MakeDialogs();
  // Typed without its extension, as Open accepts it.
  OpenAtStart(*Form1, "trips/north");
  RunStartupLoad();

  EXPECT_EQ(Form1->EditTitle->text(), "North trip");
  EXPECT_EQ(Form1->RouteModel()->rowCount(), 4);
  EXPECT_EQ(FormFields->Model()->rowCount(), 1);
  EXPECT_EQ(Form1->plan.modified, 0);
  EXPECT_EQ(Form1->plan.filename, Path("trips/north.flt"));

  // A later change of directory does not move where Save writes.
  ASSERT_TRUE(QDir::setCurrent(QPath("trips")));
  Form1->Save1Click();
  EXPECT_NE(ReadFile(Path("trips/north.flt")).find("North trip"), std::string::npos);
  EXPECT_FALSE(QFileInfo::exists(QPath("trips/trips/north.flt")));
  EXPECT_NE(ReadFile(Path("default.flt")).find("Default plan"), std::string::npos);
}

TEST_F(StartupPlanTest, NewNameStartsEmptyAndSaveCreatesIt) {
  DestroyForms();
  WriteFile(Path("default.flt"), PlanText("Default plan", 2, 0));
  CreateForms();
  OpenAtStart(*Form1, "fresh.flt");
  RunStartupLoad();

  EXPECT_EQ(Form1->RouteModel()->rowCount(), 0);
  EXPECT_EQ(Form1->plan.filename, Path("fresh.flt"));
  AddRoute(1);
  Form1->Save1Click();
  EXPECT_TRUE(QFileInfo::exists(QPath("fresh.flt")));
}

}  // namespace

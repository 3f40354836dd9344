// The Route Chart window: made on first use, following the plan document,
// moved with the keys, telling what lies under the pointer, and exporting.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "MainWindowFixture.h"
#include "data/aviation_data.h"
#include "forms/Fchart.h"
#include "plan/planfile.h"

namespace {

class ChartWindowTest : public MainWindowTest {
 protected:
  static void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
  }

  // Salinas, Watsonville and Santa Cruz, as an imported route has them.
  static void ShowCoastRoute() {
    ShowPlan([](Plan& plan) {
      plan.route.clear();
      const char* names[] = {"Salinas", "Watsonville", "Santa Cruz"};
      const GeoPosition at[] = {
          {36.662778, -121.606389}, {36.935833, -121.789722}, {36.951667, -122.026667}};
      for (int i = 0; i < 3; ++i) {
        Checkpoint row;
        row.caption = names[i];
        row.subitems.assign(9, "");
        row.position = at[i];
        plan.route.push_back(row);
      }
    });
  }

  static TFormChart* OpenFromMenu() {
    for (QAction* action : Form1->Checkpoints1->actions()) {
      if (action->text() == "Route Chart") action->trigger();
    }
    return Form1->findChild<TFormChart*>();
  }
};

TEST_F(ChartWindowTest, FollowsThePlanAndMovesWithTheKeys) {
  EXPECT_EQ(Form1->findChild<TFormChart*>(), nullptr);  // nothing made at start-up
  ShowCoastRoute();
  TFormChart* form = OpenFromMenu();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(OpenFromMenu(), form);  // once only
  ChartWidget* chart = form->Chart();
  chart->resize(800, 600);
  chart->FitRoute();
  ASSERT_EQ(chart->scene().checkpoints().size(), 3u);

  // A row deleted in the main window leaves the chart at once.
  Select(1);
  desk.message_answers.push_back(mrYes);
  Form1->Delete1Click();
  EXPECT_EQ(chart->scene().checkpoints().size(), Form1->plan.route.size());

  const ChartView fitted = chart->view();
  Key(chart, Qt::Key_Plus);
  EXPECT_NEAR(chart->view().metres_per_pixel, fitted.metres_per_pixel / 1.5, 1e-6);
  Key(chart, Qt::Key_Left);
  EXPECT_LT(chart->view().centre.x, fitted.centre.x);
  Key(chart, Qt::Key_Home);
  EXPECT_NEAR(chart->view().metres_per_pixel, fitted.metres_per_pixel, 1e-6);
  EXPECT_NEAR(chart->view().centre.x, fitted.centre.x, 1e-6);
}

TEST_F(ChartWindowTest, TellsWhatIsUnderThePointer) {
  ShowCoastRoute();
  ChartWidget* chart = OpenFromMenu()->Chart();
  chart->resize(800, 600);
  chart->FitRoute();
  const ChartScene& scene = chart->scene();
  const PixelPoint watsonville = chart->view().ToPixel(scene.checkpoints()[1].xy);
  EXPECT_TRUE(chart->Describe(watsonville.x, watsonville.y).startsWith("Watsonville "));
  const std::vector<ProjectedPoint>& leg = scene.legs()[1].line;
  const PixelPoint mid = chart->view().ToPixel(leg[leg.size() / 2]);
  const QString along = chart->Describe(mid.x, mid.y);
  EXPECT_TRUE(along.contains(QString::fromUtf8("\u00b0 true from Watsonville")))
      << along.toStdString();
  // Anywhere: the position and the scale.
  const QString empty = chart->Describe(5, 5);
  EXPECT_TRUE(empty.contains("'N 12")) << empty.toStdString();
  EXPECT_TRUE(empty.contains("'W   1:")) << empty.toStdString();

  // With a climb table the top of climb falls on the first leg, and is named there.
  ShowPlan([](Plan& plan) {
    plan.route[1].subitems = {"19", "332", "5500", "270", "10", "5", "110", "-13", ""};
    plan.performance.climb = {{0, 0, 0, 0}, {6000, 11, 2.3, 14}};
  });
  ASSERT_FALSE(scene.marks().empty());
  const PixelPoint toc = chart->view().ToPixel(scene.marks()[0].xy);
  EXPECT_TRUE(chart->Describe(toc.x + 2, toc.y).startsWith("TOC ")) << scene.marks()[0].name;
}

// The first picture waits for no base map: it is read and the map drawn
// on workers, and a zoom shows the map it has, stretched, until then.
TEST_F(ChartWindowTest, ReadsAndDrawsTheMapInTheBackground) {
  if (FindBaseMapSources().gshhg_folder.empty()) GTEST_SKIP() << "gmt-gshhg-low is not installed";
  ShowCoastRoute();
  ChartWidget* chart = OpenFromMenu()->Chart();
  chart->resize(800, 600);
  for (int i = 0; i < 2; ++i) {
    chart->grab();
    chart->Settle();
  }
  chart->grab();
  EXPECT_FALSE(chart->scene().lines().empty());
  EXPECT_TRUE(chart->canvas().sharp());
  chart->ZoomBy(1.25, QPointF(400, 300));
  chart->grab();
  EXPECT_FALSE(chart->canvas().sharp());
  chart->Settle();
  chart->grab();
  EXPECT_TRUE(chart->canvas().sharp());
}

TEST_F(ChartWindowTest, ExportsTheChartOrSaysWhyNot) {
  ShowCoastRoute();
  TFormChart* form = OpenFromMenu();
  desk.file_answers.push_back(QPath("coast.tif"));
  EXPECT_TRUE(form->ExportChart());
  EXPECT_EQ(ReadFile(Path("coast.tif")).substr(0, 2), "II");

  ShowPlan([](Plan& plan) { plan.route.resize(1); });
  desk.message_answers.push_back(mrOk);
  EXPECT_FALSE(form->ExportChart());
  ASSERT_FALSE(desk.messages.empty());
  EXPECT_TRUE(desk.messages.back().text.contains("two checkpoints with positions"));
}

// Each change made on the chart is one step of Edit > Undo, which the other
// windows follow: undone, the plan is as it was to the last cell and
// airfield; redone, as the change left it.
TEST_F(ChartWindowTest, BuildsAndChangesTheRouteAndUndoesEachChange) {
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(HALVIX_SAMPLE_DATA, "", error)) << error;
  ShowCoastRoute();
  TFormChart* form = OpenFromMenu();
  ChartWidget* chart = form->Chart();
  // The chart window's own Edit menu undoes and redoes, as the main window's does.
  QList<QAction*> edit;
  for (QAction* menu : form->menuBar()->actions())
    if (menu->text() == "Edit") edit = menu->menu()->actions();
  ASSERT_EQ(edit.size(), 2);
  chart->resize(800, 600);
  chart->FitRoute();
  chart->scene().SetAviationData(&data);
  ChartView view = chart->view();
  view.metres_per_pixel *= 4;  // wide enough for San Jose
  chart->SetView(view);
  chart->scene().Prepare(chart->view());
  const Plan before = Form1->plan;
  auto saved = [this](const Plan& plan) {
    // A plan file is written into what is there, as profile files are.
    QFile::remove(QPath("saved.flt"));
    EXPECT_EQ(SavePlan(plan, Path("saved.flt")).status, SaveStatus::Saved);
    return ReadFile(Path("saved.flt"));
  };
  const std::string original = saved(before);
  auto undo_all = [&](const QString& what) {
    EXPECT_TRUE(Form1->Document().IsModified());
    EXPECT_EQ(chart->scene().checkpoints().size(), Form1->plan.route.size());
    EXPECT_EQ(Form1->RouteModel()->rowCount(), static_cast<int>(Form1->plan.route.size()));
    EXPECT_EQ(edit[0]->text(), "&Undo " + what);
    const std::string changed = saved(Form1->plan);
    edit[0]->trigger();
    EXPECT_EQ(saved(Form1->plan), original) << what.toStdString();
    EXPECT_FALSE(Form1->Document().IsModified());
    EXPECT_EQ(chart->scene().checkpoints().size(), before.route.size());
    edit[1]->trigger();
    EXPECT_EQ(saved(Form1->plan), changed) << what.toStdString();
    Form1->Undo1->trigger();
  };

  // Add to Route: San Jose's airport appended, and among the airfields.
  int san_jose = -1;
  for (std::size_t i = 0; i < chart->scene().features().size(); ++i)
    if (chart->scene().features()[i].ident == "KSJC") san_jose = static_cast<int>(i);
  ASSERT_GE(san_jose, 0);
  ASSERT_TRUE(chart->AddToRoute(san_jose));
  ASSERT_EQ(Form1->plan.route.size(), 4u);
  EXPECT_EQ(Form1->plan.route[3].caption, "KSJC");
  EXPECT_FALSE(Form1->plan.route[3].SubItem(kCellDist).empty());
  EXPECT_EQ(Form1->plan.airfields.size(), before.airfields.size() + 1);
  undo_all("Add to Route");

  // A leg dragged: a point where it is let go, between the leg's ends.
  const ChartLeg& leg = chart->scene().legs()[0];
  const PixelPoint mid = chart->view().ToPixel(leg.line[leg.line.size() / 2]);
  auto mouse = [&](QEvent::Type type, double x, double y) {
    QMouseEvent event(type, QPointF(x, y), QPointF(x, y), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(chart, &event);
  };
  mouse(QEvent::MouseButtonPress, mid.x, mid.y);
  mouse(QEvent::MouseMove, mid.x + 30, mid.y + 40);
  mouse(QEvent::MouseButtonRelease, mid.x + 30, mid.y + 40);
  ASSERT_EQ(Form1->plan.route.size(), 4u);
  EXPECT_EQ(Form1->plan.route[0].caption, "Salinas");
  EXPECT_EQ(Form1->plan.route[2].caption, "Watsonville");
  const GeoPosition dropped =
      chart->scene().projection().Reverse(chart->view().FromPixel(mid.x + 30, mid.y + 40));
  EXPECT_NEAR(Form1->plan.route[1].position->lat, dropped.lat, 1e-6);
  EXPECT_EQ(Form1->plan.route[1].caption, CoordinateName(dropped));
  undo_all("Insert Checkpoint");

  // A checkpoint dragged moves; Delete removes the selected one.
  const PixelPoint santa_cruz = chart->view().ToPixel(chart->scene().checkpoints()[2].xy);
  mouse(QEvent::MouseButtonPress, santa_cruz.x, santa_cruz.y);
  mouse(QEvent::MouseMove, santa_cruz.x - 50, santa_cruz.y);
  mouse(QEvent::MouseButtonRelease, santa_cruz.x - 50, santa_cruz.y);
  ASSERT_EQ(Form1->plan.route.size(), 3u);
  EXPECT_LT(Form1->plan.route[2].position->lon, before.route[2].position->lon);
  EXPECT_NE(Form1->plan.route[2].SubItem(kCellDist), before.route[2].SubItem(kCellDist));
  undo_all("Move Checkpoint");
  Form1->Document().SelectRow(1);
  Key(chart, Qt::Key_Delete);
  ASSERT_EQ(Form1->plan.route.size(), 2u);
  EXPECT_EQ(Form1->plan.route[1].caption, "Santa Cruz");
  undo_all("Delete Checkpoint");
  EXPECT_EQ(Form1->plan.route[1].caption, "Watsonville");
  chart->scene().SetAviationData(nullptr);
}

}  // namespace

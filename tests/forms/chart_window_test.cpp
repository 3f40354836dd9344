// The Route Chart window: made on first use, following the plan document,
// moved with the keys, telling what lies under the pointer, and exporting.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "MainWindowFixture.h"
#include "forms/Fchart.h"

namespace {

class ChartWindowTest : public MainWindowTest {
 protected:
  static void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
  }

  // Salinas, Watsonville and Santa Cruz, as an imported route has them.
  static void ShowCoastRoute() {
    Form1->plan.route.clear();
    const char* names[] = {"Salinas", "Watsonville", "Santa Cruz"};
    const GeoPosition at[] = {
        {36.662778, -121.606389}, {36.935833, -121.789722}, {36.951667, -122.026667}};
    for (int i = 0; i < 3; ++i) {
      Checkpoint row;
      row.caption = names[i];
      row.subitems.assign(9, "");
      row.position = at[i];
      Form1->plan.route.push_back(row);
    }
    ShowPlan();
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
}

TEST_F(ChartWindowTest, ExportsTheChartOrSaysWhyNot) {
  ShowCoastRoute();
  TFormChart* form = OpenFromMenu();
  desk.file_answers.push_back(QPath("coast.tif"));
  EXPECT_TRUE(form->ExportChart());
  EXPECT_EQ(ReadFile(Path("coast.tif")).substr(0, 2), "II");

  Form1->plan.route.resize(1);
  ShowPlan();
  desk.message_answers.push_back(mrOk);
  EXPECT_FALSE(form->ExportChart());
  ASSERT_FALSE(desk.messages.empty());
  EXPECT_TRUE(desk.messages.back().text.contains("two checkpoints with positions"));
}

}  // namespace

// The floor of the start-up benchmark: a bare main window carrying the kinds
// of control the program's main window needs (a menu bar of three menus,
// labels, a one-line edit, push buttons, a list with a header), none of the
// program itself. What it costs over the bare window is what showing text and
// these controls costs any program on this toolkit.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include "startup_probe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Cross Country Flight Planner");
  window.resize(643, 330);
  for (const char* menu : {"File", "Checkpoints", "Help"}) {
    window.menuBar()->addMenu(menu)->addAction("New");
  }
  auto* client = new QWidget;
  window.setCentralWidget(client);
  auto* label = new QLabel("Cross Country Title:", client);
  label->move(8, 16);
  auto* edit = new QLineEdit(client);
  edit->setGeometry(8, 32, 305, 21);
  for (int i = 0; i < 7; ++i) {
    auto* button = new QPushButton("Add", client);
    button->setGeometry(8 + 80 * i, 280, 75, 25);
  }
  auto* list = new QTreeView(client);
  list->setGeometry(8, 80, 625, 185);
  auto* model = new QStandardItemModel(0, 6, list);
  model->setHorizontalHeaderLabels({"Checkpoint", "Course", "Dist", "Alt", "Wind", "Var"});
  list->setModel(model);
  startup_probe::ReportWhenShown(&window);
  window.show();
  return app.exec();
}

// The yardstick of the start-up benchmark: a bare main window of the same size.
#include <QApplication>
#include <QMainWindow>

#include "startup_probe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Cross Country Flight Planner");
  window.resize(643, 330);
  startup_probe::ReportWhenShown(&window);
  window.show();
  return app.exec();
}

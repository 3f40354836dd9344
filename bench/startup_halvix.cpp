// The program's own start-up, linked like the program: every window created
// in order, the main window shown.
#include <QApplication>
#include <QDir>

#include "forms/Fhalvix.h"
#include "forms/Viewdoc.h"
#include "startup_probe.h"

int main(int argc, char** argv) {
  StartDirectory = QDir::currentPath();
  QApplication app(argc, argv);
  UseFormFont();
  TForm1 form;
  startup_probe::ReportWhenShown(&form);
  form.show();
  return app.exec();
}

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
  CreateForms();
  startup_probe::ReportWhenShown(Form1);
  Form1->show();
  const int status = app.exec();
  DestroyForms();
  return status;
}

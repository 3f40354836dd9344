// The desktop flight planner: the main window and its dialogs.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <exception>

#include "forms/Fhalvix.h"
#include "forms/Viewdoc.h"

int main(int argc, char** argv) {
  // Before anything can change it: the manual is looked for here first.
  StartDirectory = QDir::currentPath();

  QApplication app(argc, argv);
  try {
    UseFormFont();
    CreateForms();
    Form1->show();
    app.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Halvix"), QString::fromLocal8Bit(e.what()));
  }
  DestroyForms();
  return 0;
}

// The desktop flight planner: the main window and its dialogs.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "forms/Fhalvix.h"
#include "forms/Startup.h"
#include "forms/Viewdoc.h"
#include "halvix_version.h"

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

void Print(std::FILE* out, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), out);
}

// Needs the application object: the program's directory is one of the places.
int ShowManualPath(const QString& topic) {
  const QString found = FindDocument(topic, StartDirectory);
  if (found.isEmpty()) {
    Print(stderr, QStringLiteral("halvix: no manual page for %1\n").arg(topic));
    return 1;
  }
  Print(stdout, found + QLatin1Char('\n'));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything can change it: the manual is looked for here first.
  StartDirectory = QDir::currentPath();

  // Options that only print answer without a display. Toolkit options are not
  // known yet here; they are taken out by QApplication below.
  const StartupRequest early = ParseStartupArguments(ArgumentsOf(argc, argv));
  if (early.action == StartupRequest::Help) {
    Print(stdout, StartupUsage());
    return 0;
  }
  if (early.action == StartupRequest::Version) {
    std::printf("halvix %s\n", HALVIX_VERSION);
    return 0;
  }
  if (early.action == StartupRequest::ManualPath) {
    QCoreApplication core(argc, argv);
    return ShowManualPath(early.topic);
  }

  QApplication app(argc, argv);
  const StartupRequest request = ParseStartupArguments(QApplication::arguments().mid(1));
  if (request.action == StartupRequest::Error) {
    Print(stderr, QStringLiteral("halvix: %1\n").arg(request.error) + StartupUsage());
    return 2;
  }
  if (request.action == StartupRequest::ManualPath) return ShowManualPath(request.topic);
  // Ties the windows to the desktop entry, which carries this name.
  QGuiApplication::setDesktopFileName(QStringLiteral(HALVIX_APP_ID));
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/halvix-48.png"));
  icon.addFile(QStringLiteral(":/icons/halvix-256.png"));
  QApplication::setWindowIcon(icon);
  try {
    UseFormFont();
    // Its dialogs are made on their first use, as its children.
    TForm1 form;
    // The one-shot start-up load reads the named plan in place of default.flt.
    if (!request.plan.isEmpty()) OpenAtStart(form, request.plan);
    form.show();
    app.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Halvix"), QString::fromLocal8Bit(e.what()));
  }
  return 0;
}

// The desktop program's command line: a plan to open instead of default.flt,
// and the few options that only print something.
#pragma once

#include <QString>
#include <QStringList>

struct StartupRequest {
  enum Action { Run, Help, Version, ManualPath, Error };
  Action action = Run;
  QString plan;   // Run: the plan named on the command line, or empty
  QString topic;  // ManualPath: the manual topic asked for
  QString error;  // Error: what was not understood
};

// `args` without the program's name. --help and --version win over anything
// else, so they answer even beside options only the toolkit knows.
StartupRequest ParseStartupArguments(const QStringList& args);

// The usage text of --help.
QString StartupUsage();

// Every option as it is typed ("--help"), in the order of the usage text.
QStringList StartupOptionNames();

class TForm1;

// Points the one-shot start-up load of `form` at the plan named on the command
// line instead of default.flt. Like Open, the name with ".flt" appended is
// taken when only that exists; a name that does not exist yet gives an empty
// plan that Save creates.
void OpenAtStart(TForm1& form, const QString& name);

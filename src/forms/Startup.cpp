#include "forms/Startup.h"

#include <QFileInfo>

#include "forms/Fhalvix.h"
#include "plan/planfile.h"

StartupRequest ParseStartupArguments(const QStringList& args) {
  StartupRequest request;
  for (const QString& arg : args) {
    if (arg == QLatin1String("--")) break;
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      return StartupRequest{StartupRequest::Help, {}, {}, {}};
    }
    if (arg == QLatin1String("--version"))
      return StartupRequest{StartupRequest::Version, {}, {}, {}};
  }
  bool options_done = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (!options_done && arg == QLatin1String("--")) {
      options_done = true;
      continue;
    }
    if (!options_done && arg == QLatin1String("--manual-path")) {
      request.action = StartupRequest::ManualPath;
      request.topic = QStringLiteral("halvix");
      if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1Char('-')))
        request.topic = args[++i];
      continue;
    }
    if (!options_done && arg.startsWith(QLatin1Char('-'))) {
      return StartupRequest{
          StartupRequest::Error, {}, {}, QStringLiteral("unknown option %1").arg(arg)};
    }
    if (request.action == StartupRequest::ManualPath || !request.plan.isEmpty()) {
      return StartupRequest{
          StartupRequest::Error, {}, {}, QStringLiteral("only one plan file, please")};
    }
    request.plan = arg;
  }
  if (request.action == StartupRequest::ManualPath && !request.plan.isEmpty()) {
    return StartupRequest{
        StartupRequest::Error, {}, {}, QStringLiteral("--manual-path does not open a plan")};
  }
  return request;
}

QString StartupUsage() {
  return QStringLiteral(
      "Usage: halvix [PLAN.flt]\n"
      "       halvix --manual-path [TOPIC]\n"
      "Plans cross-country flights and prints the navigation log. Opens PLAN.flt,\n"
      "or default.flt from the current directory when no plan is named.\n"
      "\n"
      "  --manual-path [TOPIC]  print where the manual page for TOPIC (halvix by\n"
      "                         default) is found, and exit; status 1 when it is not\n"
      "  --help                 this text\n"
      "  --version              the program's version\n");
}

void OpenAtStart(TForm1& form, const QString& name) {
  // Absolute, so a file dialog changing the current directory cannot redirect
  // a later Save.
  std::string path = QFileInfo(name).absoluteFilePath().toStdString();
  if (!PathExists(path) && PathExists(path + ".flt")) path += ".flt";
  form.Document().SetFileName(path);
}

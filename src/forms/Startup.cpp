#include "forms/Startup.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "forms/Fhalvix.h"
#include "plan/planfile.h"

namespace {

struct StartupOption {
  const char* name;   // without its dashes
  const char* shown;  // as the usage text shows it, with its value
  const char* help;   // lines of the usage text, without their indent
};

// A new option is one row here and its answer in ParseStartupArguments; the
// usage text and the parser's options are made from these rows.
const StartupOption kStartupOptions[] = {
    {"manual-path", "--manual-path [TOPIC]",
     "print where the manual page for TOPIC (halvix by\n"
     "default) is found, and exit; status 1 when it is not"},
    {"help", "--help", "this text"},
    {"version", "--version", "the program's version"},
};

void AddOptions(QCommandLineParser& parser) {
  // A single dash before a word is that word's option: "-platform" is one
  // option of the toolkit's, not eight unknown letters.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const StartupOption& o : kStartupOptions) {
    QStringList names{QLatin1String(o.name)};
    if (QLatin1String(o.name) == QLatin1String("help")) names.prepend(QStringLiteral("h"));
    parser.addOption(QCommandLineOption(names, QString::fromUtf8(o.help)));
  }
}

StartupRequest Mistake(const QString& error) {
  return StartupRequest{StartupRequest::Error, {}, {}, error};
}

}  // namespace

StartupRequest ParseStartupArguments(const QStringList& args) {
  QCommandLineParser parser;
  AddOptions(parser);
  parser.parse(QStringList{QStringLiteral("halvix")} + args);
  if (parser.isSet(QStringLiteral("help"))) return StartupRequest{StartupRequest::Help, {}, {}, {}};
  if (parser.isSet(QStringLiteral("version")))
    return StartupRequest{StartupRequest::Version, {}, {}, {}};
  if (!parser.unknownOptionNames().isEmpty()) {
    // Named as typed: the first argument before "--" that is the unknown option.
    const QString unknown = parser.unknownOptionNames().first();
    for (const QString& arg : args) {
      if (arg == QLatin1String("--")) break;
      const QString name = arg.section(QLatin1Char('='), 0, 0);
      if (name.startsWith(QLatin1Char('-')) &&
          name.mid(name.startsWith(QLatin1String("--")) ? 2 : 1) == unknown)
        return Mistake(QStringLiteral("unknown option %1").arg(name));
    }
    return Mistake(QStringLiteral("unknown option %1").arg(unknown));
  }
  if (!parser.errorText().isEmpty()) return Mistake(parser.errorText());
  const QStringList positional = parser.positionalArguments();
  StartupRequest request;
  if (parser.isSet(QStringLiteral("manual-path"))) {
    // The topic is the one name beside the option.
    if (positional.size() > 1) return Mistake(QStringLiteral("--manual-path does not open a plan"));
    request.action = StartupRequest::ManualPath;
    request.topic = positional.isEmpty() ? QStringLiteral("halvix") : positional[0];
    return request;
  }
  if (positional.size() > 1) return Mistake(QStringLiteral("only one plan file, please"));
  if (!positional.isEmpty()) request.plan = positional[0];
  return request;
}

QString StartupUsage() {
  QString text = QStringLiteral(
      "Usage: halvix [PLAN.flt]\n"
      "       halvix --manual-path [TOPIC]\n"
      "Plans cross-country flights and prints the navigation log. Opens PLAN.flt,\n"
      "or default.flt from the current directory when no plan is named.\n"
      "\n");
  const QString indent(25, QLatin1Char(' '));
  for (const StartupOption& o : kStartupOptions) {
    const QString head = QStringLiteral("  ") + QLatin1String(o.shown);
    text += head.leftJustified(indent.size(), QLatin1Char(' '));
    text += QString::fromUtf8(o.help).replace(QLatin1Char('\n'), QLatin1Char('\n') + indent);
    text += QLatin1Char('\n');
  }
  return text;
}

QStringList StartupOptionNames() {
  QStringList names;
  for (const StartupOption& o : kStartupOptions)
    names << QStringLiteral("--") + QLatin1String(o.name);
  return names;
}

void OpenAtStart(TForm1& form, const QString& name) {
  // Absolute, so a file dialog changing the current directory cannot redirect
  // a later Save.
  std::string path = QFileInfo(name).absoluteFilePath().toStdString();
  if (!PathExists(path) && PathExists(path + ".flt")) path += ".flt";
  form.plan.filename = path;
}

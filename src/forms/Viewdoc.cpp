#include "forms/Viewdoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include "forms/Desktop.h"

QString StartDirectory;

namespace {

QString JoinPath(const QString& directory, const QString& name) {
  if (directory.endsWith(QLatin1Char('/'))) return directory + name;
  return directory + QLatin1Char('/') + name;
}

}  // namespace

QString FindDocument(const QString& topic, const QString& directory) {
  const QString html = topic + QStringLiteral(".html");
  const QString htm = topic + QStringLiteral(".htm");
  // An installed program opens its own manual: a stray page of the same name
  // in whatever folder it was started from must not stand in for it. Built
  // programs have no installed manual and find the copy beside them.
  QStringList candidates;
  const QString program_dir = QCoreApplication::applicationDirPath();
  const QString installed = program_dir.isEmpty()
                                ? QString()
                                : JoinPath(program_dir, QStringLiteral(HALVIX_MANUAL_FROM_PROGRAM));
  if (!installed.isEmpty()) candidates << JoinPath(installed, html) << JoinPath(installed, htm);
  candidates << JoinPath(directory, html) << JoinPath(directory, htm) << html << htm;
  if (!program_dir.isEmpty())
    candidates << JoinPath(program_dir, html) << JoinPath(program_dir, htm);
  for (const QString& candidate : candidates) {
    const QFileInfo file(candidate);  // a relative name resolves in the current directory
    if (file.isFile()) return QDir::cleanPath(file.absoluteFilePath());
  }
  return QString();
}

bool ViewDocument(const QString& topic, const QString& directory, bool quiet) {
  const QString found = FindDocument(topic, directory);
  if (!found.isEmpty()) return OpenWithDesktop(nullptr, QUrl::fromLocalFile(found), quiet);
  if (!quiet) {
    desktop().MessageBox(nullptr, QStringLiteral("Unable to find documentation"),
                         QStringLiteral("error"), MessageButtons::Ok);
  }
  return false;
}

bool OpenWithDesktop(QWidget* parent, const QUrl& url, bool quiet) {
  if (desktop().OpenUrl(url)) return true;
  if (!quiet) {
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    desktop().MessageBox(parent,
                         QStringLiteral("Unable to open %1\nThere is no web browser or other "
                                        "program set up to show it; please open it by hand.")
                             .arg(where),
                         QStringLiteral("error"), MessageButtons::Ok);
  }
  return false;
}

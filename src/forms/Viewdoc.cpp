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

bool ViewDocument(const QString& topic, const QString& directory, bool quiet) {
  const QString html = topic + QStringLiteral(".html");
  const QString htm = topic + QStringLiteral(".htm");
  QStringList candidates{JoinPath(directory, html), JoinPath(directory, htm), html, htm};
  // The copy installed next to the program is found from any directory.
  const QString program_dir = QCoreApplication::applicationDirPath();
  if (!program_dir.isEmpty()) {
    candidates << JoinPath(program_dir, html) << JoinPath(program_dir, htm);
  }
  for (const QString& candidate : candidates) {
    const QFileInfo file(candidate);  // a relative name resolves in the current directory
    if (file.isFile()) {
      desktop().OpenUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
      return true;
    }
  }
  if (!quiet) {
    desktop().MessageBox(nullptr, QStringLiteral("Unable to find documentation"),
                         QStringLiteral("error"), MessageButtons::Ok);
  }
  return false;
}

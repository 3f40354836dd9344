#include "forms/Importroute.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "session/planning_session.h"

const char* const kRouteFilter = "Flight plans (*.gpx *.fpl)";

bool ImportRouteFile(QWidget* parent, Plan& plan, const CivilDate& date) {
  // Routes usually sit beside the plans made from them.
  const QFileInfo current(QString::fromStdString(plan.filename));
  QString path = (current.isAbsolute() ? current.absolutePath() : QDir::currentPath()) + "/";
  if (!desktop().OpenFileName(parent, path, kRouteFilter)) return false;

  // The route's airports arrive with their names only; a chosen data folder fills them in.
  DataProvider provide;
  if (!AviationFolder().isEmpty()) provide = [parent]() { return UseAviationData(parent); };
  const RouteImport result = ImportRouteAndFill(path.toStdString(), nullptr, date, provide, plan);
  if (!result.ok) {
    desktop().MessageBox(
        parent, QString("Unable to import %1\n%2").arg(path, QString::fromStdString(result.error)),
        "Error", MessageButtons::Ok);
    return false;
  }
  // What the import and the fill found worth telling, in one message.
  QStringList told;
  for (const std::string& warning : result.warnings) told << QString::fromStdString(warning);
  for (const std::string& note : result.notes) told << QString::fromStdString(note);
  if (!told.isEmpty()) desktop().MessageBox(parent, told.join('\n'), "Warning", MessageButtons::Ok);
  return true;
}

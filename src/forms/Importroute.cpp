#include "forms/Importroute.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include "data/export_places.h"
#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "routes/route_export.h"
#include "session/planning_session.h"

const char* const kRouteFilter = "Flight plans (*.gpx *.fpl)";
const char* const kExportRouteFilter = "GPX routes (*.gpx);;Garmin flight plans (*.fpl)";

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

bool ExportPlanRoute(QWidget* parent, const Plan& plan) {
  std::vector<std::string> unpositioned;
  ExportRoute route = RouteForExport(plan, unpositioned);
  if (route.points.size() < 2) {
    desktop().MessageBox(parent,
                         "A GPS needs at least two checkpoints with a position. Checkpoints "
                         "get one from an imported route or from the aviation data.",
                         "Error", MessageButtons::Ok);
    return false;
  }
  if (!unpositioned.empty()) {
    QString names;
    for (const std::string& name : unpositioned)
      names += (names.isEmpty() ? "" : ", ") + QString::fromStdString(name);
    const QString question =
        QString("%1 of the route's checkpoints have no position: %2.\nExport the %3 that have one?")
            .arg(unpositioned.size())
            .arg(names)
            .arg(route.points.size());
    if (desktop().MessageBox(parent, question, "Export Route", MessageButtons::YesNo) != mrYes)
      return false;
  }

  QFileInfo proposed(QString::fromStdString(plan.filename));
  QString path = (proposed.isAbsolute() ? proposed.absolutePath() : QDir::currentPath()) + "/" +
                 (proposed.completeBaseName().isEmpty() ? "route" : proposed.completeBaseName()) +
                 ".gpx";
  if (!desktop().SaveFileName(parent, path, kExportRouteFilter)) return false;
  std::optional<ExportFormat> format = ExportFormatFor(path.toStdString());
  if (!format) {
    path += ".gpx";  // a name without an extension a GPS would know
    format = ExportFormat::Gpx;
  }

  if (!AviationFolder().isEmpty()) {
    if (const AviationData* data = UseAviationData(parent)) ClassifyExportPoints(*data, route);
  }
  std::string error;
  if (!ExportRouteFile(route, *format, path.toStdString(), error)) {
    desktop().MessageBox(
        parent, QString("Unable to export %1\n%2").arg(path, QString::fromStdString(error)),
        "Error", MessageButtons::Ok);
    return false;
  }
  return true;
}

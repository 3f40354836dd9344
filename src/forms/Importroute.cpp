#include "forms/Importroute.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include "data/aviation_fill.h"
#include "forms/Aviationdata.h"
#include "forms/Desktop.h"
#include "routes/route_import.h"

const char* const kRouteFilter = "Flight plans (*.gpx *.fpl)";

bool ImportRouteFile(QWidget* parent, Plan& plan, const CivilDate& date) {
  // Routes usually sit beside the plans made from them.
  const QFileInfo current(QString::fromStdString(plan.filename));
  QString path = (current.isAbsolute() ? current.absolutePath() : QDir::currentPath()) + "/";
  if (!desktop().OpenFileName(parent, path, kRouteFilter)) return false;

  ImportResult result = ImportRoute(path.toStdString(), date, plan);
  if (!result.ok) {
    desktop().MessageBox(
        parent, QString("Unable to import %1\n%2").arg(path, QString::fromStdString(result.error)),
        "Error", MessageButtons::Ok);
    return false;
  }
  if (!result.warning.empty()) {
    desktop().MessageBox(parent, QString::fromStdString(result.warning), "Warning",
                         MessageButtons::Ok);
  }
  // The route's airports arrive with their names only; a chosen data folder fills them in.
  if (!plan.airfields.empty() && !AviationFolder().isEmpty()) {
    if (const AviationData* data = UseAviationData(parent)) {
      std::vector<std::string> notes;
      FillNamedAirfields(*data, plan, notes);
    }
  }
  return true;
}

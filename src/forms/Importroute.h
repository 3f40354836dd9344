// File > Import Route: a route drawn on a map or a GPS becomes the plan; File >
// Export Route takes the plan's route back to a GPS or an EFB.
#pragma once

#include "geo/magnetic.h"
#include "plan/plan.h"

class QWidget;

// The filter of the import's file dialog.
extern const char* const kRouteFilter;  // "Flight plans (*.gpx *.fpl)"

// Asks for a route file and imports it into `plan`, the variation for `date`.
// True when the plan was replaced; a file that cannot be imported is
// reported and leaves the plan as it was.
bool ImportRouteFile(QWidget* parent, Plan& plan, const CivilDate& date);

// The filter of the export's file dialog; the format follows the extension.
extern const char* const kExportRouteFilter;

// Asks where to export the plan's route (GPX or Garmin flight plan) and writes
// it. Rows without a position are named and, if the pilot agrees, left out.
// True when a file was written.
bool ExportPlanRoute(QWidget* parent, const Plan& plan);

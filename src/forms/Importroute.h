// File > Import Route: a route drawn on a map or a GPS becomes the plan.
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

// What each point of a route to export is, told by the aviation data: a
// row's caption that starts with an airport's, navaid's or fix's ident near
// the row's position goes to the GPS under that ident and type.
#pragma once

#include "data/aviation_data.h"
#include "routes/route_export.h"

// Sets the ident, kind and country of each point the data knows within a few
// miles of its position; the others stay user waypoints. Positions are kept:
// the route goes where the plan goes.
void ClassifyExportPoints(const AviationData& data, ExportRoute& route);

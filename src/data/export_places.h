// What the aviation data tells about the plan's places when they leave the
// program: a row's caption that starts with an airport's, navaid's or fix's
// ident near the row's position goes to the GPS under that ident and type;
// an airfield's position dates its daylight.
#pragma once

#include "data/aviation_data.h"
#include "routes/route_export.h"

// Sets the ident, kind and country of each point the data knows within a few
// miles of its position; the others stay user waypoints. Positions are kept:
// the route goes where the plan goes.
void ClassifyExportPoints(const AviationData& data, ExportRoute& route);

// Where the airfield lies: the route row of its name, else the data's
// airport of the name's first word (`data` may be null).
std::optional<GeoPosition> AirfieldPosition(const AviationData* data, const Plan& plan,
                                            const AirfieldInfo& field);

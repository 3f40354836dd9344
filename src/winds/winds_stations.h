// Where a winds aloft bulletin's stations are, from the airport and navaid
// data the pilot chose.
#pragma once

#include <vector>

#include "data/aviation_data.h"
#include "plan/plan.h"
#include "winds/winds_fb.h"

// The VOR, VORTAC or VOR-DME of the station's ident nearest the route, if
// within 300 NM of it; else the airport with K in front of the ident, or P
// (Alaska and Hawaii), the one nearer the route when both exist. `data` must
// outlive the locator.
StationLocator AviationStations(const AviationData& data, const Plan& plan);

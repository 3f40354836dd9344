// halvix-navlog's use of aviation data: a plan built from a route of idents
// and coordinates, and VOR cross-checks filled in.
#pragma once

#include <string>

#include "geo/magnetic.h"
#include "plan/plan.h"

struct NavlogDataOptions {
  std::string folder;  // --data; else $HALVIX_AVIATION_DATA, else the simulator's folder
  std::string route;   // --route
  bool nearest_vor = false;
  // --data alone fills the airfields of a plan or route file that have only a name.
  bool wanted() const { return !folder.empty() || !route.empty() || nearest_vor; }
};

// The folder the options name: --data, else the environment variable, else
// the simulator's folder when it exists; else empty.
std::string AviationDataFolder(const NavlogDataOptions& options);

// Builds `plan` from the route (when there is one; else fills the airfields
// that have only a name) and fills its VOR cross-checks (when asked), telling what the pilot should
// know on standard error. False after reporting why (an ident found nowhere, no data).
bool ApplyAviationData(const NavlogDataOptions& options, const CivilDate& date, Plan& plan);

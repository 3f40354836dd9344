// halvix-navlog's use of aviation data: a plan built from a route of idents
// and coordinates, and VOR cross-checks filled in.
#pragma once

#include <string>

#include "geo/magnetic.h"
#include "plan/plan.h"
#include "session/planning_session.h"

struct NavlogDataOptions {
  std::string folder;  // --data; else $HALVIX_AVIATION_DATA, else the simulator's folder
  std::string route;   // --route
  bool nearest_vor = false;
  // --data alone fills the airfields of a plan or route file that have only a name.
  bool wanted() const { return !folder.empty() || !route.empty() || nearest_vor; }
};

// The session's data, opened at the first call with what the pilot should
// know about it told on standard error once. Null with the reason.
const AviationData* NavlogData(PlanningSession& session, const CivilDate& date, std::string& error);

// Builds `plan` from the route (when there is one; else fills the airfields
// that have only a name) and fills its VOR cross-checks (when asked), telling
// what the pilot should know on standard error. False after reporting why (an
// ident found nowhere, no data).
bool ApplyAviationData(PlanningSession& session, const NavlogDataOptions& options,
                       const CivilDate& date, Plan& plan);

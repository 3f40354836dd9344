#include "app/navlog_data.h"

#include <iostream>

#include "data/aviation_data.h"
#include "data/aviation_fill.h"
#include "plan/planfile.h"

namespace {

bool Fail(const std::string& message) {
  std::cerr << "halvix-navlog: " << message << "\n";
  return false;
}

void Warn(const std::string& message) {
  std::cerr << "halvix-navlog: warning: " << message << "\n";
}

}  // namespace

const AviationData* NavlogData(PlanningSession& session, const CivilDate& date,
                               std::string& error) {
  if (const AviationData* open = session.OpenedData()) return open;
  if (session.DataFolder().empty()) {
    error = std::string("no aviation data: give --data DIR or set ") + kAviationDataVariable;
    return nullptr;
  }
  const AviationData* data = session.Data(error);
  if (!data) return nullptr;
  const DataSetInfo& info = data->info();
  for (const std::string& warning : info.warnings) Warn(warning);
  if (data->IsOutdated(date)) {
    Warn("the aviation data in " + info.folder + " (" + info.cycle + ", " +
         FormatCivilDate(*info.date) + ") is more than a year old: not for navigation");
  }
  return data;
}

bool ApplyAviationData(PlanningSession& session, const NavlogDataOptions& options,
                       const CivilDate& date, Plan& plan) {
  std::string error;
  const AviationData* data = NavlogData(session, date, error);
  if (!data) return Fail(error);
  if (!options.route.empty()) {
    const MagneticModel* model = PlanningSession::Magnetic(error);
    if (!model) return Fail("the magnetic model cannot be read: " + error);
    LoadPlan(plan, "");  // the aircraft and margins a plan file without them has
    std::vector<std::string> notes;
    if (!BuildPlanFromIdents(*data, RouteTokens(options.route), *model, DecimalYear(date), plan,
                             notes, error))
      return Fail(error);
    for (const std::string& note : notes) Warn(note);
    if (!model->Covers(date)) {
      Warn("the magnetic model " + model->name() + " holds from " +
           FormatCivilDate(model->released()) + " to " + FormatCivilDate(model->expires()) +
           "; the variation for " + FormatCivilDate(date) + " is only an estimate");
    }
  } else {
    // A plan file's airports may have their names only; a route file's were
    // filled as it was imported.
    std::vector<std::string> notes;
    FillNamedAirfields(*data, plan, notes);
    for (const std::string& note : notes) Warn(note);
  }
  if (options.nearest_vor) {
    // A VOR the data gives no slaved variation is reckoned with the model's.
    std::string ignored;
    std::vector<std::string> notes;
    FillVorCrossChecks(*data, plan, PlanningSession::Magnetic(ignored), &notes);
    for (const std::string& note : notes) Warn(note);
  }
  // The fuel plan's alternate leg, measured when its distance was not typed;
  // one not found is left out of the fuel plan, which says so.
  std::string warning;
  if (!ResolveAlternate(*data, plan, warning)) Warn(warning);
  return true;
}

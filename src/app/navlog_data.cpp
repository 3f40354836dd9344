#include "app/navlog_data.h"

#include <sys/stat.h>

#include <cstdlib>
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

std::string AviationDataFolder(const NavlogDataOptions& options) {
  if (!options.folder.empty()) return options.folder;
  // Set but empty: no data folder, not even the simulator's.
  if (const char* variable = std::getenv(kAviationDataVariable)) return variable;
  struct stat st;
  if (stat(kSimulatorDataFolder, &st) == 0 && S_ISDIR(st.st_mode)) return kSimulatorDataFolder;
  return std::string();
}

bool ApplyAviationData(const NavlogDataOptions& options, const CivilDate& date, Plan& plan) {
  const std::string folder = AviationDataFolder(options);
  if (folder.empty())
    return Fail(std::string("no aviation data: give --data DIR or set ") + kAviationDataVariable);
  AviationData data;
  std::string error;
  if (!data.Open(folder, DefaultCacheFolder(), error)) return Fail(error);
  const DataSetInfo& info = data.info();
  for (const std::string& warning : info.warnings) Warn(warning);
  if (data.IsOutdated(date)) {
    Warn("the aviation data in " + info.folder + " (" + info.cycle + ", " +
         FormatCivilDate(*info.date) + ") is more than a year old: not for navigation");
  }
  if (!options.route.empty()) {
    MagneticModel model;
    const std::string model_path = FindMagneticModelFile();
    if (model_path.empty() || !model.Load(model_path, error))
      return Fail("the magnetic model cannot be read" + (error.empty() ? "" : ": " + error));
    LoadPlan(plan, "");  // the aircraft and margins a plan file without them has
    std::vector<std::string> notes;
    if (!BuildPlanFromIdents(data, RouteTokens(options.route), model, DecimalYear(date), plan,
                             notes, error))
      return Fail(error);
    for (const std::string& note : notes) Warn(note);
    if (!model.Covers(date)) {
      Warn("the magnetic model " + model.name() + " holds from " +
           FormatCivilDate(model.released()) + " to " + FormatCivilDate(model.expires()) +
           "; the variation for " + FormatCivilDate(date) + " is only an estimate");
    }
  } else {
    // A route file's airports arrive with their names only.
    std::vector<std::string> notes;
    FillNamedAirfields(data, plan, notes);
    for (const std::string& note : notes) Warn(note);
  }
  if (options.nearest_vor) FillVorCrossChecks(data, plan);
  return true;
}

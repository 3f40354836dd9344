// What a planning session reads besides the plan: the aviation data folder
// and its index, the magnetic model, the stations of a winds bulletin, and a
// route file imported and then filled from the data. Both programs plan
// through it; the desktop only adds its dialogs and progress on top.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/aviation_data.h"
#include "geo/magnetic.h"
#include "plan/plan.h"
#include "winds/winds_fb.h"

// The folder the data is read from: `chosen` (the command line's --data, the
// desktop's setting) unless empty, else $HALVIX_AVIATION_DATA (set but empty:
// no folder at all), else the simulator's folder when it exists; else empty.
std::string ResolveDataFolder(const std::string& chosen);

class PlanningSession {
 public:
  // `cache_folder` keeps the index; by default the user's cache folder as it
  // is when the data is opened.
  explicit PlanningSession(std::string chosen_folder = std::string(),
                           std::optional<std::string> cache_folder = std::nullopt);
  ~PlanningSession();
  PlanningSession(const PlanningSession&) = delete;
  PlanningSession& operator=(const PlanningSession&) = delete;

  // The pilot chose another folder; the data of the former one is closed.
  void ChooseFolder(const std::string& chosen);
  std::string DataFolder() const { return ResolveDataFolder(chosen_); }

  // The data of DataFolder(), opened on the first call (its index built
  // first when needed) and kept for later calls. Null with the reason.
  const AviationData* Data(std::string& error, const IndexWatch& watch = {});
  // The data when it is open for DataFolder() already; else null.
  const AviationData* OpenedData() const;
  // Opens `folder` and keeps it as the session's data when it can be read,
  // before the folder is chosen; the data kept so far stays otherwise.
  const AviationData* OpenFolder(const std::string& folder, std::string& error,
                                 const IndexWatch& watch = {});

  // The magnetic model the program ships, read once for the whole program.
  // Null with the reason.
  static const MagneticModel* Magnetic(std::string& error);

 private:
  std::string CacheFolder() const;

  std::string chosen_;
  std::optional<std::string> cache_;
  std::string open_folder_;
  std::unique_ptr<AviationData> data_;
};

// The data when a command needs it, or null after the pilot was told why:
// the desktop shows its dialogs, the command line prints to standard error.
using DataProvider = std::function<const AviationData*()>;

// Places a bulletin's stations with the data `provide` gives, asked for when
// the first station is placed (a GRIB forecast needs none) and only once.
// `plan` must outlive the locator.
StationLocator StationsFor(const Plan& plan, DataProvider provide);

struct RouteImport {
  bool ok = false;
  std::string error;                  // why nothing was imported
  std::vector<std::string> warnings;  // of the import: the model's span, the poles
  std::vector<std::string> notes;     // of the fill: frequencies left out, defaults
  int filled = 0;                     // airfields filled from the data
};

// Imports the route file `path` (its bytes read already when `bytes` is
// given) into `plan` with the variation for `date`, then fills the airfields
// the route names only from the data `provide` gives; `provide` is not
// asked when it is empty or the route has no airfield. The plan is untouched
// when the route cannot be imported.
RouteImport ImportRouteAndFill(const std::string& path, const std::string* bytes,
                               const CivilDate& date, const DataProvider& provide, Plan& plan);

#include "session/planning_session.h"

#include <sys/stat.h>

#include <cstdlib>
#include <mutex>

#include "data/aviation_fill.h"
#include "routes/route_import.h"
#include "winds/winds_stations.h"

std::string ResolveDataFolder(const std::string& chosen) {
  if (!chosen.empty()) return chosen;
  // Set but empty: no data folder, not even the simulator's.
  if (const char* variable = std::getenv(kAviationDataVariable)) return variable;
  struct stat st;
  if (stat(kSimulatorDataFolder, &st) == 0 && S_ISDIR(st.st_mode)) return kSimulatorDataFolder;
  return std::string();
}

PlanningSession::PlanningSession(std::string chosen_folder, std::optional<std::string> cache_folder)
    : chosen_(std::move(chosen_folder)), cache_(std::move(cache_folder)) {}

PlanningSession::~PlanningSession() = default;

void PlanningSession::ChooseFolder(const std::string& chosen) {
  chosen_ = chosen;
  if (data_ && open_folder_ != DataFolder()) {
    data_.reset();
    open_folder_.clear();
  }
}

std::string PlanningSession::CacheFolder() const {
  return cache_ ? *cache_ : DefaultCacheFolder();
}

const AviationData* PlanningSession::OpenedData() const {
  return data_ && open_folder_ == DataFolder() ? data_.get() : nullptr;
}

const AviationData* PlanningSession::Data(std::string& error, const IndexWatch& watch) {
  if (const AviationData* open = OpenedData()) return open;
  const std::string folder = DataFolder();
  if (folder.empty()) {
    error = "no aviation data folder is chosen";
    return nullptr;
  }
  return OpenFolder(folder, error, watch);
}

const AviationData* PlanningSession::OpenFolder(const std::string& folder, std::string& error,
                                                const IndexWatch& watch) {
  auto opened = std::make_unique<AviationData>();
  if (!opened->Open(folder, CacheFolder(), error, watch)) return nullptr;
  data_ = std::move(opened);
  open_folder_ = folder;
  return data_.get();
}

const MagneticModel* PlanningSession::Magnetic(std::string& error) {
  // Read once: both programs evaluate one model for the whole run.
  static std::once_flag once;
  static std::unique_ptr<MagneticModel> model;
  static std::string why;
  std::call_once(once, [] {
    auto loaded = std::make_unique<MagneticModel>();
    if (LoadShippedMagneticModel(*loaded, why)) model = std::move(loaded);
  });
  if (!model) error = why;
  return model.get();
}

StationLocator StationsFor(const Plan& plan, DataProvider provide) {
  struct State {
    bool asked = false;
    StationLocator locate;
  };
  auto state = std::make_shared<State>();
  return [&plan, provide = std::move(provide),
          state](const std::string& ident) -> std::optional<GeoPosition> {
    if (!state->asked) {
      state->asked = true;
      const AviationData* data = provide ? provide() : nullptr;
      if (data) state->locate = AviationStations(*data, plan);
    }
    if (!state->locate) return std::nullopt;
    try {
      return state->locate(ident);
    } catch (const AviationDataError&) {
      // An index that failed for good places no more stations; the forecast
      // names each one it could not place.
      state->locate = nullptr;
      return std::nullopt;
    }
  };
}

RouteImport ImportRouteAndFill(const std::string& path, const std::string* bytes,
                               const CivilDate& date, const DataProvider& provide, Plan& plan) {
  RouteImport result;
  std::string read;
  if (bytes == nullptr) {
    if (!ReadRouteFile(path, read, result.error)) return result;
    bytes = &read;
  }
  std::string model_error;
  const MagneticModel* model = PlanningSession::Magnetic(model_error);
  if (!model) {
    // A route that is no route is named as such, model or not.
    Route route;
    std::string why;
    result.error = ParseRoute(*bytes, route, why) ? model_error : why;
    return result;
  }
  const ImportResult imported = ImportRouteText(*bytes, path, date, *model, plan);
  if (!imported.ok) {
    result.error = imported.error;
    return result;
  }
  result.ok = true;
  std::size_t start = 0;
  while (start < imported.warning.size()) {
    std::size_t end = imported.warning.find('\n', start);
    if (end == std::string::npos) end = imported.warning.size();
    result.warnings.push_back(imported.warning.substr(start, end - start));
    start = end + 1;
  }
  // The route's airports arrive with their names only.
  if (!plan.airfields.empty() && provide) {
    if (const AviationData* data = provide()) {
      try {
        result.filled = FillNamedAirfields(*data, plan, result.notes);
      } catch (const AviationDataError& e) {
        result.notes.push_back(std::string("the airfields were not filled: ") + e.what());
      }
    }
  }
  return result;
}

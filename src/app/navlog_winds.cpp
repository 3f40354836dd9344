#include "app/navlog_winds.h"

#include <iostream>
#include <memory>

#include "data/aviation_data.h"
#include "winds/winds_file.h"
#include "winds/winds_stations.h"

namespace {

void Warn(const std::string& message) {
  std::cerr << "halvix-navlog: warning: " << message << "\n";
}

// The aviation data, opened on the first station asked for: a GRIB file
// needs none. Without it no station is placed, and that is said once.
class LazyStations {
 public:
  LazyStations(const NavlogDataOptions& options, const Plan& plan)
      : options_(options), plan_(plan) {}

  std::optional<GeoPosition> Place(const std::string& ident) {
    if (!tried_) {
      tried_ = true;
      const std::string folder = AviationDataFolder(options_);
      std::string error;
      if (folder.empty()) {
        Warn(std::string("the bulletin's stations cannot be placed without aviation data: give "
                         "--data DIR or set ") +
             kAviationDataVariable);
      } else if (!data_.Open(folder, DefaultCacheFolder(), error)) {
        Warn("the bulletin's stations cannot be placed: " + error);
      } else {
        locate_ = AviationStations(data_, plan_);
      }
    }
    return locate_ ? locate_(ident) : std::nullopt;
  }
  bool placing() const { return static_cast<bool>(locate_); }

 private:
  const NavlogDataOptions& options_;
  const Plan& plan_;
  bool tried_ = false;
  AviationData data_;
  StationLocator locate_;
};

}  // namespace

bool FillWindsFromForecast(const std::string& path, std::optional<int> depart,
                           const NavlogDataOptions& data_options, Plan& plan) {
  LazyStations stations(data_options, plan);
  const WindForecastLoad load = LoadWindForecast(
      path, plan, [&stations](const std::string& ident) { return stations.Place(ident); });
  if (!load.ok) {
    std::cerr << "halvix-navlog: " << load.error << "\n";
    return false;
  }
  for (const std::string& warning : load.report.WarningTexts()) Warn(warning);
  if (stations.placing()) {
    for (const std::string& warning : load.warnings) Warn(warning);
  }
  const WindFill fill = ProposeWinds(plan, *load.source, WindFillOptions{depart});
  for (const std::string& warning : fill.warnings) Warn(warning);
  ApplyWinds(plan, fill);
  return true;
}

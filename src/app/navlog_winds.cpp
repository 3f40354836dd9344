#include "app/navlog_winds.h"

#include <iostream>

#include "app/navlog_data.h"
#include "winds/winds_file.h"

namespace {

void Warn(const std::string& message) {
  std::cerr << "halvix-navlog: warning: " << message << "\n";
}

}  // namespace

bool FillWindsFromForecast(const std::string& path, std::optional<int> depart,
                           PlanningSession& session, const CivilDate& date, Plan& plan) {
  // Without data no station is placed, and that is said once.
  bool placing = false;
  const StationLocator locate = StationsFor(plan, [&]() -> const AviationData* {
    std::string error;
    const AviationData* data = NavlogData(session, date, error);
    if (data) {
      placing = true;
    } else if (session.DataFolder().empty()) {
      Warn(std::string("the bulletin's stations cannot be placed without aviation data: give "
                       "--data DIR or set ") +
           kAviationDataVariable);
    } else {
      Warn("the bulletin's stations cannot be placed: " + error);
    }
    return data;
  });
  const WindForecastLoad load = LoadWindForecast(path, plan, locate);
  if (!load.ok) {
    std::cerr << "halvix-navlog: " << load.error << "\n";
    return false;
  }
  for (const std::string& warning : load.report.WarningTexts()) Warn(warning);
  if (placing) {
    for (const std::string& warning : load.warnings) Warn(warning);
  }
  const WindFill fill = ProposeWinds(plan, *load.source, WindFillOptions{depart});
  for (const std::string& warning : fill.warnings) Warn(warning);
  ApplyWinds(plan, fill);
  return true;
}

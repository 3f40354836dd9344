// Any bytes as a route file (GPX or flight-plan XML): parsed, turned into
// plan rows with the shipped magnetic model, computed and reported. Nothing
// may crash, and a route the reader accepts must give a plan that computes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "geo/magnetic.h"
#include "plan/legs.h"
#include "plan/report.h"
#include "routes/route_import.h"

namespace {

const MagneticModel& Model() {
  static const MagneticModel model = [] {
    MagneticModel m;
    std::string error;
    if (!m.Load(HALVIX_WMM_FILE, error)) std::abort();
    return m;
  }();
  return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Route route;
  std::string error;
  if (!ParseRoute(std::string(reinterpret_cast<const char*>(data), size), route, error)) return 0;
  Plan plan;
  if (!RouteToPlan(route, Model(), 2026.5, plan, error)) return 0;
  if (plan.route.size() < 2 || plan.route.size() > static_cast<std::size_t>(kMaxRoute)) {
    std::abort();
  }
  const NavLog log = ComputeLog(plan);
  FormatLogCsv(log);
  FormatLogTable(plan, log);
  return 0;
}

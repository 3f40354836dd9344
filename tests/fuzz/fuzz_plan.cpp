// Any bytes as a plan file: read, checked, computed and reported as text and
// CSV. Nothing may crash, overflow or print an infinite or saturated number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plan/check.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/report.h"

namespace {

void MustNotContain(const std::string& text, const char* what) {
  if (text.find(what) != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Plan plan;
  LoadPlanText(plan, std::string(reinterpret_cast<const char*>(data), size));
  if (plan.route.size() > static_cast<std::size_t>(kMaxRoute)) std::abort();
  FindMissingItem(plan);
  const NavLog log = ComputeLog(plan);
  if (log.LegCount() > kMaxLegs) std::abort();
  const std::string csv = FormatLogCsv(log);
  const std::string table = FormatLogTable(plan, log);
  // Names may hold any text, so only the computed columns are looked at.
  std::string numbers = std::to_string(log.totals.dist) + " " + std::to_string(log.totals.ete) +
                        " " + std::to_string(log.totals.fuelused);
  for (const LogRow& leg : log.legs) {
    numbers += " " + std::to_string(leg.distrem) + " " + std::to_string(leg.ete) + " " +
               std::to_string(leg.fuelused) + " " + std::to_string(leg.fuelrem);
  }
  for (const char* bad : {"inf", "nan", "2147483647", "2147483648"}) MustNotContain(numbers, bad);
  return 0;
}

#include "plan/fuel.h"

#include <cmath>
#include <cstdio>

#include "plan/format.h"

namespace {

// Remaining fuel is a running difference of doubles; a checkpoint reached
// with exactly the reserve must not be flagged for a rounding error.
constexpr double kSlack = 1e-9;

}  // namespace

double ReserveFuel(const Plan& plan) {
  return plan.aircraft.acgph > 0.0 ? plan.reserve * plan.aircraft.acgph / 60.0 : 0.0;
}

std::string ReserveFuelText(const Plan& plan) {
  // printf rounds an exact half to even (5.25 to 5.2); the pilot reads 5.3.
  return FormatReal(std::round(ReserveFuel(plan) * 10.0) / 10.0, false);
}

FuelState LegFuelState(const Plan& plan, const LegResult& leg) {
  // The fuel used tells whether the remaining fuel was computed: a tank run
  // 1000 gallons dry is a real -1000.0.
  if (leg.fuelused == NOT_ENTERED_FUEL) return FuelState::Unknown;
  if (leg.fuelrem < -kSlack) return FuelState::Exhausted;
  if (leg.fuelrem < ReserveFuel(plan) - kSlack) return FuelState::BelowReserve;
  return FuelState::Enough;
}

int32_t MinutesShort(const Plan& plan, const LegResult& leg) {
  if (!(plan.aircraft.acgph > 0.0) || !(leg.fuelrem < 0.0)) return -1;
  const double minutes = std::ceil(-leg.fuelrem * 60.0 / plan.aircraft.acgph - kSlack);
  return minutes > 1e6 ? 1000000 : static_cast<int32_t>(minutes);
}

std::string FuelWarning(const Plan& plan, const LegResult& leg) {
  switch (LegFuelState(plan, leg)) {
    case FuelState::Unknown:
    case FuelState::Enough:
      return {};
    case FuelState::BelowReserve:
      return "fuel remaining " + FormatReal(leg.fuelrem, false) + " gal is below the " +
             std::to_string(plan.reserve) + " min reserve of " + ReserveFuelText(plan) + " gal";
    case FuelState::Exhausted: {
      const int32_t minutes = MinutesShort(plan, leg);
      if (minutes < 0) return "fuel exhausted before this checkpoint";
      return "fuel exhausted " + std::to_string(minutes) + " min before this checkpoint";
    }
  }
  return {};
}

std::string HoursMinutes(int64_t minutes) {
  if (minutes < 0) minutes = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(minutes / 60),
                static_cast<long long>(minutes % 60));
  return text;
}

std::string RouteSummary(const Plan& plan, const LegResult& totals) {
  std::string line = "Total " + FormatInt(totals.dist, 0, false) + " NM, " +
                     HoursMinutes(totals.ete) + " (" + FormatInt(totals.ete, 0, false) + " min), " +
                     FormatReal(totals.fuelused, false) + " gal used";
  const double left = plan.aircraft.acfullfuel - totals.fuelused;
  line += "; at destination " + FormatReal(left, false) + " gal";
  if (left < 0.0) return line + ", fuel exhausted";
  if (plan.aircraft.acgph > 0.0) {
    // Whole minutes, cut rather than rounded: endurance is never overstated.
    const double minutes = std::floor(left * 60.0 / plan.aircraft.acgph + kSlack);
    line += ", endurance " +
            HoursMinutes(minutes > 1e9 ? int64_t{1000000000} : static_cast<int64_t>(minutes)) +
            " left";
  }
  return line;
}

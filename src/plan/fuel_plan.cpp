#include "plan/fuel_plan.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "plan/cnumbers.h"
#include "plan/wind_triangle.h"

namespace {

int32_t MinutesAt(double gallons, double gph) {
  return gph > 0.0 ? static_cast<int32_t>(std::lround(gallons * 60.0 / gph)) : 0;
}

}  // namespace

const FuelPlanLine* FuelPlan::Line(const std::string& item) const {
  for (const FuelPlanLine& line : lines) {
    if (line.item == item) return &line;
  }
  return nullptr;
}

PhaseSums SumPhases(const VerticalProfile& profile, int32_t total_min, double total_gal) {
  PhaseSums sums;
  for (const ProfileRow& row : profile.rows) {
    sums.climb_min += row.climb_min;
    sums.climb_gal += row.climb_gal;
    sums.descent_min += row.descent_min;
    sums.descent_gal += row.descent_gal;
  }
  sums.cruise_min = total_min - sums.climb_min - sums.descent_min;
  sums.cruise_gal = total_gal - sums.climb_gal - sums.descent_gal;
  if (sums.cruise_gal < 0.0 && sums.cruise_gal > -1e-9) sums.cruise_gal = 0.0;
  return sums;
}

FuelPlan ComputeFuelPlan(const Plan& plan, const PhaseSums& sums,
                         const std::vector<LegInput>& legs) {
  FuelPlan fp;
  const Performance& perf = plan.performance;
  const double gph = ClampQuantity(plan.aircraft.acgph);
  auto add = [&](const char* item, double gallons, int32_t minutes) {
    fp.lines.push_back(FuelPlanLine{item, gallons, minutes});
  };
  const double taxi = perf.taxigal.value_or(0.0);
  add("taxi", taxi, 0);
  add("climb", sums.climb_gal, sums.climb_min);
  add("cruise", sums.cruise_gal, sums.cruise_min);
  add("descent", sums.descent_gal, sums.descent_min);
  fp.trip = sums.climb_gal + sums.cruise_gal + sums.descent_gal;
  const int32_t trip_min = sums.climb_min + sums.cruise_min + sums.descent_min;
  add("trip", fp.trip, trip_min);
  const double share = perf.contingency.value_or(0.0) / 100.0;
  add("contingency", fp.trip * share, static_cast<int32_t>(std::lround(trip_min * share)));

  double alt_gal = 0.0;
  int32_t alt_min = 0;
  if (!perf.alternate.empty() || perf.alternatedist) {
    const LegInput* last = legs.empty() ? nullptr : &legs.back();
    int32_t wca = 0;
    int32_t gs = 0;
    if (!perf.alternatedist || !perf.alternatetc) {
      fp.warnings.push_back("alternate " + perf.alternate +
                            ": no distance and course to it; not counted");
    } else if (!last || last->tas == NOT_ENTERED || last->winddir == NOT_ENTERED ||
               last->windvel == NOT_ENTERED ||
               WindTriangle(static_cast<int32_t>(std::lround(*perf.alternatetc)), last->winddir,
                            last->windvel, last->tas, wca, gs) != Triangle::Solved) {
      fp.warnings.push_back("alternate " + perf.alternate +
                            ": no ground speed with the last leg's wind and airspeed");
    } else {
      alt_min = static_cast<int32_t>(std::lround(*perf.alternatedist)) * 60 / gs;
      alt_gal = alt_min * gph / 60.0;
    }
  }
  add("alternate", alt_gal, alt_min);
  const double reserve = gph > 0.0 ? plan.reserve * gph / 60.0 : 0.0;
  add("reserve", reserve, plan.reserve);
  const double extra = perf.extragal.value_or(0.0);
  add("extra", extra, MinutesAt(extra, gph));
  fp.required = taxi + fp.trip + fp.trip * share + alt_gal + reserve + extra;
  add("required", fp.required, MinutesAt(fp.required, gph));
  fp.onboard = ClampQuantity(plan.aircraft.acfullfuel);
  add("onboard", fp.onboard, MinutesAt(fp.onboard, gph));
  const double left = fp.onboard - fp.required;
  add("leftover", left, MinutesAt(left, gph));
  // A tenth of a gallon is the least the log shows: less is no shortage.
  fp.short_of_fuel = left < -0.05;
  if (fp.short_of_fuel) {
    fp.warnings.push_back("required fuel " + FormatNumber(fp.required, 1) +
                          " gal is more than the " + FormatNumber(fp.onboard, 1) + " gal on board");
  }
  return fp;
}

WeightBalance PlanWeightBalance(const Plan& plan, const FuelPlan& fuel) {
  const double taxi = plan.performance.taxigal.value_or(0.0);
  return ComputeWeightBalance(plan.loading, ClampQuantity(plan.aircraft.acfullfuel) - taxi,
                              fuel.trip);
}

namespace {

std::string Fixed(double value, int decimals) {
  CNumbers c_numbers;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return std::string(text) == "-0.0" ? "0.0" : text;
}

// A name as one CSV field: quoted when it holds a comma or a quote.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string FuelPlanCsv(const FuelPlan& fuel) {
  std::string csv = "item,gallons,minutes\n";
  for (const FuelPlanLine& line : fuel.lines) {
    csv += line.item + "," + Fixed(line.gallons, 1) + "," + std::to_string(line.minutes) + "\n";
  }
  return csv;
}

std::string LoadingCsv(const WeightBalance& wb) {
  std::string csv = "item,lb,arm,moment\n";
  for (const LoadLine& line : wb.lines) {
    csv += CsvField(line.item) + "," + Fixed(line.lb, 1) + "," + Fixed(line.arm, 2) + "," +
           Fixed(line.moment, 0) + "\n";
  }
  const auto point = [](const char* name, const LoadPoint& p) {
    return std::string(name) + "," + Fixed(p.lb, 1) + "," + Fixed(p.cg, 2) + "," +
           Fixed(p.moment, 0) + "," + (p.inside && !p.over_max ? "inside" : "outside") + "\n";
  };
  return csv + point("takeoff", wb.takeoff) + point("landing", wb.landing);
}

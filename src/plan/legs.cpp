#include "plan/legs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "plan/format.h"

namespace {

// Not the full-precision value: the printed logs pilots compare against were
// computed with this one, and ground speeds differ by a knot without it.
constexpr double kPi = 3.14159;

double Radians(double degrees) {
  return degrees * kPi / 180.0;
}
double Degrees(double radians) {
  return radians * 180.0 / kPi;
}

int32_t Saturate(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// Truncation toward zero, kept inside the int32 range for absurd inputs.
int32_t Truncate(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// The wind triangle of one leg, from the carried values; anything but None
// when it has no meaningful answer.
LegProblem SolveLeg(LegResult& carry, double acgph) {
  if (carry.tas == NOT_ENTERED) return LegProblem::NoAirspeed;
  if (carry.tas <= 0) return LegProblem::AirspeedNotPositive;
  if (carry.dist == NOT_ENTERED) return LegProblem::NoDistance;

  const int64_t d = static_cast<int64_t>(carry.tc) - carry.winddir;
  const double ratio =
      std::sin(Radians(static_cast<double>(d) + 180.0)) * carry.windvel / carry.tas;
  if (!(ratio >= -1.0 && ratio <= 1.0)) return LegProblem::CrosswindTooStrong;

  const int32_t wca = Truncate(Degrees(std::asin(ratio)));
  const int32_t gs = Truncate(carry.tas * std::cos(Radians(wca)) -
                              carry.windvel * std::cos(Radians(static_cast<double>(d))));
  if (gs <= 0) return LegProblem::NoGroundSpeed;

  carry.wca = wca;
  carry.th = NormDegrees(SumKnown(carry.tc, carry.wca));
  carry.mh = NormDegrees(SumKnown(carry.th, carry.var));
  carry.ch = NormDegrees(SumKnown(carry.mh, carry.dev));
  carry.gs = gs;
  carry.ete = Saturate(static_cast<int64_t>(carry.dist) * 60 / gs);
  carry.fuelused = carry.ete * acgph / 60.0;
  return LegProblem::None;
}

// A figure as the log rounds it, in tenths; false for one too large to count.
bool Tenths(double value, int64_t& tenths) {
  std::string shown = FormatReal(value, false);
  shown.erase(std::remove(shown.begin(), shown.end(), '.'), shown.end());
  if (shown.empty() || shown.size() > 15) return false;
  tenths = std::stoll(shown);
  return true;
}

// The step from `before` to `before + used` to the tenth; `used` itself when
// either end is too large to count.
double ShownFuel(double before, double used) {
  int64_t from = 0;
  int64_t to = 0;
  if (Tenths(before, from) && Tenths(before + used, to))
    return static_cast<double>(to - from) / 10.0;
  return used;
}

uint8_t MissingInputs(const LegResult& carry) {
  uint8_t missing = 0;
  if (carry.tc == NOT_ENTERED) missing |= kMissingCourse;
  if (carry.winddir == NOT_ENTERED) missing |= kMissingWindDir;
  if (carry.windvel == NOT_ENTERED) missing |= kMissingWindSpeed;
  if (carry.var == NOT_ENTERED) missing |= kMissingVariation;
  return missing;
}

bool HasOwnHeadingInput(const LegResult& own) {
  return own.tc != NOT_ENTERED || own.tas != NOT_ENTERED || own.winddir != NOT_ENTERED ||
         own.windvel != NOT_ENTERED || own.var != NOT_ENTERED;
}

}  // namespace

int32_t SumKnown(int32_t a, int32_t b) {
  if (b == NOT_ENTERED) return a;
  if (a == NOT_ENTERED) return b;
  return Saturate(static_cast<int64_t>(a) + b);
}

int32_t NormDegrees(int32_t n) {
  int32_t r = n % 360;
  if (r <= 0) r += 360;
  return r;
}

namespace {

// 5627 as "5,627".
std::string GroupedThousands(int32_t value) {
  std::string digits = std::to_string(value < 0 ? -static_cast<int64_t>(value) : value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return value < 0 ? "-" + digits : digits;
}

}  // namespace

NavLog ComputeLog(const Plan& plan) {
  NavLog log;
  LegResult carry;
  ClearLeg(carry);
  LegResult& totals = log.totals;
  const std::size_t rows = plan.route.size();
  if (rows > 0) log.departure = plan.route.front().caption;
  log.legs.reserve(std::min<std::size_t>(rows, kMaxLegs));

  for (std::size_t i = 1; i < rows && log.legs.size() < static_cast<std::size_t>(kMaxLegs); ++i) {
    log.legs.emplace_back();
    LogRow& leg = log.legs.back();
    leg.route_row = static_cast<int>(i);
    leg.from = plan.route[i - 1].caption;
    ClearLeg(leg);
    ParseRow(plan.route[i], leg, carry);

    if (carry.dist != NOT_ENTERED)
      totals.dist = Saturate(static_cast<int64_t>(totals.dist) + carry.dist);

    LegStatus& why = leg.status;
    why.missing = MissingInputs(carry);
    if (why.missing != 0) {
      why.problem = LegProblem::MissingInputs;
    } else {
      // Held here as well: the aircraft dialog stores whatever is typed.
      why.problem = SolveLeg(carry, ClampQuantity(plan.aircraft.acgph));
    }
    if (why.problem == LegProblem::None) {
      if (HasOwnHeadingInput(leg)) {
        leg.wca = carry.wca;
        leg.th = carry.th;
        leg.var = carry.var;
        leg.mh = carry.mh;
        leg.gs = carry.gs;
        leg.ch = carry.ch;
      }
      leg.ete = carry.ete;
      leg.fuelused = carry.fuelused;
      totals.ete = Saturate(static_cast<int64_t>(totals.ete) + carry.ete);
      totals.fuelused += carry.fuelused;
    } else {
      ++log.unsolved;
    }
    leg.dist_through = totals.dist;
    leg.ete_through = totals.ete;
    leg.fuel_through = totals.fuelused;
  }

  int64_t distance = totals.dist;
  double fuel = ClampQuantity(plan.aircraft.acfullfuel);
  double before = 0.0;  // fuel used before the leg, summed as the totals are
  for (LogRow& leg : log.legs) {
    if (leg.dist != NOT_ENTERED) {
      distance -= leg.dist;
      leg.distrem = Saturate(distance);
    }
    if (leg.fuelused != NOT_ENTERED_FUEL) {
      fuel -= leg.fuelused;
      leg.fuelrem = fuel;
      leg.shown_fuelused = ShownFuel(before, leg.fuelused);
      before += leg.fuelused;
    }
    leg.fuel = LegFuelState(plan, leg);
    leg.fuel_warning = FuelWarning(plan, leg);
  }

  for (std::size_t k = 0; k < log.legs.size(); ++k) {
    if (log.legs[k].dist > kLongLegNm)
      log.warnings.push_back("leg " + std::to_string(k + 1) + " is " +
                             GroupedThousands(log.legs[k].dist) + " NM: check the checkpoints");
  }

  log.too_few = rows < 2;
  log.missing = FindMissingItem(plan);
  log.not_a_number = FindNotANumber(plan);
  return log;
}

LegResult TotalsThrough(const NavLog& log, int32_t legs) {
  LegResult sums{};
  const int32_t n = std::min(std::max(legs, 0), log.LegCount());
  if (n == 0) return sums;
  const LogRow& last = log.legs[static_cast<std::size_t>(n - 1)];
  sums.dist = last.dist_through;
  sums.ete = last.ete_through;
  sums.fuelused = last.fuel_through;
  return sums;
}

LegResult ShownLeg(const NavLog& log, int32_t k) {
  const LogRow& row = log.legs[static_cast<std::size_t>(k)];
  LegResult leg = row;
  if (leg.fuelused != NOT_ENTERED_FUEL) leg.fuelused = row.shown_fuelused;
  return leg;
}

NavLog BlankLog(int32_t count) {
  NavLog log;
  log.legs.resize(static_cast<std::size_t>(std::max(count, 0)));
  for (LogRow& leg : log.legs) ClearLeg(leg);
  return log;
}

std::string LegProblemText(const LegStatus& status) {
  switch (status.problem) {
    case LegProblem::None:
      return {};
    case LegProblem::MissingInputs: {
      const char* const names[] = {"true course", "wind direction", "wind speed",
                                   "magnetic variation"};
      std::string list;
      int count = 0;
      for (int bit = 0; bit < 4; ++bit) {
        if (!(status.missing & (1 << bit))) continue;
        const bool last = (status.missing >> (bit + 1)) == 0;
        list += count == 0 ? "" : (last ? " and " : ", ");
        list += names[bit];
        ++count;
      }
      return "Not solved: no " + list + " entered on this or an earlier checkpoint";
    }
    case LegProblem::NoAirspeed:
      return "Not solved: no true airspeed entered on this or an earlier checkpoint";
    case LegProblem::AirspeedNotPositive:
      return "Not solved: the true airspeed is 0 or less";
    case LegProblem::NoDistance:
      return "Not solved: no distance entered on this or an earlier checkpoint";
    case LegProblem::CrosswindTooStrong:
      return "Not solved: the crosswind is stronger than the true airspeed";
    case LegProblem::NoGroundSpeed:
      return "Not solved: the headwind leaves no ground speed";
  }
  return {};
}

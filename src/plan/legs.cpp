#include "plan/legs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

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

  int32_t wca = 0;
  int32_t gs = 0;
  const LegProblem problem =
      WindTriangle(carry.tc, carry.winddir, carry.windvel, carry.tas, wca, gs);
  if (problem != LegProblem::None) return problem;

  carry.wca = wca;
  carry.th = NormDegrees(SumKnown(carry.tc, carry.wca));
  carry.mh = NormDegrees(SumKnown(carry.th, carry.var));
  carry.ch = NormDegrees(SumKnown(carry.mh, carry.dev));
  carry.gs = gs;
  carry.ete = Saturate(static_cast<int64_t>(carry.dist) * 60 / gs);
  carry.fuelused = carry.ete * acgph / 60.0;
  return LegProblem::None;
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

LegProblem WindTriangle(int32_t tc, int32_t winddir, int32_t windvel, int32_t tas, int32_t& wca,
                        int32_t& gs) {
  if (tas <= 0) return LegProblem::AirspeedNotPositive;
  const int64_t d = static_cast<int64_t>(tc) - winddir;
  const double ratio = std::sin(Radians(static_cast<double>(d) + 180.0)) * windvel / tas;
  if (!(ratio >= -1.0 && ratio <= 1.0)) return LegProblem::CrosswindTooStrong;

  wca = Truncate(Degrees(std::asin(ratio)));
  gs = Truncate(tas * std::cos(Radians(wca)) - windvel * std::cos(Radians(static_cast<double>(d))));
  if (gs <= 0) return LegProblem::NoGroundSpeed;
  return LegProblem::None;
}

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

void ComputeLegs(Plan& plan) {
  LegStatusTable status;
  ComputeLegs(plan, status);
}

void ComputeLegs(Plan& plan, LegStatusTable& status) {
  LegResult carry;
  ClearLeg(carry);
  plan.totals = LegResult{};
  plan.legcount = 0;

  const std::size_t rows = plan.route.size();
  for (std::size_t i = 1; i < rows && plan.legcount < kMaxLegs; ++i) {
    LegResult& leg = plan.legs[static_cast<std::size_t>(plan.legcount)];
    ++plan.legcount;
    ClearLeg(leg);
    ParseRow(plan.route[i], leg, carry);

    if (carry.dist != NOT_ENTERED) {
      plan.totals.dist = Saturate(static_cast<int64_t>(plan.totals.dist) + carry.dist);
    }

    LegStatus& why = status[static_cast<std::size_t>(plan.legcount - 1)];
    why = LegStatus();
    why.missing = MissingInputs(carry);
    if (why.missing != 0) {
      why.problem = LegProblem::MissingInputs;
      continue;
    }
    // Held here as well: the aircraft dialog stores whatever is typed.
    why.problem = SolveLeg(carry, ClampQuantity(plan.aircraft.acgph));
    if (why.problem != LegProblem::None) continue;

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
    plan.totals.ete = Saturate(static_cast<int64_t>(plan.totals.ete) + carry.ete);
    plan.totals.fuelused += carry.fuelused;
  }

  int64_t distance = plan.totals.dist;
  double fuel = ClampQuantity(plan.aircraft.acfullfuel);
  for (int32_t k = 0; k < plan.legcount; ++k) {
    LegResult& leg = plan.legs[static_cast<std::size_t>(k)];
    if (leg.dist != NOT_ENTERED) {
      distance -= leg.dist;
      leg.distrem = Saturate(distance);
    }
    if (leg.fuelused != NOT_ENTERED_FUEL) {
      fuel -= leg.fuelused;
      leg.fuelrem = fuel;
    }
  }
}

LegResult TotalsThrough(const Plan& plan, int32_t legs) {
  auto part = std::make_unique<Plan>();
  part->aircraft = plan.aircraft;
  const std::size_t rows =
      std::min(plan.route.size(), static_cast<std::size_t>(std::max(legs, 0)) + 1);
  part->route.assign(plan.route.begin(), plan.route.begin() + static_cast<std::ptrdiff_t>(rows));
  ComputeLegs(*part);
  return part->totals;
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

#include "plan/legs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

#include "plan/format.h"
#include "plan/route_row.h"
#include "plan/vertical.h"
#include "plan/wind_triangle.h"

namespace {

int32_t Saturate(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
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
  switch (WindTriangle(carry.tc, carry.winddir, carry.windvel, carry.tas, wca, gs)) {
    case Triangle::Solved:
      break;
    case Triangle::AirspeedNotPositive:
      return LegProblem::AirspeedNotPositive;
    case Triangle::CrosswindTooStrong:
      return LegProblem::CrosswindTooStrong;
    case Triangle::NoGroundSpeed:
      return LegProblem::NoGroundSpeed;
  }

  carry.wca = wca;
  carry.th = NormDegrees(SumKnown(carry.tc, carry.wca));
  carry.mh = NormDegrees(SumKnown(carry.th, carry.var));
  carry.ch = NormDegrees(SumKnown(carry.mh, carry.dev));
  carry.gs = gs;
  carry.ete = Saturate(static_cast<int64_t>(carry.dist) * 60 / gs);
  carry.fuelused = carry.ete * acgph / 60.0;
  return LegProblem::None;
}

// A figure as the log rounds it, in tenths: what "%1.1f" prints, read back
// without the point, worked out in arithmetic for speed. False for a figure
// the log leaves blank (FormatReal) or one of more than 15 digits.
bool Tenths(double value, int64_t& tenths) {
  if (!(value > -999.9) || !(value < 1e15)) return false;
  // The exact decimal value decides, as it does for printf: fma gives the
  // sign of value * 10 - x without rounding the product first.
  double n = std::floor(value * 10.0);
  while (std::fma(value, 10.0, -(n + 1.0)) >= 0.0) n += 1.0;
  while (std::fma(value, 10.0, -n) < 0.0) n -= 1.0;
  const double rest = std::fma(value, 10.0, -(n + 0.5));
  if (rest > 0.0 || (rest == 0.0 && std::fmod(n, 2.0) != 0.0)) n += 1.0;
  if (n >= 1e15) return false;
  tenths = static_cast<int64_t>(n);
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

// Puts the climb and descent into the log: the top of climb and descent as
// rows of their own inside the legs they fall on, and the time and fuel of
// every leg a climb or descent touches. Nothing changes without a climb table.
void ApplyVertical(const Plan& plan, const std::vector<LegInput>& inputs, NavLog& log,
                   PhaseSums& sums) {
  const VerticalProfile profile = ComputeVertical(plan, inputs);
  log.warnings.insert(log.warnings.end(), profile.warnings.begin(), profile.warnings.end());
  LegResult& totals = log.totals;
  if (!profile.active) {
    sums = SumPhases(profile, totals.ete, totals.fuelused);
    return;
  }
  std::vector<LogRow> rows;
  rows.reserve(log.legs.size() + 4);
  std::size_t next = 0;  // the first profile row not yet placed
  for (std::size_t k = 0; k < log.legs.size(); ++k) {
    const LogRow& leg = log.legs[k];
    std::vector<const ProfileRow*> parts;
    while (next < profile.rows.size() && profile.rows[next].leg == static_cast<int>(k)) {
      parts.push_back(&profile.rows[next++]);
    }
    if (parts.empty()) {
      rows.push_back(leg);
      continue;
    }
    const bool split = parts.size() > 1;
    std::string from = leg.from;
    for (const ProfileRow* part : parts) {
      if (part->computed.empty()) {
        rows.push_back(leg);
        LogRow& row = rows.back();
        // The legs keep their headings; a split one its remaining distance.
        if (split) row.dist = part->dist;
        row.from = from;
        row.ete = part->ete;
        row.fuelused = part->fuel;
      } else {
        rows.emplace_back();
        LogRow& row = rows.back();
        ClearLeg(row);
        CopyField(row.toname, part->computed);
        row.computed = part->computed;
        row.from = from;
        row.dist = part->dist;
        row.ete = part->ete;
        row.fuelused = part->fuel;
        from = part->computed;
      }
    }
  }
  log.legs = std::move(rows);

  // The sums through each row, as the Total row would give them there.
  totals.ete = 0;
  totals.fuelused = 0.0;
  int64_t dist = 0;
  for (LogRow& row : log.legs) {
    if (row.route_row == kComputedRow) {
      dist += row.dist;
      row.dist_through = Saturate(dist);
    } else {
      dist = row.dist_through;
    }
    if (row.ete != NOT_ENTERED) {
      totals.ete = Saturate(static_cast<int64_t>(totals.ete) + row.ete);
      totals.fuelused += row.fuelused;
    }
    row.ete_through = totals.ete;
    row.fuel_through = totals.fuelused;
  }
  sums = SumPhases(profile, totals.ete, totals.fuelused);
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
    for (std::size_t k = 0; k < kRowNumbers.size(); ++k) {
      if (IsNotANumber(TypedText(plan.route[i], kRowNumbers[k]))) leg.not_a_number |= 1u << k;
    }

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

  const std::vector<LegInput> inputs = LegInputs(plan);
  PhaseSums sums;
  ApplyVertical(plan, inputs, log, sums);
  log.fuel_plan = ComputeFuelPlan(plan, sums, inputs);

  int64_t distance = totals.dist;
  // The start, taxi and run-up fuel is gone by the departure row.
  double fuel = ClampQuantity(plan.aircraft.acfullfuel) - plan.performance.taxigal.value_or(0.0);
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

std::string TypedOverText(const PositionsGive& give, RowNumber number) {
  const auto text = [](const char* what, int32_t value, const std::string& unit) {
    return std::string("The ") + what + " was typed; the checkpoints' positions give " +
           std::to_string(value) + unit;
  };
  if (number == &RowValues::distance_nm && give.dist != NOT_ENTERED)
    return text("distance", give.dist, " NM");
  if (number == &RowValues::true_course_deg && give.tc != NOT_ENTERED)
    return text("true course", give.tc, " deg");
  if (number == &RowValues::variation_deg && give.var != NOT_ENTERED) {
    // As pilots write it, beside the number the cell holds.
    const char* side = give.var > 0 ? "W" : give.var < 0 ? "E" : "";
    return text("variation", give.var, " (" + std::to_string(std::abs(give.var)) + side + ")");
  }
  return std::string();
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

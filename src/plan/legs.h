// The computed log: the wind triangle, leg by leg, with the values carried
// forward from earlier rows, the totals, and what the pilot is warned of.
// It is a value computed from the plan, never kept inside it, so the window,
// the paper, the CSV and the pre-print check all read one and the same log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plan/check.h"
#include "plan/fuel.h"
#include "plan/fuel_plan.h"
#include "plan/plan.h"
#include "plan/route_row.h"

// a when b is NOT_ENTERED, b when a is NOT_ENTERED, else a + b.
int32_t SumKnown(int32_t a, int32_t b);

// n brought into 1..360; 0 becomes 360.
int32_t NormDegrees(int32_t n);

// Why a leg was left without headings, time and fuel.
enum class LegProblem : uint8_t {
  None,           // solved
  MissingInputs,  // course, wind or variation not entered on this or an earlier row
  NoAirspeed,     // no true airspeed on this or an earlier row
  AirspeedNotPositive,
  NoDistance,          // no distance on this or an earlier row
  CrosswindTooStrong,  // the crosswind is stronger than the airspeed
  NoGroundSpeed,       // the headwind eats the whole airspeed
};

// Inputs still missing for a MissingInputs leg, as bits.
enum : uint8_t {
  kMissingCourse = 1,
  kMissingWindDir = 2,
  kMissingWindSpeed = 4,
  kMissingVariation = 8,
};

struct LegStatus {
  LegProblem problem = LegProblem::None;
  uint8_t missing = 0;
};

// "Not solved: ..." for the pilot; empty for a solved leg.
std::string LegProblemText(const LegStatus& status);

// What the positions of a leg's two checkpoints give where the pilot typed
// another distance, course or variation: the typed value is the pilot's and
// stands, but is pointed out. NOT_ENTERED where they agree or nothing was
// measured.
struct PositionsGive {
  int32_t dist = NOT_ENTERED;
  int32_t tc = NOT_ENTERED;
  int32_t var = NOT_ENTERED;

  bool Any() const { return dist != NOT_ENTERED || tc != NOT_ENTERED || var != NOT_ENTERED; }
};

// "The distance was typed; the checkpoints' positions give 18 NM" for the
// distance, true course or variation; empty when the positions agree or
// `number` is another.
std::string TypedOverText(const PositionsGive& give, RowNumber number);

// route_row of a log row that no pilot typed.
constexpr int kComputedRow = -1;

// One row of the log: the leg's own values and its computed figures, where
// it came from, and what the pilot is told about it.
struct LogRow : LegResult {
  // The route row this leg ends at, or kComputedRow for a row the log adds
  // itself (a top of climb, say), which `computed` then names ("TOC").
  int route_row = kComputedRow;
  std::string computed;
  std::string from;  // the name of the checkpoint the leg starts from, whole
  LegStatus status;
  // The route row's own numbers typed as text that is no number, one bit
  // each in the order of kRowNumbers, so no window reads the route again to
  // mark them.
  uint16_t not_a_number = 0;
  FuelState fuel = FuelState::Unknown;
  std::string fuel_warning;      // below the reserve or out of fuel; empty otherwise
  PositionsGive positions_give;  // filled by whoever knows the positions
  // The leg's fuel as the window and the paper show it: the step between the
  // running sums to the tenth, so the legs add up to the Total row's figure
  // (the exact sum to the tenth) and each step matches the fuel remaining
  // beside it. NOT_ENTERED_FUEL where the leg has no fuel.
  double shown_fuelused = NOT_ENTERED_FUEL;
  // The Total row's sums had the route ended here.
  int32_t dist_through = 0;
  int32_t ete_through = 0;
  double fuel_through = 0.0;
};

struct NavLog {
  std::string departure;  // the name of the first route row; empty without one
  std::vector<LogRow> legs;
  // Sums of the distance, time and fuel used; the other fields are 0.
  LegResult totals{};
  int unsolved = 0;  // legs whose status is not None
  // Taxi to what is left over; the plan's performance says whether to show it.
  FuelPlan fuel_plan;

  // The pre-print check.
  bool too_few = true;  // fewer than two route rows: nothing to compute
  MissingItem missing = MissingItem::None;
  NotANumber not_a_number;
  // About the route as a whole, such as a leg too long to be what the pilot
  // meant ("leg 1 is 5,627 NM: check the checkpoints") or a climb that does
  // not fit before the next change of altitude.
  std::vector<std::string> warnings;

  int32_t LegCount() const { return static_cast<int32_t>(legs.size()); }
};

// A leg longer than this is more likely a checkpoint placed at the wrong one
// of two places of one name than a leg flown under visual flight rules.
constexpr int32_t kLongLegNm = 500;

// The log of `plan`, at most kMaxLegs legs. Legs the wind triangle cannot
// solve (unknown or zero airspeed, crosswind stronger than the airspeed, no
// ground speed, no distance yet) keep their computed fields NOT_ENTERED and
// add no time or fuel to the totals.
NavLog ComputeLog(const Plan& plan);

// The Total row's sums through the first `legs` legs of `log`.
LegResult TotalsThrough(const NavLog& log, int32_t legs);

// Leg k of the log as the window and the paper show it: its fuel is
// shown_fuelused. The exact figures stay in the log and the CSV.
LegResult ShownLeg(const NavLog& log, int32_t k);

// A log of `count` cleared legs, the rows of the blank form.
NavLog BlankLog(int32_t count);

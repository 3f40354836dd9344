#include "plan/fuel.h"

#include <gtest/gtest.h>

#include "plan/legs.h"
#include "test_util.h"

namespace {

// 10 gallons at 10 gallons per hour, calm wind, 100 knots: 5.0 gallons left
// at Lake (exactly the 30 minute reserve), 4.0 at Mill, -1.0 at Bay.
Plan ThinPlan() {
  Plan plan;
  plan.aircraft.acgph = 10.0;
  plan.aircraft.acfullfuel = 10.0;
  plan.route = {Row("Home"), Row("Lake", "50", "90", "", "0", "0", "", "100", "0"),
                Row("Mill", "10"), Row("Bay", "50")};
  return plan;
}

TEST(FuelReserve, CheckpointsAreJudgedAgainstTheReserveAndZero) {
  Plan plan = ThinPlan();
  NavLog log = ComputeLog(plan);
  EXPECT_DOUBLE_EQ(ReserveFuel(plan), 5.0);
  EXPECT_EQ(LegFuelState(plan, log.legs[0]), FuelState::Enough);
  EXPECT_EQ(LegFuelState(plan, log.legs[1]), FuelState::BelowReserve);
  EXPECT_EQ(LegFuelState(plan, log.legs[2]), FuelState::Exhausted);
  EXPECT_EQ(FuelWarning(plan, log.legs[0]), "");
  EXPECT_EQ(FuelWarning(plan, log.legs[1]),
            "fuel remaining 4.0 gal is below the 30 min reserve of 5.0 gal");
  EXPECT_EQ(FuelWarning(plan, log.legs[2]), "fuel exhausted 6 min before this checkpoint");

  plan.reserve = 45;
  EXPECT_EQ(LegFuelState(plan, log.legs[0]), FuelState::BelowReserve);
  plan.reserve = 0;
  EXPECT_EQ(LegFuelState(plan, log.legs[1]), FuelState::Enough);
  EXPECT_EQ(LegFuelState(plan, log.legs[2]), FuelState::Exhausted);
}

TEST(FuelReserve, TheReserveFuelIsRoundedToTheTenthHalfUp) {
  Plan plan = ThinPlan();
  NavLog log = ComputeLog(plan);
  plan.aircraft.acgph = 10.5;
  EXPECT_EQ(ReserveFuelText(plan), "5.3");  // 5.25, which printf makes 5.2
  EXPECT_NE(FuelWarning(plan, log.legs[1]).find("reserve of 5.3 gal"), std::string::npos);
}

TEST(FuelReserve, UnsolvedLegsAndAbsentFuelBurnGiveNoFalseAlarm) {
  Plan plan = ThinPlan();
  NavLog log = ComputeLog(plan);
  plan.route.push_back(Row("Ridge", "20", "", "", "", "", "", "0"));  // airspeed 0
  log = ComputeLog(plan);
  EXPECT_EQ(LegFuelState(plan, log.legs[3]), FuelState::Unknown);
  EXPECT_EQ(FuelWarning(plan, log.legs[3]), "");

  plan.aircraft.acgph = 0.0;  // no burn: no reserve, and no time to tell
  EXPECT_EQ(ReserveFuel(plan), 0.0);
  EXPECT_EQ(MinutesShort(plan, log.legs[2]), -1);
  EXPECT_EQ(FuelWarning(plan, log.legs[2]), "fuel exhausted before this checkpoint");
}

TEST(FuelReserve, SummaryGivesTotalsFuelAndEnduranceAtTheDestination) {
  Plan plan;
  plan.aircraft.acgph = 9.0;
  plan.aircraft.acfullfuel = 38.0;
  plan.route = {Row("Dep"), Row("A", "50", "90", "", "180", "20", "", "100", "10"), Row("B", "30"),
                Row("C", "40", "45")};
  const NavLog log = ComputeLog(plan);
  // 38 - 10.35 = 27.65 gallons: 184.33 minutes, cut to 3:04.
  EXPECT_EQ(RouteSummary(plan, log.totals),
            "Total 120 NM, 1:09 (69 min), 10.3 gal used; at destination 27.6 gal, endurance 3:04 "
            "left");
  EXPECT_EQ(RouteSummary(ThinPlan(), ComputeLog(ThinPlan()).totals),
            "Total 110 NM, 1:06 (66 min), 11.0 gal used; at destination -1.0 gal, fuel exhausted");
  EXPECT_EQ(HoursMinutes(0), "0:00");
  EXPECT_EQ(HoursMinutes(605), "10:05");
}

TEST(LegProblems, EachUnsolvedLegSaysWhy) {
  Plan plan;
  plan.route = {Row("Dep"),
                Row("NoWind", "10", "90", "", "", "", "", "100"),
                Row("Calm", "10", "", "", "0", "0", "", "", "5"),
                Row("Storm", "10", "", "", "0", "150"),
                Row("Gale", "10", "", "", "90", "100"),
                Row("Stopped", "10", "", "", "", "", "", "0")};
  const NavLog log = ComputeLog(plan);
  auto status = [&log](std::size_t k) { return log.legs[k].status; };
  EXPECT_EQ(status(0).problem, LegProblem::MissingInputs);
  EXPECT_EQ(LegProblemText(status(0)),
            "Not solved: no wind direction, wind speed and magnetic variation entered on this or "
            "an earlier checkpoint");
  EXPECT_EQ(status(1).problem, LegProblem::None);
  EXPECT_EQ(LegProblemText(status(1)), "");
  EXPECT_EQ(status(2).problem, LegProblem::CrosswindTooStrong);
  EXPECT_EQ(status(3).problem, LegProblem::NoGroundSpeed);
  EXPECT_EQ(LegProblemText(status(3)), "Not solved: the headwind leaves no ground speed");
  EXPECT_EQ(status(4).problem, LegProblem::AirspeedNotPositive);

  Plan far;
  far.route = {Row("Dep"), Row("A", "", "90", "", "0", "0", "", "", "0"),
               Row("B", "", "", "", "", "", "", "100")};
  const NavLog far_log = ComputeLog(far);
  EXPECT_EQ(far_log.legs[0].status.problem, LegProblem::NoAirspeed);
  EXPECT_EQ(far_log.legs[1].status.problem, LegProblem::NoDistance);
}

}  // namespace

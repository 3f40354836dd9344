#include "plan/performance.h"

#include <gtest/gtest.h>

#include "plan/fuel_plan.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/vertical.h"
#include "test_util.h"

namespace {

// The trainer's handbook: time, fuel and distance to climb from sea level.
std::vector<ClimbRow> C172P() {
  return {{0, 0, 0, 0},        {1000, 2, 0.4, 2},   {2000, 3, 0.7, 4},
          {3000, 5, 1.2, 6},   {4000, 7, 1.5, 8},   {5000, 9, 1.8, 10},
          {6000, 11, 2.3, 14}, {7000, 14, 2.7, 17}, {8000, 16, 3.1, 20}};
}

std::vector<ClimbRow> C182T() {
  return {{0, 0, 0, 0},        {2000, 4, 1.2, 6},   {4000, 8, 2.3, 12},
          {6000, 12, 3.5, 19}, {8000, 16, 4.9, 26}, {10000, 21, 6.3, 34}};
}

TEST(ClimbTable, HandbookAnswers) {
  Performance perf;
  perf.climb = C172P();
  ClimbFigures f = ClimbBetween(perf, 2000, 6000, StandardTemperature(6000));
  EXPECT_NEAR(f.gallons, 1.6, 1e-9);
  EXPECT_NEAR(f.nm, 10.0, 1e-9);
  EXPECT_NEAR(f.minutes, 8.0, 1e-9);
  EXPECT_FALSE(f.above_table);

  // Between rows: half way from 2,000 to 3,000 ft.
  f = ClimbBetween(perf, 0, 2500, -50);
  EXPECT_NEAR(f.minutes, 4.0, 1e-9);
  EXPECT_NEAR(f.gallons, 0.95, 1e-9);

  // 16 C above standard at 6,000 ft (3 C): 10 % per 10 C makes 16 % more.
  perf.climb = C182T();
  f = ClimbBetween(perf, 0, 6000, 19);
  EXPECT_NEAR(f.minutes, 13.92, 1e-9);
  EXPECT_NEAR(f.gallons, 4.06, 1e-9);
  EXPECT_NEAR(f.nm, 22.04, 1e-9);
  perf.climbisa = 20;
  EXPECT_NEAR(ClimbBetween(perf, 0, 6000, 19).minutes, 15.84, 1e-9);

  // Above the last row: the last rows' rates, and a flag for the warning.
  f = ClimbBetween(perf, 8000, 12000, -50);
  EXPECT_TRUE(f.above_table);
  EXPECT_NEAR(f.minutes, 21 + 5 - 16, 1e-9);
  EXPECT_NEAR(f.nm, 34 + 8 - 26, 1e-9);
}

TEST(WeightAndBalance, HandbookExampleAndEnvelope) {
  Loading loading;
  loading.empty_lb = 1495;
  loading.empty_arm = 101.4;
  loading.stations = {{"front seats", 64.0, 400, 380}};
  loading.fuelarm = 96.0;
  WeightBalance wb = ComputeWeightBalance(loading, 30, 10);
  ASSERT_EQ(wb.lines.size(), 3u);
  EXPECT_DOUBLE_EQ(wb.lines[2].lb, 180.0);
  EXPECT_NEAR(wb.takeoff.lb, 2055.0, 1e-9);
  EXPECT_NEAR(wb.takeoff.moment, 193193.0, 1e-6);
  EXPECT_NEAR(wb.takeoff.cg, 94.01, 0.005);
  EXPECT_NEAR(wb.landing.lb, 1995.0, 1e-9);
  EXPECT_NEAR(wb.landing.moment, 193193.0 - 60 * 96.0, 1e-6);
  EXPECT_TRUE(wb.warnings.empty());

  std::string why;
  ASSERT_TRUE(ParseEnvelope("82:1500 82:1950 86:2300 94.5:2300 94.5:1500", loading.envelope, why));
  wb = ComputeWeightBalance(loading, 30, 10);
  EXPECT_TRUE(wb.takeoff.inside);
  EXPECT_TRUE(InsideEnvelope(loading.envelope, 94.5, 2000));  // on the aft limit
  EXPECT_FALSE(InsideEnvelope(loading.envelope, 83, 2200));   // ahead of the sloped limit
  loading.stations.push_back({"baggage", 142, 120, 100});
  loading.maxlb = 2100;
  wb = ComputeWeightBalance(loading, 30, 10);
  EXPECT_FALSE(wb.takeoff.inside);
  EXPECT_TRUE(wb.takeoff.over_max);
  ASSERT_EQ(wb.warnings.size(), 3u);
  EXPECT_EQ(wb.warnings[0], "takeoff weight 2155 lb is over the maximum of 2100 lb");
  EXPECT_EQ(wb.warnings[1], "takeoff at 2155 lb and CG 96.24 in is outside the envelope");
}

const char kPerformanceFile[] =
    "[misc]\r\ncount=0\r\n"
    "[performance]\r\n"
    "climb0=0 0 0 0\r\nclimb1=2000 3 0.7 4\r\nclimb2=1000 2 0.4 2\r\nclimb3=4000 -7 1.5 8\r\n"
    "climb4=6000 11 2.3\r\nclimb5=6000 11 2.3 14\r\n"
    "climbisa=12\r\ndescentfpm=-500\r\ntaxigal=1.1\r\nalternate=KSQL\r\n"
    "[loading]\r\nempty=1495 101.4\r\nstation0=front seats 64 400 380\r\n"
    "envelope=82:1500 94:2300\r\nfuelarm=96\r\n"
    "[notes]\r\nkeep=me\r\n";

TEST(PerformanceFile, BadItemsAreRefusedByNameAndTheRestIsRead) {
  TempDir dir;
  const std::string path = dir.File("perf.flt");
  WriteFile(path, kPerformanceFile);
  Plan plan;
  LoadResult result = LoadPlan(plan, path);
  const auto warnings = result.report.WarningTexts();
  ASSERT_EQ(warnings.size(), 5u);
  EXPECT_NE(warnings[0].find("climb2=1000 2 0.4 2 refused: the altitudes must rise"),
            std::string::npos);
  EXPECT_NE(warnings[1].find("climb3=4000 -7 1.5 8 refused: time, fuel and distance cannot be "
                             "negative"),
            std::string::npos);
  EXPECT_NE(warnings[2].find("climb4=6000 11 2.3 refused: a climb row is four numbers"),
            std::string::npos);
  EXPECT_NE(warnings[3].find("descentfpm=-500 refused"), std::string::npos);
  EXPECT_NE(warnings[4].find("envelope=82:1500 94:2300 refused: an envelope needs at least three"),
            std::string::npos);
  ASSERT_EQ(plan.performance.climb.size(), 3u);
  EXPECT_EQ(plan.performance.climb[2].nm, 14.0);
  EXPECT_EQ(plan.performance.ClimbIsa(), 12.0);
  EXPECT_EQ(plan.performance.DescentFpm(), 500.0);
  EXPECT_EQ(plan.performance.taxigal, 1.1);
  EXPECT_EQ(plan.performance.alternate, "KSQL");
  EXPECT_EQ(plan.loading.stations.at(0).name, "front seats");
  EXPECT_TRUE(plan.loading.envelope.empty());

  // Saving keeps what was refused as the pilot typed it, and every other section.
  plan.route = {Row("Home")};
  plan.performance.extragal = 2.5;
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  const std::string saved = ReadFile(path);
  EXPECT_NE(saved.find("climb3=4000 -7 1.5 8\r\n"), std::string::npos);
  EXPECT_NE(saved.find("descentfpm=-500\r\n"), std::string::npos);
  EXPECT_NE(saved.find("envelope=82:1500 94:2300\r\n"), std::string::npos);
  EXPECT_NE(saved.find("extragal=2.5\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[notes]\r\nkeep=me\r\n"), std::string::npos);

  Plan again;
  LoadPlan(again, path);
  EXPECT_EQ(again.performance.climb.size(), 3u);
  EXPECT_EQ(again.performance.extragal, 2.5);
  EXPECT_EQ(again.loading.empty_arm, 101.4);
}

TEST(PerformanceFile, SectionsAreWrittenOnlyWhenSetAndClearedKeysGoEmpty) {
  TempDir dir;
  const std::string path = dir.File("plain.flt");
  Plan plan;
  plan.route = {Row("Home"), Row("Lake", "10")};
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  EXPECT_EQ(ReadFile(path).find("[performance]"), std::string::npos);
  EXPECT_EQ(ReadFile(path).find("[loading]"), std::string::npos);

  plan.performance.climb = C172P();
  plan.loading.maxlb = 2400;
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  EXPECT_NE(ReadFile(path).find("[performance]\r\nclimb0=0 0 0 0\r\n"), std::string::npos);
  EXPECT_NE(ReadFile(path).find("climb6=6000 11 2.3 14\r\n"), std::string::npos);

  plan.performance.climb.resize(2);
  plan.loading.maxlb.reset();
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  Plan again;
  LoadPlan(again, path);
  EXPECT_EQ(again.performance.climb.size(), 2u);
  EXPECT_FALSE(again.loading.maxlb);
  EXPECT_FALSE(again.loading.IsSet());
}

// 9 gal/h, calm wind, 110 kt; the C172P table; fields at sea level and a
// 1,000 ft pattern.
Plan ClimbingPlan() {
  Plan plan;
  plan.performance.climb = C172P();
  plan.airfields.resize(2);
  plan.airfields[0].name = "Home";
  plan.airfields[0].elevation = "0 ft";
  plan.airfields[1].name = "Bay";
  plan.airfields[1].elevation = "12";
  plan.airfields[1].tpa = "1,000";
  return plan;
}

TEST(VerticalProfile, ClimbLongerThanTheFirstLegAndDescentLongerThanTheLast) {
  Plan plan = ClimbingPlan();
  plan.route = {Row("Home"), Row("Lake", "5", "90", "6000", "0", "0", "", "110", "0"),
                Row("Mill", "40"), Row("Bay", "5")};
  const VerticalProfile p = ComputeVertical(plan, LegInputs(plan));
  EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
  ASSERT_EQ(p.rows.size(), 5u);
  // 11 min, 2.3 gal and 14 NM of climb at 76 kt: 5 NM on the first leg, the
  // top of climb 9 NM into the second.
  EXPECT_EQ(p.rows[0].computed, "");
  EXPECT_EQ(p.rows[0].dist, 5);
  EXPECT_EQ(p.rows[0].ete, 4);
  EXPECT_NEAR(p.rows[0].fuel, 0.8, 1e-9);
  EXPECT_EQ(p.rows[1].computed, "TOC");
  EXPECT_EQ(p.rows[1].leg, 1);
  EXPECT_EQ(p.rows[1].dist, 9);
  EXPECT_EQ(p.rows[1].ete, 7);
  EXPECT_NEAR(p.rows[1].fuel, 1.5, 1e-9);
  // 5,000 ft at 500 ft/min: 10 minutes, 18 NM at 110 kt, back into Mill's leg.
  EXPECT_EQ(p.rows[2].computed, "TOD");
  EXPECT_EQ(p.rows[2].dist, 18);
  EXPECT_EQ(p.rows[2].ete, 9);  // 18 NM of cruise at 110 kt
  EXPECT_EQ(p.rows[3].dist, 13);
  EXPECT_EQ(p.rows[3].descent_min, 7);
  EXPECT_EQ(p.rows[4].dist, 5);
  EXPECT_EQ(p.rows[4].descent_min + p.rows[3].descent_min, 10);
  EXPECT_NEAR(p.rows[4].descent_gal + p.rows[3].descent_gal, 1.5, 1e-9);
  int dist = 0;
  for (const ProfileRow& row : p.rows) dist += row.dist;
  EXPECT_EQ(dist, 50);

  const PhaseSums sums = SumPhases(p, 4 + 7 + 9 + 7 + 3, 0.8 + 1.5 + 1.35 + 1.05 + 0.45);
  EXPECT_EQ(sums.climb_min, 11);
  EXPECT_NEAR(sums.climb_gal, 2.3, 1e-9);
  EXPECT_EQ(sums.descent_min, 10);
}

TEST(VerticalProfile, StepClimbMidRouteAndWhatDoesNotFit) {
  Plan plan = ClimbingPlan();
  plan.route = {Row("Home"), Row("Lake", "20", "90", "2000", "0", "0", "", "110", "0"),
                Row("Mill", "30", "", "4000"), Row("Bay", "30")};
  VerticalProfile p = ComputeVertical(plan, LegInputs(plan));
  ASSERT_GE(p.rows.size(), 4u);
  EXPECT_EQ(p.rows[0].computed, "TOC");  // 3 min, 4 NM at 80 kt
  EXPECT_EQ(p.rows[0].dist, 4);
  EXPECT_EQ(p.rows[2].computed, "TOC");  // 2,000 to 4,000 ft from Lake on
  EXPECT_EQ(p.rows[2].leg, 1);
  EXPECT_EQ(p.rows[2].dist, 4);
  EXPECT_EQ(p.rows[2].climb_min, 4);
  EXPECT_NEAR(p.rows[2].climb_gal, 0.8, 1e-9);

  // A climb to 8,000 ft on a 3 NM first leg followed by a descent cannot fit.
  plan.route = {Row("Home"), Row("Lake", "3", "90", "8000", "0", "0", "", "110", "0"),
                Row("Bay", "3", "", "3000")};
  p = ComputeVertical(plan, LegInputs(plan));
  ASSERT_FALSE(p.warnings.empty());
  EXPECT_NE(p.warnings[0].find("the climb from 0 ft to 8000 ft does not fit"), std::string::npos);

  // No airfield rows: named warnings and sea level / 1,000 ft.
  plan.airfields.clear();
  p = ComputeVertical(plan, LegInputs(plan));
  EXPECT_EQ(p.warnings[0], "no elevation for the departure Home: 0 ft taken");
  EXPECT_EQ(p.warnings[1],
            "no pattern altitude or elevation for the destination Bay: 1000 ft taken");
}

TEST(FuelPlanSums, EveryItemAndTheShortage) {
  Plan plan;
  plan.aircraft.acgph = 9.0;
  plan.aircraft.acfullfuel = 20.0;
  plan.reserve = 30;
  plan.performance.taxigal = 1.1;
  plan.performance.contingency = 10;
  plan.performance.extragal = 2.0;
  plan.performance.alternate = "KSQL";
  plan.performance.alternatedist = 20;
  plan.performance.alternatetc = 270;
  plan.route = {Row("Home"), Row("Bay", "50", "90", "6000", "90", "10", "", "110", "0")};
  PhaseSums sums{11, 2.3, 20, 3.0, 10, 1.5};
  FuelPlan fp = ComputeFuelPlan(plan, sums, LegInputs(plan));
  EXPECT_NEAR(fp.trip, 6.8, 1e-9);
  EXPECT_EQ(fp.Line("trip")->minutes, 41);
  EXPECT_NEAR(fp.Line("contingency")->gallons, 0.68, 1e-9);
  // 20 NM west with 10 kt from the east: 120 kt, 10 min, 1.5 gal.
  EXPECT_EQ(fp.Line("alternate")->minutes, 10);
  EXPECT_NEAR(fp.Line("alternate")->gallons, 1.5, 1e-9);
  EXPECT_NEAR(fp.Line("reserve")->gallons, 4.5, 1e-9);
  EXPECT_NEAR(fp.required, 1.1 + 6.8 + 0.68 + 1.5 + 4.5 + 2.0, 1e-9);
  EXPECT_NEAR(fp.Line("leftover")->gallons, 20.0 - 16.58, 1e-9);
  EXPECT_FALSE(fp.short_of_fuel);

  plan.aircraft.acfullfuel = 15.0;
  plan.performance.alternatedist.reset();
  fp = ComputeFuelPlan(plan, sums, LegInputs(plan));
  EXPECT_TRUE(fp.short_of_fuel);
  ASSERT_EQ(fp.warnings.size(), 2u);
  EXPECT_EQ(fp.warnings[0], "alternate KSQL: no distance and course to it; not counted");
  EXPECT_EQ(fp.warnings[1], "required fuel 15.1 gal is more than the 15 gal on board");
}

}  // namespace

namespace {

TEST(VerticalLog, TopsOfClimbAndDescentAreRowsOfTheLog) {
  Plan plan = ClimbingPlan();
  plan.aircraft.acfullfuel = 30.0;
  plan.performance.taxigal = 1.0;
  plan.route = {Row("Home"), Row("Lake", "5", "90", "6000", "0", "0", "", "110", "0"),
                Row("Mill", "40"), Row("Bay", "5")};
  const NavLog log = ComputeLog(plan);
  ASSERT_EQ(log.LegCount(), 5);
  const char* names[] = {"Lake", "TOC", "TOD", "Mill", "Bay"};
  const int32_t rem[] = {45, 36, 18, 5, 0};
  for (int k = 0; k < 5; ++k) {
    EXPECT_STREQ(log.legs[k].toname, names[k]);
    EXPECT_EQ(log.legs[k].distrem, rem[k]) << names[k];
  }
  EXPECT_EQ(log.legs[1].route_row, kComputedRow);
  EXPECT_EQ(log.legs[3].route_row, 2);
  EXPECT_EQ(log.legs[3].from, "TOD");
  // The legs keep their headings; the taxi fuel is gone at the first row.
  EXPECT_EQ(log.legs[0].mh, 90);
  EXPECT_NEAR(log.legs[0].fuelrem, 30.0 - 1.0 - 0.8, 1e-9);
  EXPECT_EQ(log.totals.dist, 50);
  EXPECT_EQ(log.totals.ete, 4 + 7 + 9 + 7 + 3);
  EXPECT_EQ(log.fuel_plan.Line("climb")->minutes, 11);
  EXPECT_EQ(log.fuel_plan.Line("descent")->minutes, 10);
  EXPECT_NEAR(log.fuel_plan.trip, log.totals.fuelused, 1e-9);
  EXPECT_TRUE(log.warnings.empty());

  // Without a climb table the log has only the route's rows.
  plan.performance.climb.clear();
  EXPECT_EQ(ComputeLog(plan).LegCount(), 3);
}

}  // namespace

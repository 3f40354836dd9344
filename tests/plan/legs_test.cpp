#include "plan/legs.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_util.h"

namespace {

Plan PlanWith(std::vector<Checkpoint> rows, double gph = 9.0, double fullfuel = 38.0) {
  Plan plan;
  plan.aircraft.acgph = gph;
  plan.aircraft.acfullfuel = fullfuel;
  plan.route = std::move(rows);
  return plan;
}

NavLog LogWith(std::vector<Checkpoint> rows, double gph = 9.0, double fullfuel = 38.0) {
  return ComputeLog(PlanWith(std::move(rows), gph, fullfuel));
}

TEST(Degrees, NormDegreesBringsAnyValueIntoOneTo360) {
  EXPECT_EQ(NormDegrees(0), 360);
  EXPECT_EQ(NormDegrees(360), 360);
  EXPECT_EQ(NormDegrees(361), 1);
  EXPECT_EQ(NormDegrees(-5), 355);
  EXPECT_EQ(NormDegrees(720), 360);
  EXPECT_EQ(NormDegrees(-720), 360);
  EXPECT_EQ(NormDegrees(2147483647), 2147483647 % 360);
  EXPECT_EQ(NormDegrees(-2147483647 - 1), 360 - (2147483648LL % 360));
}

TEST(Degrees, SumKnownIgnoresAMissingSide) {
  EXPECT_EQ(SumKnown(10, NOT_ENTERED), 10);
  EXPECT_EQ(SumKnown(NOT_ENTERED, 7), 7);
  EXPECT_EQ(SumKnown(NOT_ENTERED, NOT_ENTERED), NOT_ENTERED);
  EXPECT_EQ(SumKnown(-5, 12), 7);
}

// The three-leg example: values carried forward, headings shown only where an
// input changed, remaining distance and fuel counted down.
TEST(ComputeLogTest, ThreeLegRouteWithCarriedValues) {
  NavLog log = LogWith({Row("Dep"), Row("One", "50", "90", "", "180", "20", "", "100", "10"),
                        Row("Two", "30"), Row("Three", "40", "45")});
  ASSERT_EQ(log.LegCount(), 3);

  const LegResult& one = log.legs[0];
  EXPECT_EQ(one.wca, 11);
  EXPECT_EQ(one.th, 101);
  EXPECT_EQ(one.mh, 111);
  EXPECT_EQ(one.ch, 111);
  EXPECT_EQ(one.gs, 98);
  EXPECT_EQ(one.ete, 30);
  EXPECT_DOUBLE_EQ(one.fuelused, 4.5);
  EXPECT_EQ(one.distrem, 70);
  EXPECT_DOUBLE_EQ(one.fuelrem, 33.5);
  EXPECT_EQ(one.dev, NOT_ENTERED);

  const LegResult& two = log.legs[1];
  EXPECT_EQ(two.ete, 18);
  EXPECT_DOUBLE_EQ(two.fuelused, 2.7);
  EXPECT_EQ(two.distrem, 40);
  EXPECT_NEAR(two.fuelrem, 30.8, 1e-9);
  for (int32_t v : {two.wca, two.th, two.var, two.mh, two.ch, two.gs}) EXPECT_EQ(v, NOT_ENTERED);

  const LegResult& three = log.legs[2];
  EXPECT_EQ(three.wca, 8);
  EXPECT_EQ(three.th, 53);
  EXPECT_EQ(three.var, 10);  // the carried variation
  EXPECT_EQ(three.mh, 63);
  EXPECT_EQ(three.ch, 63);
  EXPECT_EQ(three.gs, 113);
  EXPECT_EQ(three.ete, 21);
  EXPECT_NEAR(three.fuelused, 3.15, 1e-9);
  EXPECT_EQ(three.distrem, 0);
  EXPECT_NEAR(three.fuelrem, 27.65, 1e-9);
  EXPECT_STREQ(three.toname, "Three");

  EXPECT_EQ(log.totals.dist, 120);
  EXPECT_EQ(log.totals.ete, 69);
  EXPECT_NEAR(log.totals.fuelused, 10.35, 1e-9);
  EXPECT_EQ(log.totals.tc, 0);  // totals are zero-filled, not cleared
  EXPECT_STREQ(log.totals.toname, "");
}

struct SingleLeg {
  const char* what;
  const char* dist;
  const char* tc;
  const char* winddir;
  const char* windvel;
  const char* tas;
  const char* var;
  double gph;
  int32_t wca, th, mh, gs, ete;
  double fuel;
};

TEST(ComputeLogTest, SingleLegsComeOutToTheDigit) {
  const SingleLeg cases[] = {
      {"pure tailwind", "60", "45", "225", "25", "120", "0", 9.0, 0, 45, 45, 144, 25,
       25 * 9.0 / 60},
      {"pure headwind", "40", "90", "90", "20", "100", "0", 9.0, 0, 90, 90, 80, 30, 4.5},
      {"calm, north", "30", "360", "0", "0", "100", "-5", 9.0, 0, 360, 355, 100, 18, 2.7},
      {"wind from the left", "33", "10", "350", "30", "95", "-15", 9.0, -6, 4, 349, 66, 30, 4.5},
      {"wind from the right", "42", "270", "300", "15", "110", "12", 8.5, 3, 273, 285, 96, 26,
       26 * 8.5 / 60},
  };
  for (const SingleLeg& c : cases) {
    NavLog log = LogWith(
        {Row("Dep"), Row("A", c.dist, c.tc, "", c.winddir, c.windvel, "", c.tas, c.var)}, c.gph);
    const LegResult& leg = log.legs[0];
    EXPECT_EQ(leg.wca, c.wca) << c.what;
    EXPECT_EQ(leg.th, c.th) << c.what;
    EXPECT_EQ(leg.mh, c.mh) << c.what;
    EXPECT_EQ(leg.ch, c.mh) << c.what;
    EXPECT_EQ(leg.gs, c.gs) << c.what;
    EXPECT_EQ(leg.ete, c.ete) << c.what;
    EXPECT_DOUBLE_EQ(leg.fuelused, c.fuel) << c.what;
  }
}

TEST(ComputeLogTest, LegsWithoutWindWaitUntilTheWindIsKnown) {
  // Course, airspeed and variation on row 1, the wind only from row 2.
  NavLog log = LogWith({Row("Dep"), Row("One", "20", "90", "", "", "", "", "100", "10"),
                        Row("Two", "30", "", "", "180", "20"), Row("Three", "10")});
  const LegResult& one = log.legs[0];
  for (int32_t v : {one.wca, one.th, one.mh, one.ch, one.gs, one.ete}) EXPECT_EQ(v, NOT_ENTERED);
  EXPECT_EQ(one.fuelused, -1000.0);
  EXPECT_EQ(one.fuelrem, -1000.0);
  EXPECT_EQ(one.distrem, 40);  // its distance still counts
  EXPECT_EQ(one.var, 10);      // the row's own variation

  EXPECT_EQ(log.legs[1].th, 101);
  EXPECT_EQ(log.legs[1].ete, 18);
  EXPECT_DOUBLE_EQ(log.legs[1].fuelrem, 38.0 - 2.7);
  EXPECT_EQ(log.totals.dist, 60);
  EXPECT_EQ(log.totals.ete, 18 + 6);
}

TEST(ComputeLogTest, NoSolvableLegLeavesZeroTotals) {
  NavLog log = LogWith({Row("Dep"), Row("One", "20"), Row("Two", "30")});
  EXPECT_EQ(log.totals.dist, 50);
  EXPECT_EQ(log.totals.ete, 0);
  EXPECT_EQ(log.totals.fuelused, 0.0);
  EXPECT_EQ(log.legs[1].fuelrem, -1000.0);
}

void ExpectUnsolved(const NavLog& log, int k, const char* why) {
  const LegResult& leg = log.legs[static_cast<std::size_t>(k)];
  for (int32_t v : {leg.wca, leg.th, leg.mh, leg.ch, leg.gs, leg.ete}) {
    EXPECT_EQ(v, NOT_ENTERED) << why;
  }
  EXPECT_EQ(leg.fuelused, -1000.0) << why;
  EXPECT_TRUE(std::isfinite(log.totals.fuelused)) << why;
}

// Legs without a meaningful wind triangle stay blank instead of dividing by
// zero or printing NaN, and later legs are solved normally.
TEST(ComputeLogTest, UnsolvableLegsStayBlankAndAddNothing) {
  struct Case {
    const char* why;
    Checkpoint row;
  } cases[] = {
      {"no airspeed", Row("A", "10", "90", "", "180", "20", "", "", "10")},
      {"zero airspeed", Row("A", "10", "90", "", "180", "20", "", "0", "10")},
      {"crosswind beyond the airspeed", Row("A", "10", "90", "", "180", "120", "", "100", "10")},
      {"headwind beyond the airspeed", Row("A", "10", "90", "", "90", "100", "", "100", "10")},
      {"negative airspeed", Row("A", "10", "90", "", "180", "20", "", "-100", "10")},
  };
  for (const Case& c : cases) {
    NavLog log = LogWith({Row("Dep"), c.row, Row("B", "20", "", "", "180", "5", "", "100")});
    ExpectUnsolved(log, 0, c.why);
    EXPECT_EQ(log.totals.dist, 30) << c.why;
    EXPECT_EQ(log.legs[1].gs, 99) << c.why;
    EXPECT_EQ(log.totals.ete, log.legs[1].ete) << c.why;
  }
}

TEST(ComputeLogTest, ALegWithNoDistanceYetIsNotSolvedOrCounted) {
  Plan plan = PlanWith({Row("Dep"), Row("A", "", "90", "", "180", "20", "", "100", "10"),
                        Row("B", "", "", "", "", "", "", "", "")});
  NavLog log = ComputeLog(plan);
  ExpectUnsolved(log, 0, "no distance");
  EXPECT_EQ(log.totals.dist, 0);
  EXPECT_EQ(log.legs[0].distrem, NOT_ENTERED);
  // Without a distance of its own a later row flies the carried one.
  plan.route[2].subitems[kCellDist] = "";
  plan.route[1].subitems[kCellDist] = "30";
  log = ComputeLog(plan);
  EXPECT_EQ(log.totals.dist, 60);
  EXPECT_EQ(log.legs[1].ete, log.legs[0].ete);
  EXPECT_EQ(log.legs[1].distrem, NOT_ENTERED);
}

TEST(ComputeLogTest, ALegTooLongToBeMeantIsAWarning) {
  const NavLog log = LogWith({Row("SJC"), Row("KPAO", "5627"), Row("KSQL", "500")});
  ASSERT_EQ(log.warnings.size(), 1u);
  EXPECT_EQ(log.warnings[0], "leg 1 is 5,627 NM: check the checkpoints");
}

TEST(ComputeLogTest, DepartureRowValuesTakeNoPart) {
  NavLog log = LogWith({Row("Dep", "500", "90", "", "180", "20", "", "100", "10"), Row("A", "10")});
  EXPECT_EQ(log.totals.dist, 10);
  ExpectUnsolved(log, 0, "values only on the departure row");
}

TEST(ComputeLogTest, AFullRouteFillsThirtyTwoLegsAndAbsurdValuesStayFinite) {
  std::vector<Checkpoint> rows = {Row("Dep")};
  for (int i = 1; i < kMaxRoute; ++i) {
    rows.push_back(Row("P" + std::to_string(i), "2000000000", "2000000000", "", "-2000000000", "3",
                       "", "2000000000", "2000000000"));
  }
  NavLog log = LogWith(rows);
  EXPECT_EQ(log.LegCount(), 32);
  EXPECT_EQ(log.totals.dist, 32 * kMaxCellValue);
  for (int k = 0; k < log.LegCount(); ++k) {
    EXPECT_EQ(log.legs[static_cast<std::size_t>(k)].distrem, (31 - k) * kMaxCellValue);
    EXPECT_TRUE(std::isfinite(log.legs[static_cast<std::size_t>(k)].fuelrem));
    EXPECT_GE(log.legs[static_cast<std::size_t>(k)].th, 1);
    EXPECT_LE(log.legs[static_cast<std::size_t>(k)].th, 360);
  }
}

TEST(ComputeLogTest, RecomputingStartsFromScratch) {
  Plan plan = PlanWith({Row("Dep"), Row("A", "50", "90", "", "180", "20", "", "100", "10"),
                        Row("B", "10"), Row("C", "10")});
  ComputeLog(plan);
  plan.route.resize(2);
  const NavLog log = ComputeLog(plan);
  EXPECT_EQ(log.LegCount(), 1);
  EXPECT_EQ(log.totals.dist, 50);
  EXPECT_EQ(log.totals.ete, 30);
}

}  // namespace

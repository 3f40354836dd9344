#include "routes/route_legs.h"

#include <gtest/gtest.h>

#include "routes/route_import.h"

namespace {

constexpr double kYear = 2026.5;

const std::pair<const char*, GeoPosition> kPoints[] = {{"Salinas", {36.662778, -121.606389}},
                                                       {"Watsonville", {36.935833, -121.789722}},
                                                       {"Santa Cruz", {36.951667, -122.026667}},
                                                       {"Half Moon Bay", {37.513333, -122.501111}},
                                                       {"San Carlos", {37.511944, -122.249444}}};

class RouteLegs : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(model_.Load(std::string(HALVIX_WMM_DIR) + "/WMM2025.COF", error)) << error;
  }

  // The plan route import makes of the points, leaving out the one at `skip`
  // and putting the one at `moved` at `to`.
  Plan Imported(int skip = -1, int moved = -1, GeoPosition to = {}) {
    Route route;
    for (int i = 0; i < static_cast<int>(std::size(kPoints)); ++i) {
      if (i == skip) continue;
      RouteWaypoint point;
      point.name = kPoints[i].first;
      point.position = i == moved ? to : kPoints[i].second;
      route.points.push_back(point);
    }
    Plan plan;
    std::string error;
    EXPECT_TRUE(RouteToPlan(route, model_, kYear, plan, error)) << error;
    return plan;
  }

  static std::vector<std::vector<std::string>> Legs(const Plan& plan) {
    std::vector<std::vector<std::string>> rows;
    for (const Checkpoint& row : plan.route)
      rows.push_back({row.caption, row.SubItem(kCellDist), row.SubItem(kCellCourse),
                      row.SubItem(kCellMagVar)});
    return rows;
  }

  MagneticModel model_;
  VariationSource source() const { return {&model_, kYear}; }
};

TEST_F(RouteLegs, DeletingOrMovingACheckpointGivesTheLegsImportGives) {
  for (int row = 1; row < 5; ++row) {
    Plan plan = Imported();
    ASSERT_TRUE(RemoveCheckpoint(plan, row, source()));
    EXPECT_EQ(Legs(plan), Legs(Imported(row))) << "without row " << row;
  }
  const GeoPosition inland{37.05, -121.70};
  for (int row = 0; row < 5; ++row) {
    Plan plan = Imported();
    const Plan before = plan;
    plan.route[static_cast<std::size_t>(row)].position = inland;
    FollowMovedCheckpoint(plan, before, row, source());
    EXPECT_EQ(Legs(plan), Legs(Imported(-1, row, inland))) << "row " << row << " moved";
  }
  Plan plan = Imported();
  EXPECT_FALSE(RemoveCheckpoint(plan, 0, source()));
}

TEST_F(RouteLegs, WhatThePilotTypedOverTheMeasureIsKeptAndMarked) {
  Plan plan = Imported();
  plan.route[3].subitems[kCellDist] = "47";    // around the airspace, not direct
  plan.route[3].subitems[kCellMagVar] = "-9";  // read off the chart's isogonic line
  plan.route[2].subitems[kCellAltitude] = "4500";
  ASSERT_TRUE(RemoveCheckpoint(plan, 2, source()));
  const Plan expected = Imported(2);
  EXPECT_EQ(plan.route[2].SubItem(kCellDist), "47");
  EXPECT_EQ(plan.route[2].SubItem(kCellMagVar), "-9");
  EXPECT_EQ(plan.route[2].SubItem(kCellCourse), expected.route[2].SubItem(kCellCourse));
  EXPECT_EQ(plan.route[3].subitems, expected.route[3].subitems);

  NavLog log = ComputeLog(plan);
  MarkTypedOverPositions(plan, source(), log);
  const PositionsGive& give = log.legs[1].positions_give;
  EXPECT_EQ(std::to_string(give.dist), expected.route[2].SubItem(kCellDist));
  EXPECT_EQ(give.tc, NOT_ENTERED);
  EXPECT_EQ(TypedOverText(give, &RowValues::distance_nm),
            "The distance was typed; the checkpoints' positions give " +
                expected.route[2].SubItem(kCellDist) + " NM");
  EXPECT_EQ(TypedOverText(give, &RowValues::variation_deg),
            "The variation was typed; the checkpoints' positions give -13 (13E)");
  for (const LogRow& leg : log.legs) {
    const std::string expected_text =
        leg.route_row == 2 ? "" : TypedOverText(leg.positions_give, &RowValues::distance_nm);
    EXPECT_EQ(expected_text, "") << leg.route_row;
  }
}

TEST_F(RouteLegs, LegsWithoutPositionsAreLeftAsTyped) {
  Plan plan = Imported();
  for (Checkpoint& row : plan.route) row.position.reset();
  Plan expected = plan;
  expected.route.erase(expected.route.begin() + 2);
  ASSERT_TRUE(RemoveCheckpoint(plan, 2, source()));
  EXPECT_EQ(Legs(plan), Legs(expected));
  NavLog log = ComputeLog(plan);
  MarkTypedOverPositions(plan, source(), log);
  for (const LogRow& leg : log.legs) EXPECT_EQ(leg.positions_give.dist, NOT_ENTERED);
}

}  // namespace

#include "plan/route_row.h"

#include <gtest/gtest.h>

#include "test_util.h"

namespace {

Plan RouteOf(std::vector<Checkpoint> rows) {
  Plan plan;
  plan.route = std::move(rows);
  return plan;
}

TEST(RouteValuesTest, OwnValuesAreWhatEachRowSaysAndCarriedValuesFillTheGaps) {
  const Plan plan = RouteOf({
      Row("Home", "7", "", "", "", "", "", "", "5"),  // the departure carries nothing
      Row("Lake", "12.7", "090", "4500", "270", "15", " 8", "110", "", "112.3/ 090/ ABC/ To"),
      Row("Town", "30", "", "", "", "", "", "", "10E"),
      Row("Farm", "", "   ", "", "abc", "", "", "", "-1000"),
  });
  const RouteValues route = ReadRoute(plan);
  ASSERT_EQ(route.own.size(), 4u);
  ASSERT_EQ(route.carried.size(), 4u);

  EXPECT_EQ(route.own[0].distance_nm, 7);
  EXPECT_EQ(route.own[0].variation_deg, 5);
  for (RowNumber number : kRowNumbers) EXPECT_FALSE(route.carried[0].*number);
  EXPECT_FALSE(route.carried[1].variation_deg);

  const RowValues& lake = route.own[1];
  EXPECT_EQ(lake.distance_nm, 12);  // a fraction is cut off
  EXPECT_EQ(lake.true_course_deg, 90);
  EXPECT_EQ(lake.temperature_c, 8);
  EXPECT_EQ(lake.vor, "112.3/ 090/ ABC/ To");

  // Town: empty cells carry Lake's values; its own cells say only what changed.
  const RowValues& town = route.own[2];
  EXPECT_EQ(town.distance_nm, 30);
  EXPECT_FALSE(town.true_course_deg);
  EXPECT_EQ(town.variation_deg, 10);  // the side letter is ignored
  EXPECT_EQ(route.carried[2].true_course_deg, 90);
  EXPECT_EQ(route.carried[2].wind_from_deg, 270);
  EXPECT_EQ(route.carried[2].altitude_ft, 4500);
  EXPECT_EQ(route.carried[2].vor, "");

  // Farm: blanks and words read as 0 and carry that 0; the typed marker
  // ends the variation carried from above.
  EXPECT_EQ(route.own[3].true_course_deg, 0);
  EXPECT_EQ(route.own[3].wind_from_deg, 0);
  EXPECT_FALSE(route.own[3].variation_deg);
  EXPECT_EQ(route.carried[3].distance_nm, 30);
  EXPECT_EQ(route.carried[3].true_course_deg, 0);
  EXPECT_FALSE(route.carried[3].variation_deg);
  EXPECT_EQ(TypedText(plan.route[3], &RowValues::wind_from_deg), "abc");

  // Rows read one by one say what the route says of them.
  for (std::size_t i = 0; i < plan.route.size(); ++i) {
    const RowValues alone = ReadRow(plan.route[i]);
    for (RowNumber number : kRowNumbers) EXPECT_EQ(alone.*number, route.own[i].*number) << i;
  }
}

TEST(RowBuilderTest, WritesNumbersByNameAndKeepsEveryOtherCellAsTyped) {
  Plan plan;
  ASSERT_TRUE(AddRow(plan, RowBuilder("Dep")
                               .true_course_deg(90)
                               .altitude_ft(-5)
                               .wind_speed_kt(0)
                               .true_airspeed_kt(100)
                               .variation_deg(-15)
                               .distance_nm(NOT_ENTERED)
                               .vor("112.3/ 090/ ABC/ To")));
  const std::vector<std::string> expected = {
      "", "90", "-5", "", "0", "", "100", "-15", "112.3/ 090/ ABC/ To"};
  EXPECT_EQ(plan.route[0].caption, "Dep");
  EXPECT_EQ(plan.route[0].subitems, expected);

  RowValues values = ReadRow(plan.route[0]);
  EXPECT_EQ(ReadRow(RowBuilder("Copy").Values(values).Build()).true_airspeed_kt, 100);
  EXPECT_EQ(RowBuilder("Copy").Values(values).Build().subitems, expected);

  // Changing the wind leaves the typed fraction and the blank course alone.
  const Checkpoint typed = Row("Lake", "12.7", " 090", "", "", "", "", "", "", "x");
  const Checkpoint changed =
      RowBuilder(typed).wind_from_deg(270).wind_speed_kt(std::nullopt).Build();
  const std::vector<std::string> after = {"12.7", " 090", "", "270", "", "", "", "", "x"};
  EXPECT_EQ(changed.subitems, after);

  // A short row read from elsewhere grows to its nine cells when written to.
  Checkpoint short_row;
  short_row.subitems = {"5"};
  EXPECT_EQ(RowBuilder(short_row).variation_deg(3).Build().subitems.size(), 9u);
}

TEST(RowBuilderTest, TheRouteStopsAtThirtyThreeRows) {
  Plan plan;
  for (int i = 0; i < kMaxRoute; ++i) ASSERT_TRUE(AddRow(plan, RowBuilder("P").distance_nm(1)));
  EXPECT_FALSE(AddRow(plan, RowBuilder("one too many")));
  EXPECT_EQ(plan.route.size(), static_cast<std::size_t>(kMaxRoute));
}

}  // namespace

// The planning session both programs share, without a user interface.
#include "session/planning_session.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "test_util.h"

namespace {

const std::string kData = std::string(HALVIX_AVIATION_TEST_DATA) + "/ourairports";
const CivilDate kJune2026{2026, 6, 1};

TEST(PlanningSessionTest, TheFolderIsTheChosenOneElseTheEnvironmentsAndOpensOnce) {
  setenv(kAviationDataVariable, "/from/the/environment", 1);
  EXPECT_EQ(ResolveDataFolder("/chosen"), "/chosen");
  EXPECT_EQ(ResolveDataFolder(""), "/from/the/environment");
  setenv(kAviationDataVariable, "", 1);  // set but empty: no folder at all
  EXPECT_EQ(ResolveDataFolder(""), "");

  TempDir cache;
  PlanningSession session("", cache.path());
  std::string error;
  EXPECT_EQ(session.Data(error), nullptr);
  EXPECT_EQ(error, "no aviation data folder is chosen");

  session.ChooseFolder(kData);
  const AviationData* data = session.Data(error);
  ASSERT_NE(data, nullptr) << error;
  EXPECT_EQ(session.Data(error), data);
  EXPECT_FALSE(data->FindAirports("KSQL").empty());

  // A folder that cannot be read leaves the data kept so far.
  EXPECT_EQ(session.OpenFolder(cache.File("none"), error), nullptr);
  EXPECT_EQ(session.OpenedData(), data);
  session.ChooseFolder(cache.File("none"));
  EXPECT_EQ(session.OpenedData(), nullptr);
  unsetenv(kAviationDataVariable);
}

TEST(PlanningSessionTest, StationsAskForTheDataOnceAndOnlyWhenAStationIsPlaced) {
  TempDir cache;
  PlanningSession session(kData, cache.path());
  Plan plan;
  plan.route = {Row("San Jose"), Row("San Carlos")};
  plan.route[0].position = GeoPosition{37.36, -121.93};
  plan.route[1].position = GeoPosition{37.51, -122.25};
  int asked = 0;
  const StationLocator locate = StationsFor(plan, [&]() {
    ++asked;
    std::string error;
    return session.Data(error);
  });
  EXPECT_EQ(asked, 0);
  const std::optional<GeoPosition> osi = locate("OSI");
  ASSERT_TRUE(osi.has_value());
  EXPECT_NEAR(osi->lat, 37.39, 0.01);
  EXPECT_FALSE(locate("XYZ").has_value());
  EXPECT_EQ(asked, 1);

  // Without data nothing is placed, and the pilot is asked only once.
  asked = 0;
  const StationLocator none = StationsFor(plan, [&]() -> const AviationData* {
    ++asked;
    return nullptr;
  });
  EXPECT_FALSE(none("OSI").has_value());
  EXPECT_FALSE(none("SJC").has_value());
  EXPECT_EQ(asked, 1);
}

TEST(PlanningSessionTest, AnImportedRouteIsFilledFromTheDataWithItsNotes) {
  TempDir cache;
  PlanningSession session(kData, cache.path());
  const std::string route = std::string(HALVIX_ROUTES) + "/bay_area.fpl";
  const DataProvider provide = [&]() {
    std::string error;
    return session.Data(error);
  };
  Plan plan;
  RouteImport imported = ImportRouteAndFill(route, nullptr, kJune2026, provide, plan);
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(imported.filled, 2);
  ASSERT_EQ(plan.airfields.size(), 2u);
  EXPECT_EQ(plan.airfields[0].runways, "12/30");
  ASSERT_FALSE(imported.notes.empty());
  EXPECT_NE(imported.notes[0].find("pattern altitude"), std::string::npos);

  // Without data the route is imported all the same, its airfields by name.
  Plan bare;
  imported = ImportRouteAndFill(route, nullptr, kJune2026, DataProvider(), bare);
  ASSERT_TRUE(imported.ok);
  EXPECT_EQ(imported.filled, 0);
  EXPECT_TRUE(bare.airfields[0].runways.empty());

  // A file that is no route leaves the plan as it was.
  const std::string text = "<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>";
  imported = ImportRouteAndFill("one.gpx", &text, kJune2026, provide, plan);
  EXPECT_FALSE(imported.ok);
  EXPECT_EQ(imported.error, "1 waypoint; a route needs at least two");
  EXPECT_EQ(plan.airfields[0].runways, "12/30");
}

}  // namespace

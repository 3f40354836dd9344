#include "routes/route_export.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <set>

#include "routes/route_import.h"
#include "test_util.h"

namespace {

const CivilDate kJune2026{2026, 6, 1};

std::string Fixture(const std::string& name) {
  return std::string(HALVIX_ROUTES) + "/" + name;
}

Plan Imported(const std::string& path) {
  Plan plan;
  const ImportResult result = ImportRoute(path, kJune2026, plan);
  EXPECT_TRUE(result.ok) << path << ": " << result.error;
  return plan;
}

// Positions within a millionth of a degree, the same order and the same legs.
void ExpectSameRoute(const Plan& back, const Plan& plan) {
  ASSERT_EQ(back.route.size(), plan.route.size());
  for (std::size_t i = 0; i < plan.route.size(); ++i) {
    ASSERT_TRUE(back.route[i].position.has_value());
    EXPECT_NEAR(back.route[i].position->lat, plan.route[i].position->lat, 1e-6) << i;
    EXPECT_NEAR(back.route[i].position->lon, plan.route[i].position->lon, 1e-6) << i;
    for (int cell : {kCellDist, kCellCourse, kCellMagVar})
      EXPECT_EQ(back.route[i].SubItem(cell), plan.route[i].SubItem(cell)) << i;
  }
}

std::vector<std::string> All(const std::string& text, const std::string& element) {
  const std::regex pattern("<" + element + ">([^<]*)</" + element + ">");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
       it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1]);
  return found;
}

std::string RunShell(const std::string& cmd, int& status) {
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int raw = pclose(p);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

TEST(RouteExportTest, BothFormatsImportBackToTheSameRoute) {
  TempDir dir;
  for (const char* fixture : {"europe.gpx", "western_us.fpl", "southern.fpl"}) {
    const Plan plan = Imported(Fixture(fixture));
    std::vector<std::string> unpositioned;
    const ExportRoute route = RouteForExport(plan, unpositioned);
    EXPECT_TRUE(unpositioned.empty());
    for (const char* name : {"out.gpx", "out.fpl"}) {
      const std::string path = dir.File(name);
      std::string error;
      ASSERT_TRUE(ExportRouteFile(route, *ExportFormatFor(path), path, error)) << error;
      SCOPED_TRACE(std::string(fixture) + " as " + name);
      ExpectSameRoute(Imported(path), plan);
    }
    // The GPX keeps the checkpoints' names as well.
    const Plan back = Imported(dir.File("out.gpx"));
    EXPECT_EQ(back.route.back().caption, plan.route.back().caption);
    EXPECT_EQ(back.title, plan.title);
  }
}

TEST(RouteExportTest, FlightPlanFollowsWhatAvionicsLoad) {
  ExportRoute route;
  route.title = "Bay tour: San Carlos & back (with a very long title)";
  auto add = [&](const std::string& name, ExportKind kind, double lat, double lon) {
    ExportPoint point;
    point.name = name;
    point.kind = kind;
    if (kind != ExportKind::User) point.ident = name.substr(0, name.find(' '));
    point.country = kind == ExportKind::Vor ? "K2" : "";
    point.position = {lat, lon};
    route.points.push_back(point);
  };
  add("KSQL San Carlos", ExportKind::Airport, 37.511902, -122.249496);
  add("OSI", ExportKind::Vor, 37.3925, -122.2813);
  add("Half Moon Bay coast", ExportKind::User, 37.5, -122.5);
  add("WP01", ExportKind::User, 37.6, -122.4);  // a name that looks generated
  add("OSI", ExportKind::User, 37.7, -122.3);   // the same name, elsewhere
  add("KSQL San Carlos", ExportKind::Airport, 37.511902, -122.249496);
  const std::string fpl = FormatFlightPlan(route, "2026-06-01T12:00:00Z");

  EXPECT_NE(fpl.find("<flight-plan xmlns=\"http://www8.garmin.com/xmlschemas/FlightPlan/v1\">"),
            std::string::npos);
  EXPECT_EQ(All(fpl, "created"), std::vector<std::string>{"2026-06-01T12:00:00Z"});
  const std::vector<std::string> ids = All(fpl, "identifier");
  // The round trip's last point is its first again: one waypoint.
  EXPECT_EQ(ids, (std::vector<std::string>{"KSQL", "OSI", "WP02", "WP01", "WP03"}));
  for (const std::string& id : ids) EXPECT_TRUE(std::regex_match(id, std::regex("[A-Z0-9]{1,12}")));
  EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
  EXPECT_EQ(All(fpl, "type"), (std::vector<std::string>{"AIRPORT", "VOR", "USER WAYPOINT",
                                                        "USER WAYPOINT", "USER WAYPOINT"}));
  EXPECT_EQ(All(fpl, "country-code")[1], "K2");
  EXPECT_EQ(All(fpl, "comment")[2], "HALF MOON BAY COAST");
  const std::vector<std::string> name = All(fpl, "route-name");
  ASSERT_EQ(name.size(), 1u);
  EXPECT_TRUE(std::regex_match(name[0], std::regex("[A-Z0-9 ]{1,25}"))) << name[0];
  EXPECT_EQ(All(fpl, "flight-plan-index"), std::vector<std::string>{"1"});
  EXPECT_EQ(All(fpl, "waypoint-identifier"),
            (std::vector<std::string>{"KSQL", "OSI", "WP02", "WP01", "WP03", "KSQL"}));
  EXPECT_EQ(All(fpl, "waypoint-type").front(), "AIRPORT");
}

TEST(RouteExportTest, GpxCarriesNamesElevationsAndReadsInOtherTools) {
  Plan plan = Imported(Fixture("western_us.fpl"));
  plan.airfields[0].elevation = "18 ft";
  std::vector<std::string> unpositioned;
  ExportRoute route = RouteForExport(plan, unpositioned);
  route.points[1].ident = "OLM";
  route.points[1].name = "OLM Olympia";
  const std::string gpx = FormatGpx(route);
  EXPECT_NE(gpx.find("xmlns=\"http://www.topografix.com/GPX/1/1\""), std::string::npos);
  EXPECT_NE(gpx.find("<rtept lat=\"47.5299970\" lon=\"-122.3019580\">"), std::string::npos);
  EXPECT_EQ(All(gpx, "ele"), std::vector<std::string>{"5.5"});
  EXPECT_EQ(All(gpx, "name")[2], "OLM");
  EXPECT_EQ(All(gpx, "desc")[1], "OLM Olympia");

  TempDir dir;
  WriteFile(dir.File("r.gpx"), gpx);
  int status = -1;
  const std::string csv =
      RunShell("gpsbabel -r -i gpx -f " + dir.File("r.gpx") + " -o unicsv -F - 2>&1", status);
  EXPECT_EQ(status, 0) << csv;
  EXPECT_NE(csv.find("47.529997"), std::string::npos) << csv;
  EXPECT_NE(csv.find("KPDX"), std::string::npos) << csv;
}

TEST(RouteExportTest, RowsWithoutPositionsAndBadTargetsAreRefused) {
  TempDir dir;
  int status = -1;
  const std::string navlog = std::string(HALVIX_NAVLOG) + " ";
  std::string out = RunShell(
      navlog + "--export-gpx " + dir.File("x.gpx") + " " + HALVIX_SAMPLE_PLAN + " 2>&1", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("no position for "), std::string::npos) << out;
  out = RunShell(navlog + "--export-fpl " + dir.path() + " " + Fixture("europe.gpx") + " 2>&1",
                 status);
  EXPECT_EQ(status, 1) << out;
  out = RunShell(
      navlog + "--export-fpl " + dir.File("ok.fpl") + " " + Fixture("europe.gpx") + " 2>&1",
      status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(All(ReadFile(dir.File("ok.fpl")), "waypoint-identifier").size(), 4u);

  ExportRoute one;
  one.points.resize(1);
  std::string error;
  EXPECT_FALSE(ExportRouteFile(one, ExportFormat::Gpx, dir.File("one.gpx"), error));
  EXPECT_TRUE(ReadFile(dir.File("one.gpx")).empty());
}

}  // namespace

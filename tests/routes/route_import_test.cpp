#include "routes/route_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "plan/planfile.h"
#include "test_util.h"

namespace {

const CivilDate kJune2026{2026, 6, 1};

std::string Fixture(const std::string& name) {
  return std::string(HALVIX_ROUTES) + "/" + name;
}

// Name, then the Dist, Course and Mag Var cells, the cells the import fills.
std::vector<std::string> Cells(const Checkpoint& row) {
  return {row.caption, row.SubItem(kCellDist), row.SubItem(kCellCourse), row.SubItem(kCellMagVar)};
}

std::vector<std::vector<std::string>> Imported(const std::string& fixture, Plan& plan) {
  ImportResult result = ImportRoute(Fixture(fixture), kJune2026, plan);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.warning, "");
  std::vector<std::vector<std::string>> rows;
  for (const Checkpoint& row : plan.route) {
    rows.push_back(Cells(row));
    // Only name, distance, course and variation are filled in.
    for (int cell : {kCellAltitude, kCellWindDir, kCellWindVel, kCellTemp, kCellTas, kCellVor})
      EXPECT_EQ(row.SubItem(cell), "") << row.caption;
    EXPECT_TRUE(row.position.has_value()) << row.caption;
  }
  return rows;
}

using Rows = std::vector<std::vector<std::string>>;

TEST(RouteImportTest, GpxRouteInEurope) {
  Plan plan;
  Rows rows = Imported("europe.gpx", plan);
  // The first <rte> is read; the waypoints beside it and later routes are not.
  EXPECT_EQ(rows, (Rows{{"EDNY", "", "", ""},
                        {"Leutkirch", "23", "61", "-4"},
                        {"WP 3", "50", "47", ""},
                        {"Oberpfaffenhofen", "25", "146", ""}}));
  EXPECT_EQ(plan.title, "Lake Constance to Munich");
  EXPECT_TRUE(plan.airfields.empty());
  EXPECT_DOUBLE_EQ(plan.route[2].position->lat, 48.425158);
  EXPECT_DOUBLE_EQ(plan.route[2].position->lon, 10.931764);
  EXPECT_EQ(plan.filename, Fixture("europe.flt"));
  EXPECT_EQ(plan.modified, 1);
}

TEST(RouteImportTest, FlightPlanInTheWesternUsWithAirportsAtBothEnds) {
  Plan plan;
  plan.aircraft.actype = "PA28";
  plan.print.enableshade = 1;
  Rows rows = Imported("western_us.fpl", plan);
  // OLM is both a VOR and an airport in the table; the route means the VOR.
  EXPECT_EQ(rows, (Rows{{"KBFI", "", "", ""},
                        {"OLM", "42", "216", "-15"},
                        {"TOLT", "51", "182", ""},
                        {"KPDX", "35", "155", ""}}));
  EXPECT_EQ(plan.title, "Boeing Field to Portland");
  ASSERT_EQ(plan.airfields.size(), 2u);
  EXPECT_EQ(plan.airfields[0].name, "KBFI");
  EXPECT_EQ(plan.airfields[1].name, "KPDX");
  // The import is a route, not an aircraft.
  EXPECT_EQ(plan.aircraft.actype, "PA28");
  EXPECT_EQ(plan.print.enableshade, 1);
}

TEST(RouteImportTest, GpxWaypointsInAlaskaWhereTheVariationChanges) {
  Plan plan;
  Rows rows = Imported("alaska.gpx", plan);
  // Without a <rte> the waypoints are the route; the variation is written
  // only where it differs from the leg before.
  EXPECT_EQ(rows, (Rows{{"PANC", "", "", ""},
                        {"PATK", "69", "358", "-14"},
                        {"PAFA", "162", "22", ""},
                        {"PAOT", "383", "289", "-12"}}));
  EXPECT_EQ(plan.title, "PANC to PAOT");
}

TEST(RouteImportTest, PrefixedFlightPlanInTheSouthernHemisphere) {
  Plan plan;
  Rows rows = Imported("southern.fpl", plan);
  EXPECT_EQ(rows, (Rows{{"YSBK", "", "", ""},
                        {"KAT", "37", "290", "-13"},
                        {"YBTH", "37", "300", "-12"},
                        {"YORG", "26", "274", ""}}));
  EXPECT_EQ(plan.title, "YSBK to YORG");
  ASSERT_EQ(plan.airfields.size(), 2u);
  EXPECT_EQ(plan.airfields[1].name, "YORG");
}

TEST(RouteImportTest, TheSavedPlanReadsBackWithItsCoordinates) {
  TempDir dir;
  WriteFile(dir.File("trip.gpx"), ReadFile(Fixture("alaska.gpx")));
  Plan plan;
  ASSERT_TRUE(ImportRoute(dir.File("trip.gpx"), kJune2026, plan).ok);
  ASSERT_EQ(plan.filename, dir.File("trip.flt"));
  ASSERT_EQ(SavePlan(plan, plan.filename).status, SaveStatus::Saved);

  Plan back;
  LoadPlan(back, dir.File("trip.flt"));
  ASSERT_EQ(back.route.size(), plan.route.size());
  for (std::size_t i = 0; i < back.route.size(); ++i) {
    EXPECT_EQ(back.route[i].caption, plan.route[i].caption);
    EXPECT_EQ(back.route[i].subitems, plan.route[i].subitems);
    ASSERT_TRUE(back.route[i].position.has_value());
    EXPECT_NEAR(back.route[i].position->lat, plan.route[i].position->lat, 5e-7);
    EXPECT_NEAR(back.route[i].position->lon, plan.route[i].position->lon, 5e-7);
  }
  EXPECT_EQ(back.title, "PANC to PAOT");
  EXPECT_NE(ReadFile(dir.File("trip.flt")).find("lat=64.815114\r\nlon=-147.856267\r\n"),
            std::string::npos);
}

TEST(RouteImportTest, ADateOutsideTheModelsSpanStillImportsWithAWarning) {
  Plan plan;
  ImportResult result = ImportRoute(Fixture("europe.gpx"), CivilDate{2031, 3, 1}, plan);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.warning,
            "The magnetic model WMM-2025 holds from 2024-11-13 to 2029-11-13; the variation for "
            "2031-03-01 is only an estimate.");
  EXPECT_EQ(plan.route[1].SubItem(kCellMagVar), "-4");
  ASSERT_EQ(result.report.warnings(), 1u);
  EXPECT_EQ(result.report.WarningTexts()[0], result.report.file() + ": " + result.warning);
}

std::string Gpx(const std::string& body) {
  return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\">\n" + body + "</gpx>\n";
}

std::string ParseError(const std::string& bytes) {
  Route route;
  std::string error;
  EXPECT_FALSE(ParseRoute(bytes, route, error));
  return error;
}

TEST(RouteImportTest, UnusableFilesAreRefusedWithTheReason) {
  EXPECT_EQ(ParseError("<gpx><rte><rtept lat=\"1\" lon=\"2\"></rte></gpx>"),
            "not well-formed XML (line 1: Start-end tags mismatch)");
  EXPECT_EQ(ParseError("<?xml version=\"1.0\"?>\n<kml><Document/></kml>"),
            "neither a GPX file nor a flight plan (its root element is <kml>)");
  EXPECT_EQ(ParseError(Gpx("<rte><rtept lat=\"1\" lon=\"2\"/></rte>")),
            "1 waypoint; a route needs at least two");
  EXPECT_EQ(ParseError(Gpx("")), "0 waypoints; a route needs at least two");
  EXPECT_EQ(ParseError(Gpx("<trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk>")),
            "only a track, no route or waypoints; export the route itself");
  EXPECT_EQ(
      ParseError(Gpx("<wpt lat=\"1\" lon=\"2\"/><wpt lat=\"90.5\" lon=\"2\"><name>N</name></wpt>")),
      "waypoint 2 (N) has a latitude 90.5 outside -90..90");
  EXPECT_EQ(ParseError(Gpx("<wpt lat=\"1\" lon=\"-180.01\"/><wpt lat=\"1\" lon=\"2\"/>")),
            "waypoint 1 has a longitude -180.01 outside -180..180");
  EXPECT_EQ(ParseError(Gpx("<wpt lat=\"1\" lon=\"2\"/><wpt lon=\"2\"/>")),
            "waypoint 2 has no latitude");
  EXPECT_EQ(ParseError(Gpx("<wpt lat=\"1,5\" lon=\"2\"/><wpt lat=\"1\" lon=\"2\"/>")),
            "waypoint 1 has a latitude that is not a number: \"1,5\"");
  EXPECT_EQ(ParseError(Gpx("<wpt lat=\"nan\" lon=\"2\"/><wpt lat=\"1\" lon=\"2\"/>")),
            "waypoint 1 has a latitude that is not a number: \"nan\"");
  EXPECT_EQ(ParseError(Gpx("<wpt lat=\"+-1\" lon=\"2\"/><wpt lat=\"1\" lon=\"2\"/>")),
            "waypoint 1 has a latitude that is not a number: \"+-1\"");
  EXPECT_EQ(ParseError("<flight-plan><waypoint-table/><route><route-point><waypoint-identifier>X"
                       "</waypoint-identifier></route-point></route></flight-plan>"),
            "the flight plan has no waypoint table, so its route points have no place");
  EXPECT_EQ(ParseError("<flight-plan><waypoint-table/></flight-plan>"),
            "a flight plan without a route");
  EXPECT_EQ(ParseError("Lake, 47.6, 9.5\nMunich, 48.1, 11.3\n"),
            "not a route file: it holds no XML");
  EXPECT_EQ(ParseError(Gpx("<rte><rtept lat=\"1\" lon=\"2\"/>").substr(0, 60)),
            "the file ends early (line 3): it was not saved or copied whole");

  // A huge value is quoted by its first few dozen characters, not whole.
  const std::string huge = "1." + std::string(1 << 20, '5') + "x";
  const std::string error = ParseError(Gpx("<wpt lat=\"" + huge + "\" lon=\"2\"/>"));
  EXPECT_EQ(error, "waypoint 1 has a latitude that is not a number: \"1." + std::string(38, '5') +
                       "\u2026\"");

  // A route point without a country, listed twice with different ones.
  const std::string table =
      "<flight-plan><waypoint-table>"
      "<waypoint><identifier>ABC</identifier><type>VOR</type><country-code>K1</country-code>"
      "<lat>45</lat><lon>-120</lon></waypoint>"
      "<waypoint><identifier>ABC</identifier><type>VOR</type><country-code>K2</country-code>"
      "<lat>35</lat><lon>-110</lon></waypoint></waypoint-table><route>"
      "<route-point><waypoint-identifier>ABC</waypoint-identifier><waypoint-type>VOR"
      "</waypoint-type></route-point></route></flight-plan>";
  EXPECT_EQ(ParseError(table),
            "route point 1 (ABC) is ambiguous: the waypoint table holds it 2 times, in different "
            "countries");
}

// A flight plan as route planners write them: one airport, `points` route
// points of a table of `entries` user waypoints, the cruise altitude and
// the airport's elevation.
std::string FlightPlan(int entries, int points) {
  std::string text =
      "<flight-plan><flight-data><altitude-ft>5500</altitude-ft></flight-data><waypoint-table>"
      "<waypoint><identifier>KAAA</identifier><type>AIRPORT</type><lat>40</lat><lon>-100</lon>"
      "<elevation>2143.6</elevation></waypoint>";
  for (int i = 0; i < entries; ++i) {
    text += "<waypoint><identifier>W" + std::to_string(i) +
            "</identifier><type>USER WAYPOINT</type><lat>40</lat><lon>" +
            std::to_string(-99.9 + i * 1e-3) + "</lon></waypoint>";
  }
  text += "</waypoint-table><route>";
  for (int i = 0; i < points; ++i) {
    const bool airport = i == 0;
    text += "<route-point><waypoint-identifier>" +
            (airport ? std::string("KAAA") : "W" + std::to_string(entries - i)) +
            "</waypoint-identifier><waypoint-type>" + (airport ? "AIRPORT" : "USER WAYPOINT") +
            "</waypoint-type></route-point>";
  }
  return text + "</route></flight-plan>";
}

TEST(RouteImportTest, WhatTheFileCarriesBesideThePointsFillsThePlan) {
  Route route;
  std::string error;
  ASSERT_TRUE(ParseRoute(FlightPlan(5, 4), route, error)) << error;
  MagneticModel model;
  ASSERT_TRUE(model.Load(FindMagneticModelFile(), error)) << error;
  Plan plan;
  ASSERT_TRUE(RouteToPlan(route, model, 2026.0, plan, error)) << error;
  ASSERT_EQ(plan.route.size(), 4u);
  EXPECT_EQ(plan.route[1].SubItem(kCellAltitude), "5500");  // carried forward from here
  EXPECT_EQ(plan.route[2].SubItem(kCellAltitude), "");
  ASSERT_EQ(plan.airfields.size(), 1u);
  EXPECT_EQ(plan.airfields[0].name, "KAAA");
  EXPECT_EQ(plan.airfields[0].elevation, "2144");

  // The first route that has points; a cruise altitude in its extensions;
  // the same place twice in a row is one checkpoint.
  ASSERT_TRUE(ParseRoute(Gpx("<rte><name>Empty</name></rte><rte><name>Full</name>"
                             "<extensions><x:altitude-ft>4500</x:altitude-ft></extensions>"
                             "<rtept lat=\"47\" lon=\"9\"><name>A</name></rtept>"
                             "<rtept lat=\"47\" lon=\"9\"><name>A again</name></rtept>"
                             "<rtept lat=\"47.5\" lon=\"9\"><name>B</name></rtept></rte>"),
                         route, error))
      << error;
  EXPECT_EQ(route.name, "Full");
  ASSERT_EQ(route.points.size(), 2u);
  EXPECT_EQ(route.points[0].name, "A");
  EXPECT_EQ(route.altitude_ft, 4500);
}

TEST(RouteImportTest, AHugeFlightPlanIsRefusedAtTheFirstPointTooMany) {
  // The table used to be scanned once for every route point, all of them
  // resolved before their number was looked at.
  EXPECT_EQ(ParseError(FlightPlan(20000, 2000)),
            "2000 waypoints; a plan holds at most 33 (the departure and 32 legs)");
  Route route;
  std::string error;
  EXPECT_TRUE(ParseRoute(FlightPlan(40, 33), route, error)) << error;
  EXPECT_EQ(route.points.size(), 33u);
}

TEST(RouteImportTest, NearTheMagneticPolesTheVariationComesWithAWarning) {
  TempDir dir;
  // Off Antarctica the horizontal field is weak well below 80 degrees south.
  WriteFile(dir.File("south.gpx"),
            Gpx("<rte><rtept lat=\"-58\" lon=\"128\"><name>A</name></rtept>"
                "<rtept lat=\"-60\" lon=\"130\"><name>B</name></rtept>"
                "<rtept lat=\"-64\" lon=\"136\"><name>C</name></rtept>"
                "<rtept lat=\"-66.66\" lon=\"140\"><name>DDU</name></rtept></rte>"));
  Plan plan;
  ImportResult result = ImportRoute(dir.File("south.gpx"), kJune2026, plan);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.warning,
            "Near a magnetic pole the model's variation is unreliable; check it on a chart for "
            "the legs to C, DDU.");
  EXPECT_TRUE(MagneticModel().FieldAt(80.5, 0, 0, 2026).unreliable);
}

TEST(RouteImportTest, OnlyRegularFilesAreReadAndNoneIsWaitedFor) {
  TempDir dir;
  // Import Route on a FIFO used to wait for a writer for good.
  ASSERT_EQ(mkfifo(dir.File("pipe.gpx").c_str(), 0644), 0);
  EXPECT_FALSE(LooksLikeRouteFile(dir.File("pipe.gpx")));
  Plan plan;
  ImportResult fifo = ImportRoute(dir.File("pipe.gpx"), kJune2026, plan);
  EXPECT_FALSE(fifo.ok);
  EXPECT_EQ(fifo.error, "not a regular file");
  EXPECT_EQ(fifo.report.FirstError(), dir.File("pipe.gpx") + ": not a regular file");
  EXPECT_EQ(ImportRoute(dir.File("none.gpx"), kJune2026, plan).error, "No such file or directory");
}

TEST(RouteImportTest, LongRoutesAreRefusedWholeAndShortOnesKeepTheirWaypoints) {
  std::string body = "<rte>";
  for (int i = 0; i < 33; ++i)
    body += "<rtept lat=\"45\" lon=\"" + std::to_string(i * 0.1) + "\"/>";
  EXPECT_EQ(ParseError(Gpx(body + "<rtept lat=\"45\" lon=\"3.3\"/></rte>")),
            "34 waypoints; a plan holds at most 33 (the departure and 32 legs)");
  Route route;
  std::string error;
  ASSERT_TRUE(ParseRoute(Gpx(body + "</rte>"), route, error)) << error;
  MagneticModel model;
  ASSERT_TRUE(model.Load(FindMagneticModelFile(), error)) << error;
  Plan plan;
  plan.route = {Row("Kept")};
  route.points.push_back(route.points.back());
  EXPECT_FALSE(RouteToPlan(route, model, 2026.0, plan, error));
  EXPECT_EQ(error, "34 waypoints; a plan holds at most 33 (the departure and 32 legs)");
  ASSERT_EQ(plan.route.size(), 1u);
  EXPECT_EQ(plan.route[0].caption, "Kept");

  route.points.pop_back();
  ASSERT_TRUE(RouteToPlan(route, model, 2026.0, plan, error)) << error;
  EXPECT_EQ(plan.route.size(), 33u);
  EXPECT_EQ(plan.route[32].caption, "WP 33");
}

TEST(RouteImportTest, KindIsToldByContentAndUtf16FlightPlansAreRead) {
  TempDir dir;
  // A flight plan saved as UTF-16 with a byte-order mark, named like a plan.
  const std::string text = ReadFile(Fixture("southern.fpl"));
  std::string utf16 = "\xFF\xFE";
  for (char c : text) {
    utf16 += c;
    utf16 += '\0';
  }
  WriteFile(dir.File("route.flt"), utf16);
  EXPECT_TRUE(LooksLikeRouteFile(dir.File("route.flt")));
  Plan plan;
  ImportResult result = ImportRoute(dir.File("route.flt"), kJune2026, plan);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(plan.route.size(), 4u);

  WriteFile(dir.File("plan.gpx"), "[misc]\r\ncount=0\r\n");
  EXPECT_FALSE(LooksLikeRouteFile(dir.File("plan.gpx")));
  EXPECT_FALSE(LooksLikeRouteFile(HALVIX_SAMPLE_PLAN));
  EXPECT_TRUE(LooksLikeRouteFile(Fixture("europe.gpx")));
  result = ImportRoute(dir.File("plan.gpx"), kJune2026, plan);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "not a route file: it holds no XML");

  EXPECT_EQ(PlanFileNameFor("/a/b.c/route.gpx"), "/a/b.c/route.flt");
  EXPECT_EQ(PlanFileNameFor("/a/b.c/route"), "/a/b.c/route.flt");
  EXPECT_EQ(PlanFileNameFor("trip.v2.fpl"), "trip.v2.flt");
}

}  // namespace

// Winds aloft: the bulletin's groups, station weighting, levels, forecast
// times and the rows filled.
#include "winds/winds.h"

#include <gtest/gtest.h>

#include <map>

#include "data/aviation_data.h"
#include "plan/legs.h"
#include "test_util.h"
#include "winds/winds_fb.h"
#include "winds/winds_file.h"
#include "winds/winds_stations.h"

namespace {

const char kLevels[] = "FT  3000    6000    9000   12000   18000   24000  30000  34000  39000\n";

std::string Bulletin(const std::string& period, const std::string& stations) {
  return "DATA BASED ON 081200Z\nVALID 081800Z   FOR USE " + period + "Z. TEMPS NEG ABV 24000\n\n" +
         kLevels + stations;
}

// Stations where a test puts them.
StationLocator Stations(std::map<std::string, GeoPosition> places) {
  return [places](const std::string& ident) -> std::optional<GeoPosition> {
    auto found = places.find(ident);
    if (found == places.end()) return std::nullopt;
    return found->second;
  };
}

RoundedWind ForecastAt(const WindSource& source, const GeoPosition& where, double alt) {
  const WindSample sample = source.At(where, alt, source.Departure(std::nullopt));
  EXPECT_TRUE(sample.found) << sample.reason;
  return RoundWind(sample.value);
}

void ExpectWind(const RoundedWind& wind, int32_t dir, int32_t vel, int32_t temp) {
  EXPECT_EQ(wind.winddir, dir);
  EXPECT_EQ(wind.windvel, vel);
  EXPECT_EQ(wind.temp, temp);
}

TEST(FbGroups, EveryFormAndEveryRefusal) {
  struct Case {
    const char* group;
    int level;
    bool calm;
    int dir, speed;
    bool has_temp;
    int temp;
  } const good[] = {
      {"1707", 3000, false, 170, 7, false, 0},      {"9900", 3000, true, 0, 0, false, 0},
      {"2119+01", 6000, false, 210, 19, true, 1},   {"2338-16", 12000, false, 230, 38, true, -16},
      {"236343", 30000, false, 230, 63, true, -43}, {"731960", 39000, false, 230, 119, true, -60},
      {"7799", 3000, false, 270, 199, false, 0},    {"990055", 34000, true, 0, 0, true, -55},
      {"3600+00", 9000, false, 360, 0, true, 0},
  };
  for (const Case& c : good) {
    FbGroup group;
    ASSERT_TRUE(DecodeFbGroup(c.group, c.level, 24000, group)) << c.group;
    EXPECT_EQ(group.calm, c.calm) << c.group;
    EXPECT_EQ(group.direction, c.dir) << c.group;
    EXPECT_EQ(group.speed, c.speed) << c.group;
    EXPECT_EQ(group.has_temp, c.has_temp) << c.group;
    EXPECT_EQ(group.temp, c.temp) << c.group;
  }
  // A sign-less temperature below the level where minus is implied, no
  // temperature up high, a calm with a speed, directions that are none.
  for (const char* bad : {"211901", "2119+1", "9912", "3705", "0010", "21X9", "2119+01Z"}) {
    FbGroup group;
    EXPECT_FALSE(DecodeFbGroup(bad, 9000, 24000, group)) << bad;
  }
  FbGroup group;
  EXPECT_FALSE(DecodeFbGroup("2360", 34000, 24000, group));
}

TEST(FbBulletin, GroupsFoundByColumnAcrossSeveralBulletins) {
  const std::string text =
      "(Extracted from FBUS31 KWNO 081358)\nFD1US1\n" +
      Bulletin("1400-2100",
               "ABI 1707 2119+01 2229-04 2338-16 2349-28 2360-40 236343 731960 990055\n"
               "ABQ       \xC2\xA0      2714+03 2620-03 2535-15 2545-27 256142\n"
               "NNNN\n") +
      "\nVALID 090600Z   FOR USE 2100-0600Z. TEMPS NEG ABV 24000\n" + kLevels +
      "ABQ                      2620-05\n";
  const FbDecodeResult decoded = DecodeFb(text);
  ASSERT_TRUE(decoded.ok) << decoded.error;
  ASSERT_EQ(decoded.bulletins.size(), 2u);
  const FbBulletin& first = decoded.bulletins[0];
  EXPECT_EQ(first.valid, "081800Z");
  EXPECT_EQ(first.use_from, 14 * 60);
  EXPECT_EQ(first.use_to, 21 * 60);
  ASSERT_EQ(first.stations.size(), 2u);
  const FbStation& abq = first.stations[1];
  EXPECT_EQ(abq.ident, "ABQ");
  EXPECT_EQ(abq.line, 8);
  EXPECT_TRUE(abq.Group(0).blank);
  EXPECT_TRUE(abq.Group(1).blank);
  EXPECT_EQ(abq.Group(2).direction, 270);
  EXPECT_EQ(abq.Group(6).temp, -42);
  EXPECT_TRUE(abq.Group(7).blank);
  const FbBulletin& second = decoded.bulletins[1];
  EXPECT_EQ(second.use_to, 6 * 60);
  ASSERT_EQ(second.stations.size(), 1u);
  EXPECT_TRUE(second.stations[0].Group(2).blank);
  EXPECT_EQ(second.stations[0].Group(3).temp, -5);
}

TEST(FbBulletin, OneBadGroupRefusesTheWholeTextNamingLineAndGroup) {
  const FbDecodeResult bad =
      DecodeFb(Bulletin("1400-2100", "ABI 1707 2119+01\nABQ      27Z4+03\n"));
  EXPECT_FALSE(bad.ok);
  EXPECT_TRUE(bad.bulletins.empty());
  EXPECT_EQ(bad.error, "line 6: group 27Z4+03 fits no wind group form");
  const FbDecodeResult stray =
      DecodeFb(Bulletin("1400-2100", "ABI 1707 2119+01 " + std::string(60, ' ') + "2229\n"));
  EXPECT_EQ(stray.error, "line 5: group 2229 stands under no level of the FT line");
  EXPECT_FALSE(DecodeFb("Nothing to see here\n").ok);
  EXPECT_FALSE(DecodeFb(std::string(kLevels) + "ABI 1707\n").ok);  // no period
}

TEST(FbBulletin, HostileTextsAreRefusedNamingTheLineOrWarned) {
  EXPECT_EQ(DecodeFb("VALID 081800Z   FOR USE 1400-2100Z\n\n\nFT  3000    6000    6000\n").error,
            "line 4: level 6000 is listed twice");
  EXPECT_EQ(DecodeFb("VALID 081800Z   FOR USE 1400-2100Z\nFT  3000  900000\n").error,
            "line 2: level 900000 is not in feet");
  std::string huge = Bulletin("1400-2100", "AAA 2720\n");
  huge.replace(huge.find("24000"), 5, "99999999999999999999");
  EXPECT_EQ(DecodeFb(huge).error,
            "line 2: TEMPS NEG ABV 99999999999999999999 is not a level in feet");
  std::string wide = "FT";
  for (int n = 1; n <= 33; ++n) wide += " " + std::to_string(n * 1000);
  EXPECT_EQ(DecodeFb("VALID 081800Z   FOR USE 1400-2100Z\n" + wide + "\n").error,
            "line 2: more than 32 levels on the FT line");
  std::string many;
  for (int n = 0; n <= 20000; ++n) {
    many += std::string{static_cast<char>('A' + n / 17576), static_cast<char>('A' + n / 676 % 26),
                        static_cast<char>('A' + n / 26 % 26), static_cast<char>('A' + n % 26)} +
            " 2720\n";
  }
  EXPECT_EQ(DecodeFb(Bulletin("1400-2100", many)).error,
            "line 20005: more than 20000 stations; not a winds aloft bulletin");
  // Pasted text has the file's limit.
  EXPECT_EQ(DecodeWindBulletin(Bulletin("1400-2100", std::string(5 << 20, ' ')), {}).error,
            "too large for a bulletin");

  // A station twice is the first one, with a warning naming the line.
  const WindForecastLoad load =
      DecodeWindBulletin(Bulletin("1400-2100", "AAA      2916+05\nAAA      0916+05\n"),
                         Stations({{"AAA", {40, -99}}}));
  ASSERT_TRUE(load.ok) << load.error;
  ASSERT_EQ(load.report.WarningTexts().size(), 1u);
  EXPECT_EQ(load.report.WarningTexts()[0], "6: station AAA is listed twice; the first is used");
  ExpectWind(ForecastAt(*load.source, {40.5, -99.0}, 6000), 290, 16, 5);

  // Many unplaced stations are one line; the desktop still counts them all.
  std::string unplaced;
  for (int n = 0; n < 700; ++n) unplaced += "Q" + std::to_string(100 + n) + " 2720\n";
  const WindForecastLoad lost = DecodeWindBulletin(Bulletin("1400-2100", unplaced), {});
  EXPECT_EQ(lost.unplaced.size(), 700u);
  ASSERT_EQ(lost.warnings.size(), 1u);
  EXPECT_EQ(lost.warnings[0],
            "700 stations cannot be placed: Q100, Q101, Q102, Q103, Q104 and 695 more");
}

TEST(Interpolation, TwoLevelsAtOneHeightGiveNoValueNotNaN) {
  const std::vector<LevelSample> levels = {{6000, WindFrom(270, 20)}, {6000, WindFrom(90, 20)}};
  EXPECT_FALSE(InterpolateVertically(levels, 6000).has_wind);
  EXPECT_TRUE(InterpolateVertically(levels, 7000).has_wind);  // above both: the highest
}

TEST(FbBulletin, TabsFromATableOrAPrinterAreRead) {
  // Cells between tabs, as copied from a web page's table.
  const std::string table =
      "VALID 081800Z FOR USE 1400-2100Z. TEMPS NEG ABV 24000\n"
      "FT\t3000\t6000\t9000\t12000\n"
      "ABI\t1707\t\t2229-04\t2338-16\n";
  FbDecodeResult decoded = DecodeFb(table);
  ASSERT_TRUE(decoded.ok) << decoded.error;
  const FbStation& abi = decoded.bulletins[0].stations[0];
  EXPECT_EQ(abi.Group(0).direction, 170);
  EXPECT_TRUE(abi.Group(1).blank);
  EXPECT_EQ(abi.Group(2).temp, -4);
  EXPECT_EQ(abi.Group(3).speed, 38);
  // Runs of spaces made into tabs keep their columns at every eighth.
  decoded = DecodeFb(Bulletin("1400-2100", "ABQ\t\t 2714+03\n"));
  ASSERT_TRUE(decoded.ok) << decoded.error;
  EXPECT_EQ(decoded.bulletins[0].stations[0].Group(2).temp, 3);
  decoded = DecodeFb(Bulletin("1400-2100", "ABI\t\t\t\t\t\t\t\t\t\t1707\n"));
  EXPECT_EQ(decoded.error,
            "line 5: group 1707 stands under no level of the FT line (the text has "
            "tabs, which may have moved it off its column)");
}

TEST(FbForecast, VectorMeansNeverGoTheLongWayRound) {
  const GeoPosition middle{40.0, -100.0};
  const auto means = [&](const std::string& a, const std::string& b) {
    FbForecast forecast(DecodeFb(Bulletin("1400-2100", "AAA " + a + "\nBBB " + b + "\n")).bulletins,
                        Stations({{"AAA", {40.5, -100.0}}, {"BBB", {39.5, -100.0}}}));
    return ForecastAt(forecast, middle, 3000);
  };
  ExpectWind(means("3520", "0120"), 360, 20, NOT_ENTERED);
  ExpectWind(means("0910", "2710"), 360, 0, NOT_ENTERED);
}

TEST(FbForecast, OneStationGivesItsValuesThreeAreWeightedByInverseSquareDistance) {
  const GeoPosition middle{40.0, -100.0};
  const std::string one = Bulletin("1400-2100", "AAA 2714 2720+05\n");
  FbForecast alone(DecodeFb(one).bulletins, Stations({{"AAA", {41.0, -100.0}}}));
  ExpectWind(ForecastAt(alone, middle, 6000), 270, 20, 5);
  // Between two levels: the wind and temperature in proportion; below the
  // lowest temperature 2 C warmer per 1000 ft.
  ExpectWind(ForecastAt(alone, middle, 4500), 270, 17, 8);
  ExpectWind(ForecastAt(alone, middle, 1000), 270, 14, 15);

  // Two at 60 NM, one at 120 NM (a quarter of the weight), a fourth beyond
  // the three nearest and a fifth beyond 150 NM are left out.
  const std::string five = Bulletin("1400-2100",
                                    "AAA      2720+10\nBBB      2720+10\nCCC      0920+00\n"
                                    "DDD      0999+30\nEEE      0999+30\n");
  FbForecast weighted(DecodeFb(five).bulletins, Stations({{"AAA", {41.0, -100.0}},
                                                          {"BBB", {39.0, -100.0}},
                                                          {"CCC", {42.0, -100.0}},
                                                          {"DDD", {37.8, -100.0}},
                                                          {"EEE", {37.4, -100.0}}}));
  ExpectWind(ForecastAt(weighted, middle, 6000), 270, 16, 9);
  const WindSample far = weighted.At({45.0, -100.0}, 6000, 900);
  EXPECT_FALSE(far.found);
  EXPECT_EQ(far.reason, "no station within 150 NM");
}

// Two legs east at 100 kt, the first 92 NM, with a station between them.
Plan TwoLegPlan(const std::string& pilot_wind) {
  Plan plan;
  plan.route = {Row("Departure"),
                Row("Middle", "92", "90", "6000", pilot_wind, "60", "15", "100", "0"),
                Row("East", "92", "90"), Row("Nowhere", "20")};
  plan.route[0].position = GeoPosition{40.0, -101.0};
  plan.route[1].position = GeoPosition{40.0, -99.0};
  plan.route[2].position = GeoPosition{40.0, -97.0};
  return plan;
}

TEST(FillWinds, LegTimesUseTheWindsJustFilledAndPickTheirBulletin) {
  const std::string text = Bulletin("1400-2100", "AAA      2720+05\n") +
                           "VALID 090000Z   FOR USE 2100-0600Z. TEMPS NEG ABV 24000\n" + kLevels +
                           "AAA      0940-03\n";
  FbForecast forecast(DecodeFb(text).bulletins, Stations({{"AAA", {40.0, -99.0}}}));
  const Plan plan = TwoLegPlan("90");  // the pilot's headwind would take 138 minutes
  const auto second_leg = [&](std::optional<int> depart) {
    const WindFill fill = ProposeWinds(plan, forecast, WindFillOptions{depart});
    EXPECT_TRUE(fill.legs[0].filled);
    return fill.legs[1];
  };
  // The filled tailwind makes the first leg 46 minutes: 19:30 + 46 is still
  // in the first bulletin's period, 20:30 + 46 is in the second's.
  EXPECT_EQ(second_leg(19 * 60 + 30).wind.winddir, 270);
  const WindProposal later = second_leg(20 * 60 + 30);
  EXPECT_EQ(later.time, "090000Z");
  ExpectWind(later.wind, 90, 40, -3);
  EXPECT_EQ(second_leg(std::nullopt).time, "081800Z");  // from the first period's start
  const WindFill early = ProposeWinds(plan, forecast, WindFillOptions{12 * 60});
  EXPECT_EQ(early.legs[0].time, "081800Z");
  EXPECT_NE(early.legs[0].note.find("nearest"), std::string::npos);
}

TEST(FillWinds, FilledRowsGetAllThreeValuesUnfilledOnesKeepThePilots) {
  FbForecast forecast(DecodeFb(Bulletin("1400-2100", "AAA      2720+05\n")).bulletins,
                      Stations({{"AAA", {40.0, -99.0}}}));
  Plan plan = TwoLegPlan("90");
  const WindFill fill = ProposeWinds(plan, forecast, {});
  ASSERT_EQ(fill.legs.size(), 3u);
  EXPECT_FALSE(fill.legs[2].filled);
  ASSERT_EQ(fill.warnings.size(), 1u);
  EXPECT_EQ(fill.warnings[0], "leg 3 (Nowhere): not filled: no coordinates");
  EXPECT_EQ(fill.legs[1].source, "AAA 46 NM");
  ASSERT_TRUE(ApplyWinds(plan, fill));
  EXPECT_EQ(plan.modified, 1);
  for (int row : {1, 2}) {
    EXPECT_EQ(plan.route[row].SubItem(kCellWindDir), "270");
    EXPECT_EQ(plan.route[row].SubItem(kCellWindVel), "20");
    EXPECT_EQ(plan.route[row].SubItem(kCellTemp), "5");
  }
  EXPECT_EQ(plan.route[3].SubItem(kCellWindDir), "90");
  EXPECT_EQ(plan.route[3].SubItem(kCellWindVel), "60");
  EXPECT_EQ(plan.route[3].SubItem(kCellTemp), "15");
  const NavLog log = ComputeLog(plan);
  EXPECT_EQ(log.legs[0].gs, 119);  // pi as 3.14159, truncated
  EXPECT_EQ(log.legs[2].ete, 30);  // still the pilot's headwind
  EXPECT_FALSE(ApplyWinds(plan, ProposeWinds(plan, forecast, {})));
}

TEST(WindFiles, BulletinFileAndTellingApart) {
  TempDir dir;
  const Plan plan = TwoLegPlan("90");
  WriteFile(dir.File("fb.txt"), Bulletin("1400-2100", "AAA      2720+05\nZZZ      2720+05\n"));
  WindForecastLoad load =
      LoadWindForecast(dir.File("fb.txt"), plan, Stations({{"AAA", {40.0, -99.0}}}));
  ASSERT_TRUE(load.ok) << load.error;
  EXPECT_FALSE(load.grib);
  ASSERT_EQ(load.warnings.size(), 1u);
  EXPECT_EQ(load.warnings[0], "station ZZZ cannot be placed");
  WriteFile(dir.File("bad.txt"), Bulletin("1400-2100", "AAA      2720+5\n"));
  load = LoadWindForecast(dir.File("bad.txt"), plan, {});
  EXPECT_EQ(load.error, dir.File("bad.txt") + ": line 5: group 2720+5 fits no wind group form");
  EXPECT_FALSE(LoadWindForecast(dir.File("missing"), plan, {}).ok);
  const FbDecodeResult sample = DecodeFb(ReadFile(HALVIX_SAMPLE_WINDS));
  ASSERT_TRUE(sample.ok) << sample.error;
  ASSERT_EQ(sample.bulletins.size(), 2u);
  EXPECT_EQ(sample.bulletins[1].stations.size(), 5u);
  EXPECT_EQ(ParseDepartTime("1930"), 19 * 60 + 30);
  EXPECT_EQ(ParseDepartTime("0000Z"), 0);
  EXPECT_FALSE(ParseDepartTime("2460"));
  EXPECT_FALSE(ParseDepartTime("930"));
}

// Woodside (OSI) is a VORTAC, San Jose (SJC) a VOR-DME, San Carlos only an
// airport (KSQL); Oakland (OA) has an NDB and nothing else.
TEST(WindStations, VorNearTheRouteElseTheKAirport) {
  TempDir cache;
  AviationData data;
  std::string error;
  ASSERT_TRUE(
      data.Open(std::string(HALVIX_AVIATION_TEST_DATA) + "/ourairports", cache.path(), error))
      << error;
  Plan plan;
  plan.route = {Row("Salinas"), Row("San Carlos")};
  plan.route[0].position = GeoPosition{36.66, -121.61};
  plan.route[1].position = GeoPosition{37.51, -122.25};
  const StationLocator locate = AviationStations(data, plan);
  EXPECT_NEAR(locate("OSI")->lat, 37.3925, 1e-6);
  EXPECT_NEAR(locate("SJC")->lon, -121.9447, 1e-6);
  EXPECT_NEAR(locate("SQL")->lat, 37.5119, 1e-4);
  EXPECT_FALSE(locate("OA"));
  // Far from the route the VOR is not the station meant.
  plan.route[0].position = GeoPosition{50.0, 8.0};
  plan.route[1].position = GeoPosition{50.5, 8.5};
  EXPECT_FALSE(AviationStations(data, plan)("OSI"));
}

}  // namespace

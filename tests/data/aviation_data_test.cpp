#include "data/aviation_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <fstream>
#include <optional>
#include <utility>

#include "data/aviation_fill.h"
#include "data/data_lines.h"
#include "geo/geodesy.h"
#include "plan/route_row.h"
#include "test_util.h"

namespace {

const std::string kData = HALVIX_AVIATION_TEST_DATA;

struct Opened {
  TempDir cache;
  AviationData data;
  std::string error;
  explicit Opened(const std::string& folder) { data.Open(folder, cache.path(), error); }
};

const Airport& Only(const std::vector<Airport>& airports) {
  static const Airport none;
  EXPECT_EQ(airports.size(), 1u);
  return airports.empty() ? none : airports.front();
}

bool HasWarning(const DataSetInfo& info, const std::string& part) {
  for (const std::string& w : info.warnings)
    if (w.find(part) != std::string::npos) return true;
  return false;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(AviationDataTest, OurAirportsIsReadByColumnNameWithQuotingAndBadRecordsCounted) {
  Opened o(kData + "/ourairports");
  ASSERT_TRUE(o.data.is_open()) << o.error;
  const DataSetInfo& info = o.data.info();
  EXPECT_EQ(info.format, "OurAirports");
  EXPECT_EQ(info.airports, 5);  // the sixth has no latitude
  EXPECT_EQ(info.navaids, 4);   // PYE's frequency is in MHz, not kHz
  EXPECT_EQ(info.skipped, 3);   // that airport, that navaid, the ATIS of 121805 MHz
  EXPECT_TRUE(HasWarning(info, "airports.csv: 1 records skipped (the first at line 8"));
  EXPECT_TRUE(HasWarning(info, "navaids.csv: 1 records skipped"));
  EXPECT_FALSE(info.date.has_value());

  // Ident, ICAO, GPS and local code all find an airport, in any case.
  EXPECT_EQ(Only(o.data.FindAirports("sql")).ident, "KSQL");
  EXPECT_EQ(Only(o.data.FindAirports("CL56")).ident, "US-4581");
  EXPECT_EQ(Only(o.data.FindAirports("US-4581")).name, "Test Ranch \"North\" Airstrip");
  EXPECT_TRUE(o.data.FindAirports("XBAD").empty());
  const Airport edfe = Only(o.data.FindAirportsByName("egelsbach,", 10));
  EXPECT_EQ(edfe.name, "Frankfurt-Egelsbach, Airfield");
  ASSERT_EQ(edfe.runways.size(), 2u);
  EXPECT_TRUE(edfe.runways[1].closed);
  ASSERT_EQ(edfe.frequencies.size(), 1u);
  EXPECT_EQ(edfe.frequencies[0].khz, 124855);

  const std::vector<Navaid> osi = o.data.FindNavaids("OSI");
  ASSERT_EQ(osi.size(), 2u);
  EXPECT_EQ(osi[0].type, NavaidType::Vortac);
  EXPECT_EQ(osi[0].khz, 113900);
  EXPECT_DOUBLE_EQ(*osi[0].slaved_variation, 17.0);
  EXPECT_EQ(osi[1].type, NavaidType::Ndb);
  EXPECT_FALSE(osi[1].slaved_variation.has_value());
}

TEST(AviationDataTest, XPlaneFilesAreReadFromTheirSubfoldersWithVersionsAndCycle) {
  Opened o(kData + "/xplane");
  ASSERT_TRUE(o.data.is_open()) << o.error;
  const DataSetInfo& info = o.data.info();
  EXPECT_EQ(info.format, "X-Plane");
  EXPECT_EQ(info.cycle, "cycle 2013.10");
  ASSERT_TRUE(info.date.has_value());
  EXPECT_EQ(FormatCivilDate(*info.date), "2013-07-25");  // the oldest file's build date
  EXPECT_TRUE(o.data.IsOutdated(CivilDate{2014, 8, 1}));
  EXPECT_FALSE(o.data.IsOutdated(CivilDate{2014, 7, 1}));
  EXPECT_EQ(info.airports, 3);
  EXPECT_EQ(info.navaids, 6);  // 4 navaids (no ILS, no VOR-DME's DME, not BAD) and 2 fixes
  EXPECT_EQ(info.skipped, 2);  // EDFE's runway without a longitude, the VOR at 123.50
  EXPECT_TRUE(HasWarning(info, "apt.dat: 1 records skipped (the first at line 24"));

  const Airport ksql = Only(o.data.FindAirports("SQL"));  // the FAA code
  EXPECT_NEAR(ksql.position.lat, 37.511902, 1e-9);        // the datum
  EXPECT_EQ(*ksql.elevation_ft, 5);
  const Airport khaf = Only(o.data.FindAirports("KHAF"));  // no datum: the runway's middle
  EXPECT_NEAR(khaf.position.lat, (37.5195 + 37.5072) / 2, 1e-9);
  EXPECT_NEAR(khaf.position.lon, (-122.5059 - 122.4962) / 2, 1e-9);
  EXPECT_EQ(khaf.frequencies[1].use, FrequencyUse::Ctaf);
  EXPECT_EQ(khaf.frequencies[1].khz, 122975);  // 122.97 in tens of kHz is the 25 kHz channel
  const Airport edfe = Only(o.data.FindAirports("EDFE"));
  EXPECT_EQ(edfe.frequencies.at(0).khz, 124855);  // an 8.33 kHz row in kHz

  const std::vector<Navaid> sjc = o.data.FindNavaids("SJC");
  ASSERT_EQ(sjc.size(), 1u);
  EXPECT_EQ(sjc[0].type, NavaidType::VorDme);
  EXPECT_EQ(sjc[0].region, "K2");
  EXPECT_EQ(sjc[0].name, "SAN JOSE VOR-DME");
  const std::vector<Navaid> osi = o.data.FindNavaids("OSI");
  ASSERT_EQ(osi.size(), 3u);  // VORTAC and NDB before the fix
  EXPECT_EQ(osi[2].type, NavaidType::Fix);
}

TEST(AviationDataTest, OlderNavFormatAndGzipFilesAtTheFolderTop) {
  TempDir folder;
  const std::string nav =
      "I\n810 Version - data cycle 2009.12, build 20091126, metadata NavXP810.\n"
      "3  37.39250000 -122.28130000   2270 11390 130   17.000 OSI WOODSIDE VORTAC\r\n"
      "2  37.72600000 -122.22300000     10   362  25    0.000 OA OAKLAND NDB\r\n"
      "99\r\n";
  gzFile gz = gzopen(folder.File("nav.dat.gz").c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  gzwrite(gz, nav.data(), static_cast<unsigned>(nav.size()));
  gzclose(gz);
  // The old airport format: runways by their middle, names in a single-byte code page.
  WriteText(folder.File("apt.dat"),
            "I\n810 Version - data cycle 2009.12\n"
            "1 1416 1 0 LSZH Z\xfcrich\n"
            "10 47.4580 8.5480 16x 155.50 12139 0.0 0.0 197 111111 01 1 1 0.25 1 0000.0000\n"
            "10 47.4600 8.5500 xxx 155.50 300 0.0 0.0 75 111111 01 1 1 0.25 1 0000.0000\n"
            "10 47.4620 8.5520 10L 100.0 8000 0.0 0.0 197 111111 01 1 1 0.25 1 0000.0000\n"
            "99\n");
  Opened o(folder.path());
  ASSERT_TRUE(o.data.is_open()) << o.error;
  const std::vector<Navaid> osi = o.data.FindNavaids("osi");
  ASSERT_EQ(osi.size(), 1u);
  EXPECT_EQ(osi[0].name, "WOODSIDE VORTAC");
  EXPECT_EQ(osi[0].type, NavaidType::Vortac);
  EXPECT_EQ(o.data.FindNavaids("OA").at(0).khz, 362);
  EXPECT_EQ(o.data.info().cycle, "cycle 2009.12");
  const Airport zurich = Only(o.data.FindAirports("LSZH"));
  EXPECT_EQ(zurich.name, "Z\u00fcrich");
  std::vector<std::string> notes;
  EXPECT_EQ(AirfieldFromAirport(zurich, notes).runways, "16/34, 10L/28R");
}

TEST(AviationDataTest, TheIndexIsReusedUntilTheDataChanges) {
  TempDir folder, cache;
  const std::string header = "ident,name,latitude_deg,longitude_deg\n";
  WriteText(folder.File("airports.csv"), header + "AAA,First,1,2\n");
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(folder.path(), cache.path(), error)) << error;
  EXPECT_EQ(data.FindAirports("AAA").size(), 1u);
  AviationData again;
  ASSERT_TRUE(again.Open(folder.path(), cache.path(), error));
  EXPECT_EQ(again.info().airports, 1);

  WriteText(folder.File("airports.csv"), header + "BBB,Second,1,2\nCCC,Third,1,2\n");
  ASSERT_TRUE(again.Open(folder.path(), cache.path(), error));
  EXPECT_TRUE(again.FindAirports("AAA").empty());
  EXPECT_EQ(again.FindAirports("CCC").size(), 1u);

  // A folder that is not there, one without data, and a header without a needed column.
  EXPECT_FALSE(again.Open(cache.path() + "/none", cache.path(), error));
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
  EXPECT_FALSE(again.Open(cache.path(), cache.path(), error));
  EXPECT_NE(error.find("holds no aviation data"), std::string::npos);
  WriteText(folder.File("airports.csv"), "ident,name,lat,lon\nAAA,First,1,2\n");
  EXPECT_FALSE(again.Open(folder.path(), cache.path(), error));
}

TEST(AviationDataTest, WithoutAHomeTheIndexStaysInMemory) {
  TempDir folder;
  WriteText(folder.File("airports.csv"), "ident,name,latitude_deg,longitude_deg\nAAA,First,1,2\n");
  // Neither variable set, then each put back as it was.
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
  for (const char* name : {"HOME", "XDG_CACHE_HOME"}) {
    const char* value = std::getenv(name);
    saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    unsetenv(name);
  }
  const std::string folder_for_index = DefaultCacheFolder();
  for (const auto& [name, value] : saved)
    if (value) setenv(name, value->c_str(), 1);
  EXPECT_EQ(folder_for_index, "");

  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(folder.path(), "", error)) << error;
  EXPECT_EQ(data.FindAirports("AAA").size(), 1u);
  EXPECT_EQ(data.info().airports, 1);
}

TEST(AviationDataTest, CsvRecordsFollowRfc4180) {
  std::vector<std::string> f;
  ASSERT_TRUE(SplitCsvRecord(R"(1,"a, b","say ""hi""",,x)", f));
  EXPECT_EQ(f, (std::vector<std::string>{"1", "a, b", "say \"hi\"", "", "x"}));
  EXPECT_FALSE(SplitCsvRecord(R"(1,"open)", f));
  ASSERT_TRUE(SplitCsvRecord("1,\"open\nclosed\"", f));
  EXPECT_EQ(f[1], "open\nclosed");
}

TEST(AviationFillTest, AnAirportFillsAnAirfieldRow) {
  Opened o(kData + "/ourairports");
  std::vector<std::string> notes;
  const AirfieldInfo ksql = AirfieldFromAirport(Only(o.data.FindAirports("KSQL")), notes);
  EXPECT_EQ(ksql.name, "KSQL San Carlos Airport");
  EXPECT_EQ(ksql.elevation, "5");
  EXPECT_EQ(ksql.tpa, "1000");
  EXPECT_EQ(ksql.runways, "12/30");
  EXPECT_EQ(ksql.atc, "119.0");
  EXPECT_EQ(ksql.traffic, "119.0");  // no CTAF at a towered field: the tower
  EXPECT_EQ(ksql.atis, "125.9");
  EXPECT_EQ(ksql.ground, "121.6");
  EXPECT_EQ(ksql.unicom, "122.95");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("pattern altitude 1000 is a default"), std::string::npos);

  notes.clear();
  const AirfieldInfo edfe = AirfieldFromAirport(Only(o.data.FindAirports("EDFE")), notes);
  EXPECT_EQ(edfe.runways, "9/27");  // 08/26 is closed
  EXPECT_EQ(edfe.traffic, "124.855");
  EXPECT_EQ(edfe.tpa, "1400");
  const AirfieldInfo ksjc = AirfieldFromAirport(Only(o.data.FindAirports("SJC")), notes);
  EXPECT_EQ(ksjc.runways, "12L/30R, 12R/30L");
  EXPECT_EQ(ksjc.unicom, "");
  EXPECT_NE(notes.back().find("unicom frequency 282.3 is outside the COM band"), std::string::npos);
  const AirfieldInfo ranch = AirfieldFromAirport(Only(o.data.FindAirports("CL56")), notes);
  EXPECT_EQ(ranch.name, "CL56 Test Ranch \"North\" Airstrip");
  EXPECT_EQ(ranch.runways, "H1");

  // Airfields an imported route named, perhaps with an elevation, are filled;
  // others stay.
  Plan plan;
  plan.airfields.resize(3);
  plan.airfields[0].name = "KSQL";
  plan.airfields[0].elevation = "5";
  plan.airfields[1].name = "KHAF";
  plan.airfields[1].runways = "12/30";
  plan.airfields[2].name = "Nowhere";
  EXPECT_EQ(FillNamedAirfields(o.data, plan, notes), 1);
  EXPECT_EQ(plan.airfields[0].atc, "119.0");
  EXPECT_EQ(plan.airfields[1].name, "KHAF");
  EXPECT_EQ(plan.airfields[2].name, "Nowhere");
  EXPECT_EQ(FormatFrequency(121805), "121.805");
  EXPECT_EQ(FormatFrequency(362), "362");
}

TEST(AviationFillTest, IdentsResolveNearThePreviousCheckpoint) {
  Opened o(kData + "/xplane");
  const GeoPosition ksql{37.51, -122.25}, edfe{49.96, 8.64};
  EXPECT_EQ(o.data.ResolvePlace("OSI", ksql)->navaid->type, NavaidType::Vortac);
  EXPECT_EQ(o.data.ResolvePlace("OSI", edfe)->navaid->type, NavaidType::Ndb);
  // First of a route: airports before navaids before fixes.
  EXPECT_EQ(o.data.ResolvePlace("SJC", std::nullopt)->kind, Place::Kind::Navaid);
  Opened csv(kData + "/ourairports");
  EXPECT_EQ(csv.data.ResolvePlace("SJC", std::nullopt)->kind, Place::Kind::Airport);
  EXPECT_FALSE(o.data.ResolvePlace("NOWHERE", ksql).has_value());
}

TEST(AviationFillTest, VorCrossChecksUseTheVorsOwnVariation) {
  Opened o(kData + "/xplane");
  // 7.5 NM south of San Jose: true azimuth 182 less 17 east.
  EXPECT_EQ(VorCrossCheck(o.data, GeoPosition{37.25, -121.95}), "114.1/ 165/ SJC/ From");
  EXPECT_EQ(VorCrossCheck(o.data, GeoPosition{37.38, -121.95}), "114.1/ / SJC/ ");
  EXPECT_EQ(VorCrossCheck(o.data, GeoPosition{49.96, 8.64}), "");    // only an NDB there
  EXPECT_EQ(VorCrossCheck(o.data, GeoPosition{36.5, -121.95}), "");  // 52 NM away

  Plan plan;
  AddRow(plan, RowBuilder("A"));
  AddRow(plan, RowBuilder("B").distance_nm(5).true_course_deg(90).vor("112.3/ 068/ CDL/ To"));
  AddRow(plan, RowBuilder("C").distance_nm(5).true_course_deg(90));
  AddRow(plan, RowBuilder("D").distance_nm(5).true_course_deg(90));
  for (Checkpoint& row : plan.route) row.position = GeoPosition{37.25, -121.95};
  plan.route[3].position.reset();
  EXPECT_EQ(FillVorCrossChecks(o.data, plan), 1);
  EXPECT_EQ(plan.route[0].SubItem(kCellVor), "");                     // the departure has no leg
  EXPECT_EQ(plan.route[1].SubItem(kCellVor), "112.3/ 068/ CDL/ To");  // typed: kept
  EXPECT_EQ(plan.route[2].SubItem(kCellVor), "114.1/ 165/ SJC/ From");
  EXPECT_EQ(plan.route[3].SubItem(kCellVor), "");  // no position
}

TEST(AviationFillTest, AVorWithoutASlavedVariationTakesTheStationsOrTheModels) {
  TempDir folder;
  WriteText(folder.File("airports.csv"),
            "\"id\",\"ident\",\"type\",\"name\",\"latitude_deg\",\"longitude_deg\"\n"
            "1,\"KSQL\",\"small_airport\",\"San Carlos\",37.511902,-122.249496\n");
  const std::string head =
      "\"id\",\"ident\",\"type\",\"frequency_khz\",\"latitude_deg\",\"longitude_deg\","
      "\"slaved_variation_deg\",\"magnetic_variation_deg\"\n";
  WriteText(folder.File("navaids.csv"), head +
                                            "1,\"SJC\",\"VOR-DME\",114100,37.3748,-121.9447,,14.4\n"
                                            "2,\"RBL\",\"VOR\",115700,40.0997,-122.2366,,\n");
  Opened o(folder.path());
  ASSERT_TRUE(o.data.is_open()) << o.error;
  MagneticModel model;
  std::string error;
  ASSERT_TRUE(model.Load(std::string(HALVIX_WMM_DIR) + "/WMM2025.COF", error)) << error;
  std::vector<std::string> notes;
  // True azimuth 182 less the station's 14.4 east.
  EXPECT_EQ(VorCrossCheck(o.data, GeoPosition{37.25, -121.95}, &model, &notes),
            "114.1/ 168/ SJC/ From");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0],
            "SJC: the data gives no slaved variation; its radials are reckoned with the station's "
            "magnetic variation 14.4E");
  // Neither: the model's at the station, told; without a model, none at all.
  notes.clear();
  const GeoPosition south_of_red_bluff{39.85, -122.2366};
  const double east = model.Declination(40.0997, -122.2366, 0.0, DecimalYear(Today()));
  const Bearing bearing = BearingBetween({40.0997, -122.2366}, south_of_red_bluff);
  char radial[8];
  std::snprintf(radial, sizeof radial, "%03d", WholeDegrees(bearing.azimuth - east));
  EXPECT_EQ(VorCrossCheck(o.data, south_of_red_bluff, &model, &notes),
            std::string("115.7/ ") + radial + "/ RBL/ From");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("the magnetic model's variation "), std::string::npos) << notes[0];
  EXPECT_EQ(VorCrossCheck(o.data, south_of_red_bluff), "");
}

TEST(AviationFillTest, TheChooserOffersAirportsNearestTheRouteBeforeOtherFields) {
  TempDir csv, xp;
  WriteText(csv.File("airports.csv"),
            "\"id\",\"ident\",\"type\",\"name\",\"latitude_deg\",\"longitude_deg\"\n"
            "1,\"H1\",\"heliport\",\"Bay Field\",37.50,-122.25\n"
            "2,\"A1\",\"small_airport\",\"Bay Field\",39.00,-122.25\n"
            "3,\"A2\",\"medium_airport\",\"Bay Field\",37.40,-122.10\n"
            "4,\"C1\",\"closed\",\"Bay Field\",37.45,-122.20\n"
            "5,\"S1\",\"seaplane_base\",\"Bay Field\",37.60,-122.30\n");
  Opened o(csv.path());
  ASSERT_TRUE(o.data.is_open()) << o.error;
  std::vector<Airport> found = o.data.FindAirportsByName("Bay Field", 10);
  OrderForChoice(found, {{37.51, -122.25}, {37.25, -121.95}});
  std::vector<std::string> order;
  for (const Airport& a : found) order.push_back(a.ident);
  EXPECT_EQ(order, (std::vector<std::string>{"A2", "A1", "H1", "S1", "C1"}));
  EXPECT_STREQ(AirportKindName(found[2].kind), "heliport");

  // The simulator's row codes, and its mark of a closed field.
  WriteText(xp.File("apt.dat"),
            "I\n1000 Version - data cycle 2013.10\n"
            "1 5 0 0 KSQL San Carlos\n100 30 1 0 0.25 0 2 0 12 37.5149 -122.2552 0 0 2 0 0 0 "
            "30 37.5086 -122.2443 0 0 2 0 0 0\n"
            "17 10 0 0 H2 Pad\n102 H1 37.60 -122.30 0 20 20 1 0 0 0.25 0\n"
            "16 0 0 0 W3 Harbour\n101 50 0 1 37.70 -122.40 2 37.71 -122.41\n"
            "1 5 0 0 X4 [X] Old Field\n100 30 1 0 0.25 0 2 0 12 37.8 -122.5 0 0 2 0 0 0 "
            "30 37.81 -122.51 0 0 2 0 0 0\n99\n");
  Opened x(xp.path());
  ASSERT_TRUE(x.data.is_open()) << x.error;
  EXPECT_EQ(Only(x.data.FindAirports("KSQL")).kind, AirportKind::Airport);
  EXPECT_EQ(Only(x.data.FindAirports("H2")).kind, AirportKind::Heliport);
  EXPECT_EQ(Only(x.data.FindAirports("W3")).kind, AirportKind::SeaplaneBase);
  EXPECT_EQ(Only(x.data.FindAirports("X4")).kind, AirportKind::Closed);
}

TEST(AviationFillTest, AFilledCrossCheckFollowsItsCheckpointAndATypedOneStays) {
  Opened o(kData + "/xplane");
  Plan plan;
  const GeoPosition south{37.25, -121.95}, east{37.30, -121.80};
  for (const char* name : {"A", "B", "C"})
    AddRow(plan, RowBuilder(name).distance_nm(5).true_course_deg(90).position(south));
  ASSERT_EQ(FillVorCrossChecks(o.data, plan), 2);
  plan.route[2] = RowBuilder(plan.route[2]).vor("114.1/ 165/ SJC/ To").Build();  // the pilot's
  for (Checkpoint& row : plan.route) row.position = east;
  // Moved without following: the filled one is stale, the typed one is not.
  EXPECT_EQ(StaleVorCrossChecks(o.data, plan), std::vector<int>{1});
  EXPECT_TRUE(FollowVorCrossCheck(o.data, plan, 1, south));
  EXPECT_FALSE(FollowVorCrossCheck(o.data, plan, 2, south));
  EXPECT_EQ(ReadRow(plan.route[1]).vor, VorCrossCheck(o.data, east));
  EXPECT_NE(ReadRow(plan.route[1]).vor, "114.1/ 165/ SJC/ From");
  EXPECT_EQ(ReadRow(plan.route[2]).vor, "114.1/ 165/ SJC/ To");
  EXPECT_TRUE(StaleVorCrossChecks(o.data, plan).empty());
}

TEST(AviationFillTest, ARouteOfIdentsAndCoordinatesBecomesAPlan) {
  Opened o(kData + "/ourairports");
  MagneticModel model;
  std::string error;
  ASSERT_TRUE(model.Load(std::string(HALVIX_WMM_DIR) + "/WMM2025.COF", error)) << error;
  Plan plan;
  std::vector<std::string> notes;
  ASSERT_TRUE(BuildPlanFromIdents(o.data, RouteTokens(" KSQL osi  37.25,-121.95 KHAF"), model,
                                  2026.0, plan, notes, error))
      << error;
  ASSERT_EQ(plan.route.size(), 4u);
  EXPECT_EQ(plan.route[1].caption, "OSI");
  EXPECT_EQ(plan.route[2].caption, "37.25,-121.95");
  EXPECT_NEAR(plan.route[1].position->lat, 37.3925, 1e-9);
  EXPECT_EQ(plan.route[1].SubItem(kCellDist), "7");
  EXPECT_EQ(plan.title, "KSQL to KHAF");
  ASSERT_EQ(plan.airfields.size(), 2u);
  EXPECT_EQ(plan.airfields[1].name, "KHAF Half Moon Bay Airport");
  EXPECT_EQ(plan.airfields[1].traffic, "122.975");

  // An ident with nothing before it is placed by the checkpoint after it,
  // not by the data's order; with nothing to go by, the pilot hears of the others.
  notes.clear();
  ASSERT_TRUE(BuildPlanFromIdents(o.data, {"OSI", "50.2,8.6"}, model, 2026.0, plan, notes, error));
  EXPECT_NEAR(plan.route[0].position->lat, 50.1, 1e-9);
  ASSERT_TRUE(BuildPlanFromIdents(o.data, {"OSI", "OSI"}, model, 2026.0, plan, notes, error));
  ASSERT_FALSE(notes.empty());
  EXPECT_NE(notes.back().find("OSI names 2 places"), std::string::npos) << notes.back();
  EXPECT_NE(notes.back().find("Ostheim"), std::string::npos);
  EXPECT_FALSE(
      BuildPlanFromIdents(o.data, {"KSQL", "N95 10 E8 30"}, model, 2026.0, plan, notes, error));

  const Plan before = plan;
  EXPECT_FALSE(BuildPlanFromIdents(o.data, {"KSQL", "KXYZ"}, model, 2026.0, plan, notes, error));
  EXPECT_EQ(error.rfind("KXYZ: ", 0), 0u);
  EXPECT_EQ(plan.route.size(), before.route.size());
  EXPECT_FALSE(BuildPlanFromIdents(o.data, {"KSQL", "95,1"}, model, 2026.0, plan, notes, error));
}

namespace {

TEST(AviationFillTest, TheAlternateIsMeasuredFromTheDestination) {
  Opened o(kData + "/ourairports");
  Plan plan;
  plan.route = {Row("KSJC"), Row("KSQL San Carlos", "20")};
  plan.performance.alternate = "Half Moon Bay";
  std::string warning;
  ASSERT_TRUE(ResolveAlternate(o.data, plan, warning)) << warning;
  EXPECT_EQ(plan.performance.alternatedist, 12.0);  // 11.9 NM due west
  EXPECT_NEAR(*plan.performance.alternatetc, 270.0, 1.0);

  plan.performance.alternatedist.reset();
  plan.performance.alternate = "KXYZ";
  EXPECT_FALSE(ResolveAlternate(o.data, plan, warning));
  EXPECT_EQ(warning, "[performance] alternate=KXYZ refused: found nowhere in the aviation data");
}

}  // namespace

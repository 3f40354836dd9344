#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "chart/basemap.h"
#include "chart/chart_scene.h"
#include "chart/route_edit.h"
#include "geo/geodesy.h"
#include "plan/legs.h"
#include "plan/route_row.h"
#include "routes/route_import.h"
#include "test_util.h"

namespace {

std::string Shell(const std::string& cmd, int* status = nullptr) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int s = pclose(p);
  if (status) *status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  return out;
}

const MapBox kWesternUs{30.0, 50.0, -125.0, -105.0};

TEST(BaseMap, ReadsTheInstalledPackagesForABox) {
  const BaseMapSources sources = FindBaseMapSources();
  if (sources.gshhg_folder.empty() || sources.dcw_file.empty())
    GTEST_SKIP() << "gmt-gshhg-low and gmt-dcw are not installed";
  const BaseMapResult map = LoadBaseMap(sources, kWesternUs, 'l');
  EXPECT_TRUE(map.messages.empty());
  int coast = 0, state = 0;
  bool near_monterey = false;
  for (const MapLine& line : map.lines) {
    coast += line.kind == MapLineKind::Coast;
    state += line.kind == MapLineKind::State;
    for (const GeoPosition& p : line.points) {
      EXPECT_GE(p.lon, -180.0);
      EXPECT_LE(p.lon, 180.0);
      if (line.kind == MapLineKind::Coast && std::fabs(p.lat - 36.6) < 0.1 &&
          std::fabs(p.lon + 121.9) < 0.1)
        near_monterey = true;
    }
  }
  EXPECT_GT(coast, 0);
  EXPECT_GT(state, 0);
  EXPECT_TRUE(near_monterey);  // the bins are placed right on the globe
}

TEST(BaseMap, DamagedOrMissingFilesAreToldNotFatal) {
  const BaseMapResult none = LoadBaseMap(BaseMapSources{}, kWesternUs, 'l');
  EXPECT_TRUE(none.lines.empty());
  ASSERT_EQ(none.messages.size(), 2u);
  EXPECT_NE(none.messages[0].find("gmt-gshhg-low"), std::string::npos);
  EXPECT_NE(none.messages[1].find("gmt-dcw"), std::string::npos);

  TempDir dir;
  WriteFile(dir.File("binned_GSHHS_l.nc"), std::string(5000, 'x'));
  std::vector<MapLine> lines;
  std::string error;
  EXPECT_FALSE(ReadShorelineFile(dir.File("binned_GSHHS_l.nc"), kWesternUs, lines, error));
  EXPECT_NE(error.find("binned_GSHHS_l.nc"), std::string::npos);

  const BaseMapSources installed = FindBaseMapSources();
  if (installed.gshhg_folder.empty()) return;
  // Cut short, the real file's header promises arrays its bytes lack.
  const std::string whole = ReadFile(installed.gshhg_folder + "/binned_GSHHS_l.nc");
  for (std::size_t cut : {std::size_t{600}, whole.size() / 2}) {
    WriteFile(dir.File("binned_GSHHS_l.nc"), whole.substr(0, cut));
    error.clear();
    EXPECT_FALSE(ReadShorelineFile(dir.File("binned_GSHHS_l.nc"), kWesternUs, lines, error));
    EXPECT_FALSE(error.empty());
  }
  // A border file is not a shoreline file, nor the other way round.
  if (!installed.dcw_file.empty()) {
    EXPECT_FALSE(ReadShorelineFile(installed.dcw_file, kWesternUs, lines, error));
    EXPECT_FALSE(
        ReadBorderFile(installed.gshhg_folder + "/binned_GSHHS_l.nc", kWesternUs, lines, error));
  }
  // The damaged file is told, the rest of the map still read.
  BaseMapSources damaged = installed;
  damaged.gshhg_folder = dir.path();
  const BaseMapResult partial = LoadBaseMap(damaged, kWesternUs, 'l');
  EXPECT_FALSE(partial.messages.empty());
  if (!installed.dcw_file.empty()) {
    EXPECT_FALSE(partial.lines.empty());
  }
}

Plan ThreePointPlan() {
  Plan plan;
  plan.route = {Row("Salinas"), Row("Watsonville", "", "", "", "", "", "", "", "-13"),
                Row("Nowhere"), Row("Santa Cruz")};
  plan.route[0].position = GeoPosition{36.662778, -121.606389};
  plan.route[1].position = GeoPosition{36.935833, -121.789722};
  plan.route[3].position = GeoPosition{36.951667, -122.026667};
  return plan;
}

TEST(ChartScene, RouteLegsAndHitTesting) {
  ChartScene scene;
  scene.SetPlan(ThreePointPlan(), true);
  ASSERT_EQ(scene.checkpoints().size(), 3u);
  ASSERT_EQ(scene.legs().size(), 2u);
  EXPECT_EQ(scene.unplaced(), std::vector<std::string>{"Nowhere"});
  // The variation typed on the first leg carries to the next.
  EXPECT_EQ(scene.legs()[0].label, "MC 319\u00b0 19 NM");  // 332 true, 13 east
  EXPECT_EQ(scene.legs()[1].label.substr(0, 2), "MC");

  const ChartView view = FitView(scene.projection(), scene.RoutePositions(), 1600, 1200);
  for (const ChartCheckpoint& c : scene.checkpoints()) {
    const PixelPoint p = view.ToPixel(c.xy);
    EXPECT_GE(p.x, 160.0 - 1e-6);
    EXPECT_LE(p.x, 1440.0 + 1e-6);
    EXPECT_GE(p.y, 120.0 - 1e-6);
    EXPECT_LE(p.y, 1080.0 + 1e-6);
  }
  const PixelPoint watsonville = view.ToPixel(scene.checkpoints()[1].xy);
  ChartHit hit = scene.HitTest(view, watsonville.x + 5, watsonville.y - 3);
  EXPECT_EQ(hit.kind, ChartHit::Checkpoint);
  EXPECT_EQ(hit.index, 1);
  const std::vector<ProjectedPoint>& leg = scene.legs()[1].line;
  const PixelPoint mid = view.ToPixel(leg[leg.size() / 2]);
  hit = scene.HitTest(view, mid.x + 2, mid.y + 2);
  EXPECT_EQ(hit.kind, ChartHit::Leg);
  EXPECT_EQ(hit.index, 1);
  EXPECT_EQ(scene.HitTest(view, mid.x + 200, mid.y + 300).kind, ChartHit::None);
  // Panned, the hits follow the map.
  ChartView panned = view;
  panned.centre.x += 100 * view.metres_per_pixel;
  hit = scene.HitTest(panned, watsonville.x - 100, watsonville.y);
  EXPECT_EQ(hit.kind, ChartHit::Checkpoint);
}

// A climb to 5,500 ft and the descent to Santa Cruz's pattern both end on
// the first leg: the log's TOC and TOD rows, marked on it as far along as
// the log's distances add up to.
TEST(ChartScene, TopsOfClimbAndDescentLieOnTheirLeg) {
  Plan plan = ThreePointPlan();
  plan.route.erase(plan.route.begin() + 2);
  plan.route[1] = Row("Watsonville", "19", "332", "5500", "270", "10", "5", "110", "-13");
  plan.route[1].position = GeoPosition{36.935833, -121.789722};
  plan.route[2].subitems[kCellDist] = "12";
  plan.performance.climb = {
      {0, 0, 0, 0}, {2000, 3, 0.7, 4}, {4000, 7, 1.5, 8}, {6000, 11, 2.3, 14}};
  plan.airfields.resize(2);
  plan.airfields[0].elevation = "0";
  plan.airfields[1].tpa = "1000";
  const NavLog log = ComputeLog(plan);
  ASSERT_EQ(log.legs.size(), 4u);
  ASSERT_EQ(log.legs[0].computed, "TOC");
  ASSERT_EQ(log.legs[1].computed, "TOD");

  ChartScene scene;
  scene.SetPlan(plan, true);
  ASSERT_EQ(scene.marks().size(), 2u);
  const GeoPosition& salinas = *plan.route[0].position;
  const GeoPosition& watsonville = *plan.route[1].position;
  const double along[] = {double(log.legs[0].dist), double(log.legs[0].dist + log.legs[1].dist)};
  for (std::size_t i = 0; i < 2; ++i) {
    const ChartMark& mark = scene.marks()[i];
    EXPECT_EQ(mark.name, log.legs[i].computed);
    EXPECT_EQ(mark.leg, 0);
    EXPECT_NEAR(DistanceNm(salinas, mark.position), along[i], 0.01) << mark.name;
    // On the geodesic: no way round by it.
    EXPECT_NEAR(DistanceNm(salinas, mark.position) + DistanceNm(mark.position, watsonville),
                DistanceNm(salinas, watsonville), 0.001)
        << mark.name;
    const ProjectedPoint xy = scene.projection().Forward(mark.position);
    EXPECT_NEAR(mark.xy.x, xy.x, 1e-6);
  }

  // A leg whose start has no position is not drawn, nor are its marks.
  plan.route[0].position.reset();
  scene.SetPlan(plan, false);
  EXPECT_TRUE(scene.marks().empty());
}

TEST(ChartScene, AviationLayersFromTheIndex) {
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(HALVIX_SAMPLE_DATA, "", error)) << error;
  ChartScene scene;
  scene.SetAviationData(&data);
  scene.SetPlan(ThreePointPlan(), true);
  ChartView view = FitView(scene.projection(), scene.RoutePositions(), 1600, 1200);
  view.metres_per_pixel = 500000 * kScreenMetresPerPixel;
  scene.Prepare(view);
  bool san_jose_towered = false, vor_with_variation = false;
  for (const ChartFeature& f : scene.features()) {
    if (f.ident == "KSJC") san_jose_towered = f.kind == FeatureKind::ToweredAirport;
    if (f.kind == FeatureKind::VorDme || f.kind == FeatureKind::Vortac ||
        f.kind == FeatureKind::Vor)
      vor_with_variation = vor_with_variation || f.variation != 0.0;
  }
  EXPECT_TRUE(san_jose_towered);
  // The tree of positions answers a box however its longitudes are counted.
  for (const MapBox& box : {MapBox{37.0, 37.5, -122.2, -121.8}, MapBox{37.0, 37.5, 237.8, 238.2},
                            MapBox{37.0, 37.5, -482.2, -481.8}}) {
    const std::vector<Airport> found = data.AirportsIn(box, 100);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(), [](const Airport& a) {
      return a.ident == "KSJC";
    })) << box.west;
    for (const Airport& a : found) EXPECT_TRUE(a.position.lat >= 37.0 && a.position.lat <= 37.5);
  }
  EXPECT_TRUE(data.AirportsIn({-10.0, 10.0, 170.0, 190.0}, 100).empty());
  EXPECT_TRUE(vor_with_variation);
  // A feature is hit where it is drawn; a checkpoint on a navaid before it.
  for (const ChartFeature& f : scene.features()) {
    const PixelPoint p = view.ToPixel(f.xy);
    const ChartHit hit = scene.HitTest(view, p.x, p.y);
    if (f.ident == "KSJC") {
      ASSERT_EQ(hit.kind, ChartHit::Feature);
      EXPECT_EQ(scene.features()[static_cast<std::size_t>(hit.index)].ident, "KSJC");
    }
    if (f.ident == "SNS") {
      EXPECT_EQ(hit.kind, ChartHit::Checkpoint);
    }
  }
  for (const ChartFeature& f : scene.features()) {
    if (f.kind != FeatureKind::Fix) continue;
    const PixelPoint p = view.ToPixel(f.xy);
    const ChartHit hit = scene.HitTest(view, p.x + 3, p.y);
    if (hit.kind == ChartHit::Feature) {
      EXPECT_NEAR(scene.features()[static_cast<std::size_t>(hit.index)].position.lat,
                  f.position.lat, 0.05);
    }
  }
}

// The exported chart read back with GDAL's own tools: its projection, and
// every checkpoint at the pixel where it is drawn.
TEST(ChartExport, GeoTiffPlacesTheCheckpointsAtTheirPixels) {
  if (Shell("command -v gdaltransform").empty()) GTEST_SKIP() << "gdal-bin is not installed";
  TempDir dir;
  const std::string tif = dir.File("route.tif");
  int status = -1;
  Shell(std::string("XDG_CACHE_HOME=") + dir.path() + " " + HALVIX_NAVLOG + " --chart " + tif +
            " --chart-size 1200x900 " + HALVIX_SAMPLE_ROUTE + " >/dev/null 2>&1",
        &status);
  ASSERT_EQ(status, 0);
  const std::string info = Shell("gdalinfo " + tif + " 2>&1");
  EXPECT_NE(info.find("Size is 1200, 900"), std::string::npos);
  EXPECT_NE(info.find("Lambert Conic Conformal (2SP)"), std::string::npos);
  EXPECT_NE(info.find("WGS 84"), std::string::npos);

  Plan plan;
  std::string route_error;
  ASSERT_TRUE(ImportRoute(HALVIX_SAMPLE_ROUTE, CivilDate{2026, 6, 1}, plan).ok);
  ChartScene scene;
  scene.SetPlan(plan, true);
  const ChartView view = FitView(scene.projection(), scene.RoutePositions(), 1200, 900);
  for (const ChartCheckpoint& c : scene.checkpoints()) {
    std::ostringstream cmd;
    cmd.precision(10);
    cmd << "echo " << c.position.lon << " " << c.position.lat
        << " | gdaltransform -i -t_srs EPSG:4326 " << tif;
    std::istringstream out(Shell(cmd.str()));
    double x = 0, y = 0;
    ASSERT_TRUE(out >> x >> y) << c.name;
    const PixelPoint expected = view.ToPixel(c.xy);
    EXPECT_NEAR(x, expected.x, 0.5) << c.name;
    EXPECT_NEAR(y, expected.y, 0.5) << c.name;
    EXPECT_GT(x, 0);
    EXPECT_LT(x, 1200);
  }
  // On the legs the image is the route's magenta.
  const std::vector<ProjectedPoint>& leg = scene.legs()[2].line;
  const GeoPosition mid = scene.projection().Reverse(leg[leg.size() / 2]);
  std::ostringstream cmd;
  cmd.precision(10);
  cmd << "gdallocationinfo -valonly -wgs84 " << tif << " " << mid.lon << " " << mid.lat;
  std::istringstream bands(Shell(cmd.str()));
  int r = -1, g = -1, b = -1;
  ASSERT_TRUE(bands >> r >> g >> b);
  EXPECT_EQ(r, 255);
  EXPECT_LT(g, 60);
  EXPECT_EQ(b, 255);
}

TEST(ChartExport, ARouteWithoutPositionsIsRefused) {
  TempDir dir;
  int status = -1;
  const std::string out = Shell(std::string(HALVIX_NAVLOG) + " --chart " + dir.File("c.tif") + " " +
                                    HALVIX_SAMPLE_PLAN + " 2>&1 >/dev/null",
                                &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("at least two checkpoints with positions"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("c.tif")));
}

// The base map reader and the GeoTIFF writer are modules loaded on first use:
// a damaged or missing one is named, and the rest of the chart still works.
TEST(ChartModules, ADamagedOrMissingModuleIsNamedNotFatal) {
  const std::string navlog = HALVIX_NAVLOG;
  const std::string built = navlog.substr(0, navlog.rfind('/')) + "/" HALVIX_LIB_FROM_PROGRAM "/";
  const std::string whole = ReadFile(built + "halvix-basemap.so");
  ASSERT_GT(whole.size(), 4096u);
  TempDir dir;
  const std::string lib = dir.File("bin/" HALVIX_LIB_FROM_PROGRAM "/");
  ASSERT_EQ(Shell("mkdir -p " + lib + " && cp " + navlog + " " + dir.File("bin/") + " && echo ok"),
            "ok\n");
  std::string error;
  WriteFile(lib + "halvix-basemap.so", whole.substr(0, whole.size() / 2));
  EXPECT_EQ(LoadBaseMapModule(lib + "halvix-basemap.so", error), nullptr);
  EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  EXPECT_NE(LoadBaseMapModule(built + "halvix-basemap.so", error), nullptr) << error;

  const std::string chart = "HALVIX_DATA_DIR=" HALVIX_WMM_DIR "/.. XDG_CACHE_HOME=" + dir.path() +
                            " " + dir.File("bin/halvix-navlog") + " --chart " + dir.File("c.tif") +
                            " --chart-size 300x200 " + HALVIX_SAMPLE_ROUTE + " 2>&1 >/dev/null";
  for (const bool present : {false, true}) {
    if (present) WriteFile(lib + "halvix-geotiff.so", "not a module");
    int status = -1;
    const std::string out = Shell(chart, &status);
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find("cannot write GeoTIFF images: " + lib + "halvix-geotiff.so"),
              std::string::npos)
        << out;
    EXPECT_FALSE(std::filesystem::exists(dir.File("c.tif")));
  }
  // With a sound writer the chart is written, the broken base map left out.
  WriteFile(lib + "halvix-geotiff.so", ReadFile(built + "halvix-geotiff.so"));
  int status = -1;
  const std::string out = Shell(chart, &status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_TRUE(std::filesystem::exists(dir.File("c.tif")));
}

}  // namespace

namespace {

// The variation the log applies on each row.
std::vector<std::optional<int32_t>> Carried(const Plan& plan) {
  std::vector<std::optional<int32_t>> out;
  for (const RowValues& row : ReadRoute(plan).carried) out.push_back(row.variation_deg);
  return out;
}

void ExpectMeasured(const Plan& plan, int row) {
  const Checkpoint& to = plan.route[static_cast<std::size_t>(row)];
  const LegMeasure leg =
      MeasureLeg(*plan.route[static_cast<std::size_t>(row) - 1].position, *to.position);
  EXPECT_EQ(to.SubItem(kCellDist), std::to_string(std::lround(leg.distance_nm))) << row;
  EXPECT_EQ(to.SubItem(kCellCourse), std::to_string(WholeDegrees(leg.course))) << row;
}

TEST(RouteEdit, EachChangeRemeasuresTheLegsItTouchesOnly) {
  MagneticModel model;
  std::string error;
  ASSERT_TRUE(model.Load(std::string(HALVIX_WMM_DIR) + "/WMM2025.COF", error)) << error;
  const VariationSource var{&model, 2026.5};
  Route route;
  const std::pair<const char*, GeoPosition> points[] = {
      {"Salinas", {36.662778, -121.606389}},
      {"Watsonville", {36.935833, -121.789722}},
      {"Santa Cruz", {36.951667, -122.026667}},
      {"Half Moon Bay", {37.513333, -122.501111}}};
  for (const auto& p : points) {
    RouteWaypoint w;
    w.name = p.first;
    w.position = p.second;
    route.points.push_back(w);
  }
  Plan plan;
  ASSERT_TRUE(RouteToPlan(route, model, 2026.5, plan, error));
  plan.route[2].subitems[kCellAltitude] = "4500";  // typed by the pilot
  const Plan before = plan;

  // Inserted between Watsonville and Santa Cruz: both legs to and from it are new.
  RoutePoint point{"", {37.05, -121.90}, std::nullopt};
  point.name = CoordinateName(point.position);
  EXPECT_EQ(point.name, "37.0500,-121.9000");
  ASSERT_TRUE(InsertRoutePoint(plan, 2, point, var));
  ASSERT_EQ(plan.route.size(), 5u);
  EXPECT_EQ(plan.route[2].caption, "37.0500,-121.9000");
  ExpectMeasured(plan, 2);
  ExpectMeasured(plan, 3);
  EXPECT_EQ(plan.route[3].SubItem(kCellAltitude), "4500");
  EXPECT_EQ(plan.route[4].subitems, before.route[3].subitems);
  EXPECT_EQ(Carried(plan)[4], Carried(before)[3]);
  ASSERT_TRUE(Carried(plan)[2]);

  // Moved, then removed: Santa Cruz's leg is measured from Watsonville again.
  const GeoPosition moved{37.10, -121.95};
  ASSERT_TRUE(MoveRoutePoint(plan, 2, {CoordinateName(moved), moved, std::nullopt}, var));
  EXPECT_EQ(plan.route[2].position->lat, 37.10);
  ExpectMeasured(plan, 2);
  ExpectMeasured(plan, 3);
  ASSERT_TRUE(RemoveRoutePoint(plan, 2, var));
  ASSERT_EQ(plan.route.size(), 4u);
  ExpectMeasured(plan, 2);
  EXPECT_EQ(plan.route[2].SubItem(kCellDist), before.route[2].SubItem(kCellDist));
  EXPECT_EQ(Carried(plan), Carried(before));

  // The departure removed: the next row starts the route without a leg, and
  // the first leg keeps the variation it flew with, though the departure's
  // own cells take no part in the legs.
  ASSERT_TRUE(RemoveRoutePoint(plan, 0, var));
  EXPECT_EQ(plan.route[0].SubItem(kCellDist), "");
  EXPECT_EQ(Carried(plan)[1], Carried(before)[2]);
  EXPECT_EQ(Carried(plan)[2], Carried(before)[3]);

  // An airport appended joins the airfields, once; a full route takes no more.
  Airport airport;
  airport.ident = "KSQL";
  airport.icao_code = "KSQL";
  airport.name = "San Carlos";
  airport.position = {37.511944, -122.249444};
  const std::size_t fields = plan.airfields.size();
  ASSERT_TRUE(AppendRoutePoint(plan, {"KSQL", airport.position, airport}, var));
  ASSERT_TRUE(AppendRoutePoint(plan, {"KSQL", airport.position, airport}, var));
  EXPECT_EQ(plan.airfields.size(), fields + 1);
  ExpectMeasured(plan, static_cast<int>(plan.route.size()) - 2);
  while (plan.route.size() < static_cast<std::size_t>(kMaxRoute))
    ASSERT_TRUE(AppendRoutePoint(plan, point, var));
  const Plan full = plan;
  EXPECT_FALSE(AppendRoutePoint(plan, point, var));
  EXPECT_FALSE(InsertRoutePoint(plan, 1, point, var));
  EXPECT_FALSE(MoveRoutePoint(plan, kMaxRoute, point, var));
  EXPECT_EQ(plan.route.size(), full.route.size());
}

}  // namespace

// What a route chart shows, in the projection of its plan: the route, the
// base map and the aviation data near it, kept for the part of the map in
// view and read again only when the view leaves it. The window, the printed
// chart and the exported image draw from the same scene.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chart/basemap.h"
#include "data/aviation_data.h"
#include "geo/chart_projection.h"
#include "plan/plan.h"

// The size of a screen pixel, by which a view's scale is told as 1:N.
constexpr double kScreenMetresPerPixel = 0.0254 / 96.0;

struct PixelPoint {
  double x = 0.0;
  double y = 0.0;
};

// The part of the projected plane shown in a picture of width x height pixels.
struct ChartView {
  int width = 1600;
  int height = 1200;
  ProjectedPoint centre;
  double metres_per_pixel = 1000.0;

  PixelPoint ToPixel(const ProjectedPoint& p) const {
    return {width / 2.0 + (p.x - centre.x) / metres_per_pixel,
            height / 2.0 - (p.y - centre.y) / metres_per_pixel};
  }
  ProjectedPoint FromPixel(double x, double y) const {
    return {centre.x + (x - width / 2.0) * metres_per_pixel,
            centre.y - (y - height / 2.0) * metres_per_pixel};
  }
  // N of the scale 1:N on a screen.
  double Scale() const { return metres_per_pixel / kScreenMetresPerPixel; }
};

// The view of `width` x `height` pixels that holds `points` with `margin`
// of each side left free. One point, or none, gets a view 1:500,000 around it.
ChartView FitView(const ChartProjection& projection, const std::vector<GeoPosition>& points,
                  int width, int height, double margin = 0.1);

// The latitude-longitude box that holds the whole view.
MapBox ViewBox(const ChartProjection& projection, const ChartView& view);

enum class FeatureKind { ToweredAirport, Airport, Vor, VorDme, Vortac, Ndb, Dme, Fix };

struct ChartFeature {
  FeatureKind kind = FeatureKind::Airport;
  std::string ident;
  std::string name;
  GeoPosition position;
  ProjectedPoint xy;
  std::optional<int32_t> elevation_ft;
  std::string frequencies;  // "TWR 118.6, ATIS 124.05" or the navaid's channel
  double variation = 0.0;   // a VOR's slaved variation, east positive
  struct RunwayLine {
    ProjectedPoint end1;
    ProjectedPoint end2;
  };
  std::vector<RunwayLine> runways;
  std::optional<Airport> airport;
  std::optional<Navaid> navaid;

  bool IsAirport() const {
    return kind == FeatureKind::ToweredAirport || kind == FeatureKind::Airport;
  }
};

struct ChartCheckpoint {
  int row = 0;  // of the plan's route
  std::string name;
  GeoPosition position;
  ProjectedPoint xy;
};

struct ChartLeg {
  int from = 0;  // indexes into ChartScene::checkpoints()
  int to = 0;
  std::vector<ProjectedPoint> line;
  double distance_nm = 0.0;
  double true_course = 0.0;  // at the midpoint
  std::string label;         // "MC 123° 45 NM"
};

// A row of the log that no pilot typed (a top of climb or descent), where
// it falls on its leg: as far along the leg's geodesic as the log puts it.
struct ChartMark {
  std::string name;  // "TOC", "TOD"
  int leg = 0;       // into ChartScene::legs()
  double along_nm = 0.0;
  GeoPosition position;
  ProjectedPoint xy;
};

struct ProjectedLine {
  MapLineKind kind = MapLineKind::Coast;
  std::vector<ProjectedPoint> points;
  double min_x = 0.0, max_x = 0.0, min_y = 0.0, max_y = 0.0;
};

// The base map a view needs read: the box, the shoreline resolution, and the
// scale the points are thinned for.
struct LinesRequest {
  MapBox box;
  char resolution = 'l';
  double metres_per_pixel = 0.0;
  int projection = 0;  // which of the scene's projections it is for
};

// Base-map lines read and projected for a request, with what could not be read.
struct ChartLines {
  LinesRequest request;
  std::vector<ProjectedLine> lines;
  std::vector<std::string> messages;
};

// Reads and projects the lines of `request`; runs on any thread, as it
// touches nothing but its arguments and the data files.
ChartLines ReadChartLines(const BaseMapSources& sources, const ChartProjection& projection,
                          const LinesRequest& request);

// What lies under a place of the picture.
struct ChartHit {
  enum Kind { None, Checkpoint, Leg, Feature };
  Kind kind = None;
  int index = -1;  // into checkpoints(), legs() or features()
};

class ChartScene {
 public:
  ChartScene();

  // Takes the plan's route; with `refit` (a new plan) also the projection
  // fitted to it, else the projection stays so that an edit does not move the map.
  void SetPlan(const Plan& plan, bool refit);
  void SetAviationData(const AviationData* data) {
    data_ = data;
    features_box_.reset();
    ++revision_;
  }
  void SetBaseMapSources(const BaseMapSources& sources) {
    sources_ = sources;
    base_map_ = true;
    lines_box_.reset();
    ++revision_;
  }
  const BaseMapSources& base_map_sources() const { return sources_; }

  // Reads what `view` needs that is not at hand yet; the base map too unless
  // `with_lines` is false (the window reads it in the background).
  void Prepare(const ChartView& view, bool with_lines = true);
  // The base map `view` needs and the scene lacks; nothing when it has it
  // (or has no sources yet).
  std::optional<LinesRequest> LinesWanted(const ChartView& view);
  // Lines read for a request of this scene; ignored when the projection has
  // changed since they were asked for.
  void TakeLines(ChartLines lines);
  // Counts every change of what the scene draws, so that a picture of it
  // can tell whether it is still the scene's.
  uint64_t revision() const { return revision_; }
  // Changes whenever the plan is fitted with a new projection.
  int projection_id() const { return projection_id_; }

  const ChartProjection& projection() const { return projection_; }
  const AviationData* aviation_data() const { return data_; }
  const std::vector<ChartCheckpoint>& checkpoints() const { return checkpoints_; }
  const std::vector<ChartLeg>& legs() const { return legs_; }
  const std::vector<ChartMark>& marks() const { return marks_; }
  // Rows without a position, by name: listed, not drawn.
  const std::vector<std::string>& unplaced() const { return unplaced_; }
  const std::vector<ProjectedLine>& lines() const { return *lines_; }
  const std::vector<ChartFeature>& features() const { return *features_; }
  // What the base map or the data could not give, for the pilot.
  const std::vector<std::string>& messages() const { return messages_; }
  std::vector<GeoPosition> RoutePositions() const;

  // What is drawn within `radius` pixels of (x, y): checkpoints before
  // features before legs, the nearest of each.
  ChartHit HitTest(const ChartView& view, double x, double y, double radius = 8.0) const;
  // The feature drawn nearest (x, y) within `radius` pixels (airports first
  // at the same spot), -1 for none.
  int FeatureAt(const ChartView& view, double x, double y, double radius) const;
  // Whether features of `kind` are drawn at this view's scale.
  static bool Shows(FeatureKind kind, const ChartView& view);

 private:
  void LoadFeatures(const ChartView& view);
  char Resolution(double metres_per_pixel);

  ChartProjection projection_;
  std::vector<ChartCheckpoint> checkpoints_;
  std::vector<ChartLeg> legs_;
  std::vector<ChartMark> marks_;
  std::vector<std::string> unplaced_;
  // Shared and never changed once read, so that the copy of the scene a
  // worker draws from costs next to nothing.
  std::shared_ptr<const std::vector<ProjectedLine>> lines_ =
      std::make_shared<const std::vector<ProjectedLine>>();
  std::shared_ptr<const std::vector<ChartFeature>> features_ =
      std::make_shared<const std::vector<ChartFeature>>();
  std::vector<std::string> messages_;
  std::vector<std::string> line_messages_;
  std::vector<std::string> feature_messages_;

  // Until sources are given the scene draws no base map and asks for none:
  // the window's first picture comes before the base map is read.
  bool base_map_ = false;
  BaseMapSources sources_;
  double resolution_mpp_ = -1.0;
  char resolution_ = 'l';
  const AviationData* data_ = nullptr;
  uint64_t revision_ = 0;
  int projection_id_ = 0;
  std::optional<MapBox> lines_box_;
  char lines_resolution_ = 0;
  double lines_mpp_ = 0.0;
  std::optional<MapBox> features_box_;
  bool features_fixes_ = false;
  bool features_all_airports_ = false;
};

// "MC 123° 45 NM" for a leg, from its true course and the variation the log
// carries to it (west positive); "TC 123°" when no variation is known.
std::string LegLabel(double true_course, double distance_nm, int32_t variation);

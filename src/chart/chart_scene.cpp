#include "chart/chart_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "data/aviation_fill.h"
#include "geo/geodesy.h"
#include "plan/legs.h"
#include "plan/route_row.h"

namespace {

// Features read at once at most: far more than a picture can label.
constexpr std::size_t kMaxAirports = 6000;
constexpr std::size_t kMaxNavaids = 6000;

bool Inside(const MapBox& outer, const MapBox& inner) {
  if (inner.south < outer.south || inner.north > outer.north) return false;
  if (outer.east - outer.west >= 360.0) return true;
  const double shift = std::round((outer.west - inner.west) / 360.0) * 360.0;
  return inner.west + shift >= outer.west && inner.east + shift <= outer.east;
}

MapBox Widened(const MapBox& box, double factor) {
  const double dlat = (box.north - box.south) * factor;
  const double dlon = (box.east - box.west) * factor;
  MapBox out{std::max(-90.0, box.south - dlat), std::min(90.0, box.north + dlat), box.west - dlon,
             box.east + dlon};
  if (out.east - out.west >= 360.0) out.west = -180.0, out.east = 180.0;
  return out;
}

// Drops points nearer than `tolerance` metres to the last one kept: at the
// scale they were read for, they would fall on the same pixel. The test is
// made on latitude and longitude, so that the dropped ones are never projected.
ProjectedLine Project(const ChartProjection& projection, const MapLine& line, double tolerance) {
  ProjectedLine out;
  out.kind = line.kind;
  out.min_x = out.min_y = std::numeric_limits<double>::infinity();
  out.max_x = out.max_y = -std::numeric_limits<double>::infinity();
  if (line.points.empty()) return out;
  out.points.reserve(line.points.size());
  const double central = projection.parameters().central_meridian;
  const double tol_lat = tolerance / 111000.0;
  const double tol_lon = tol_lat / std::max(0.05, std::cos(line.points[0].lat * M_PI / 180.0));
  GeoPosition last{1000.0, 1000.0};
  for (std::size_t i = 0; i < line.points.size(); ++i) {
    const GeoPosition& g = line.points[i];
    if (i + 1 != line.points.size() && std::fabs(g.lat - last.lat) < tol_lat &&
        std::fabs(g.lon - last.lon) < tol_lon)
      continue;
    // The far side of the globe from the map's meridian folds over it.
    double d = g.lon - central;
    if (d > 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    if (std::fabs(d) > 170.0) continue;
    const ProjectedPoint p = projection.Forward(g);
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    last = g;
    out.points.push_back(p);
    out.min_x = std::min(out.min_x, p.x);
    out.max_x = std::max(out.max_x, p.x);
    out.min_y = std::min(out.min_y, p.y);
    out.max_y = std::max(out.max_y, p.y);
  }
  return out;
}

const char* UseName(FrequencyUse use) {
  switch (use) {
    case FrequencyUse::Atis:
      return "ATIS";
    case FrequencyUse::Unicom:
      return "UNICOM";
    case FrequencyUse::Ctaf:
      return "CTAF";
    case FrequencyUse::Clearance:
      return "CLNC";
    case FrequencyUse::Ground:
      return "GND";
    case FrequencyUse::Tower:
      return "TWR";
    case FrequencyUse::Approach:
      return "APP";
    case FrequencyUse::Departure:
      return "DEP";
    case FrequencyUse::Other:
      break;
  }
  return "";
}

double PixelDistanceToSegment(const PixelPoint& p, const PixelPoint& a, const PixelPoint& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The log's own rows (a top of climb or descent) lie on the leg that ends at
// the next typed row, as far into it as the log's rows before them in that
// leg add up to. A leg whose start has no position is not drawn, nor its marks.
std::vector<ChartMark> MarksOnLegs(const Plan& plan, const std::vector<ChartCheckpoint>& points,
                                   const std::vector<ChartLeg>& legs,
                                   const ChartProjection& projection) {
  std::vector<int> leg_to(plan.route.size(), -1);
  for (std::size_t i = 0; i < legs.size(); ++i) {
    const int from = points[static_cast<std::size_t>(legs[i].from)].row;
    const int to = points[static_cast<std::size_t>(legs[i].to)].row;
    if (from + 1 == to) leg_to[static_cast<std::size_t>(to)] = static_cast<int>(i);
  }
  std::vector<ChartMark> marks;
  std::vector<ChartMark> pending;
  double along = 0.0;
  for (const LogRow& row : ComputeLog(plan).legs) {
    if (row.route_row == kComputedRow) {
      along += std::max(0, row.dist);
      ChartMark mark;
      mark.name = row.computed;
      mark.along_nm = along;
      pending.push_back(mark);
      continue;
    }
    const int leg = row.route_row >= 0 && row.route_row < static_cast<int>(leg_to.size())
                        ? leg_to[static_cast<std::size_t>(row.route_row)]
                        : -1;
    if (leg >= 0) {
      const GeoPosition& a = points[static_cast<std::size_t>(legs[leg].from)].position;
      const GeoPosition& b = points[static_cast<std::size_t>(legs[leg].to)].position;
      const Bearing bearing = BearingBetween(a, b);
      for (ChartMark& mark : pending) {
        mark.leg = leg;
        // A typed distance longer than the leg on the map puts the mark at its end.
        const double nm = std::min(mark.along_nm, bearing.distance_nm);
        mark.position = GeodesicDestination(a, bearing.azimuth, nm * kMetresPerNauticalMile);
        mark.xy = projection.Forward(mark.position);
        marks.push_back(std::move(mark));
      }
    }
    pending.clear();
    along = 0.0;
  }
  return marks;
}

}  // namespace

ChartView FitView(const ChartProjection& projection, const std::vector<GeoPosition>& points,
                  int width, int height, double margin) {
  ChartView view;
  view.width = std::max(width, 1);
  view.height = std::max(height, 1);
  if (points.empty()) {
    view.metres_per_pixel = 500000.0 * kScreenMetresPerPixel;
    return view;
  }
  double min_x = std::numeric_limits<double>::infinity(), max_x = -min_x;
  double min_y = min_x, max_y = -min_x;
  for (const GeoPosition& g : points) {
    const ProjectedPoint p = projection.Forward(g);
    min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
  }
  view.centre = {(min_x + max_x) / 2.0, (min_y + max_y) / 2.0};
  const double free = std::max(0.05, 1.0 - 2.0 * margin);
  const double mpp =
      std::max((max_x - min_x) / (view.width * free), (max_y - min_y) / (view.height * free));
  view.metres_per_pixel = mpp > 0 ? mpp : 500000.0 * kScreenMetresPerPixel;
  return view;
}

MapBox ViewBox(const ChartProjection& projection, const ChartView& view) {
  MapBox box{90.0, -90.0, 0.0, 0.0};
  const double central = projection.parameters().central_meridian;
  double west = 0.0, east = 0.0;
  constexpr int kSteps = 8;
  for (int i = 0; i <= kSteps; ++i) {
    for (int j = 0; j <= kSteps; ++j) {
      // The edges and a grid inside: a parallel bulges between the corners.
      const ProjectedPoint p = view.FromPixel(view.width * static_cast<double>(i) / kSteps,
                                              view.height * static_cast<double>(j) / kSteps);
      const GeoPosition g = projection.Reverse(p);
      box.south = std::min(box.south, g.lat);
      box.north = std::max(box.north, g.lat);
      const double d = std::remainder(g.lon - central, 360.0);
      west = std::min(west, d);
      east = std::max(east, d);
    }
  }
  box.west = central + west;
  box.east = central + east;
  if (box.east - box.west > 340.0 || box.north > 89.0 || box.south < -89.0) {
    box.west = -180.0;
    box.east = 180.0;
  }
  return box;
}

std::string LegLabel(double true_course, double distance_nm, int32_t variation) {
  char text[64];
  const long nm = std::lround(distance_nm);
  if (variation == NOT_ENTERED) {
    std::snprintf(text, sizeof text, "TC %03d\u00b0 %ld NM", WholeDegrees(true_course), nm);
  } else {
    std::snprintf(text, sizeof text, "MC %03d\u00b0 %ld NM",
                  NormDegrees(WholeDegrees(true_course) + variation), nm);
  }
  return text;
}

ChartScene::ChartScene() : projection_(ChartProjection::ForRoute({})) {}

void ChartScene::SetPlan(const Plan& plan, bool refit) {
  checkpoints_.clear();
  legs_.clear();
  unplaced_.clear();
  for (std::size_t r = 0; r < plan.route.size(); ++r) {
    const Checkpoint& row = plan.route[r];
    if (!row.position) {
      unplaced_.push_back(row.caption);
      continue;
    }
    ChartCheckpoint c;
    c.row = static_cast<int>(r);
    c.name = row.caption;
    c.position = *row.position;
    checkpoints_.push_back(c);
  }
  ++revision_;
  if (refit) {
    projection_ = ChartProjection::ForRoute(RoutePositions());
    ++projection_id_;
    lines_ = std::make_shared<const std::vector<ProjectedLine>>();
    lines_box_.reset();
    features_box_.reset();
  }
  // The variation each leg flies with, as the log applies it.
  const RouteValues route = ReadRoute(plan);
  for (ChartCheckpoint& c : checkpoints_) c.xy = projection_.Forward(c.position);
  for (std::size_t i = 1; i < checkpoints_.size(); ++i) {
    ChartLeg leg;
    leg.from = static_cast<int>(i - 1);
    leg.to = static_cast<int>(i);
    const GeoPosition& a = checkpoints_[i - 1].position;
    const GeoPosition& b = checkpoints_[i].position;
    const LegMeasure measure = MeasureLeg(a, b);
    leg.distance_nm = measure.distance_nm;
    leg.true_course = measure.course;
    for (const GeoPosition& g : GeodesicPoints(a, b, 2.0))
      leg.line.push_back(projection_.Forward(g));
    leg.label = LegLabel(
        leg.true_course, leg.distance_nm,
        route.carried[static_cast<std::size_t>(checkpoints_[i].row)].variation_deg.value_or(
            NOT_ENTERED));
    legs_.push_back(std::move(leg));
  }
  marks_ = MarksOnLegs(plan, checkpoints_, legs_, projection_);
}

std::vector<GeoPosition> ChartScene::RoutePositions() const {
  std::vector<GeoPosition> points;
  for (const ChartCheckpoint& c : checkpoints_) points.push_back(c.position);
  return points;
}

bool ChartScene::Shows(FeatureKind kind, const ChartView& view) {
  const double scale = view.Scale();
  switch (kind) {
    case FeatureKind::Fix:
      return scale <= 1'500'000.0;
    case FeatureKind::Airport:
    case FeatureKind::Dme:
      return scale <= 3'000'000.0;
    default:
      return scale <= 12'000'000.0;
  }
}

char ChartScene::Resolution(double metres_per_pixel) {
  // The files installed are looked at once per zoom, not once per frame.
  if (metres_per_pixel != resolution_mpp_) {
    resolution_mpp_ = metres_per_pixel;
    resolution_ =
        sources_.gshhg_folder.empty() ? 'l' : ShorelineResolution(sources_, metres_per_pixel);
  }
  return resolution_;
}

void ChartScene::Prepare(const ChartView& view, bool with_lines) {
  const MapBox box = ViewBox(projection_, view);
  if (with_lines) {
    if (std::optional<LinesRequest> wanted = LinesWanted(view))
      TakeLines(ReadChartLines(sources_, projection_, *wanted));
  }
  const bool fixes = Shows(FeatureKind::Fix, view);
  const bool all = Shows(FeatureKind::Airport, view);
  if (!features_box_ || !Inside(*features_box_, box) || fixes != features_fixes_ ||
      all != features_all_airports_) {
    LoadFeatures(view);
  }
  messages_ = line_messages_;
  messages_.insert(messages_.end(), feature_messages_.begin(), feature_messages_.end());
}

std::optional<LinesRequest> ChartScene::LinesWanted(const ChartView& view) {
  if (!base_map_) return std::nullopt;
  const MapBox box = ViewBox(projection_, view);
  const char resolution = Resolution(view.metres_per_pixel);
  // Read again when the view leaves what was read, or when it is zoomed so
  // far in or out that the points kept no longer suit it.
  if (lines_box_ && Inside(*lines_box_, box) && resolution == lines_resolution_ &&
      view.metres_per_pixel >= lines_mpp_ / 3.0 && view.metres_per_pixel <= lines_mpp_ * 3.0)
    return std::nullopt;
  LinesRequest request;
  request.box = Widened(box, 0.5);
  request.resolution = resolution;
  request.metres_per_pixel = view.metres_per_pixel;
  request.projection = projection_id_;
  return request;
}

ChartLines ReadChartLines(const BaseMapSources& sources, const ChartProjection& projection,
                          const LinesRequest& request) {
  ChartLines out;
  out.request = request;
  BaseMapResult read = LoadBaseMap(sources, request.box, request.resolution);
  const double mpp = request.metres_per_pixel;
  out.lines.reserve(read.lines.size());
  for (const MapLine& line : read.lines) {
    ProjectedLine projected = Project(projection, line, mpp);
    // An island or lake smaller than a pixel or two would be a speck.
    if (projected.points.size() < 2 || (projected.max_x - projected.min_x < 2 * mpp &&
                                        projected.max_y - projected.min_y < 2 * mpp))
      continue;
    out.lines.push_back(std::move(projected));
  }
  out.messages = std::move(read.messages);
  return out;
}

void ChartScene::TakeLines(ChartLines lines) {
  if (lines.request.projection != projection_id_) return;
  lines_box_ = lines.request.box;
  lines_resolution_ = lines.request.resolution;
  lines_mpp_ = lines.request.metres_per_pixel;
  lines_ = std::make_shared<const std::vector<ProjectedLine>>(std::move(lines.lines));
  line_messages_ = std::move(lines.messages);
  messages_ = line_messages_;
  messages_.insert(messages_.end(), feature_messages_.begin(), feature_messages_.end());
  ++revision_;
}

void ChartScene::LoadFeatures(const ChartView& view) {
  ++revision_;
  features_ = std::make_shared<const std::vector<ChartFeature>>();
  features_fixes_ = Shows(FeatureKind::Fix, view);
  features_all_airports_ = Shows(FeatureKind::Airport, view);
  const MapBox box = Widened(ViewBox(projection_, view), 0.5);
  features_box_ = box;
  feature_messages_.clear();
  if (!data_ || !data_->is_open()) return;
  std::vector<ChartFeature> features;
  for (Airport& airport : data_->AirportsIn(box, kMaxAirports)) {
    // An airport whose every runway is closed is closed.
    const bool closed =
        !airport.runways.empty() && std::all_of(airport.runways.begin(), airport.runways.end(),
                                                [](const Runway& r) { return r.closed; });
    if (closed || airport.name.rfind("[Closed]", 0) == 0) continue;
    ChartFeature f;
    const bool towered =
        std::any_of(airport.frequencies.begin(), airport.frequencies.end(),
                    [](const AirportFrequency& q) { return q.use == FrequencyUse::Tower; });
    f.kind = towered ? FeatureKind::ToweredAirport : FeatureKind::Airport;
    if (!towered && !features_all_airports_) continue;
    f.ident = airport.ident;
    f.name = airport.name;
    f.position = airport.position;
    f.xy = projection_.Forward(airport.position);
    f.elevation_ft = airport.elevation_ft;
    for (const AirportFrequency& q : airport.frequencies) {
      if (q.use == FrequencyUse::Other) continue;
      if (!f.frequencies.empty()) f.frequencies += ", ";
      f.frequencies += std::string(UseName(q.use)) + " " + FormatFrequency(q.khz);
    }
    for (const Runway& r : airport.runways) {
      if (r.closed || !r.end1_position || !r.end2_position) continue;
      f.runways.push_back(
          {projection_.Forward(*r.end1_position), projection_.Forward(*r.end2_position)});
    }
    f.airport = std::move(airport);
    features.push_back(std::move(f));
  }
  for (Navaid& navaid : data_->NavaidsIn(box, features_fixes_, kMaxNavaids)) {
    ChartFeature f;
    switch (navaid.type) {
      case NavaidType::Vor:
        f.kind = FeatureKind::Vor;
        break;
      case NavaidType::VorDme:
        f.kind = FeatureKind::VorDme;
        break;
      case NavaidType::Vortac:
        f.kind = FeatureKind::Vortac;
        break;
      case NavaidType::Ndb:
        f.kind = FeatureKind::Ndb;
        break;
      case NavaidType::Dme:
        f.kind = FeatureKind::Dme;
        break;
      case NavaidType::Fix:
        f.kind = FeatureKind::Fix;
        break;
    }
    if (!Shows(f.kind, view)) continue;
    f.ident = navaid.ident;
    f.name = navaid.name;
    f.position = navaid.position;
    f.xy = projection_.Forward(navaid.position);
    if (navaid.khz > 0)
      f.frequencies = FormatFrequency(navaid.khz) + (navaid.khz < 2000 ? " kHz" : " MHz");
    f.variation = navaid.slaved_variation.value_or(0.0);
    f.navaid = std::move(navaid);
    features.push_back(std::move(f));
  }
  const bool none = features.empty();
  features_ = std::make_shared<const std::vector<ChartFeature>>(std::move(features));
  if (none && data_->info().airports + data_->info().navaids > 0 &&
      data_->AirportsIn({-90, 90, -180, 180}, 1).empty() &&
      data_->NavaidsIn({-90, 90, -180, 180}, true, 1).empty()) {
    feature_messages_.push_back("Aviation data: the index holds no positions to draw.");
  }
}

int ChartScene::FeatureAt(const ChartView& view, double x, double y, double radius) const {
  const std::vector<ChartFeature>& features = *features_;
  int found = -1;
  double best = radius;
  for (std::size_t i = 0; i < features.size(); ++i) {
    if (!Shows(features[i].kind, view)) continue;
    const PixelPoint c = view.ToPixel(features[i].xy);
    const double d = std::hypot(c.x - x, c.y - y);
    // Airports before navaids at the same spot: they are what a pilot flies to.
    if (d < best || (d == best && found >= 0 && features[i].IsAirport() &&
                     !features[static_cast<std::size_t>(found)].IsAirport()))
      best = d, found = static_cast<int>(i);
  }
  return found;
}

ChartHit ChartScene::HitTest(const ChartView& view, double x, double y, double radius) const {
  const PixelPoint p{x, y};
  ChartHit hit;
  double best = radius;
  for (std::size_t i = 0; i < checkpoints_.size(); ++i) {
    const PixelPoint c = view.ToPixel(checkpoints_[i].xy);
    const double d = std::hypot(c.x - x, c.y - y);
    if (d <= best) best = d, hit = {ChartHit::Checkpoint, static_cast<int>(i)};
  }
  if (hit.kind != ChartHit::None) return hit;
  const int feature = FeatureAt(view, x, y, radius);
  if (feature >= 0) hit = {ChartHit::Feature, feature};
  if (hit.kind != ChartHit::None) return hit;
  best = radius;
  for (std::size_t i = 0; i < legs_.size(); ++i) {
    const std::vector<ProjectedPoint>& line = legs_[i].line;
    for (std::size_t k = 1; k < line.size(); ++k) {
      const double d = PixelDistanceToSegment(p, view.ToPixel(line[k - 1]), view.ToPixel(line[k]));
      if (d <= best) best = d, hit = {ChartHit::Leg, static_cast<int>(i)};
    }
  }
  return hit;
}

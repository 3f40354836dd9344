#include "data/export_places.h"

#include "geo/daylight.h"
#include "geo/geodesy.h"

namespace {

// A row placed by hand or by another program's database lies near, not on,
// the data's point; farther than this it is somewhere else of the same name.
constexpr double kSamePlaceNm = 3.0;

ExportKind KindOf(const Place& place) {
  if (place.kind == Place::Kind::Airport) return ExportKind::Airport;
  if (!place.navaid) return ExportKind::User;
  switch (place.navaid->type) {
    case NavaidType::Vor:
    case NavaidType::VorDme:
    case NavaidType::Vortac:
    case NavaidType::Dme:
      return ExportKind::Vor;
    case NavaidType::Ndb:
      return ExportKind::Ndb;
    case NavaidType::Fix:
      return ExportKind::Intersection;
  }
  return ExportKind::User;
}

}  // namespace

void ClassifyExportPoints(const AviationData& data, ExportRoute& route) {
  for (ExportPoint& point : route.points) {
    const std::size_t start = point.name.find_first_not_of(' ');
    if (start == std::string::npos) continue;
    const std::size_t end = point.name.find(' ', start);
    std::string word =
        point.name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    for (char& c : word) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    const std::optional<Place> place = data.ResolvePlace(word, point.position);
    if (!place || DistanceNm(place->position, point.position) > kSamePlaceNm) continue;
    point.ident = word;
    point.kind = KindOf(*place);
    if (place->navaid) point.country = place->navaid->region;
    if (place->airport && place->airport->elevation_ft && !point.elevation_ft)
      point.elevation_ft = static_cast<double>(*place->airport->elevation_ft);
  }
}

std::optional<GeoPosition> AirfieldPosition(const AviationData* data, const Plan& plan,
                                            const AirfieldInfo& field) {
  if (std::optional<GeoPosition> on_route = AirfieldPositionOnRoute(plan, field)) return on_route;
  const std::size_t start = field.name.find_first_not_of(' ');
  if (!data || start == std::string::npos) return std::nullopt;
  const std::vector<Airport> found =
      data->FindAirports(field.name.substr(start, field.name.find(' ', start) - start));
  if (found.empty()) return std::nullopt;
  return found.front().position;
}

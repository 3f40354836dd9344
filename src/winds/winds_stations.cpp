#include "winds/winds_stations.h"

#include <limits>
#include <optional>
#include <string>

#include "geo/geodesy.h"

namespace {

constexpr double kVorRangeNm = 300.0;

std::vector<GeoPosition> RoutePositions(const Plan& plan) {
  std::vector<GeoPosition> out;
  for (const Checkpoint& row : plan.route) {
    if (row.position) out.push_back(*row.position);
  }
  return out;
}

}  // namespace

StationLocator AviationStations(const AviationData& data, const Plan& plan) {
  const std::vector<GeoPosition> route = RoutePositions(plan);
  return [&data, route](const std::string& ident) -> std::optional<GeoPosition> {
    std::optional<GeoPosition> best;
    double best_nm = kVorRangeNm;
    for (const Navaid& navaid : data.FindNavaids(ident)) {
      if (!HasRadials(navaid.type) || navaid.ident != ident) continue;
      const double nm = DistanceToRouteNm(navaid.position, route);
      if (nm <= best_nm) {
        best = navaid.position;
        best_nm = nm;
      }
    }
    if (best) return best;
    best_nm = std::numeric_limits<double>::infinity();
    for (const char* prefix : {"K", "P"}) {
      const std::string code = prefix + ident;
      for (const Airport& airport : data.FindAirports(code)) {
        if (airport.ident != code && airport.icao_code != code) continue;
        const double nm = route.empty() ? 0.0 : DistanceToRouteNm(airport.position, route);
        if (!best || nm < best_nm) {
          best = airport.position;
          best_nm = nm;
        }
      }
    }
    return best;
  };
}

#include "data/aviation_fill.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "data/aviation_readers.h"
#include "geo/geodesy.h"
#include "plan/text_fields.h"
#include "routes/route_import.h"

namespace {

// Runway numbers as pilots write them in a list: "08L" is "8L".
std::string RunwayNumber(const std::string& end) {
  std::size_t zeros = 0;
  while (zeros + 1 < end.size() && end[zeros] == '0' &&
         std::isdigit(static_cast<unsigned char>(end[zeros + 1])))
    ++zeros;
  return end.substr(zeros);
}

const char* UseName(FrequencyUse use) {
  switch (use) {
    case FrequencyUse::Atis:
      return "ATIS";
    case FrequencyUse::Unicom:
      return "unicom";
    case FrequencyUse::Ctaf:
      return "CTAF";
    case FrequencyUse::Ground:
      return "ground";
    case FrequencyUse::Tower:
      return "tower";
    default:
      return "other";
  }
}

}  // namespace

std::string FormatFrequency(int64_t khz) {
  char text[32];
  if (khz < 2000) {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(khz));
    return text;
  }
  std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(khz / 1000),
                static_cast<long long>(khz % 1000));
  std::string out(text);
  while (out.size() > 2 && out.back() == '0' && out[out.size() - 2] != '.') out.pop_back();
  return out;
}

std::string AirportLabel(const Airport& airport) {
  const std::string& code = !airport.icao_code.empty()  ? airport.icao_code
                            : !airport.gps_code.empty() ? airport.gps_code
                                                        : airport.ident;
  return airport.name.empty() ? code : code + " " + airport.name;
}

AirfieldInfo AirfieldFromAirport(const Airport& airport, std::vector<std::string>& notes) {
  AirfieldInfo field;
  field.name = CutUtf8(AirportLabel(airport), kLongTextMax);
  if (airport.elevation_ft) {
    const int32_t elevation = *airport.elevation_ft;
    field.elevation = std::to_string(elevation);
    const double pattern = std::round((elevation + 1000) / 100.0) * 100.0;
    field.tpa = std::to_string(static_cast<int32_t>(pattern));
    notes.push_back(AirportLabel(airport) + ": the pattern altitude " + field.tpa +
                    " is a default (elevation + 1000 ft); no data source has it");
  }
  std::string runways;
  for (const Runway& runway : airport.runways) {
    if (runway.closed) continue;
    std::string pair = RunwayNumber(runway.end1);
    if (!runway.end2.empty()) pair += (pair.empty() ? "" : "/") + RunwayNumber(runway.end2);
    if (pair.empty()) continue;
    runways += (runways.empty() ? "" : ", ") + pair;
  }
  field.runways = CutUtf8(runways, kLongTextMax);

  // The first usable channel of each use; CTAF before unicom for the traffic cell.
  const auto first = [&](FrequencyUse use) -> std::string {
    for (const AirportFrequency& f : airport.frequencies) {
      if (f.use != use) continue;
      if (InComBand(f.khz)) return FormatFrequency(f.khz);
      notes.push_back(AirportLabel(airport) + ": the " + UseName(use) + " frequency " +
                      FormatFrequency(f.khz) +
                      " is outside the COM band (118.000-136.975) and was left out");
    }
    return std::string();
  };
  field.atc = first(FrequencyUse::Tower);
  field.atis = first(FrequencyUse::Atis);
  field.ground = first(FrequencyUse::Ground);
  field.unicom = first(FrequencyUse::Unicom);
  field.traffic = first(FrequencyUse::Ctaf);
  if (field.traffic.empty()) field.traffic = field.unicom;
  return field;
}

std::string VorCrossCheck(const AviationData& data, const GeoPosition& position) {
  const std::optional<Navaid> vor = data.NearestVor(position, kVorRangeNm);
  if (!vor || !vor->slaved_variation) return std::string();
  const Bearing bearing = BearingBetween(vor->position, position);
  const std::string frequency = FormatFrequency(vor->khz);
  if (bearing.distance_nm <= kAtVorNm) return frequency + "/ / " + vor->ident + "/ ";
  const int32_t radial = WholeDegrees(bearing.azimuth - *vor->slaved_variation);
  char text[8];
  std::snprintf(text, sizeof text, "%03d", static_cast<int>(radial));
  return CutUtf8(frequency + "/ " + text + "/ " + vor->ident + "/ From", kShortTextMax);
}

int FillVorCrossChecks(const AviationData& data, Plan& plan) {
  int filled = 0;
  for (std::size_t i = 1; i < plan.route.size(); ++i) {
    Checkpoint& row = plan.route[i];
    if (!row.position || !Trim(row.SubItem(kCellVor)).empty()) continue;
    const std::string text = VorCrossCheck(data, *row.position);
    if (text.empty()) continue;
    row.subitems.resize(kCellVor + 1);
    row.subitems[kCellVor] = text;
    ++filled;
  }
  return filled;
}

int FillNamedAirfields(const AviationData& data, Plan& plan, std::vector<std::string>& notes) {
  int filled = 0;
  for (AirfieldInfo& field : plan.airfields) {
    // The elevation a flight plan file brings with its airports does not
    // stop the rest being filled.
    bool only_name = true;
    for (int k = 2; k < kAirfieldColumns; ++k)
      only_name = only_name && Trim(AirfieldColumn(field, k)).empty();
    std::vector<std::string_view> words;
    SplitBlanks(field.name, words);
    if (!only_name || words.empty()) continue;
    std::vector<Airport> found = data.FindAirports(std::string(words[0]));
    if (found.empty()) continue;
    std::size_t best = 0;
    for (const Checkpoint& row : plan.route) {
      if (row.caption != field.name || !row.position) continue;
      double best_nm = -1.0;
      for (std::size_t i = 0; i < found.size(); ++i) {
        const double nm = BearingBetween(*row.position, found[i].position).distance_nm;
        if (best_nm < 0 || nm < best_nm) best = i, best_nm = nm;
      }
      break;
    }
    field = AirfieldFromAirport(found[best], notes);
    ++filled;
  }
  return filled;
}

bool ParseCoordinates(const std::string& token, GeoPosition& position) {
  const std::size_t comma = token.find(',');
  if (comma == std::string::npos) return false;
  GeoPosition p;
  if (!ParseDecimal(std::string_view(token).substr(0, comma), p.lat) ||
      !ParseDecimal(std::string_view(token).substr(comma + 1), p.lon) ||
      !ValidPosition(p.lat, p.lon))
    return false;
  position = p;
  return true;
}

std::vector<std::string> RouteTokens(const std::string& text) {
  std::vector<std::string_view> views;
  SplitBlanks(text, views);
  return std::vector<std::string>(views.begin(), views.end());
}

bool BuildPlanFromIdents(const AviationData& data, const std::vector<std::string>& tokens,
                         const MagneticModel& model, double year, Plan& plan,
                         std::vector<std::string>& notes, std::string& error) {
  Route route;
  std::vector<Airport> airports;
  std::optional<GeoPosition> previous;
  for (const std::string& token : tokens) {
    RouteWaypoint point;
    point.name = token;
    if (!ParseCoordinates(token, point.position)) {
      const std::optional<Place> place = data.ResolvePlace(token, previous);
      if (!place) {
        error = token + ": no airport, navaid or fix of this name in " + data.info().folder;
        return false;
      }
      point.name = Upper(token);
      point.position = place->position;
      point.airport = place->kind == Place::Kind::Airport;
      if (place->airport) {
        const auto same = [&](const Airport& a) { return a.ident == place->airport->ident; };
        if (std::find_if(airports.begin(), airports.end(), same) == airports.end())
          airports.push_back(*place->airport);
      }
    }
    previous = point.position;
    route.points.push_back(std::move(point));
  }
  Plan built = plan;
  if (!RouteToPlan(route, model, year, built, error)) return false;
  built.airfields.clear();
  for (const Airport& airport : airports)
    built.airfields.push_back(AirfieldFromAirport(airport, notes));
  plan.title = std::move(built.title);
  plan.route = std::move(built.route);
  plan.airfields = std::move(built.airfields);
  return true;
}

bool ResolveAlternate(const AviationData& data, Plan& plan, std::string& warning) {
  Performance& perf = plan.performance;
  if (perf.alternate.empty() || (perf.alternatedist && perf.alternatetc)) return true;
  if (plan.route.size() < 2) return true;
  const Checkpoint& last = plan.route.back();
  std::optional<GeoPosition> destination = last.position;
  if (!destination) {
    const std::string word = last.caption.substr(0, last.caption.find(' '));
    if (const auto place = data.ResolvePlace(word, std::nullopt)) destination = place->position;
  }
  if (!destination) {
    warning = "[performance] alternate=" + perf.alternate + ": the destination " + last.caption +
              " has no position to measure from";
    return false;
  }
  std::optional<GeoPosition> alternate;
  if (const auto place = data.ResolvePlace(perf.alternate, destination)) {
    alternate = place->position;
  } else {
    const auto named = data.FindAirportsByName(perf.alternate, 1);
    if (!named.empty()) alternate = named.front().position;
  }
  if (!alternate) {
    warning = "[performance] alternate=" + perf.alternate +
              " refused: found nowhere in the aviation data";
    return false;
  }
  const Bearing bearing = BearingBetween(*destination, *alternate);
  perf.alternatedist = std::round(bearing.distance_nm);
  perf.alternatetc = WholeDegrees(bearing.azimuth);
  return true;
}

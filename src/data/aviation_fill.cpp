#include "data/aviation_fill.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "geo/geodesy.h"
#include "geo/position_text.h"
#include "plan/route_row.h"
#include "plan/text_fields.h"
#include "routes/route_import.h"

namespace {

// Runway numbers as pilots write them in a list: "08L" is "8L". An end the
// data leaves as a placeholder ("xxx") is no number at all.
std::string RunwayNumber(const std::string& end) {
  if (!end.empty() && end.find_first_not_of("xX") == std::string::npos) return std::string();
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

void OrderForChoice(std::vector<Airport>& airports, const std::vector<GeoPosition>& route) {
  std::vector<std::pair<double, std::size_t>> keys;
  for (std::size_t i = 0; i < airports.size(); ++i)
    keys.emplace_back(route.empty() ? 0.0 : DistanceToRouteNm(airports[i].position, route), i);
  std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
    const auto kind_a = airports[a.second].kind, kind_b = airports[b.second].kind;
    if (kind_a != kind_b) return kind_a < kind_b;
    return a.first < b.first;
  });
  std::vector<Airport> ordered;
  ordered.reserve(airports.size());
  for (const auto& key : keys) ordered.push_back(std::move(airports[key.second]));
  airports = std::move(ordered);
}

bool AddAirfieldOf(Plan& plan, const Airport& airport, std::vector<std::string>& notes) {
  std::vector<std::string> said;
  AirfieldInfo field = AirfieldFromAirport(airport, said);
  for (const AirfieldInfo& known : plan.airfields)
    if (known.name == field.name) return false;
  plan.airfields.push_back(std::move(field));
  notes.insert(notes.end(), said.begin(), said.end());
  return true;
}

const char* AirportKindName(AirportKind kind) {
  switch (kind) {
    case AirportKind::Heliport:
      return "heliport";
    case AirportKind::SeaplaneBase:
      return "seaplane base";
    case AirportKind::Closed:
      return "closed";
    default:
      return "";
  }
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
    const std::string other = RunwayNumber(runway.end2);
    if (!other.empty()) pair += (pair.empty() ? "" : "/") + other;
    if (pair.empty()) continue;
    runways += (runways.empty() ? "" : ", ") + pair;
  }
  field.runways = CutUtf8(runways, kLongTextMax);

  // The first usable channel of each use.
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
  // At a towered field the traffic frequency is the tower's.
  field.traffic = first(FrequencyUse::Ctaf);
  if (field.traffic.empty()) field.traffic = field.atc;
  if (field.traffic.empty()) field.traffic = field.unicom;
  return field;
}

std::string VorCrossCheck(const AviationData& data, const GeoPosition& position,
                          const MagneticModel* model, std::vector<std::string>* notes) {
  const std::optional<Navaid> vor = data.NearestVor(position, kVorRangeNm);
  if (!vor) return std::string();
  std::optional<double> variation = vor->slaved_variation;
  std::string note;
  const auto side = [](double east) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%s", std::fabs(east), east < 0 ? "W" : "E");
    return std::string(text);
  };
  if (!variation && vor->station_variation) {
    variation = vor->station_variation;
    note = "the station's magnetic variation " + side(*variation);
  } else if (!variation && model != nullptr) {
    const CivilDate date = data.info().date.value_or(Today());
    variation = model->Declination(vor->position.lat, vor->position.lon, 0.0, DecimalYear(date));
    note = "the magnetic model's variation " + side(*variation) + " at the station on " +
           FormatCivilDate(date);
  }
  if (!variation) return std::string();
  const Bearing bearing = BearingBetween(vor->position, position);
  const std::string frequency = FormatFrequency(vor->khz);
  if (bearing.distance_nm <= kAtVorNm) return frequency + "/ / " + vor->ident + "/ ";
  if (notes && !note.empty())
    notes->push_back(vor->ident +
                     ": the data gives no slaved variation; its radials are reckoned with " + note);
  const int32_t radial = WholeDegrees(bearing.azimuth - *variation);
  char text[8];
  std::snprintf(text, sizeof text, "%03d", static_cast<int>(radial));
  return CutUtf8(frequency + "/ " + text + "/ " + vor->ident + "/ From", kShortTextMax);
}

int FillVorCrossChecks(const AviationData& data, Plan& plan, const MagneticModel* model,
                       std::vector<std::string>* notes) {
  int filled = 0;
  for (std::size_t i = 1; i < plan.route.size(); ++i) {
    Checkpoint& row = plan.route[i];
    if (!row.position || !Trim(ReadRow(row).vor).empty()) continue;
    std::vector<std::string> said;
    const std::string text = VorCrossCheck(data, *row.position, model, &said);
    if (text.empty()) continue;
    row = RowBuilder(row).vor(text).Build();
    ++filled;
    // One note per station, however many checkpoints use it.
    if (notes)
      for (const std::string& note : said)
        if (std::find(notes->begin(), notes->end(), note) == notes->end()) notes->push_back(note);
  }
  return filled;
}

bool IsFilledVorText(const AviationData& data, const std::string& text, const GeoPosition& at,
                     const MagneticModel* model) {
  return !Trim(text).empty() && text == VorCrossCheck(data, at, model);
}

bool FollowVorCrossCheck(const AviationData& data, Plan& plan, int row,
                         const std::optional<GeoPosition>& was, const MagneticModel* model) {
  if (row <= 0 || row >= static_cast<int>(plan.route.size()) || !was) return false;
  Checkpoint& moved = plan.route[static_cast<std::size_t>(row)];
  const std::string vor = ReadRow(moved).vor;
  if (!moved.position || !IsFilledVorText(data, vor, *was, model)) return false;
  const std::string text = VorCrossCheck(data, *moved.position, model);
  if (text == vor) return false;
  moved = RowBuilder(std::move(moved)).vor(text).Build();
  return true;
}

std::vector<int> StaleVorCrossChecks(const AviationData& data, const Plan& plan,
                                     const MagneticModel* model) {
  std::vector<int> stale;
  for (std::size_t i = 1; i < plan.route.size(); ++i) {
    const Checkpoint& row = plan.route[i];
    const std::string text = ReadRow(row).vor;
    if (!row.position || Trim(text).empty() || text == VorCrossCheck(data, *row.position, model))
      continue;
    VorTokenizer fields(text);
    const std::string frequency = fields.NextToken();
    const std::string radial = fields.NextToken();
    const std::string ident = fields.NextToken();
    const std::string to_from = fields.NextToken();
    if (to_from != "From" && !(to_from.empty() && radial.empty())) continue;
    // The fill's own wording of a VOR of the data not too far to have filled it.
    bool filled = false;
    for (const Navaid& vor : data.FindNavaids(ident)) {
      if (!HasRadials(vor.type) || FormatFrequency(vor.khz) != frequency) continue;
      if (BearingBetween(vor.position, *row.position).distance_nm <= 2 * kVorRangeNm) filled = true;
    }
    if (filled) stale.push_back(static_cast<int>(i));
  }
  return stale;
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
  std::string why;
  return ParsePositionText(token, position, why) == PositionText::Position;
}

std::vector<std::string> RouteTokens(const std::string& text) {
  std::vector<std::string_view> views;
  SplitBlanks(text, views);
  return std::vector<std::string>(views.begin(), views.end());
}

std::string PlaceLabel(const Place& place) {
  char where[64];
  std::snprintf(where, sizeof where, " (%.3f, %.3f)", place.position.lat, place.position.lon);
  const std::string kind = place.kind == Place::Kind::Airport ? "airport"
                           : place.navaid                     ? NavaidTypeName(place.navaid->type)
                                                              : "fix";
  return place.ident + " " + kind + (place.name.empty() ? "" : " " + place.name) + where;
}

namespace {

std::size_t NearestPlace(const std::vector<Place>& places, const GeoPosition& near) {
  std::size_t best = 0;
  double best_nm = -1.0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    const double nm = BearingBetween(near, places[i].position).distance_nm;
    if (best_nm < 0 || nm < best_nm) best = i, best_nm = nm;
  }
  return best;
}

}  // namespace

bool BuildPlanFromIdents(const AviationData& data, const std::vector<std::string>& tokens,
                         const MagneticModel& model, double year, Plan& plan,
                         std::vector<std::string>& notes, std::string& error) {
  // An ident that names several places is placed by its neighbours: the
  // checkpoint before it, else the next one that is placed. Idents placed
  // one way or another first, so that "SJC KPAO" takes the SJC beside Palo
  // Alto rather than the first SJC of the data.
  const std::size_t n = tokens.size();
  std::vector<std::vector<Place>> candidates(n);
  std::vector<std::optional<GeoPosition>> placed(n);
  std::vector<int> chosen(n, -1);
  for (std::size_t i = 0; i < n; ++i) {
    GeoPosition position;
    std::string why;
    switch (ParsePositionText(tokens[i], position, why)) {
      case PositionText::Position:
        placed[i] = position;
        continue;
      case PositionText::OutOfRange:
        error = tokens[i] + ": " + why;
        return false;
      case PositionText::NotAPosition:
        break;
    }
    candidates[i] = data.FindPlaces(tokens[i]);
    if (candidates[i].empty()) {
      error = tokens[i] + ": no airport, navaid or fix of this name in " + data.info().folder;
      return false;
    }
    if (candidates[i].size() == 1) placed[i] = candidates[i][0].position, chosen[i] = 0;
  }
  for (bool progress = true; progress;) {
    progress = false;
    for (std::size_t i = 0; i < n; ++i) {
      if (placed[i]) continue;
      std::optional<GeoPosition> near;
      if (i > 0 && placed[i - 1]) {
        near = placed[i - 1];
      } else {
        for (std::size_t j = i + 1; j < n && !near; ++j) near = placed[j];
      }
      if (!near) continue;
      chosen[i] = static_cast<int>(NearestPlace(candidates[i], *near));
      placed[i] = candidates[i][static_cast<std::size_t>(chosen[i])].position;
      progress = true;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (placed[i]) continue;
    // Nothing on the route tells where this ident lies: the first place of
    // the data, and the pilot told which others there are.
    chosen[i] = 0;
    placed[i] = candidates[i][0].position;
    std::string others;
    for (std::size_t k = 1; k < candidates[i].size(); ++k)
      others += (others.empty() ? "" : "; ") + PlaceLabel(candidates[i][k]);
    notes.push_back(tokens[i] + " names " + std::to_string(candidates[i].size()) +
                    " places and no other checkpoint tells which: took " +
                    PlaceLabel(candidates[i][0]) + "; the others: " + others);
  }

  Route route;
  std::vector<Airport> airports;
  for (std::size_t i = 0; i < n; ++i) {
    RouteWaypoint point;
    point.name = tokens[i];
    point.position = *placed[i];
    if (chosen[i] >= 0) {
      const Place& place = candidates[i][static_cast<std::size_t>(chosen[i])];
      point.name = Upper(tokens[i]);
      point.airport = place.kind == Place::Kind::Airport;
      if (place.airport) {
        const auto same = [&](const Airport& a) { return a.ident == place.airport->ident; };
        if (std::find_if(airports.begin(), airports.end(), same) == airports.end())
          airports.push_back(*place.airport);
      }
    }
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

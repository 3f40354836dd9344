#include "winds/winds_fb.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <map>

#include "geo/geodesy.h"

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr double kStationRadiusNm = 150.0;
constexpr std::size_t kStationsWeighted = 3;
// Closer than this the station's own values are taken, without weighting.
constexpr double kOnStationNm = 0.01;

struct Token {
  std::string text;
  std::size_t first = 0;  // column of the first character
  std::size_t last = 0;   // column of the last character
};

// Tabs expanded to the next multiple of eight, so that columns line up as
// they do on a teleprinter; the no-break spaces of text copied from a web
// page are one column each.
std::string ExpandTabs(const std::string& line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      do out += ' ';
      while (out.size() % 8 != 0);
    } else if (c == '\xC2' && i + 1 < line.size() && line[i + 1] == '\xA0') {
      out += ' ';
      ++i;
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

std::vector<Token> Tokens(const std::string& line) {
  std::vector<Token> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    Token token;
    token.first = i;
    while (i < line.size() && line[i] != ' ') token.text += line[i++];
    token.last = i - 1;
    out.push_back(token);
  }
  return out;
}

bool AllDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool LooksLikeIdent(const std::string& text) {
  if (text.size() < 3 || text.size() > 4) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// "2000" as minutes after midnight.
bool ParseHhmm(const std::string& text, int& minutes) {
  if (text.size() != 4 || !AllDigits(text)) return false;
  const int hours = std::stoi(text.substr(0, 2));
  const int mins = std::stoi(text.substr(2, 2));
  if (hours > 24 || mins > 59 || (hours == 24 && mins != 0)) return false;
  minutes = (hours * 60 + mins) % kMinutesPerDay;
  return true;
}

// "VALID 040000Z   FOR USE 2000-0300Z. TEMPS NEG ABV 24000"
bool ParseValidLine(const std::string& line, FbBulletin& bulletin) {
  const std::vector<Token> tokens = Tokens(line);
  if (tokens.size() < 2) return false;
  bulletin.valid = tokens[1].text;
  const std::size_t use = line.find("FOR USE");
  if (use == std::string::npos) return false;
  char from[5] = {};
  char to[5] = {};
  if (std::sscanf(line.c_str() + use, "FOR USE %4[0-9]-%4[0-9]", from, to) != 2) return false;
  if (!ParseHhmm(from, bulletin.use_from) || !ParseHhmm(to, bulletin.use_to)) return false;
  const std::size_t abv = line.find("NEG ABV");
  if (abv != std::string::npos) {
    int level = 0;
    if (std::sscanf(line.c_str() + abv, "NEG ABV %d", &level) == 1) {
      bulletin.temps_negative_above = level;
    }
  }
  return true;
}

std::string LineError(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

// The station line's groups under the level line's columns: a group belongs
// to the level whose number ends at or after the group's last column and
// after the previous level's.
bool DecodeStation(const std::vector<Token>& tokens, const FbBulletin& bulletin,
                   const std::vector<std::size_t>& level_ends, int line, FbStation& station,
                   std::string& error) {
  station.ident = tokens[0].text;
  station.line = line;
  station.groups.assign(bulletin.levels.size(), FbGroup{});
  std::vector<bool> taken(bulletin.levels.size(), false);
  for (std::size_t t = 1; t < tokens.size(); ++t) {
    const Token& token = tokens[t];
    std::size_t k = 0;
    while (k < level_ends.size() && token.last > level_ends[k]) ++k;
    if (k == level_ends.size() || taken[k]) {
      error = LineError(line, "group " + token.text + " stands under no level of the FT line");
      return false;
    }
    taken[k] = true;
    if (!DecodeFbGroup(token.text, bulletin.levels[k], bulletin.temps_negative_above,
                       station.groups[k])) {
      error = LineError(line, "group " + token.text + " fits no wind group form");
      return false;
    }
  }
  return true;
}

std::string FormatTime(double minutes) {
  long m = std::lround(minutes);
  m = ((m % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
  char text[8];
  std::snprintf(text, sizeof text, "%02ld%02ldZ", m / 60, m % 60);
  return text;
}

}  // namespace

bool DecodeFbGroup(const std::string& group, int level_ft, int negative_above, FbGroup& out) {
  out = FbGroup{};
  if (group.size() < 4 || !AllDigits(group.substr(0, 4))) return false;
  const int dd = std::stoi(group.substr(0, 2));
  const int ff = std::stoi(group.substr(2, 2));
  out.blank = false;
  if (dd == 99) {
    if (ff != 0) return false;
    out.calm = true;
  } else if (dd >= 51 && dd <= 86) {
    out.direction = (dd - 50) * 10;
    out.speed = ff + 100;
  } else if (dd >= 1 && dd <= 36) {
    out.direction = dd * 10;
    out.speed = ff;
  } else {
    return false;
  }
  const std::string temp = group.substr(4);
  if (temp.empty()) return level_ft <= negative_above;
  if (temp.size() == 3 && (temp[0] == '+' || temp[0] == '-') && AllDigits(temp.substr(1))) {
    out.has_temp = true;
    out.temp = std::stoi(temp.substr(1)) * (temp[0] == '-' ? -1 : 1);
    return true;
  }
  if (temp.size() == 2 && AllDigits(temp) && level_ft > negative_above) {
    out.has_temp = true;
    out.temp = -std::stoi(temp);
    return true;
  }
  return false;
}

FbDecodeResult DecodeFb(const std::string& text) {
  FbDecodeResult result;
  FbBulletin header;
  bool have_header = false;
  bool in_stations = false;
  std::vector<std::size_t> level_ends;
  std::size_t start = 0;
  int line_number = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = ExpandTabs(text.substr(start, end - start));
    start = end + 1;
    ++line_number;
    const std::vector<Token> tokens = Tokens(line);
    if (tokens.empty()) continue;
    const std::string& first = tokens[0].text;
    if (first == "VALID") {
      header = FbBulletin{};
      if (!ParseValidLine(line, header)) {
        result.error = LineError(line_number, "the VALID line needs FOR USE hhmm-hhmmZ");
        return result;
      }
      have_header = true;
      in_stations = false;
    } else if (first == "DATA") {
      in_stations = false;
    } else if (first == "FT") {
      if (!have_header) {
        result.error = LineError(line_number, "a level line without a VALID line before it");
        return result;
      }
      FbBulletin bulletin = header;
      level_ends.clear();
      for (std::size_t t = 1; t < tokens.size(); ++t) {
        if (!AllDigits(tokens[t].text) || tokens[t].text.size() > 6) {
          result.error = LineError(line_number, "level " + tokens[t].text + " is not in feet");
          return result;
        }
        bulletin.levels.push_back(std::stoi(tokens[t].text));
        level_ends.push_back(tokens[t].last);
      }
      result.bulletins.push_back(bulletin);
      have_header = false;
      in_stations = !bulletin.levels.empty();
    } else if (in_stations && LooksLikeIdent(first) && tokens.size() > 1) {
      FbStation station;
      if (!DecodeStation(tokens, result.bulletins.back(), level_ends, line_number, station,
                         result.error)) {
        result.bulletins.clear();
        return result;
      }
      result.bulletins.back().stations.push_back(station);
    } else {
      in_stations = false;
    }
  }
  if (result.bulletins.empty()) {
    result.error = "no winds aloft bulletin: no FT line with its levels";
    return result;
  }
  result.ok = true;
  return result;
}

FbForecast::FbForecast(std::vector<FbBulletin> bulletins, const StationLocator& locate) {
  std::map<std::string, std::optional<GeoPosition>> placed;
  for (const FbBulletin& bulletin : bulletins) {
    Period period;
    period.valid = bulletin.valid;
    period.from = bulletin.use_from;
    period.to =
        bulletin.use_to > bulletin.use_from ? bulletin.use_to : bulletin.use_to + kMinutesPerDay;
    for (const FbStation& station : bulletin.stations) {
      auto found = placed.find(station.ident);
      if (found == placed.end()) {
        found = placed.emplace(station.ident, locate ? locate(station.ident) : std::nullopt).first;
        if (!found->second) warnings_.push_back("station " + station.ident + " cannot be placed");
      }
      if (!found->second) continue;
      Placed entry{station.ident, *found->second, {}};
      for (std::size_t k = 0; k < station.groups.size(); ++k) {
        const FbGroup& group = station.groups[k];
        if (group.blank) continue;
        LevelSample level;
        level.height_ft = bulletin.levels[k];
        level.value = WindFrom(group.direction, group.calm ? 0.0 : group.speed);
        level.value.has_temp = group.has_temp;
        level.value.temp = group.temp;
        entry.profile.push_back(level);
      }
      std::sort(
          entry.profile.begin(), entry.profile.end(),
          [](const LevelSample& a, const LevelSample& b) { return a.height_ft < b.height_ft; });
      period.stations.push_back(std::move(entry));
    }
    periods_.push_back(std::move(period));
  }
}

double FbForecast::Departure(std::optional<int> hhmm_minutes) const {
  if (hhmm_minutes) return *hhmm_minutes;
  return periods_.empty() ? 0.0 : periods_.front().from;
}

// Periods repeat daily: a leg flown past midnight is still in a period that
// crosses it.
const FbForecast::Period* FbForecast::PeriodAt(double time, bool& inside) const {
  const Period* nearest = nullptr;
  double best = 0.0;
  for (const Period& period : periods_) {
    for (int day = -1; day <= 1; ++day) {
      const double from = period.from + day * kMinutesPerDay;
      const double to = period.to + day * kMinutesPerDay;
      const double off = time < from ? from - time : (time >= to ? time - to : 0.0);
      if (nearest == nullptr || off < best) {
        nearest = &period;
        best = off;
      }
    }
  }
  inside = nearest != nullptr && best == 0.0;
  return nearest;
}

WindSample FbForecast::At(const GeoPosition& where, double alt_ft, double time) const {
  WindSample sample;
  bool inside = false;
  const Period* period = PeriodAt(time, inside);
  if (period == nullptr) {
    sample.reason = "the bulletin has no stations";
    return sample;
  }
  sample.time = period->valid;
  if (!inside) {
    sample.warning = "no bulletin is for use at " + FormatTime(time) + "; the nearest, valid " +
                     period->valid + ", is used";
  }
  std::vector<std::pair<double, const Placed*>> near;
  for (const Placed& station : period->stations) {
    const double distance = DistanceNm(where, station.position);
    if (distance <= kStationRadiusNm) near.emplace_back(distance, &station);
  }
  if (near.empty()) {
    sample.reason = "no station within 150 NM";
    return sample;
  }
  std::sort(near.begin(), near.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  if (near.size() > kStationsWeighted) near.resize(kStationsWeighted);
  if (near.front().first < kOnStationNm) near.resize(1);
  double wind_weight = 0.0;
  double temp_weight = 0.0;
  WindValue sum;
  for (const auto& [distance, station] : near) {
    const double weight = near.size() == 1 ? 1.0 : 1.0 / (distance * distance);
    const WindValue value = InterpolateVertically(station->profile, alt_ft);
    if (value.has_wind) {
      sum.u += value.u * weight;
      sum.v += value.v * weight;
      wind_weight += weight;
    }
    if (value.has_temp) {
      sum.temp += value.temp * weight;
      temp_weight += weight;
    }
    if (!sample.source.empty()) sample.source += ", ";
    sample.source += station->ident + " " + std::to_string(std::lround(distance)) + " NM";
  }
  sample.found = true;
  sample.value.has_wind = wind_weight > 0.0;
  if (sample.value.has_wind) {
    sample.value.u = sum.u / wind_weight;
    sample.value.v = sum.v / wind_weight;
  }
  sample.value.has_temp = temp_weight > 0.0;
  if (sample.value.has_temp) sample.value.temp = sum.temp / temp_weight;
  return sample;
}

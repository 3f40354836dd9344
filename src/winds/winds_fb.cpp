#include "winds/winds_fb.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <map>
#include <set>

#include "geo/geodesy.h"

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr double kStationRadiusNm = 150.0;
constexpr std::size_t kStationsWeighted = 3;
// Closer than this the station's own values are taken, without weighting.
constexpr double kOnStationNm = 0.01;
// A bulletin has nine to a dozen levels and a day's set a few thousand
// stations; the text is not trusted with more.
constexpr std::size_t kMaxLevels = 32;
constexpr std::size_t kMaxStations = 20000;
constexpr long kMaxLevelFt = 99999;

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

// The cells of a line copied from a table, where a tab stands between
// columns instead of spaces lining them up; trimmed, empty for an empty cell.
std::vector<std::string> TabCells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    std::string cell =
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    const std::size_t first = cell.find_first_not_of(" \r");
    const std::size_t last = cell.find_last_not_of(" \r");
    cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    if (tab == std::string::npos) return cells;
    start = tab + 1;
  }
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

// "VALID 040000Z   FOR USE 2000-0300Z. TEMPS NEG ABV 24000"; what is wrong
// with it, or empty.
std::string ParseValidLine(const std::string& line, FbBulletin& bulletin) {
  const char kNeedsPeriod[] = "the VALID line needs FOR USE hhmm-hhmmZ";
  const std::vector<Token> tokens = Tokens(line);
  if (tokens.size() < 2) return kNeedsPeriod;
  bulletin.valid = tokens[1].text;
  const std::size_t use = line.find("FOR USE");
  if (use == std::string::npos) return kNeedsPeriod;
  char from[5] = {};
  char to[5] = {};
  if (std::sscanf(line.c_str() + use, "FOR USE %4[0-9]-%4[0-9]", from, to) != 2)
    return kNeedsPeriod;
  if (!ParseHhmm(from, bulletin.use_from) || !ParseHhmm(to, bulletin.use_to)) return kNeedsPeriod;
  const std::size_t abv = line.find("NEG ABV");
  if (abv != std::string::npos) {
    std::size_t at = abv + 7;
    while (at < line.size() && line[at] == ' ') ++at;
    std::string number;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') number += line[at++];
    // Seven digits already say more than any level.
    if (!number.empty() && (number.size() > 7 || std::stol(number) > kMaxLevelFt)) {
      return "TEMPS NEG ABV " + number + " is not a level in feet";
    }
    if (!number.empty()) bulletin.temps_negative_above = std::stoi(number);
  }
  return {};
}

std::string LineError(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

// One wrong line refuses the whole text: a bulletin read in part would
// give winds from the wrong columns without a word.
FbDecodeResult& Refuse(FbDecodeResult& result, int line, const std::string& what) {
  result.error = LineError(line, what);
  result.report.Error(what, static_cast<std::size_t>(line));
  result.bulletins.clear();
  return result;
}

// The station line's groups under the level line's columns: a group belongs
// to the level whose number ends at or after the group's last column and
// after the previous level's.
bool DecodeStation(const std::vector<Token>& tokens, const FbBulletin& bulletin,
                   const std::vector<std::size_t>& level_ends, bool tabs, FbStation& station,
                   std::string& error) {
  station.ident = tokens[0].text;
  station.groups.clear();
  for (std::size_t t = 1; t < tokens.size(); ++t) {
    const Token& token = tokens[t];
    const std::size_t k = static_cast<std::size_t>(
        std::lower_bound(level_ends.begin(), level_ends.end(), token.last) - level_ends.begin());
    // Tokens run left to right, so a level already taken is the last one.
    if (k == level_ends.size() || (!station.groups.empty() && station.groups.back().level >= k)) {
      error = "group " + token.text + " stands under no level of the FT line";
      if (tabs) error += " (the text has tabs, which may have moved it off its column)";
      return false;
    }
    FbGroup group;
    if (!DecodeFbGroup(token.text, bulletin.levels[k], bulletin.temps_negative_above, group)) {
      error = "group " + token.text + " fits no wind group form";
      return false;
    }
    group.level = k;
    station.groups.push_back(group);
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

FbGroup FbStation::Group(std::size_t level) const {
  const auto found = std::lower_bound(groups.begin(), groups.end(), level,
                                      [](const FbGroup& g, std::size_t k) { return g.level < k; });
  if (found != groups.end() && found->level == level) return *found;
  FbGroup blank;
  blank.level = level;
  return blank;
}

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
  bool level_tabs = false;
  bool level_table = false;      // the level line's levels are cells between tabs
  std::set<std::string> idents;  // of the bulletin being read
  std::size_t stations = 0;
  std::size_t start = 0;
  int line_number = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const bool tabs = text.find('\t', start) < end;
    const std::string raw = text.substr(start, end - start);
    const std::string line = ExpandTabs(raw);
    start = end + 1;
    ++line_number;
    std::vector<Token> tokens = Tokens(line);
    // A station line of a bulletin copied from a table: its k-th cell is
    // the k-th level's, whatever the tab stops make of the columns.
    if (in_stations && level_table && tabs && !tokens.empty() && LooksLikeIdent(tokens[0].text)) {
      const std::vector<std::string> cells = TabCells(raw);
      tokens.resize(1);
      for (std::size_t k = 1; k < cells.size(); ++k) {
        if (cells[k].empty()) continue;
        const std::size_t column =
            k - 1 < level_ends.size() ? level_ends[k - 1] : std::string::npos;
        tokens.push_back(Token{cells[k], column, column});
      }
    }
    if (tokens.empty()) continue;
    const std::string& first = tokens[0].text;
    if (first == "VALID") {
      header = FbBulletin{};
      const std::string why = ParseValidLine(line, header);
      if (!why.empty()) {
        return Refuse(result, line_number, why);
      }
      have_header = true;
      in_stations = false;
    } else if (first == "DATA") {
      in_stations = false;
    } else if (first == "FT") {
      if (!have_header) {
        return Refuse(result, line_number, "a level line without a VALID line before it");
        return result;
      }
      FbBulletin bulletin = header;
      level_ends.clear();
      level_tabs = tabs;
      idents.clear();
      const std::vector<std::string> cells = TabCells(raw);
      level_table = tabs && std::none_of(cells.begin(), cells.end(),
                                         [](const std::string& c) { return c.empty(); });
      if (tokens.size() - 1 > kMaxLevels) {
        return Refuse(result, line_number,
                      "more than " + std::to_string(kMaxLevels) + " levels on the FT line");
      }
      for (std::size_t t = 1; t < tokens.size(); ++t) {
        if (!AllDigits(tokens[t].text) || tokens[t].text.size() > 6 ||
            std::stol(tokens[t].text) > kMaxLevelFt) {
          return Refuse(result, line_number, "level " + tokens[t].text + " is not in feet");
        }
        const int level = std::stoi(tokens[t].text);
        if (std::find(bulletin.levels.begin(), bulletin.levels.end(), level) !=
            bulletin.levels.end()) {
          return Refuse(result, line_number, "level " + tokens[t].text + " is listed twice");
        }
        bulletin.levels.push_back(level);
        level_ends.push_back(tokens[t].last);
      }
      result.bulletins.push_back(bulletin);
      have_header = false;
      in_stations = !bulletin.levels.empty();
    } else if (in_stations && LooksLikeIdent(first) && tokens.size() > 1) {
      if (++stations > kMaxStations) {
        return Refuse(
            result, line_number,
            "more than " + std::to_string(kMaxStations) + " stations; not a winds aloft bulletin");
      }
      FbStation station;
      std::string why;
      if (!DecodeStation(tokens, result.bulletins.back(), level_ends, tabs || level_tabs, station,
                         why)) {
        return Refuse(result, line_number, why);
      }
      station.line = line_number;
      // Two lines for one station would be averaged as two stations at one
      // place: the second is most likely a paste gone wrong.
      if (!idents.insert(station.ident).second) {
        result.report.Warning("station " + station.ident + " is listed twice; the first is used",
                              static_cast<std::size_t>(line_number));
        continue;
      }
      result.bulletins.back().stations.push_back(std::move(station));
    } else {
      in_stations = false;
    }
  }
  if (result.bulletins.empty()) {
    result.error = "no winds aloft bulletin: no FT line with its levels";
    result.report.Error(result.error);
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
        if (!found->second) unplaced_.push_back(station.ident);
      }
      if (!found->second) continue;
      Placed entry{station.ident, *found->second, {}};
      for (const FbGroup& group : station.groups) {
        if (group.blank || group.level >= bulletin.levels.size()) continue;
        LevelSample level;
        level.height_ft = bulletin.levels[group.level];
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

std::vector<std::string> FbForecast::warnings() const {
  // A handful are named one by one; a country's worth in one line.
  constexpr std::size_t kNamed = 5;
  std::vector<std::string> out;
  if (unplaced_.size() <= kNamed) {
    for (const std::string& ident : unplaced_)
      out.push_back("station " + ident + " cannot be placed");
    return out;
  }
  std::string line = std::to_string(unplaced_.size()) + " stations cannot be placed: ";
  for (std::size_t n = 0; n < kNamed; ++n) line += unplaced_[n] + ", ";
  line.resize(line.size() - 2);
  line += " and " + std::to_string(unplaced_.size() - kNamed) + " more";
  out.push_back(line);
  return out;
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

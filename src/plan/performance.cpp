#include "plan/performance.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "plan/cnumbers.h"

namespace {

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

bool Numbers(const std::vector<std::string>& words, std::size_t first, std::size_t count,
             double* out) {
  for (std::size_t k = 0; k < count; ++k) {
    if (!ParseNumber(words[first + k], out[k])) return false;
  }
  return true;
}

// One cumulative point of the table, with the sea-level origin the handbook
// tables start from when the first row is above it.
std::vector<ClimbRow> TablePoints(const std::vector<ClimbRow>& rows) {
  std::vector<ClimbRow> points;
  if (rows.empty() || rows.front().alt_ft > 0.0) points.push_back(ClimbRow{});
  points.insert(points.end(), rows.begin(), rows.end());
  return points;
}

ClimbRow Interpolate(const ClimbRow& a, const ClimbRow& b, double alt) {
  const double span = b.alt_ft - a.alt_ft;
  const double f = span > 0.0 ? (alt - a.alt_ft) / span : 0.0;
  return ClimbRow{alt, a.minutes + f * (b.minutes - a.minutes),
                  a.gallons + f * (b.gallons - a.gallons), a.nm + f * (b.nm - a.nm)};
}

// The table's cumulative figures at `alt`; `above` when beyond its last row.
ClimbRow TableAt(const std::vector<ClimbRow>& points, double alt, bool& above) {
  above = false;
  if (points.size() == 1 || alt <= points.front().alt_ft)
    return ClimbRow{alt, points.front().minutes, points.front().gallons, points.front().nm};
  for (std::size_t k = 1; k < points.size(); ++k) {
    if (alt <= points[k].alt_ft) return Interpolate(points[k - 1], points[k], alt);
  }
  above = true;
  return Interpolate(points[points.size() - 2], points.back(), alt);
}

}  // namespace

bool Performance::IsSet() const {
  return !climb.empty() || climbisa || descentfpm || descenttas || descentgph || taxigal ||
         contingency || extragal || !alternate.empty() || alternatedist || alternatetc ||
         alternatealt || !refused.empty();
}

bool Loading::IsSet() const {
  return empty_lb || !stations.empty() || fuelarm || fuellbpergal || !envelope.empty() || maxlb ||
         !refused.empty();
}

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (*begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool ParseClimbRow(const std::string& text, ClimbRow& row, std::string& why) {
  const auto words = Words(text);
  if (words.size() != 4) {
    why = "a climb row is four numbers: altitude, minutes, gallons and miles";
    return false;
  }
  double v[4];
  if (!Numbers(words, 0, 4, v)) {
    why = "not a number";
    return false;
  }
  if (v[1] < 0.0 || v[2] < 0.0 || v[3] < 0.0) {
    why = "time, fuel and distance cannot be negative";
    return false;
  }
  row = ClimbRow{v[0], v[1], v[2], v[3]};
  return true;
}

int ClimbTableOutOfOrder(const std::vector<ClimbRow>& rows, std::string& why) {
  for (std::size_t k = 1; k < rows.size(); ++k) {
    const ClimbRow& a = rows[k - 1];
    const ClimbRow& b = rows[k];
    if (b.alt_ft <= a.alt_ft) {
      why = "the altitudes must rise from row to row";
      return static_cast<int>(k);
    }
    if (b.minutes < a.minutes || b.gallons < a.gallons || b.nm < a.nm) {
      why = "time, fuel and distance to climb cannot fall as the altitude rises";
      return static_cast<int>(k);
    }
  }
  return -1;
}

bool ParseEmptyWeight(const std::string& text, double& lb, double& arm, std::string& why) {
  const auto words = Words(text);
  double v[2];
  if (words.size() != 2 || !Numbers(words, 0, 2, v)) {
    why = "the empty weight is two numbers: pounds and arm";
    return false;
  }
  if (v[0] <= 0.0) {
    why = "the empty weight must be above 0";
    return false;
  }
  lb = v[0];
  arm = v[1];
  return true;
}

bool ParseStation(const std::string& text, LoadStation& station, std::string& why) {
  const auto words = Words(text);
  double v[3];
  if (words.size() < 4 || !Numbers(words, words.size() - 3, 3, v)) {
    why = "a station is a name, then arm, largest load and load";
    return false;
  }
  if (v[1] < 0.0 || v[2] < 0.0) {
    why = "a load cannot be negative";
    return false;
  }
  station.name.clear();
  for (std::size_t k = 0; k + 3 < words.size(); ++k) {
    if (k > 0) station.name += ' ';
    station.name += words[k];
  }
  station.arm = v[0];
  station.maxlb = v[1];
  station.lb = v[2];
  return true;
}

bool ParseEnvelope(const std::string& text, std::vector<EnvelopePoint>& points, std::string& why) {
  std::vector<EnvelopePoint> read;
  for (const std::string& word : Words(text)) {
    const auto colon = word.find(':');
    EnvelopePoint p;
    if (colon == std::string::npos || !ParseNumber(word.substr(0, colon), p.arm) ||
        !ParseNumber(word.substr(colon + 1), p.lb)) {
      why = "each point is ARM:LB";
      return false;
    }
    read.push_back(p);
  }
  if (read.size() < 3) {
    why = "an envelope needs at least three points";
    return false;
  }
  points = std::move(read);
  return true;
}

std::string FormatNumber(double value, int decimals) {
  CNumbers c_numbers;
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s = text;
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

std::string FormatClimbRow(const ClimbRow& row) {
  return FormatNumber(row.alt_ft) + " " + FormatNumber(row.minutes) + " " +
         FormatNumber(row.gallons) + " " + FormatNumber(row.nm);
}

std::string FormatStation(const LoadStation& station) {
  return station.name + " " + FormatNumber(station.arm) + " " + FormatNumber(station.maxlb) + " " +
         FormatNumber(station.lb);
}

std::string FormatEnvelope(const std::vector<EnvelopePoint>& points) {
  std::string text;
  for (const EnvelopePoint& p : points) {
    if (!text.empty()) text += ' ';
    text += FormatNumber(p.arm) + ":" + FormatNumber(p.lb);
  }
  return text;
}

double StandardTemperature(double alt_ft) {
  return 15.0 - 2.0 * alt_ft / 1000.0;
}

ClimbFigures ClimbBetween(const Performance& perf, double from_ft, double to_ft, double temp_c) {
  ClimbFigures figures;
  if (perf.climb.empty() || to_ft <= from_ft) return figures;
  const auto points = TablePoints(perf.climb);
  bool above_from = false;
  const ClimbRow low = TableAt(points, from_ft, above_from);
  const ClimbRow high = TableAt(points, to_ft, figures.above_table);
  double factor = 1.0;
  const double hotter = temp_c - StandardTemperature(to_ft);
  if (hotter > 0.0) factor += perf.ClimbIsa() / 100.0 * hotter / 10.0;
  figures.minutes = std::max(0.0, high.minutes - low.minutes) * factor;
  figures.gallons = std::max(0.0, high.gallons - low.gallons) * factor;
  figures.nm = std::max(0.0, high.nm - low.nm) * factor;
  return figures;
}

bool InsideEnvelope(const std::vector<EnvelopePoint>& polygon, double arm, double lb) {
  const std::size_t n = polygon.size();
  if (n < 3) return true;
  // A point on an edge is inside: the envelope's lines are limits, not
  // exclusions.
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const EnvelopePoint& a = polygon[j];
    const EnvelopePoint& b = polygon[i];
    const double cross = (b.arm - a.arm) * (lb - a.lb) - (b.lb - a.lb) * (arm - a.arm);
    const double scale = std::fabs(b.arm - a.arm) + std::fabs(b.lb - a.lb);
    if (std::fabs(cross) <= 1e-9 * scale * (1.0 + std::fabs(lb) + std::fabs(arm)) &&
        arm >= std::min(a.arm, b.arm) - 1e-9 && arm <= std::max(a.arm, b.arm) + 1e-9 &&
        lb >= std::min(a.lb, b.lb) - 1e-9 && lb <= std::max(a.lb, b.lb) + 1e-9)
      return true;
  }
  // Even-odd crossings of a ray toward greater arm.
  bool inside = false;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const EnvelopePoint& a = polygon[j];
    const EnvelopePoint& b = polygon[i];
    if ((b.lb > lb) != (a.lb > lb)) {
      const double x = b.arm + (lb - b.lb) * (a.arm - b.arm) / (a.lb - b.lb);
      if (arm < x) inside = !inside;
    }
  }
  return inside;
}

namespace {

LoadPoint Judge(const Loading& loading, double lb, double moment, const char* name,
                std::vector<std::string>& warnings) {
  LoadPoint p;
  p.lb = lb;
  p.moment = moment;
  p.cg = lb > 0.0 ? moment / lb : 0.0;
  p.inside = InsideEnvelope(loading.envelope, p.cg, lb);
  p.over_max = loading.maxlb && *loading.maxlb > 0.0 && lb > *loading.maxlb + 1e-9;
  if (p.over_max) {
    warnings.push_back(std::string(name) + " weight " + FormatNumber(lb, 0) +
                       " lb is over the maximum of " + FormatNumber(*loading.maxlb, 0) + " lb");
  }
  if (!p.inside) {
    warnings.push_back(std::string(name) + " at " + FormatNumber(lb, 0) + " lb and CG " +
                       FormatNumber(p.cg, 2) + " in is outside the envelope");
  }
  return p;
}

}  // namespace

WeightBalance ComputeWeightBalance(const Loading& loading, double fuel_gal, double trip_gal) {
  WeightBalance wb;
  double lb = 0.0;
  double moment = 0.0;
  auto add = [&](const std::string& item, double w, double arm) {
    wb.lines.push_back(LoadLine{item, w, arm, w * arm});
    lb += w;
    moment += w * arm;
  };
  if (loading.empty_lb) add("empty", *loading.empty_lb, loading.empty_arm.value_or(0.0));
  for (const LoadStation& s : loading.stations) {
    add(s.name, s.lb, s.arm);
    if (s.maxlb > 0.0 && s.lb > s.maxlb + 1e-9) {
      wb.warnings.push_back(s.name + " holds " + FormatNumber(s.lb, 0) + " lb, more than its " +
                            FormatNumber(s.maxlb, 0) + " lb");
    }
  }
  const double per_gal = loading.FuelLbPerGal();
  const double fuel_arm = loading.fuelarm.value_or(0.0);
  const double fuel = std::max(0.0, fuel_gal);
  add("fuel", fuel * per_gal, fuel_arm);
  wb.takeoff = Judge(loading, lb, moment, "takeoff", wb.warnings);
  const double burnt = std::min(fuel, std::max(0.0, trip_gal)) * per_gal;
  wb.landing = Judge(loading, lb - burnt, moment - burnt * fuel_arm, "landing", wb.warnings);
  return wb;
}

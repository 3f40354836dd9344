#include "winds/winds.h"

#include <cmath>
#include <cstddef>

#include "geo/geodesy.h"
#include "plan/legs.h"
#include "plan/route_row.h"

namespace {

const double kDegrees = 180.0 / std::acos(-1.0);
// How much warmer the air is below the lowest level with a temperature.
constexpr double kLapseCPerFt = 2.0 / 1000.0;

// Linear on the samples that have the wanted part, held at the ends.
template <typename Has, typename Get, typename Below>
void Profile(const std::vector<LevelSample>& levels, double alt_ft, Has has, Get get, Below below) {
  const LevelSample* lower = nullptr;
  const LevelSample* upper = nullptr;
  const LevelSample* lowest = nullptr;
  for (const LevelSample& level : levels) {
    if (!has(level.value)) continue;
    if (lowest == nullptr) lowest = &level;
    if (level.height_ft <= alt_ft) lower = &level;
    if (level.height_ft >= alt_ft && upper == nullptr) upper = &level;
  }
  if (lowest == nullptr) return;
  if (lower == nullptr) {
    below(*lowest, lowest->height_ft - alt_ft);
  } else if (upper == nullptr || upper == lower) {
    get(*lower, *lower, 0.0);
  } else if (!(upper->height_ft > lower->height_ft)) {
    // Two levels at one height give no slope: no value rather than a NaN.
    return;
  } else {
    get(*lower, *upper, (alt_ft - lower->height_ft) / (upper->height_ft - lower->height_ft));
  }
}

// The three values a forecast gives a row; a value it has none of leaves
// the row's own alone.
void WriteWind(RowBuilder& row, const RoundedWind& wind, const RowValues& own, bool only_empty) {
  const std::pair<RowNumber, int32_t> values[] = {{&RowValues::wind_from_deg, wind.winddir},
                                                  {&RowValues::wind_speed_kt, wind.windvel},
                                                  {&RowValues::temperature_c, wind.temp}};
  for (const auto& [number, value] : values) {
    if (value != NOT_ENTERED && !(only_empty && own.*number)) row.Set(number, value);
  }
}

void WriteProposal(Checkpoint& row, const WindProposal& proposal, bool earlier_filled) {
  if (!proposal.filled && !earlier_filled) return;
  RowBuilder written(row);
  // Values the pilot left empty get what they carried, so that a wind filled
  // on a row above does not flow into a leg the forecast could not fill.
  if (proposal.filled) {
    WriteWind(written, proposal.wind, RowValues{}, false);
  } else {
    WriteWind(written, proposal.current, ReadRow(row), true);
  }
  row = std::move(written).Build();
}

RoundedWind CarriedWind(const RowValues& carried) {
  return {carried.wind_from_deg.value_or(NOT_ENTERED), carried.wind_speed_kt.value_or(NOT_ENTERED),
          carried.temperature_c.value_or(NOT_ENTERED)};
}

// The name as the log prints it.
std::string RowName(const Plan& plan, int row) {
  return CutUtf8(plan.route[static_cast<std::size_t>(row)].caption, kShortTextMax);
}

}  // namespace

WindValue WindFrom(double direction, double speed) {
  WindValue value;
  value.has_wind = true;
  value.u = -speed * std::sin(direction / kDegrees);
  value.v = -speed * std::cos(direction / kDegrees);
  return value;
}

WindValue InterpolateVertically(const std::vector<LevelSample>& levels, double alt_ft) {
  WindValue out;
  Profile(
      levels, alt_ft, [](const WindValue& v) { return v.has_wind; },
      [&](const LevelSample& a, const LevelSample& b, double f) {
        out.has_wind = true;
        out.u = a.value.u + (b.value.u - a.value.u) * f;
        out.v = a.value.v + (b.value.v - a.value.v) * f;
      },
      [&](const LevelSample& lowest, double) {
        out.has_wind = true;
        out.u = lowest.value.u;
        out.v = lowest.value.v;
      });
  Profile(
      levels, alt_ft, [](const WindValue& v) { return v.has_temp; },
      [&](const LevelSample& a, const LevelSample& b, double f) {
        out.has_temp = true;
        out.temp = a.value.temp + (b.value.temp - a.value.temp) * f;
      },
      [&](const LevelSample& lowest, double descent_ft) {
        out.has_temp = true;
        out.temp = lowest.value.temp + descent_ft * kLapseCPerFt;
      });
  return out;
}

WindValue Blend(const WindValue& a, const WindValue& b, double f) {
  WindValue out;
  if (a.has_wind && b.has_wind) {
    out.has_wind = true;
    out.u = a.u + (b.u - a.u) * f;
    out.v = a.v + (b.v - a.v) * f;
  } else if (a.has_wind || b.has_wind) {
    const WindValue& one = a.has_wind ? a : b;
    out.has_wind = true;
    out.u = one.u;
    out.v = one.v;
  }
  if (a.has_temp && b.has_temp) {
    out.has_temp = true;
    out.temp = a.temp + (b.temp - a.temp) * f;
  } else if (a.has_temp || b.has_temp) {
    out.has_temp = true;
    out.temp = a.has_temp ? a.temp : b.temp;
  }
  return out;
}

RoundedWind RoundWind(const WindValue& value) {
  RoundedWind out;
  if (value.has_wind) {
    const long speed = std::lround(std::hypot(value.u, value.v));
    if (speed == 0) {
      out.winddir = 360;
      out.windvel = 0;
    } else {
      out.winddir = WholeDegrees(std::atan2(-value.u, -value.v) * kDegrees);
      out.windvel = ClampCell(static_cast<int32_t>(speed));
    }
  }
  if (value.has_temp) out.temp = ClampCell(static_cast<int32_t>(std::lround(value.temp)));
  return out;
}

std::vector<std::optional<GeoPosition>> LegMidpoints(const Plan& plan) {
  std::vector<std::optional<GeoPosition>> out;
  for (std::size_t i = 1; i < plan.route.size() && out.size() < kMaxLegs; ++i) {
    const auto& from = plan.route[i - 1].position;
    const auto& to = plan.route[i].position;
    if (from && to) {
      out.push_back(MeasureLeg(*from, *to).midpoint);
    } else {
      out.push_back(std::nullopt);
    }
  }
  return out;
}

WindFill ProposeWinds(const Plan& plan, const WindSource& source, const WindFillOptions& options) {
  WindFill fill;
  Plan work = plan;
  const auto midpoints = LegMidpoints(plan);
  const double departure = source.Departure(options.depart_minutes);
  double elapsed = 0.0;
  bool earlier_filled = false;
  const RouteValues route = ReadRoute(plan);
  for (std::size_t k = 0; k < midpoints.size(); ++k) {
    const int row = static_cast<int>(k) + 1;
    const RowValues& carry = route.carried[static_cast<std::size_t>(row)];
    WindProposal proposal;
    proposal.row = row;
    proposal.current = CarriedWind(carry);
    if (!midpoints[k]) {
      proposal.note = "no coordinates";
    } else if (!carry.altitude_ft) {
      proposal.note = "no altitude";
    } else {
      const WindSample sample = source.At(*midpoints[k], *carry.altitude_ft, departure + elapsed);
      proposal.source = sample.source;
      proposal.time = sample.time;
      proposal.note = sample.found ? sample.warning : sample.reason;
      if (sample.found && sample.value.has_wind) {
        proposal.filled = true;
        proposal.wind = RoundWind(sample.value);
        if (proposal.wind.temp == NOT_ENTERED) proposal.wind.temp = proposal.current.temp;
      } else if (sample.found) {
        proposal.note = "no wind in the forecast";
      }
    }
    if (!proposal.note.empty()) {
      fill.warnings.push_back("leg " + std::to_string(row) + " (" + RowName(plan, row) +
                              "): " + (proposal.filled ? "" : "not filled: ") + proposal.note);
    }
    WriteProposal(work.route[static_cast<std::size_t>(row)], proposal, earlier_filled);
    earlier_filled = earlier_filled || proposal.filled;
    // The next leg starts when this one ends, with the wind just proposed.
    const NavLog log = ComputeLog(work);
    const int32_t ete = k < log.legs.size() ? log.legs[k].ete : NOT_ENTERED;
    if (ete != NOT_ENTERED && ete > 0) elapsed += ete;
    fill.legs.push_back(proposal);
  }
  return fill;
}

WindFill CurrentWinds(const Plan& plan) {
  WindFill fill;
  const RouteValues route = ReadRoute(plan);
  for (std::size_t row = 1; row < plan.route.size() && fill.legs.size() < kMaxLegs; ++row) {
    WindProposal leg;
    leg.row = static_cast<int>(row);
    leg.current = CarriedWind(route.carried[row]);
    fill.legs.push_back(leg);
  }
  return fill;
}

bool ApplyWinds(Plan& plan, const WindFill& fill) {
  bool changed = false;
  bool earlier_filled = false;
  for (const WindProposal& proposal : fill.legs) {
    if (proposal.row <= 0 || static_cast<std::size_t>(proposal.row) >= plan.route.size()) continue;
    Checkpoint& row = plan.route[static_cast<std::size_t>(proposal.row)];
    const Checkpoint before = row;
    WriteProposal(row, proposal, earlier_filled);
    earlier_filled = earlier_filled || proposal.filled;
    if (row.subitems != before.subitems) changed = true;
  }
  return changed;
}

std::optional<int> ParseDepartTime(const std::string& text) {
  std::string digits = text;
  if (!digits.empty() && (digits.back() == 'Z' || digits.back() == 'z')) digits.pop_back();
  if (digits.size() != 4) return std::nullopt;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const int hours = (digits[0] - '0') * 10 + (digits[1] - '0');
  const int minutes = (digits[2] - '0') * 10 + (digits[3] - '0');
  if (hours > 23 || minutes > 59) return std::nullopt;
  return hours * 60 + minutes;
}

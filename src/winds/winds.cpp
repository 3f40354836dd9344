#include "winds/winds.h"

#include <cmath>
#include <cstddef>

#include "geo/geodesy.h"
#include "plan/legs.h"

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

void WriteCell(Checkpoint& row, int cell, int32_t value) {
  if (value == NOT_ENTERED) return;
  row.subitems[static_cast<std::size_t>(cell)] = std::to_string(value);
}

// Cells the pilot left empty get the value they carried, so that a wind
// filled on a row above does not flow into a leg the forecast could not fill.
void KeepCarried(Checkpoint& row, const RoundedWind& carried) {
  const int cells[] = {kCellWindDir, kCellWindVel, kCellTemp};
  const int32_t values[] = {carried.winddir, carried.windvel, carried.temp};
  for (int n = 0; n < 3; ++n) {
    if (row.subitems[static_cast<std::size_t>(cells[n])].empty())
      WriteCell(row, cells[n], values[n]);
  }
}

void WriteProposal(Checkpoint& row, const WindProposal& proposal, bool earlier_filled) {
  if (row.subitems.size() < static_cast<std::size_t>(kRouteCells)) row.subitems.resize(kRouteCells);
  if (proposal.filled) {
    WriteCell(row, kCellWindDir, proposal.wind.winddir);
    WriteCell(row, kCellWindVel, proposal.wind.windvel);
    WriteCell(row, kCellTemp, proposal.wind.temp);
  } else if (earlier_filled) {
    KeepCarried(row, proposal.current);
  }
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
  LegResult own;
  LegResult carry;
  ClearLeg(carry);
  for (std::size_t k = 0; k < midpoints.size(); ++k) {
    const int row = static_cast<int>(k) + 1;
    ClearLeg(own);
    ParseRow(plan.route[static_cast<std::size_t>(row)], own, carry);
    WindProposal proposal;
    proposal.row = row;
    proposal.current = {carry.winddir, carry.windvel, carry.temp};
    if (!midpoints[k]) {
      proposal.note = "no coordinates";
    } else if (carry.alt == NOT_ENTERED) {
      proposal.note = "no altitude";
    } else {
      const WindSample sample = source.At(*midpoints[k], carry.alt, departure + elapsed);
      proposal.source = sample.source;
      proposal.time = sample.time;
      proposal.note = sample.found ? sample.warning : sample.reason;
      if (sample.found && sample.value.has_wind) {
        proposal.filled = true;
        proposal.wind = RoundWind(sample.value);
        if (proposal.wind.temp == NOT_ENTERED) proposal.wind.temp = carry.temp;
      } else if (sample.found) {
        proposal.note = "no wind in the forecast";
      }
    }
    if (!proposal.note.empty()) {
      fill.warnings.push_back("leg " + std::to_string(row) + " (" + own.toname +
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
  LegResult own;
  LegResult carry;
  ClearLeg(carry);
  for (std::size_t row = 1; row < plan.route.size() && fill.legs.size() < kMaxLegs; ++row) {
    ClearLeg(own);
    ParseRow(plan.route[row], own, carry);
    WindProposal leg;
    leg.row = static_cast<int>(row);
    leg.current = {carry.winddir, carry.windvel, carry.temp};
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
  if (changed) plan.modified = 1;
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

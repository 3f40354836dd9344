#include "plan/vertical.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "plan/route_row.h"
#include "plan/wind_triangle.h"

namespace {

constexpr double kEps = 1e-9;

// A stretch of one climb or descent on one leg, in miles from the route's
// start, with the part's minutes run so far at both ends.
struct Piece {
  int leg = 0;
  double a = 0.0;
  double b = 0.0;
  double ta = 0.0;
  double tb = 0.0;
};

struct Part {
  bool climb = true;
  double minutes = 0.0;  // all of it
  double gallons = 0.0;
  std::vector<Piece> pieces;  // in route order
  bool complete = true;       // reached its altitude inside its room
  double marker = -1.0;       // where its TOC or TOD row goes; -1 for none

  // Minutes of the part run by `pos` miles along the route.
  double TimeAt(double pos) const {
    double t = 0.0;
    for (const Piece& p : pieces) {
      if (pos >= p.b - kEps) {
        t = p.tb;
      } else if (pos > p.a) {
        t = p.ta + (p.tb - p.ta) * (pos - p.a) / (p.b - p.a);
      }
    }
    return t;
  }
  double Overlap(double lo, double hi) const {
    double nm = 0.0;
    for (const Piece& p : pieces) nm += std::max(0.0, std::min(hi, p.b) - std::max(lo, p.a));
    return nm;
  }
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const auto b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

// The airfield row that names the checkpoint: the same name in any case, or
// one name the first word of the other ("KPAO" and "KPAO Palo Alto").
const AirfieldInfo* FieldNamed(const Plan& plan, const std::string& name) {
  const std::string want = Lower(Trim(name));
  if (want.empty()) return nullptr;
  for (const AirfieldInfo& f : plan.airfields) {
    if (Lower(Trim(f.name)) == want) return &f;
  }
  for (const AirfieldInfo& f : plan.airfields) {
    const std::string have = Lower(Trim(f.name));
    if (have.empty()) continue;
    const auto starts = [](const std::string& s, const std::string& word) {
      return s.size() > word.size() && s.compare(0, word.size(), word) == 0 &&
             s[word.size()] == ' ';
    };
    if (starts(have, want) || starts(want, have)) return &f;
  }
  return nullptr;
}

int32_t Round(double v) {
  return static_cast<int32_t>(std::lround(v));
}
double Tenth(double v) {
  return std::round(v * 10.0) / 10.0;
}

class Walker {
 public:
  Walker(const std::vector<LegInput>& legs, VerticalProfile& out) : legs_(legs), out_(out) {
    double pos = 0.0;
    for (const LegInput& leg : legs) {
      start_.push_back(pos);
      pos += std::max(0, leg.dist == NOT_ENTERED ? 0 : leg.dist);
    }
    start_.push_back(pos);
  }

  double Start(std::size_t leg) const { return start_[leg]; }
  double End() const { return start_.back(); }

  // Ground speed on leg j at `tas`; 0 when the leg's course or wind is unknown.
  int32_t Speed(std::size_t j, double tas) const {
    const LegInput& leg = legs_[j];
    if (leg.gs == NOT_ENTERED) return 0;
    int32_t wca = 0;
    int32_t gs = 0;
    if (WindTriangle(leg.tc, leg.winddir, leg.windvel, Round(tas), wca, gs) != Triangle::Solved)
      return 0;
    return gs;
  }

  std::size_t LegAt(double pos, bool backward) const {
    for (std::size_t j = 0; j < legs_.size(); ++j) {
      if (backward ? pos > start_[j] + kEps && pos <= start_[j + 1] + kEps
                   : pos >= start_[j] - kEps && pos < start_[j + 1] - kEps)
        return j;
    }
    return legs_.size();
  }

  // Flies `part` from `from` toward `limit` (forward for a climb, back for a
  // descent) at `tas`; false when a leg on the way has no ground speed.
  bool Fly(Part& part, double from, double limit, double tas, const std::string& what) {
    double left = part.minutes;
    double pos = from;
    double run = 0.0;
    const bool forward = part.climb;
    while (left > kEps) {
      const std::size_t j = LegAt(pos, !forward);
      if (j >= legs_.size() || (forward ? pos >= limit - kEps : pos <= limit + kEps)) {
        part.complete = false;
        out_.warnings.push_back(what + " does not fit " +
                                (forward ? "before the next change of altitude or the destination"
                                         : "after the climb or the change of altitude before it"));
        break;
      }
      const int32_t gs = Speed(j, tas);
      if (gs <= 0) {
        out_.warnings.push_back(what + " is not computed: leg " + std::to_string(j + 1) +
                                " has no ground speed");
        return false;
      }
      const double edge = forward ? std::min(start_[j + 1], limit) : std::max(start_[j], limit);
      const double room = std::fabs(edge - pos) * 60.0 / gs;
      const double t = std::min(room, left);
      const double next = forward ? pos + t * gs / 60.0 : pos - t * gs / 60.0;
      Piece p{static_cast<int>(j), forward ? pos : next, forward ? next : pos, 0.0, 0.0};
      if (forward) {
        p.ta = run;
        p.tb = run + t;
      } else {
        // Minutes count from the top of descent, which is not known yet:
        // from its end for now, turned round below.
        p.ta = run + t;
        p.tb = run;
      }
      part.pieces.push_back(p);
      run += t;
      left -= t;
      pos = next;
    }
    if (!forward) {
      std::reverse(part.pieces.begin(), part.pieces.end());
      for (Piece& p : part.pieces) {
        p.ta = run - p.ta;
        p.tb = run - p.tb;
      }
    }
    if (part.minutes > kEps) part.gallons *= run / part.minutes;
    part.minutes = run;
    if (part.complete) part.marker = pos;
    return true;
  }

 private:
  const std::vector<LegInput>& legs_;
  VerticalProfile& out_;
  std::vector<double> start_;
};

std::string Feet(double ft) {
  return std::to_string(Round(ft)) + " ft";
}

}  // namespace

bool FirstNumber(const std::string& text, double& value) {
  std::size_t k = 0;
  while (k < text.size() && !std::isdigit(static_cast<unsigned char>(text[k]))) ++k;
  if (k == text.size()) return false;
  const bool negative = k > 0 && text[k - 1] == '-';
  std::string digits;
  for (; k < text.size(); ++k) {
    const char c = text[k];
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
      digits += c;
    } else if (c != ',' || k + 1 >= text.size() ||
               !std::isdigit(static_cast<unsigned char>(text[k + 1]))) {
      break;
    }
  }
  if (!ParseNumber(digits, value) && !ParseNumber(digits.substr(0, digits.find('.')), value))
    return false;
  if (negative) value = -value;
  return true;
}

std::vector<LegInput> LegInputs(const Plan& plan) {
  std::vector<LegInput> legs;
  const RouteValues route = ReadRoute(plan);
  for (std::size_t i = 1; i < plan.route.size() && legs.size() < kMaxLegs; ++i) {
    const RowValues& carry = route.carried[i];
    LegInput in;
    in.dist = carry.distance_nm.value_or(NOT_ENTERED);
    in.alt = carry.altitude_ft.value_or(NOT_ENTERED);
    in.temp = carry.temperature_c.value_or(NOT_ENTERED);
    in.tc = carry.true_course_deg.value_or(NOT_ENTERED);
    in.winddir = carry.wind_from_deg.value_or(NOT_ENTERED);
    in.windvel = carry.wind_speed_kt.value_or(NOT_ENTERED);
    in.tas = carry.true_airspeed_kt.value_or(NOT_ENTERED);
    int32_t wca = 0;
    int32_t gs = 0;
    if (carry.true_course_deg && carry.wind_from_deg && carry.wind_speed_kt &&
        carry.variation_deg && carry.true_airspeed_kt && carry.distance_nm &&
        WindTriangle(in.tc, in.winddir, in.windvel, in.tas, wca, gs) == Triangle::Solved)
      in.gs = gs;
    legs.push_back(in);
  }
  return legs;
}

VerticalProfile ComputeVertical(const Plan& plan, const std::vector<LegInput>& legs) {
  VerticalProfile out;
  const Performance& perf = plan.performance;
  if (perf.climb.empty() || legs.empty() || plan.route.size() < 2) return out;
  out.active = true;

  // Field elevations.
  const std::string& dep_name = plan.route.front().caption;
  const std::string& dest_name = plan.route.back().caption;
  const AirfieldInfo* dep = FieldNamed(plan, dep_name);
  if (!dep || !FirstNumber(dep->elevation, out.departure_ft)) {
    out.departure_ft = 0.0;
    out.warnings.push_back("no elevation for the departure " + dep_name + ": 0 ft taken");
  }
  const AirfieldInfo* dest = FieldNamed(plan, dest_name);
  double elevation = 0.0;
  if (dest && FirstNumber(dest->tpa, out.destination_ft)) {
  } else if (dest && FirstNumber(dest->elevation, elevation)) {
    out.destination_ft = elevation + 1000.0;
  } else {
    out.destination_ft = 1000.0;
    out.warnings.push_back("no pattern altitude or elevation for the destination " + dest_name +
                           ": 1000 ft taken");
  }

  Walker walker(legs, out);
  const double gph = ClampQuantity(plan.aircraft.acgph);

  // Where the altitude changes: climbs start at a checkpoint, descents end at one.
  struct Change {
    bool climb;
    double at;
    std::size_t leg;  // the leg the new altitude starts on (legs.size(): the destination)
    double from;
    double to;
    int32_t temp;
  };
  std::vector<Change> changes;
  double alt = out.departure_ft;
  for (std::size_t k = 0; k < legs.size(); ++k) {
    if (legs[k].alt == NOT_ENTERED) continue;
    const double next = legs[k].alt;
    if (next > alt + kEps) {
      changes.push_back({true, walker.Start(k), k, alt, next, legs[k].temp});
    } else if (next < alt - kEps && k > 0) {
      changes.push_back({false, walker.Start(k), k, alt, next, legs[k].temp});
    }
    alt = next;
  }
  if (legs.front().alt == NOT_ENTERED) {
    out.warnings.push_back("no altitude on the first leg: no climb computed");
  }
  if (alt > out.destination_ft + kEps && legs.front().alt != NOT_ENTERED) {
    changes.push_back({false, walker.End(), legs.size(), alt, out.destination_ft, NOT_ENTERED});
  }

  std::vector<Part> parts;
  double floor = 0.0;  // nothing may start before the end of the part before
  for (std::size_t c = 0; c < changes.size(); ++c) {
    const Change& ch = changes[c];
    Part part;
    part.climb = ch.climb;
    if (ch.climb) {
      const ClimbFigures f =
          ClimbBetween(perf, ch.from, ch.to, ch.temp == NOT_ENTERED ? -1000.0 : double(ch.temp));
      const std::string what = "the climb from " + Feet(ch.from) + " to " + Feet(ch.to);
      if (f.above_table) {
        out.warnings.push_back(what + " goes above the climb table: its last rows' rates used");
      }
      if (f.minutes <= kEps) continue;
      part.minutes = f.minutes;
      part.gallons = f.gallons;
      double tas = f.nm > kEps ? f.nm / f.minutes * 60.0 : double(legs[ch.leg].tas);
      const double limit = c + 1 < changes.size() ? changes[c + 1].at : walker.End();
      if (!walker.Fly(part, std::max(ch.at, floor), limit, tas, what)) continue;
    } else {
      const std::string what = "the descent from " + Feet(ch.from) + " to " + Feet(ch.to);
      part.minutes = (ch.from - ch.to) / perf.DescentFpm();
      part.gallons = part.minutes * perf.descentgph.value_or(gph) / 60.0;
      const std::size_t on = ch.leg > 0 ? ch.leg - 1 : 0;
      const double tas = perf.descenttas.value_or(double(legs[on].tas));
      const double room = std::max(floor, c > 0 ? changes[c - 1].at : 0.0);
      if (!walker.Fly(part, ch.at, room, tas, what)) continue;
    }
    if (!part.pieces.empty()) {
      floor = part.climb ? part.pieces.back().b : ch.at;
      parts.push_back(std::move(part));
    }
  }

  // Rows, leg by leg: a TOC or TOD inside the leg, then its checkpoint.
  for (std::size_t k = 0; k < legs.size(); ++k) {
    const LegInput& leg = legs[k];
    if (leg.gs == NOT_ENTERED) continue;
    const double s = walker.Start(k);
    const double e = walker.Start(k + 1);
    struct Mark {
      double at;
      const char* name;
    };
    std::vector<Mark> marks;
    for (const Part& p : parts) {
      if (p.marker > s + kEps && p.marker < e - kEps) {
        marks.push_back({p.marker, p.climb ? "TOC" : "TOD"});
      }
    }
    std::sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) { return a.at < b.at; });
    marks.push_back({e, ""});
    double from = s;
    int32_t from_nm = 0;
    for (const Mark& m : marks) {
      ProfileRow row;
      row.leg = static_cast<int>(k);
      row.computed = m.name;
      const int32_t to_nm = m.name[0] ? Round(m.at - s) : std::max(0, leg.dist);
      row.dist = std::max(0, to_nm - from_nm);
      double vertical_nm = 0.0;
      for (const Part& p : parts) {
        const double nm = p.Overlap(from, m.at);
        if (nm <= kEps) continue;
        vertical_nm += nm;
        const double t0 = p.TimeAt(from);
        const double t1 = p.TimeAt(m.at);
        const int32_t minutes = Round(t1) - Round(t0);
        const double scale = p.minutes > kEps ? p.gallons / p.minutes : 0.0;
        const double gallons = Tenth(t1 * scale) - Tenth(t0 * scale);
        (p.climb ? row.climb_min : row.descent_min) += minutes;
        (p.climb ? row.climb_gal : row.descent_gal) += gallons;
      }
      const int32_t cruise_nm = std::max(0, row.dist - Round(vertical_nm));
      const int32_t cruise_min = cruise_nm * 60 / leg.gs;
      row.ete = row.climb_min + row.descent_min + cruise_min;
      row.fuel = row.climb_gal + row.descent_gal + cruise_min * gph / 60.0;
      out.rows.push_back(row);
      from = m.at;
      from_nm = to_nm;
    }
  }
  return out;
}

#include "winds/winds_grib.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <memory>
#include <set>

#include "plan/fileio.h"
#include "plan/route_row.h"
#include "winds/grib_messages.h"

namespace {

constexpr double kFeetPerMetre = 1.0 / 0.3048;
constexpr double kKelvin = 273.15;
constexpr double kMetresPerSecondInKnots = 3600.0 / 1852.0;
constexpr long long kMinutesPerDay = 24 * 60;
const float kMissing = std::numeric_limits<float>::quiet_NaN();
// A twentieth of a degree over the globe: finer grids are not forecasts a
// flight is planned on, and a header is not trusted with more memory.
constexpr long long kMaxGridPoints = 7200LL * 3601LL;
constexpr long kMaxBitsPerValue = 32;
// Half the three hours between the times of most forecasts.
constexpr double kSingleTimeSlackMinutes = 90.0;

double Norm360(double degrees) {
  double out = std::fmod(degrees, 360.0);
  return out < 0.0 ? out + 360.0 : out;
}

// The ICAO standard atmosphere's pressure at a height, hPa; only to choose
// which levels to keep, never for a value the pilot sees.
double StandardPressure(double alt_ft) {
  return 1013.25 * std::pow(1.0 - 6.8756e-6 * alt_ft, 5.2559);
}

std::string MessageError(long n, const std::string& what) {
  return "message " + std::to_string(n) + ": " + what;
}

// Which of u, v, t and gh the message holds on a pressure level; -1 for none.
int Parameter(GribMessages& m) {
  if (m.String("typeOfLevel") != "isobaricInhPa") return -1;
  static const char* const kNames[] = {"u", "v", "t", "gh"};
  const std::string name = m.String("shortName");
  for (int n = 0; n < 4; ++n) {
    if (name == kNames[n]) return n;
  }
  return -1;
}

long long ValidMinutes(GribMessages& m) {
  const long date = m.Long("validityDate", -1);
  const long time = m.Long("validityTime", -1);
  std::tm tm{};
  tm.tm_year = static_cast<int>(date / 10000) - 1900;
  tm.tm_mon = static_cast<int>(date / 100 % 100) - 1;
  tm.tm_mday = static_cast<int>(date % 100);
  tm.tm_hour = static_cast<int>(time / 100);
  tm.tm_min = static_cast<int>(time % 100);
  return static_cast<long long>(timegm(&tm)) / 60;
}

std::string FormatValid(long long minutes) {
  const std::time_t seconds = static_cast<std::time_t>(minutes * 60);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%02dZ", tm.tm_mday % 100, tm.tm_hour % 100,
                tm.tm_min % 100);
  return text;
}

class GribFile {
 public:
  bool Open(const std::string& path, std::string& error) {
    InputFile input;
    if (input.Open(path, error) != ReadStatus::Ok) {
      if (error.empty()) error = "no such file";
      return false;
    }
    const int fd = dup(input.fd());
    if (fd < 0) {
      error = "cannot be read";
      return false;
    }
    messages_ = OpenGribMessages(fd, error);
    return messages_ != nullptr;
  }
  // The message at byte `offset`, which is the file's `number`-th.
  GribMessages* At(long offset, long number, std::string& error) {
    if (offset < 0 || !messages_->Seek(offset)) {
      error = MessageError(number, "cannot be read again");
      return nullptr;
    }
    count_ = number - 1;
    return Next(error);
  }
  // The next message; null at the end or on an error (then `error` is set).
  GribMessages* Next(std::string& error) {
    ++count_;
    std::string why;
    if (messages_->Next(why)) return messages_.get();
    if (why == HALVIX_GRIB_TRUNCATED) {
      error = "the file ends inside message " + std::to_string(count_);
    } else if (why == HALVIX_GRIB_NOT_GRIB) {
      error = count_ == 1 ? "not a GRIB file" : MessageError(count_, "not a GRIB message");
    } else if (!why.empty()) {
      error = MessageError(count_, why);
    }
    return nullptr;
  }
  long count() const { return count_; }

 private:
  std::unique_ptr<GribMessages> messages_;
  long count_ = 0;
};

// Why the message's data cannot fill `points` grid points, checked on the
// header before anything is decoded or allocated; empty when it can.
std::string DataProblem(GribMessages& m, long long points) {
  const long bits = m.Long("bitsPerValue", -1);
  if (bits < 0 || bits > kMaxBitsPerValue) {
    return std::to_string(bits) + " bits per value; at most 32 are read";
  }
  const long values = m.Long("numberOfValues", -1);
  if (values < 0 || values > points) return "more values than grid points";
  if (m.Long("bitmapPresent", 0) != 0) {
    if (m.Long("section6Length", 0) - 6 < (points + 7) / 8)
      return "the bitmap is shorter than the grid";
  } else if (values != points) {
    return std::to_string(values) + " values for a grid of " + std::to_string(points) + " points";
  }
  // Simple packing is values times bits, nothing else: other packings
  // carry their own lengths, which the decoder checks.
  if (m.String("packingType") == "grid_simple" &&
      m.Long("section7Length", 0) - 5 < (static_cast<long long>(values) * bits + 7) / 8) {
    return "the data section is shorter than its " + std::to_string(values) + " values";
  }
  return {};
}

}  // namespace

bool LooksLikeGrib(const std::string& head) {
  return head.compare(0, 4, "GRIB") == 0;
}

GribArea AreaAround(const std::vector<GeoPosition>& points, double alt_min_ft, double alt_max_ft) {
  GribArea area;
  if (points.empty()) return area;
  area.empty = false;
  area.alt_min_ft = alt_min_ft;
  area.alt_max_ft = alt_max_ft;
  area.lat_min = area.lat_max = points.front().lat;
  std::vector<double> lons;
  for (const GeoPosition& p : points) {
    area.lat_min = std::min(area.lat_min, p.lat);
    area.lat_max = std::max(area.lat_max, p.lat);
    lons.push_back(Norm360(p.lon));
  }
  // The arc that leaves out the widest gap between neighbouring longitudes.
  std::sort(lons.begin(), lons.end());
  double gap = 360.0 - (lons.back() - lons.front());
  area.lon_west = lons.front();
  for (std::size_t n = 1; n < lons.size(); ++n) {
    if (lons[n] - lons[n - 1] > gap) {
      gap = lons[n] - lons[n - 1];
      area.lon_west = lons[n];
    }
  }
  area.lon_span = 360.0 - gap;
  return area;
}

GribArea AreaOfPlan(const Plan& plan) {
  std::vector<GeoPosition> points;
  double alt_min = 0.0;
  double alt_max = 0.0;
  const RouteValues route = ReadRoute(plan);
  const auto midpoints = LegMidpoints(plan);
  for (std::size_t k = 0; k < midpoints.size(); ++k) {
    const std::optional<int32_t> alt = route.carried[k + 1].altitude_ft;
    if (!midpoints[k] || !alt) continue;
    if (points.empty() || *alt < alt_min) alt_min = *alt;
    if (points.empty() || *alt > alt_max) alt_max = *alt;
    points.push_back(*midpoints[k]);
  }
  return AreaAround(points, alt_min, alt_max);
}

// The columns of a grid that does not go round the globe holding the arc,
// with a cell's margin: the arc may start west of the grid and enter it,
// or leave it to the east and come back round.
void GribForecast::KeepColumns(const GribArea& area) {
  const double width = static_cast<double>(grid_.ni - 1) * grid_.di;
  const double west = Norm360(area.lon_west - grid_.lon0);
  double first = width;
  double last = -1.0;
  for (const double from : {west, west - 360.0}) {
    const double a = std::max(from, 0.0);
    const double b = std::min(from + area.lon_span, width);
    if (a > b) continue;
    first = std::min(first, a);
    last = std::max(last, b);
  }
  if (last < first) {
    col0_ = cols_ = 0;
    return;
  }
  col0_ = std::max(0L, static_cast<long>(std::floor(first / grid_.di)) - 1);
  const long end = std::min(grid_.ni - 1, static_cast<long>(std::ceil(last / grid_.di)) + 1);
  cols_ = end - col0_ + 1;
}

ReadReport GribForecast::Read(const std::string& path, const GribArea& area) {
  ReadReport report(path);
  std::string error;
  if (!ReadMessages(path, area, error)) {
    *this = GribForecast{};
    report.Error(error);
  }
  return report;
}

bool GribForecast::ReadMessages(const std::string& path, const GribArea& area, std::string& error) {
  *this = GribForecast{};
  GribFile file;
  if (!file.Open(path, error)) return false;
  // First pass, keys only: the grid, and where each field of each level
  // and time is, to come back to only those the legs need.
  struct Entry {
    int parameter = 0;
    long hpa = 0;
    long long valid = 0;
    long offset = 0;
    long number = 0;
  };
  std::vector<Entry> entries;
  bool have_grid = false;
  for (;;) {
    GribMessages* h = file.Next(error);
    if (!h) {
      if (!error.empty()) return false;
      break;
    }
    const int parameter = Parameter(*h);
    if (parameter < 0) continue;
    if (h->String("gridType") != "regular_ll") {
      error = MessageError(file.count(), "not on a regular latitude/longitude grid");
      return false;
    }
    Grid grid;
    grid.ni = h->Long("Ni", -1);
    grid.nj = h->Long("Nj", -1);
    grid.lat0 = h->Double("latitudeOfFirstGridPointInDegrees");
    grid.lon0 = h->Double("longitudeOfFirstGridPointInDegrees");
    grid.di = h->Double("iDirectionIncrementInDegrees");
    grid.dj = h->Double("jDirectionIncrementInDegrees");
    if (h->Long("jScansPositively", -1) == 0) grid.dj = -grid.dj;
    if (grid.ni < 2 || grid.nj < 2 || !(grid.di > 0.0) || !(std::fabs(grid.dj) > 0.0) ||
        h->Long("iScansNegatively", -1) != 0 || h->Long("jPointsAreConsecutive", -1) != 0) {
      error = MessageError(file.count(), "a grid layout this program does not read");
      return false;
    }
    if (static_cast<long long>(grid.ni) * grid.nj > kMaxGridPoints) {
      error = MessageError(file.count(), "a grid of " + std::to_string(grid.ni) + " by " +
                                             std::to_string(grid.nj) +
                                             " points, more than this program reads");
      return false;
    }
    grid.global = std::fabs(grid.ni * grid.di - 360.0) < grid.di / 2.0;
    if (!have_grid) {
      grid_ = grid;
      have_grid = true;
    } else if (grid.ni != grid_.ni || grid.nj != grid_.nj || grid.lat0 != grid_.lat0 ||
               grid.lon0 != grid_.lon0 || grid.di != grid_.di || grid.dj != grid_.dj) {
      error = MessageError(file.count(), "a grid unlike the earlier messages'");
      return false;
    }
    entries.push_back(
        {parameter, h->Long("level", -1), ValidMinutes(*h), h->Long("offset", -1), file.count()});
  }
  if (!have_grid) {
    error = file.count() <= 1 ? "no GRIB message" : "no u, v, t or gh on pressure levels";
    return false;
  }
  if (std::none_of(entries.begin(), entries.end(),
                   [](const Entry& e) { return e.parameter == 3; })) {
    error = "no geopotential height (gh) on pressure levels: the heights of its levels are unknown";
    return false;
  }
  if (area.empty) return true;

  // Rows and columns around the area, one cell beyond it on each side.
  const double y_a = (area.lat_min - grid_.lat0) / grid_.dj;
  const double y_b = (area.lat_max - grid_.lat0) / grid_.dj;
  row0_ = std::max(0L, static_cast<long>(std::floor(std::min(y_a, y_b))) - 1);
  const long row_end = std::min(grid_.nj - 1, static_cast<long>(std::ceil(std::max(y_a, y_b))) + 1);
  rows_ = std::max(0L, row_end - row0_ + 1);
  if (grid_.global) {
    const double x_west = Norm360(area.lon_west - grid_.lon0) / grid_.di;
    const long span = static_cast<long>(std::ceil(area.lon_span / grid_.di)) + 3;
    col0_ = (static_cast<long>(std::floor(x_west)) - 1 + grid_.ni) % grid_.ni;
    cols_ = std::min(grid_.ni, span + 1);
  } else {
    KeepColumns(area);
  }
  if (rows_ == 0 || cols_ == 0) return true;  // nothing of the grid under the legs

  std::vector<double> values;
  // One field of one message, cut to the kept rows and columns.
  auto decode = [&](const Entry& entry) {
    GribMessages* h = file.At(entry.offset, entry.number, error);
    if (!h) {
      if (error.empty()) error = MessageError(entry.number, "cannot be read again");
      return false;
    }
    const std::string problem = DataProblem(*h, static_cast<long long>(grid_.ni) * grid_.nj);
    if (!problem.empty()) {
      error = MessageError(entry.number, problem);
      return false;
    }
    std::size_t size = 0;
    if (!h->ValueCount(size) || size != static_cast<std::size_t>(grid_.ni * grid_.nj)) {
      error = MessageError(entry.number, "the values do not fill the grid");
      return false;
    }
    values.resize(size);
    if (!h->Values(values)) {
      error = MessageError(entry.number, "the values cannot be decoded");
      return false;
    }
    const bool bitmap = h->Long("bitmapPresent", 0) != 0;
    const double missing = h->Double("missingValue");
    auto step = std::find_if(steps_.begin(), steps_.end(),
                             [&](const Step& s) { return s.valid == entry.valid; });
    if (step == steps_.end()) {
      step = steps_.insert(std::upper_bound(steps_.begin(), steps_.end(), entry.valid,
                                            [](long long v, const Step& s) { return v < s.valid; }),
                           Step{entry.valid, {}});
    }
    auto level = std::find_if(step->levels.begin(), step->levels.end(),
                              [&](const Level& l) { return l.hpa == entry.hpa; });
    if (level == step->levels.end()) {
      step->levels.push_back(Level{entry.hpa, {}, {}, {}, {}});
      level = step->levels.end() - 1;
    }
    std::vector<float>* fields[] = {&level->u, &level->v, &level->t, &level->gh};
    std::vector<float>& field = *fields[entry.parameter];
    // Past what the atmosphere holds a value is a damaged file's, and counts
    // as missing: 150 m/s is beyond any jet stream, 150 and 350 K beyond any
    // air, and the heights run from below the Dead Sea to 60 km.
    static const double kLow[] = {-150.0, -150.0, 150.0, -1000.0};
    static const double kHigh[] = {150.0, 150.0, 350.0, 60000.0};
    const double low = kLow[entry.parameter];
    const double high = kHigh[entry.parameter];
    field.assign(static_cast<std::size_t>(rows_ * cols_), kMissing);
    for (long r = 0; r < rows_; ++r) {
      for (long c = 0; c < cols_; ++c) {
        const long i = (col0_ + c) % grid_.ni;
        const double value = values[static_cast<std::size_t>((row0_ + r) * grid_.ni + i)];
        if (!(bitmap && value == missing) && value >= low && value <= high) {
          field[static_cast<std::size_t>(r * cols_ + c)] = static_cast<float>(value);
        }
      }
    }
    return true;
  };
  auto decode_level = [&](long hpa, bool heights) {
    for (const Entry& entry : entries) {
      if (entry.hpa == hpa && (entry.parameter == 3) == heights && !decode(entry)) return false;
    }
    return true;
  };

  // Levels are chosen by the heights the file gives them, which stray from
  // the standard atmosphere's by hundreds of metres in a deep low or high:
  // the heights of the levels near the standard ones are read first, and
  // more on either side until the legs' altitudes are held between two.
  std::set<long> pressures;
  for (const Entry& entry : entries) pressures.insert(entry.hpa);
  const std::vector<long> upward(pressures.rbegin(), pressures.rend());
  const long count = static_cast<long>(upward.size());
  const double margin_ft = 2000.0;
  const double p_low = StandardPressure(area.alt_min_ft - margin_ft);
  const double p_high = StandardPressure(area.alt_max_ft + margin_ft);
  long lo = 0;
  long hi = count - 1;
  for (long k = 0; k < count; ++k) {
    if (static_cast<double>(upward[k]) >= p_low) lo = k;
  }
  for (long k = count - 1; k >= lo; --k) {
    if (static_cast<double>(upward[k]) <= p_high) hi = k;
  }
  std::vector<double> low_ft(static_cast<std::size_t>(count), std::nan(""));
  std::vector<double> high_ft(static_cast<std::size_t>(count), std::nan(""));
  auto heights = [&](long k) {
    if (!decode_level(upward[k], true)) return false;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const Step& step : steps_) {
      for (const Level& level : step.levels) {
        if (level.hpa != upward[k]) continue;
        for (const float gh : level.gh) {
          if (std::isnan(gh)) continue;
          low = std::min(low, gh * kFeetPerMetre);
          high = std::max(high, gh * kFeetPerMetre);
        }
      }
    }
    if (low <= high) {
      low_ft[static_cast<std::size_t>(k)] = low;
      high_ft[static_cast<std::size_t>(k)] = high;
    }
    return true;
  };
  for (long k = lo; k <= hi; ++k) {
    if (!heights(k)) return false;
  }
  // NaN (no heights at that level) compares false and stops the search.
  while (lo > 0 && high_ft[static_cast<std::size_t>(lo)] > area.alt_min_ft) {
    if (!heights(--lo)) return false;
  }
  while (hi < count - 1 && low_ft[static_cast<std::size_t>(hi)] < area.alt_max_ft) {
    if (!heights(++hi)) return false;
  }
  // The highest level below every leg and the lowest above every leg bound
  // the ones kept.
  long first = lo;
  for (long k = lo; k <= hi; ++k) {
    if (high_ft[static_cast<std::size_t>(k)] <= area.alt_min_ft) first = k;
  }
  long last = hi;
  for (long k = hi; k >= first; --k) {
    if (low_ft[static_cast<std::size_t>(k)] >= area.alt_max_ft) last = k;
  }
  const std::set<long> wanted(upward.begin() + first, upward.begin() + last + 1);
  for (Step& step : steps_) {
    step.levels.erase(std::remove_if(step.levels.begin(), step.levels.end(),
                                     [&](const Level& l) { return wanted.count(l.hpa) == 0; }),
                      step.levels.end());
  }
  for (const long hpa : wanted) {
    if (!decode_level(hpa, false)) return false;
  }
  return true;
}

std::size_t GribForecast::values_held() const {
  std::size_t n = 0;
  for (const Step& step : steps_) {
    for (const Level& level : step.levels) {
      n += level.u.size() + level.v.size() + level.t.size() + level.gh.size();
    }
  }
  return n;
}

std::size_t GribForecast::levels_held() const {
  std::size_t n = 0;
  for (const Step& step : steps_) n = std::max(n, step.levels.size());
  return n;
}

std::vector<long> GribForecast::pressures_held() const {
  std::vector<long> out;
  if (!steps_.empty()) {
    for (const Level& level : steps_.front().levels) out.push_back(level.hpa);
  }
  return out;
}

double GribForecast::Departure(std::optional<int> hhmm_minutes) const {
  if (steps_.empty()) return 0.0;
  const long long first = steps_.front().valid;
  const long long last = steps_.back().valid;
  if (!hhmm_minutes) return static_cast<double>(first);
  // The occurrence of that time of day nearest the forecast's span.
  const long long day0 = first - ((first % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
  long long best = day0 + *hhmm_minutes;
  long long best_off = std::numeric_limits<long long>::max();
  for (long long day = day0 - kMinutesPerDay; day <= last + kMinutesPerDay; day += kMinutesPerDay) {
    const long long t = day + *hhmm_minutes;
    const long long off = t < first ? first - t : (t > last ? t - last : 0);
    if (off < best_off) {
      best_off = off;
      best = t;
    }
  }
  return static_cast<double>(best);
}

bool GribForecast::Corners(const GeoPosition& where, long (&i)[2], long (&j)[2], double& fx,
                           double& fy) const {
  const double x = Norm360(where.lon - grid_.lon0) / grid_.di;
  const double y = (where.lat - grid_.lat0) / grid_.dj;
  if (y < 0.0 || y > static_cast<double>(grid_.nj - 1)) return false;
  i[0] = static_cast<long>(std::floor(x));
  j[0] = static_cast<long>(std::floor(y));
  fx = x - static_cast<double>(i[0]);
  fy = y - static_cast<double>(j[0]);
  j[1] = std::min(j[0] + 1, grid_.nj - 1);
  if (grid_.global) {
    i[0] %= grid_.ni;
    i[1] = (i[0] + 1) % grid_.ni;  // across the seam
  } else {
    // Past the last column is outside, not the last column's value.
    if (x > static_cast<double>(grid_.ni - 1)) return false;
    i[1] = std::min(i[0] + 1, grid_.ni - 1);
  }
  for (long n = 0; n < 2; ++n) {
    if ((i[n] - col0_ + grid_.ni) % grid_.ni >= cols_) return false;
    if (j[n] < row0_ || j[n] >= row0_ + rows_) return false;
  }
  return true;
}

WindValue GribForecast::PointProfile(const Step& step, long i, long j, double alt_ft) const {
  const std::size_t at =
      static_cast<std::size_t>((j - row0_) * cols_ + (i - col0_ + grid_.ni) % grid_.ni);
  std::vector<LevelSample> profile;
  for (const Level& level : step.levels) {
    if (level.gh.empty() || level.u.empty() || level.v.empty()) continue;
    if (std::isnan(level.gh[at]) || std::isnan(level.u[at]) || std::isnan(level.v[at])) continue;
    LevelSample sample;
    sample.height_ft = level.gh[at] * kFeetPerMetre;
    sample.value.has_wind = true;
    sample.value.u = level.u[at] * kMetresPerSecondInKnots;
    sample.value.v = level.v[at] * kMetresPerSecondInKnots;
    if (!level.t.empty() && !std::isnan(level.t[at])) {
      sample.value.has_temp = true;
      sample.value.temp = level.t[at] - kKelvin;
    }
    profile.push_back(sample);
  }
  std::sort(profile.begin(), profile.end(),
            [](const LevelSample& a, const LevelSample& b) { return a.height_ft < b.height_ft; });
  return InterpolateVertically(profile, alt_ft);
}

WindValue GribForecast::AtStep(const Step& step, const GeoPosition& where, double alt_ft,
                               bool& inside) const {
  long i[2];
  long j[2];
  double fx = 0.0;
  double fy = 0.0;
  inside = Corners(where, i, j, fx, fy);
  if (!inside) return {};
  const WindValue south =
      Blend(PointProfile(step, i[0], j[0], alt_ft), PointProfile(step, i[1], j[0], alt_ft), fx);
  const WindValue north =
      Blend(PointProfile(step, i[0], j[1], alt_ft), PointProfile(step, i[1], j[1], alt_ft), fx);
  return Blend(south, north, fy);
}

WindSample GribForecast::At(const GeoPosition& where, double alt_ft, double time) const {
  WindSample sample;
  if (steps_.empty()) {
    sample.reason = "the GRIB file holds nothing for this area";
    return sample;
  }
  std::size_t later = 0;
  while (later < steps_.size() && static_cast<double>(steps_[later].valid) < time) ++later;
  std::size_t earlier = later;
  double f = 0.0;
  if (later == steps_.size()) {
    earlier = later = steps_.size() - 1;
  } else if (later > 0 && static_cast<double>(steps_[later].valid) > time) {
    earlier = later - 1;
    f = (time - static_cast<double>(steps_[earlier].valid)) /
        static_cast<double>(steps_[later].valid - steps_[earlier].valid);
  }
  // A forecast of one time holds for a while either side of it, as the
  // steps of one of several times do.
  const double slack = steps_.size() == 1 ? kSingleTimeSlackMinutes : 0.0;
  const double first = static_cast<double>(steps_.front().valid) - slack;
  const double last = static_cast<double>(steps_.back().valid) + slack;
  if (time < first || time > last) {
    sample.warning = "the leg's time is outside the forecast; the nearest time, " +
                     FormatValid(time < first ? steps_.front().valid : steps_.back().valid) +
                     ", is used";
  }
  bool inside = false;
  const WindValue a = AtStep(steps_[earlier], where, alt_ft, inside);
  if (!inside) {
    sample.reason = "outside the GRIB grid";
    return sample;
  }
  const WindValue b = AtStep(steps_[later], where, alt_ft, inside);
  sample.value = Blend(a, b, f);
  sample.found = true;
  sample.time = FormatValid(steps_[earlier].valid);
  if (later != earlier) sample.time += "-" + FormatValid(steps_[later].valid);
  char text[64];
  std::snprintf(text, sizeof text, "grid %.2f%c %.2f%c", std::fabs(where.lat),
                where.lat < 0 ? 'S' : 'N', std::fabs(where.lon), where.lon < 0 ? 'W' : 'E');
  sample.source = text;
  return sample;
}

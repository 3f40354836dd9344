#include "plan/performance_file.h"

#include <cmath>
#include <functional>

namespace {

constexpr const char* kPerformance = "performance";
constexpr const char* kLoading = "loading";
constexpr std::size_t kValueSize = 256;
// No handbook table has this many rows; a hostile file must not make more.
constexpr int kMaxRows = 100;

struct Reader {
  const ProfileFile& file;
  const char* section;
  ReadReport& report;
  std::set<std::string>& refused;

  // The value, or empty when the key is missing or empty.
  std::string Text(const std::string& key) const {
    return file.GetString(section, key, "", kValueSize);
  }

  void Refuse(const std::string& key, const std::string& value, const std::string& why) {
    report.Warning("[" + std::string(section) + "] " + key + "=" + value + " refused: " + why);
    refused.insert(key);
  }

  void Number(const char* key, std::optional<double>& out, const std::function<bool(double)>& ok,
              const char* why) {
    const std::string text = Text(key);
    if (text.empty()) return;
    double v = 0.0;
    if (!ParseNumber(text, v)) {
      Refuse(key, text, "not a number");
    } else if (!ok(v)) {
      Refuse(key, text, why);
    } else {
      out = v;
    }
  }
};

bool NotNegative(double v) {
  return v >= 0.0;
}
bool Positive(double v) {
  return v > 0.0;
}

void ReadClimb(Reader& r, Performance& perf) {
  for (int k = 0; k < kMaxRows; ++k) {
    const std::string key = "climb" + std::to_string(k);
    if (!r.file.HasKey(kPerformance, key)) break;
    const std::string text = r.Text(key);
    if (text.empty()) continue;
    ClimbRow row;
    std::string why;
    if (!ParseClimbRow(text, row, why)) {
      r.Refuse(key, text, why);
      r.refused.insert("climb");
      continue;
    }
    perf.climb.push_back(row);
    if (ClimbTableOutOfOrder(perf.climb, why) >= 0) {
      perf.climb.pop_back();
      r.Refuse(key, text, why);
      r.refused.insert("climb");
    }
  }
}

void ReadStations(Reader& r, Loading& loading) {
  for (int k = 0; k < kMaxRows; ++k) {
    const std::string key = "station" + std::to_string(k);
    if (!r.file.HasKey(kLoading, key)) break;
    const std::string text = r.Text(key);
    if (text.empty()) continue;
    LoadStation station;
    std::string why;
    if (!ParseStation(text, station, why)) {
      r.Refuse(key, text, why);
      r.refused.insert("station");
      continue;
    }
    loading.stations.push_back(station);
  }
}

// Writes a value that is set, clears one the pilot took away, and keeps one
// that was refused.
void Put(ProfileFile& file, const char* section, const std::set<std::string>& refused,
         const std::string& key, const std::optional<std::string>& value) {
  if (value) {
    file.WriteString(section, key, *value);
  } else if (!refused.count(key) && file.HasKey(section, key)) {
    file.WriteString(section, key, "");
  }
}

std::optional<std::string> Text(const std::optional<double>& v) {
  if (!v) return std::nullopt;
  return FormatNumber(*v);
}

// Rows prefix0, prefix1, ...; rows the table no longer has are cleared.
void PutRows(ProfileFile& file, const char* section, const std::set<std::string>& refused,
             const std::string& prefix, const std::vector<std::string>& rows) {
  if (refused.count(prefix)) return;
  std::size_t k = 0;
  for (; k < rows.size(); ++k) file.WriteString(section, prefix + std::to_string(k), rows[k]);
  for (; file.HasKey(section, prefix + std::to_string(k)); ++k) {
    file.WriteString(section, prefix + std::to_string(k), "");
  }
}

}  // namespace

void ReadPerformance(const ProfileFile& file, Performance& perf, Loading& loading,
                     ReadReport& report) {
  perf = Performance();
  loading = Loading();
  if (file.HasSection(kPerformance)) {
    Reader r{file, kPerformance, report, perf.refused};
    ReadClimb(r, perf);
    r.Number("climbisa", perf.climbisa, NotNegative, "cannot be negative");
    r.Number("descentfpm", perf.descentfpm, Positive, "must be above 0");
    r.Number("descenttas", perf.descenttas, Positive, "must be above 0");
    r.Number("descentgph", perf.descentgph, NotNegative, "cannot be negative");
    r.Number("taxigal", perf.taxigal, NotNegative, "cannot be negative");
    r.Number("contingency", perf.contingency, NotNegative, "cannot be negative");
    r.Number("extragal", perf.extragal, NotNegative, "cannot be negative");
    perf.alternate = r.Text("alternate");
    r.Number("alternatedist", perf.alternatedist, NotNegative, "cannot be negative");
    r.Number(
        "alternatetc", perf.alternatetc, [](double v) { return v >= 0.0 && v <= 360.0; },
        "a course is 0 to 360 degrees");
    r.Number(
        "alternatealt", perf.alternatealt, [](double v) { return std::fabs(v) < 100000.0; },
        "not an altitude");
  }
  if (file.HasSection(kLoading)) {
    Reader r{file, kLoading, report, loading.refused};
    const std::string empty = r.Text("empty");
    if (!empty.empty()) {
      double lb = 0.0;
      double arm = 0.0;
      std::string why;
      if (ParseEmptyWeight(empty, lb, arm, why)) {
        loading.empty_lb = lb;
        loading.empty_arm = arm;
      } else {
        r.Refuse("empty", empty, why);
      }
    }
    ReadStations(r, loading);
    r.Number(
        "fuelarm", loading.fuelarm, [](double) { return true; }, "");
    r.Number("fuellbpergal", loading.fuellbpergal, Positive, "must be above 0");
    const std::string envelope = r.Text("envelope");
    if (!envelope.empty()) {
      std::string why;
      if (!ParseEnvelope(envelope, loading.envelope, why)) r.Refuse("envelope", envelope, why);
    }
    r.Number("maxlb", loading.maxlb, Positive, "must be above 0");
  }
}

void WritePerformance(ProfileFile& file, const Performance& perf, const Loading& loading) {
  if (perf.IsSet() || file.HasSection(kPerformance)) {
    const auto& no = perf.refused;
    std::vector<std::string> rows;
    for (const ClimbRow& row : perf.climb) rows.push_back(FormatClimbRow(row));
    PutRows(file, kPerformance, no, "climb", rows);
    Put(file, kPerformance, no, "climbisa", Text(perf.climbisa));
    Put(file, kPerformance, no, "descentfpm", Text(perf.descentfpm));
    Put(file, kPerformance, no, "descenttas", Text(perf.descenttas));
    Put(file, kPerformance, no, "descentgph", Text(perf.descentgph));
    Put(file, kPerformance, no, "taxigal", Text(perf.taxigal));
    Put(file, kPerformance, no, "contingency", Text(perf.contingency));
    Put(file, kPerformance, no, "extragal", Text(perf.extragal));
    Put(file, kPerformance, no, "alternate",
        perf.alternate.empty() ? std::nullopt : std::optional<std::string>(perf.alternate));
    Put(file, kPerformance, no, "alternatedist", Text(perf.alternatedist));
    Put(file, kPerformance, no, "alternatetc", Text(perf.alternatetc));
    Put(file, kPerformance, no, "alternatealt", Text(perf.alternatealt));
  }
  if (loading.IsSet() || file.HasSection(kLoading)) {
    const auto& no = loading.refused;
    std::optional<std::string> empty;
    if (loading.empty_lb) {
      empty = FormatNumber(*loading.empty_lb) + " " + FormatNumber(loading.empty_arm.value_or(0.0));
    }
    Put(file, kLoading, no, "empty", empty);
    std::vector<std::string> rows;
    for (const LoadStation& s : loading.stations) rows.push_back(FormatStation(s));
    PutRows(file, kLoading, no, "station", rows);
    Put(file, kLoading, no, "fuelarm", Text(loading.fuelarm));
    Put(file, kLoading, no, "fuellbpergal", Text(loading.fuellbpergal));
    Put(file, kLoading, no, "envelope",
        loading.envelope.empty() ? std::nullopt
                                 : std::optional<std::string>(FormatEnvelope(loading.envelope)));
    Put(file, kLoading, no, "maxlb", Text(loading.maxlb));
  }
}

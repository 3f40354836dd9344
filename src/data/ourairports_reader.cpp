// OurAirports' CSV files: a header row names the columns, so columns are
// found by name and the files may gain or reorder them.
#include <cmath>
#include <map>
#include <unordered_map>

#include "data/aviation_readers.h"
#include "data/data_lines.h"
#include "plan/text_fields.h"

namespace {

// Longer than any real record; a quote that never closes stops here.
constexpr std::size_t kMaxRecordBytes = 1 << 16;

class CsvFile {
 public:
  CsvFile(const DataFile& file, DataSetInfo& info) : file_(file), info_(info) {
    const std::size_t slash = file.path.find_last_of('/');
    name_ = file.path.substr(slash + 1);
  }

  // Opens the file and reads its header; false (with a warning) when a
  // column in `required` is missing.
  bool Open(const std::vector<std::string>& required) {
    std::string why;
    if (!lines_.Open(file_.path, why) || !Record(header_)) {
      info_.warnings.push_back(name_ + ": " + (why.empty() ? "no header row" : why));
      return false;
    }
    for (std::size_t i = 0; i < header_.size(); ++i) columns_[std::string(Trim(header_[i]))] = i;
    for (const std::string& name : required) {
      if (!columns_.count(name)) {
        info_.warnings.push_back(name_ + ": no column \"" + name + "\"; the file was not read");
        return false;
      }
    }
    return true;
  }

  // The next record; false at the end.
  bool Record(std::vector<std::string>& fields) {
    std::string_view line;
    if (!lines_.Next(line)) return false;
    record_line_ = ++number_;
    if (SplitCsvRecord(line, fields)) return true;
    std::string joined(line);
    while (lines_.Next(line)) {
      ++number_;
      joined += '\n';
      joined.append(line);
      if (SplitCsvRecord(joined, fields)) return true;
      if (joined.size() > kMaxRecordBytes) break;
    }
    Bad("a quoted field that never ends");
    fields.clear();
    return true;
  }

  // Column `name` of the record: empty when the header lacks it or the record is short.
  std::string_view Get(const std::vector<std::string>& fields, const std::string& name) const {
    const auto it = columns_.find(name);
    if (it == columns_.end() || it->second >= fields.size()) return std::string_view();
    return Trim(fields[it->second]);
  }
  // The record has every column of the header.
  bool Complete(const std::vector<std::string>& fields) const {
    return fields.size() >= header_.size();
  }

  void Bad(const char* why) {
    if (skipped_++ == 0) first_bad_ = record_line_, why_ = why;
  }
  void Finish() {
    info_.skipped += skipped_;
    if (skipped_ > 0)
      info_.warnings.push_back(name_ + ": " + std::to_string(skipped_) +
                               " records skipped (the first at line " + std::to_string(first_bad_) +
                               ": " + why_ + ")");
    if (!lines_.error().empty()) info_.warnings.push_back(name_ + ": " + lines_.error());
  }
  double fraction() const { return lines_.fraction(); }

 private:
  const DataFile& file_;
  DataSetInfo& info_;
  std::string name_;
  DataLines lines_;
  std::vector<std::string> header_;
  std::unordered_map<std::string, std::size_t> columns_;
  int64_t number_ = 0;       // lines read
  int64_t record_line_ = 0;  // where the last record began
  int64_t skipped_ = 0;
  int64_t first_bad_ = 0;
  std::string why_;
};

FrequencyUse UseOfType(const std::string& type) {
  static const std::map<std::string, FrequencyUse> kUses = {
      {"ATIS", FrequencyUse::Atis},     {"ASOS", FrequencyUse::Atis},
      {"AWOS", FrequencyUse::Atis},     {"AWOS-3", FrequencyUse::Atis},
      {"UNIC", FrequencyUse::Unicom},   {"UNICOM", FrequencyUse::Unicom},
      {"CTAF", FrequencyUse::Ctaf},     {"CLD", FrequencyUse::Clearance},
      {"DEL", FrequencyUse::Clearance}, {"GND", FrequencyUse::Ground},
      {"TWR", FrequencyUse::Tower},     {"APP", FrequencyUse::Approach},
      {"DEP", FrequencyUse::Departure},
  };
  const auto it = kUses.find(Upper(type));
  return it == kUses.end() ? FrequencyUse::Other : it->second;
}

bool Position(std::string_view lat, std::string_view lon, GeoPosition& position) {
  return ParseDecimal(lat, position.lat) && ParseDecimal(lon, position.lon) &&
         ValidPosition(position.lat, position.lon);
}

struct Airports {
  std::vector<Airport> list;
  std::unordered_map<std::string, std::size_t> by_id;
  std::unordered_map<std::string, std::size_t> by_ident;

  // The airport a runway or frequency row belongs to: by the airport's id,
  // else by its ident.
  Airport* Owner(const CsvFile& csv, const std::vector<std::string>& row) {
    const auto id = by_id.find(std::string(csv.Get(row, "airport_ref")));
    if (id != by_id.end()) return &list[id->second];
    const auto ident = by_ident.find(std::string(csv.Get(row, "airport_ident")));
    return ident == by_ident.end() ? nullptr : &list[ident->second];
  }
};

void ReadAirports(CsvFile& csv, Airports& airports) {
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (row.empty() || (row.size() == 1 && row[0].empty())) continue;
    Airport airport;
    if (!csv.Complete(row) || csv.Get(row, "ident").empty() ||
        !Position(csv.Get(row, "latitude_deg"), csv.Get(row, "longitude_deg"), airport.position)) {
      csv.Bad("an airport without ident or position");
      continue;
    }
    airport.ident = std::string(csv.Get(row, "ident"));
    airport.name = std::string(csv.Get(row, "name"));
    airport.icao_code = std::string(csv.Get(row, "icao_code"));
    airport.gps_code = std::string(csv.Get(row, "gps_code"));
    airport.local_code = std::string(csv.Get(row, "local_code"));
    double elevation = 0;
    if (ParseDecimal(csv.Get(row, "elevation_ft"), elevation) && std::fabs(elevation) < 30000)
      airport.elevation_ft = static_cast<int32_t>(std::lround(elevation));
    const std::string id(csv.Get(row, "id"));
    if (!id.empty()) airports.by_id[id] = airports.list.size();
    airports.by_ident.emplace(airport.ident, airports.list.size());
    airports.list.push_back(std::move(airport));
  }
}

void ReadRunways(CsvFile& csv, Airports& airports) {
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (row.empty() || (row.size() == 1 && row[0].empty())) continue;
    Airport* airport = csv.Complete(row) ? airports.Owner(csv, row) : nullptr;
    if (!airport || (csv.Get(row, "le_ident").empty() && csv.Get(row, "he_ident").empty())) {
      csv.Bad("a runway without its airport or numbers");
      continue;
    }
    Runway runway;
    runway.end1 = std::string(csv.Get(row, "le_ident"));
    runway.end2 = std::string(csv.Get(row, "he_ident"));
    runway.closed = csv.Get(row, "closed") == "1";
    GeoPosition p;
    if (Position(csv.Get(row, "le_latitude_deg"), csv.Get(row, "le_longitude_deg"), p))
      runway.end1_position = p;
    if (Position(csv.Get(row, "he_latitude_deg"), csv.Get(row, "he_longitude_deg"), p))
      runway.end2_position = p;
    airport->runways.push_back(std::move(runway));
  }
}

void ReadFrequencies(CsvFile& csv, Airports& airports) {
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (row.empty() || (row.size() == 1 && row[0].empty())) continue;
    Airport* airport = csv.Complete(row) ? airports.Owner(csv, row) : nullptr;
    AirportFrequency frequency;
    if (!airport || !ParseMegahertz(std::string(csv.Get(row, "frequency_mhz")), frequency.khz)) {
      csv.Bad("a frequency without its airport or in MHz");
      continue;
    }
    // A value in kHz or Hz in the MHz column lands far outside the airband.
    if (frequency.khz < 100000 || frequency.khz > 400000) {
      csv.Bad("a frequency outside the airband");
      continue;
    }
    frequency.use = UseOfType(std::string(csv.Get(row, "type")));
    frequency.label = std::string(csv.Get(row, "description"));
    if (frequency.label.empty()) frequency.label = std::string(csv.Get(row, "type"));
    airport->frequencies.push_back(std::move(frequency));
  }
}

void ReadNavaids(CsvFile& csv, AviationSink& sink, DataSetInfo& info) {
  static const std::map<std::string, NavaidType> kTypes = {
      {"VOR", NavaidType::Vor},   {"VOR-DME", NavaidType::VorDme}, {"VORTAC", NavaidType::Vortac},
      {"NDB", NavaidType::Ndb},   {"NDB-DME", NavaidType::Ndb},    {"DME", NavaidType::Dme},
      {"TACAN", NavaidType::Dme},
  };
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (row.empty() || (row.size() == 1 && row[0].empty())) continue;
    Navaid navaid;
    const auto type = kTypes.find(Upper(csv.Get(row, "type")));
    if (!csv.Complete(row) || type == kTypes.end() || csv.Get(row, "ident").empty() ||
        !Position(csv.Get(row, "latitude_deg"), csv.Get(row, "longitude_deg"), navaid.position) ||
        !ParseInteger(csv.Get(row, "frequency_khz"), navaid.khz)) {
      csv.Bad("a navaid without type, ident, position or frequency");
      continue;
    }
    navaid.type = type->second;
    navaid.ident = std::string(csv.Get(row, "ident"));
    navaid.name = std::string(csv.Get(row, "name"));
    navaid.region = std::string(csv.Get(row, "iso_country"));
    if ((HasRadials(navaid.type) && !InVorBand(navaid.khz)) ||
        (navaid.type == NavaidType::Ndb && !InNdbBand(navaid.khz))) {
      csv.Bad("a navaid frequency outside its band (frequency_khz is in kHz)");
      continue;
    }
    double variation = 0;
    if (HasRadials(navaid.type) && ParseDecimal(csv.Get(row, "slaved_variation_deg"), variation) &&
        std::fabs(variation) <= 180.0)
      navaid.slaved_variation = variation;
    ++info.navaids;
    sink.AddNavaid(std::move(navaid));
  }
}

}  // namespace

bool ReadOurAirports(const DataFiles& files, AviationSink& sink, DataSetInfo& info,
                     const IndexProgress& progress, std::string& error) {
  Airports airports;
  bool any = false;
  unsigned long long total = 0, done = 0;
  for (const DataFile& file : files.files) total += file.size;
  for (const DataFile& file : files.files) {
    const std::size_t slash = file.path.find_last_of('/');
    const std::string name = file.path.substr(slash + 1);
    CsvFile csv(file, info);
    if (name.rfind("airports.csv", 0) == 0) {
      if (!csv.Open({"ident", "name", "latitude_deg", "longitude_deg"})) break;
      ReadAirports(csv, airports);
    } else if (name.rfind("runways.csv", 0) == 0) {
      if (csv.Open({"le_ident", "he_ident"})) ReadRunways(csv, airports);
    } else if (name.rfind("airport-frequencies.csv", 0) == 0) {
      if (csv.Open({"frequency_mhz"})) ReadFrequencies(csv, airports);
    } else if (csv.Open({"ident", "type", "frequency_khz", "latitude_deg", "longitude_deg"})) {
      ReadNavaids(csv, sink, info);
    }
    csv.Finish();
    any = true;
    done += file.size;
    if (progress && total > 0) progress(static_cast<double>(done) / static_cast<double>(total));
  }
  if (airports.list.empty() && info.navaids == 0) {
    error = "airports.csv holds no airport this program can read";
    return false;
  }
  for (Airport& airport : airports.list) sink.AddAirport(std::move(airport));
  info.airports += static_cast<int64_t>(airports.list.size());
  return any;
}

// A header row names the columns, so columns are found by name and the files
// may gain or reorder them. Which file is which is told by its columns.
#include "data/ourairports_reader.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

#include "data/data_lines.h"
#include "plan/text_fields.h"

namespace {

// Longer than any real record; a quote that never closes stops here.
constexpr std::size_t kMaxRecordBytes = 1 << 16;
// Runways and frequencies wait for their airport, so they are held while the
// airports stream past; the published set has about 75,000 of them.
constexpr std::size_t kMaxHeldRows = 300000;

class CsvFile {
 public:
  explicit CsvFile(const DataFile& file) : file_(file), report_(BaseName(file.path)) {}

  // Opens the file and reads its header; false with a warning when it cannot.
  bool Open() {
    std::string why;
    if (!lines_.Open(file_.path, why) || !Record(header_)) {
      report_.Warning(why.empty() ? "no header row" : why);
      return false;
    }
    for (std::size_t i = 0; i < header_.size(); ++i) columns_[std::string(Trim(header_[i]))] = i;
    return true;
  }
  bool Has(const std::string& column) const { return columns_.count(column) > 0; }
  // False with a warning when a column in `required` is missing.
  bool Require(const std::vector<std::string>& required) {
    for (const std::string& name : required) {
      if (!Has(name)) {
        report_.Warning("no column \"" + name + "\"; the file was not read");
        return false;
      }
    }
    return true;
  }

  // Told how far the file is read (0..1, by its bytes) every few records.
  void Watch(std::function<void(double)> progress) { progress_ = std::move(progress); }

  // The next record; false at the end.
  bool Record(std::vector<std::string>& fields) {
    std::string_view line;
    if (!lines_.Next(line)) return false;
    record_line_ = ++number_;
    // Often enough for a progress bar to move by the bytes read.
    if ((record_line_ & 0xff) == 0 && progress_) progress_(lines_.fraction());
    bool complete = record_.Start(line);
    while (!complete && record_.bytes() <= kMaxRecordBytes && lines_.Next(line)) {
      ++number_;
      complete = record_.Continue(line);
    }
    if (complete) {
      fields.swap(record_.fields());
    } else {
      Bad("a quoted field that never ends");
      fields.clear();
    }
    return true;
  }

  // Column `name` of the record: empty when the header lacks it or the record is short.
  std::string_view Get(const std::vector<std::string>& fields, const std::string& name) const {
    const auto it = columns_.find(name);
    if (it == columns_.end() || it->second >= fields.size()) return std::string_view();
    return Trim(fields[it->second]);
  }
  std::string Text(const std::vector<std::string>& fields, const std::string& name) const {
    return PrintableText(Get(fields, name));
  }
  // The record has every column of the header.
  bool Complete(const std::vector<std::string>& fields) const {
    return fields.size() >= header_.size();
  }

  void Bad(const char* why) { skipped_.Skip(record_line_, why); }
  // Rows counted as skipped after the file was read.
  void Unplaced(int64_t count, const std::string& what) {
    if (count == 0) return;
    unplaced_ += count;
    report_.Warning(std::to_string(count) + " " + what);
  }
  // Folds the skipped records into one warning and hands the findings over.
  void Finish(DataSetInfo& info, ReadReport& report) {
    info.skipped += skipped_.count() + unplaced_;
    skipped_.Report(report_);
    lines_.Report(report_);
    report.Append(report_);
  }
  ReadReport& report() { return report_; }
  const DataFile& file() const { return file_; }

 private:
  const DataFile& file_;
  ReadReport report_;
  DataLines lines_;
  CsvRecord record_;
  std::vector<std::string> header_;
  std::unordered_map<std::string, std::size_t> columns_;
  std::function<void(double)> progress_;
  int64_t number_ = 0;       // lines read
  int64_t record_line_ = 0;  // where the last record began
  SkippedRecords skipped_;
  int64_t unplaced_ = 0;
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

bool Blank(const std::vector<std::string>& row) {
  return row.empty() || (row.size() == 1 && row[0].empty());
}

// The runways and frequencies of airports not read yet, by the airport's id
// or, for rows without one, by its ident: kept in one flat list each, sorted
// once, so a million rows cost a sort and no map of lists.
struct HeldRows {
  template <typename Row>
  struct Held {
    bool by_ref = false;
    std::string key;
    Row row;
    bool taken = false;
    bool operator<(const Held& other) const {
      return by_ref != other.by_ref ? by_ref < other.by_ref : key < other.key;
    }
  };
  std::vector<Held<Runway>> runways;
  std::vector<Held<AirportFrequency>> frequencies;

  // Whether a row of `csv` may wait for its airport; false (the row counted
  // as bad) when it names none or too many rows wait already.
  bool Admit(CsvFile& csv, const std::vector<std::string>& row, const char* what, bool& by_ref,
             std::string& key) {
    const std::string_view ref = csv.Get(row, "airport_ref");
    const std::string_view ident = csv.Get(row, "airport_ident");
    if (!csv.Complete(row) || (ref.empty() && ident.empty())) {
      csv.Bad(what);
      return false;
    }
    if (runways.size() + frequencies.size() >= kMaxHeldRows) {
      csv.Bad("more runways and frequencies than any published data set has");
      return false;
    }
    by_ref = !ref.empty();
    key = std::string(by_ref ? ref : ident);
    return true;
  }

  void Sort() {
    std::stable_sort(runways.begin(), runways.end());
    std::stable_sort(frequencies.begin(), frequencies.end());
  }

  template <typename Row>
  static void Take(std::vector<Held<Row>>& held, bool by_ref, const std::string& key,
                   std::vector<Row>& into) {
    Held<Row> probe;
    probe.by_ref = by_ref;
    probe.key = key;
    auto [from, to] = std::equal_range(held.begin(), held.end(), probe);
    for (; from != to; ++from) {
      if (from->taken) continue;
      into.push_back(std::move(from->row));
      from->taken = true;
    }
  }
  // Hands `airport` the rows that name it by `id` or `ident`.
  void Give(const std::string& id, const std::string& ident, Airport& airport) {
    if (!id.empty()) {
      Take(runways, true, id, airport.runways);
      Take(frequencies, true, id, airport.frequencies);
    }
    Take(runways, false, ident, airport.runways);
    Take(frequencies, false, ident, airport.frequencies);
  }

  template <typename Row>
  static int64_t Left(const std::vector<Held<Row>>& held) {
    int64_t left = 0;
    for (const Held<Row>& h : held) left += h.taken ? 0 : 1;
    return left;
  }
};

void ReadRunways(CsvFile& csv, HeldRows& held) {
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (Blank(row)) continue;
    if (csv.Get(row, "le_ident").empty() && csv.Get(row, "he_ident").empty()) {
      csv.Bad("a runway without its airport or numbers");
      continue;
    }
    HeldRows::Held<Runway> h;
    if (!held.Admit(csv, row, "a runway without its airport or numbers", h.by_ref, h.key)) continue;
    Runway& runway = h.row;
    runway.end1 = csv.Text(row, "le_ident");
    runway.end2 = csv.Text(row, "he_ident");
    runway.closed = csv.Get(row, "closed") == "1";
    GeoPosition p;
    if (Position(csv.Get(row, "le_latitude_deg"), csv.Get(row, "le_longitude_deg"), p))
      runway.end1_position = p;
    if (Position(csv.Get(row, "he_latitude_deg"), csv.Get(row, "he_longitude_deg"), p))
      runway.end2_position = p;
    held.runways.push_back(std::move(h));
  }
}

void ReadFrequencies(CsvFile& csv, HeldRows& held) {
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (Blank(row)) continue;
    AirportFrequency frequency;
    if (!ParseMegahertz(std::string(csv.Get(row, "frequency_mhz")), frequency.khz)) {
      csv.Bad("a frequency without its airport or in MHz");
      continue;
    }
    // A value in kHz or Hz in the MHz column lands far outside the airband.
    if (frequency.khz < 100000 || frequency.khz > 400000) {
      csv.Bad("a frequency outside the airband");
      continue;
    }
    HeldRows::Held<AirportFrequency> h;
    if (!held.Admit(csv, row, "a frequency without its airport or in MHz", h.by_ref, h.key))
      continue;
    frequency.use = UseOfType(std::string(csv.Get(row, "type")));
    frequency.label = csv.Text(row, "description");
    if (frequency.label.empty()) frequency.label = csv.Text(row, "type");
    h.row = std::move(frequency);
    held.frequencies.push_back(std::move(h));
  }
}

// Each airport goes to the sink as soon as it is read, with the rows held for it.
int64_t ReadAirports(CsvFile& csv, HeldRows& held, AviationSink& sink) {
  int64_t count = 0;
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (Blank(row)) continue;
    Airport airport;
    if (!csv.Complete(row) || csv.Get(row, "ident").empty() ||
        !Position(csv.Get(row, "latitude_deg"), csv.Get(row, "longitude_deg"), airport.position)) {
      csv.Bad("an airport without ident or position");
      continue;
    }
    airport.ident = csv.Text(row, "ident");
    airport.name = csv.Text(row, "name");
    airport.icao_code = csv.Text(row, "icao_code");
    airport.gps_code = csv.Text(row, "gps_code");
    airport.local_code = csv.Text(row, "local_code");
    const std::string_view kind = csv.Get(row, "type");
    airport.kind = kind == "heliport"        ? AirportKind::Heliport
                   : kind == "seaplane_base" ? AirportKind::SeaplaneBase
                   : kind == "closed"        ? AirportKind::Closed
                                             : AirportKind::Airport;
    double elevation = 0;
    if (ParseDecimal(csv.Get(row, "elevation_ft"), elevation) && std::fabs(elevation) < 30000)
      airport.elevation_ft = static_cast<int32_t>(std::lround(elevation));
    held.Give(std::string(csv.Get(row, "id")), std::string(csv.Get(row, "ident")), airport);
    ++count;
    sink.Add(std::move(airport));
  }
  return count;
}

int64_t ReadNavaids(CsvFile& csv, AviationSink& sink) {
  static const std::map<std::string, NavaidType> kTypes = {
      {"VOR", NavaidType::Vor},   {"VOR-DME", NavaidType::VorDme}, {"VORTAC", NavaidType::Vortac},
      {"NDB", NavaidType::Ndb},   {"NDB-DME", NavaidType::Ndb},    {"DME", NavaidType::Dme},
      {"TACAN", NavaidType::Dme},
  };
  int64_t count = 0;
  std::vector<std::string> row;
  while (csv.Record(row)) {
    if (Blank(row)) continue;
    Navaid navaid;
    const auto type = kTypes.find(Upper(csv.Get(row, "type")));
    if (!csv.Complete(row) || type == kTypes.end() || csv.Get(row, "ident").empty() ||
        !Position(csv.Get(row, "latitude_deg"), csv.Get(row, "longitude_deg"), navaid.position) ||
        !ParseInteger(csv.Get(row, "frequency_khz"), navaid.khz)) {
      csv.Bad("a navaid without type, ident, position or frequency");
      continue;
    }
    navaid.type = type->second;
    navaid.ident = csv.Text(row, "ident");
    navaid.name = csv.Text(row, "name");
    navaid.region = csv.Text(row, "iso_country");
    // A DME's channel is given by the VHF frequency it pairs with.
    if ((HasRadials(navaid.type) && !InVorBand(navaid.khz)) ||
        (navaid.type == NavaidType::Ndb && !InNdbBand(navaid.khz)) ||
        (navaid.type == NavaidType::Dme && (navaid.khz < 100000 || navaid.khz > 400000))) {
      csv.Bad("a navaid frequency outside its band (frequency_khz is in kHz)");
      continue;
    }
    double variation = 0;
    if (HasRadials(navaid.type) && ParseDecimal(csv.Get(row, "slaved_variation_deg"), variation) &&
        std::fabs(variation) <= 180.0)
      navaid.slaved_variation = variation;
    if (HasRadials(navaid.type) &&
        ParseDecimal(csv.Get(row, "magnetic_variation_deg"), variation) &&
        std::fabs(variation) <= 180.0)
      navaid.station_variation = variation;
    ++count;
    sink.Add(std::move(navaid));
  }
  return count;
}

std::vector<DataFile> FindFiles(const std::string& folder) {
  std::vector<DataFile> files;
  DataFile file;
  if (!FindDataFile(folder, {""}, "airports.csv", file)) return files;
  files.push_back(file);
  // Runways, frequencies and navaids are optional: without them, airports still answer.
  for (const char* name : {"runways.csv", "airport-frequencies.csv", "navaids.csv"}) {
    if (FindDataFile(folder, {""}, name, file)) files.push_back(file);
  }
  return files;
}

bool Sniff(std::string_view first_line) {
  return first_line.find("ident") != std::string_view::npos &&
         first_line.find(',') != std::string_view::npos;
}

enum class Kind { Airports, Runways, Frequencies, Navaids };

// What a file holds, by its columns; the airports file is the first one listed.
Kind KindOf(const CsvFile& csv, bool first) {
  if (first) return Kind::Airports;
  if (csv.Has("le_ident") || csv.Has("he_ident")) return Kind::Runways;
  if (csv.Has("frequency_mhz")) return Kind::Frequencies;
  return Kind::Navaids;
}

ReadReport Read(const std::vector<DataFile>& files, AviationSink& sink, DataSetInfo& info,
                const IndexProgress& progress) {
  ReadReport report;
  std::vector<std::unique_ptr<CsvFile>> opened;
  std::map<Kind, CsvFile*> by_kind;
  unsigned long long total = 0, done = 0;
  for (const DataFile& file : files) {
    total += file.size;
    opened.push_back(std::make_unique<CsvFile>(file));
    CsvFile& csv = *opened.back();
    if (!csv.Open()) continue;
    const Kind kind = KindOf(csv, &file == &files.front());
    if (!by_kind.count(kind)) by_kind[kind] = &csv;
  }
  const auto step = [&](CsvFile* csv) {
    done += csv->file().size;
    if (progress && total > 0) progress(static_cast<double>(done) / static_cast<double>(total));
  };
  if (progress && total > 0) {
    for (const std::unique_ptr<CsvFile>& csv : opened) {
      const double size = static_cast<double>(csv->file().size);
      csv->Watch([&progress, &done, total, size](double fraction) {
        progress((static_cast<double>(done) + fraction * size) / static_cast<double>(total));
      });
    }
  }
  HeldRows held;
  CsvFile* runways = by_kind.count(Kind::Runways) ? by_kind[Kind::Runways] : nullptr;
  CsvFile* frequencies = by_kind.count(Kind::Frequencies) ? by_kind[Kind::Frequencies] : nullptr;
  if (runways && runways->Require({"le_ident", "he_ident"})) ReadRunways(*runways, held);
  if (runways) step(runways);
  if (frequencies && frequencies->Require({"frequency_mhz"})) ReadFrequencies(*frequencies, held);
  if (frequencies) step(frequencies);

  held.Sort();
  CsvFile* airports = by_kind.count(Kind::Airports) ? by_kind[Kind::Airports] : nullptr;
  if (airports && airports->Require({"ident", "name", "latitude_deg", "longitude_deg"})) {
    info.airports += ReadAirports(*airports, held, sink);
    step(airports);
  }
  // What is still held names no airport the file has.
  if (runways)
    runways->Unplaced(HeldRows::Left(held.runways), "runways name no airport of airports.csv");
  if (frequencies)
    frequencies->Unplaced(HeldRows::Left(held.frequencies),
                          "frequencies name no airport of airports.csv");

  CsvFile* navaids = by_kind.count(Kind::Navaids) ? by_kind[Kind::Navaids] : nullptr;
  if (navaids &&
      navaids->Require({"ident", "type", "frequency_khz", "latitude_deg", "longitude_deg"})) {
    info.navaids += ReadNavaids(*navaids, sink);
    step(navaids);
  }
  for (const auto& csv : opened) csv->Finish(info, report);
  if (info.airports == 0 && info.navaids == 0) {
    ReadReport none(BaseName(files.front().path));
    none.Error("holds no airport this program can read");
    report.Append(none);
  }
  return report;
}

}  // namespace

DataFormat OurAirportsFormat() {
  return DataFormat{"OurAirports", FindFiles, Sniff, Read};
}

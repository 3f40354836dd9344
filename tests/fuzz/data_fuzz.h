// What the data readers promise, checked on every record a fuzzed file
// gives: positions on the globe, frequencies in their bands, values within
// their limits, text without control characters, counts that add up. Any
// broken promise aborts, so the fuzzer reports it as a crash.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "data/aviation_readers.h"
#include "data/data_lines.h"

namespace fuzz_data {

inline void Require(bool promise) {
  if (!promise) std::abort();
}

// One folder for the files of every run, in memory where the system has it.
inline const std::string& Folder() {
  static const std::string folder = [] {
    std::string pattern =
        access("/dev/shm", W_OK) == 0 ? "/dev/shm/halvix-fuzz-XXXXXX" : "/tmp/halvix-fuzz-XXXXXX";
    if (!mkdtemp(&pattern[0])) std::abort();
    return pattern;
  }();
  return folder;
}

inline void Write(const std::string& name, std::string_view bytes) {
  std::ofstream(Folder() + "/" + name, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void Remove(const std::string& name) {
  unlink((Folder() + "/" + name).c_str());
}

inline void Printable(const std::string& text) {
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    Require(u >= 0x20 && u != 0x7f);
  }
}

inline void ValidPlace(const GeoPosition& p) {
  Require(std::isfinite(p.lat) && std::isfinite(p.lon) && std::fabs(p.lat) <= 90.0 &&
          std::fabs(p.lon) <= 180.0);
}

// A runway number the reader worked out itself is 01-36; any other number
// must stand in the file as it is.
inline void RunwayEnd(const std::string& end, std::string_view input) {
  Printable(end);
  std::size_t digits = 0;
  while (digits < end.size() && end[digits] >= '0' && end[digits] <= '9') ++digits;
  if (digits == 0) return;
  if (digits > 2 || std::atoi(end.substr(0, digits).c_str()) > 36 ||
      std::atoi(end.substr(0, digits).c_str()) < 1)
    Require(input.find(end) != std::string_view::npos);
}

class CheckingSink : public AviationSink {
 public:
  explicit CheckingSink(std::string_view input) : input_(input) {}
  int64_t airports = 0, navaids = 0;

  void Add(AviationRecord&& record) override {
    if (const Airport* a = std::get_if<Airport>(&record)) {
      ++airports;
      ValidPlace(a->position);
      for (const std::string* text :
           {&a->ident, &a->name, &a->icao_code, &a->gps_code, &a->local_code})
        Printable(*text);
      Require(!a->ident.empty());
      if (a->elevation_ft) Require(*a->elevation_ft >= -2000 && *a->elevation_ft <= 30000);
      for (const Runway& r : a->runways) {
        RunwayEnd(r.end1, input_);
        RunwayEnd(r.end2, input_);
        if (r.end1_position) ValidPlace(*r.end1_position);
        if (r.end2_position) ValidPlace(*r.end2_position);
      }
      for (const AirportFrequency& f : a->frequencies) {
        Require(f.khz >= 100000 && f.khz <= 400000);
        Printable(f.label);
      }
    } else if (const Navaid* n = std::get_if<Navaid>(&record)) {
      ++navaids;
      ValidPlace(n->position);
      Printable(n->ident);
      Printable(n->name);
      Printable(n->region);
      if (HasRadials(n->type)) Require(InVorBand(n->khz));
      if (n->type == NavaidType::Ndb) Require(InNdbBand(n->khz));
      if (n->type == NavaidType::Dme) Require(n->khz >= 100000 && n->khz <= 400000);
      if (n->type == NavaidType::Fix) Require(n->khz == 0);
      if (n->slaved_variation)
        Require(std::isfinite(*n->slaved_variation) && std::fabs(*n->slaved_variation) <= 180.0);
    }
  }

 private:
  std::string_view input_;
};

// Reads the folder as the index would and checks the counts and the report.
inline void ReadAndCheck(std::string_view input) {
  const DataFiles files = FindDataFiles(Folder());
  if (!files.reader) return;
  CheckingSink sink(input);
  DataSetInfo info;
  const ReadReport report = ReadAviationData(files, sink, info, {});
  Require(info.airports == sink.airports && info.navaids == sink.navaids);
  Require(info.skipped >= 0);
  Require(report.ok() == (report.errors() == 0));
  for (const Finding& f : report.findings())
    Require(!f.file.empty() || f.severity == Finding::Severity::Error);
}

}  // namespace fuzz_data

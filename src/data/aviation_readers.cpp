#include "data/aviation_readers.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "data/data_lines.h"
#include "plan/text_fields.h"

namespace {

bool IsFile(const std::string& path, DataFile& file) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  file.path = path;
  file.size = static_cast<unsigned long long>(st.st_size);
  file.mtime_ns = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return true;
}

// `name` or `name`.gz in the folder or one of its sub-folders.
bool FindOne(const std::string& folder, const std::vector<std::string>& subfolders,
             const std::string& name, DataFile& file) {
  for (const std::string& sub : subfolders) {
    const std::string base = folder + "/" + (sub.empty() ? "" : sub + "/") + name;
    if (IsFile(base, file) || IsFile(base + ".gz", file)) return true;
  }
  return false;
}

}  // namespace

DataFiles FindDataFiles(const std::string& folder) {
  DataFiles found;
  DataFile file;
  if (FindOne(folder, {""}, "airports.csv", file)) {
    found.format = "OurAirports";
    found.files.push_back(file);
    // Runways, frequencies and navaids are optional: without them, airports still answer.
    for (const char* name : {"runways.csv", "airport-frequencies.csv", "navaids.csv"}) {
      if (FindOne(folder, {""}, name, file)) found.files.push_back(file);
    }
    return found;
  }
  if (FindOne(folder, {"", "Airports"}, "apt.dat", file)) found.files.push_back(file);
  if (FindOne(folder, {"", "Navaids"}, "nav.dat", file)) found.files.push_back(file);
  if (FindOne(folder, {"", "Navaids"}, "fix.dat", file)) found.files.push_back(file);
  if (!found.files.empty()) found.format = "X-Plane";
  return found;
}

bool InComBand(int64_t khz) {
  return khz >= 118000 && khz <= 136975;
}
bool InVorBand(int64_t khz) {
  return khz >= 108000 && khz <= 117950;
}
bool InNdbBand(int64_t khz) {
  return khz >= 190 && khz <= 1750;
}

bool ParseMegahertz(const std::string& text, int64_t& khz) {
  const std::string_view t = Trim(text);
  const std::size_t dot = t.find('.');
  const std::string_view whole = t.substr(0, dot);
  std::string_view fraction =
      dot == std::string_view::npos ? std::string_view() : t.substr(dot + 1);
  int64_t mhz = 0;
  if (!ParseInteger(whole, mhz) || mhz < 0) return false;
  // Digits beyond the third are zeros in any real channel; anything else is not a channel.
  int64_t frac = 0;
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(fraction[i]))) return false;
    if (i < 3) {
      frac = frac * 10 + (fraction[i] - '0');
    } else if (fraction[i] != '0') {
      return false;
    }
  }
  for (std::size_t i = fraction.size(); i < 3; ++i) frac *= 10;
  if (mhz > 1000000) return false;
  khz = mhz * 1000 + frac;
  return true;
}

bool ReadAviationData(const DataFiles& files, AviationSink& sink, DataSetInfo& info,
                      const IndexProgress& progress, std::string& error) {
  info.format = files.format;
  if (files.format == "OurAirports") return ReadOurAirports(files, sink, info, progress, error);
  if (files.format == "X-Plane") return ReadXPlane(files, sink, info, progress, error);
  error = "the folder holds neither airports.csv nor apt.dat, nav.dat or fix.dat";
  return false;
}

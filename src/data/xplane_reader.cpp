// apt.dat, nav.dat and fix.dat as flight simulators lay them out: a line
// "I" or "A", a line with the format version and the data's cycle, then one
// record a line, each led by its row code, and "99" at the end.
#include "data/xplane_reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "data/data_lines.h"
#include "plan/text_fields.h"

namespace {

struct Header {
  int64_t version = 0;
  std::string cycle;
  std::optional<CivilDate> date;
};

// Runway numbers run from 01 to 36; anything else in their place is garbage
// that no arithmetic may turn into a number.
constexpr int64_t kMaxRunwayNumber = 36;

// "1000 Version - data cycle 2013.10, build 20131335, metadata AptXP1000."
void ParseHeader(std::string_view line, Header& header) {
  std::vector<std::string_view> words;
  SplitBlanks(line, words);
  if (!words.empty()) ParseInteger(words[0], header.version);
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    std::string word = Upper(words[i]);
    std::string value(words[i + 1]);
    while (!value.empty() && (value.back() == ',' || value.back() == '.')) value.pop_back();
    if (word == "CYCLE" && header.cycle.empty()) {
      header.cycle = "cycle " + value;
      // "2013.10" or "1308": the year and the 28-day cycle within it.
      int64_t year = 0, number = 0;
      const std::size_t dot = value.find('.');
      bool ok = dot == std::string::npos
                    ? value.size() == 4 && ParseInteger(value.substr(0, 2), year) &&
                          ParseInteger(value.substr(2), number) && ((year += 2000), true)
                    : ParseInteger(value.substr(0, dot), year) &&
                          ParseInteger(value.substr(dot + 1), number);
      if (ok && year > 1900 && year < 2200 && number >= 1 && number <= 14) {
        const int day_of_year = static_cast<int>(28 * (number - 1));
        CivilDate date{static_cast<int>(year), std::min(12, 1 + day_of_year * 12 / 365), 1};
        if (!header.date) header.date = date;
      }
    } else if (word == "BUILD" && value.size() == 8) {
      // A build number is a date only in some releases.
      CivilDate date;
      if (ParseCivilDate(value.substr(0, 4) + "-" + value.substr(4, 2) + "-" + value.substr(6, 2),
                         date)) {
        header.date = date;
        if (header.cycle.empty()) header.cycle = "build " + value;
      }
    }
  }
}

// Text from field `first` to the end of the line.
std::string Rest(std::string_view line, const std::vector<std::string_view>& fields,
                 std::size_t first) {
  if (first >= fields.size()) return std::string();
  return PrintableText(
      Trim(line.substr(static_cast<std::size_t>(fields[first].data() - line.data()))));
}

bool Position(std::string_view lat_text, std::string_view lon_text, GeoPosition& position) {
  return ParseDecimal(lat_text, position.lat) && ParseDecimal(lon_text, position.lon) &&
         ValidPosition(position.lat, position.lon);
}

// A runway number with its letter and the number at the other end: "16R" and
// "34L". The old format writes "16x" for a runway without a letter.
std::string Reciprocal(const std::string& number) {
  int64_t n = 0;
  std::size_t digits = 0;
  while (digits < number.size() && std::isdigit(static_cast<unsigned char>(number[digits])))
    ++digits;
  if (digits == 0 || digits > 2 || !ParseInteger(number.substr(0, digits), n) || n < 1 ||
      n > kMaxRunwayNumber)
    return std::string();
  n = (n + 18 - 1) % 36 + 1;
  std::string letter = number.substr(digits);
  if (letter.size() > 1 ||
      (letter.size() == 1 && !std::isalpha(static_cast<unsigned char>(letter[0]))))
    return std::string();
  if (letter == "L")
    letter = "R";
  else if (letter == "R")
    letter = "L";
  char text[8];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(n));
  return text + letter;
}

std::string StripX(std::string number) {
  if (!number.empty() && (number.back() == 'x' || number.back() == 'X')) number.pop_back();
  return number;
}

class FileReader {
 public:
  FileReader(const DataFile& file, DataSetInfo& info, const std::function<void(double)>& progress)
      : file_(file), info_(info), progress_(progress), report_(BaseName(file.path)) {}

  bool Open(Header& header, std::string& error) {
    if (!lines_.Open(file_.path, error)) return false;
    std::string_view line;
    if (!lines_.Next(line)) {
      error = "empty file";
      return false;
    }
    if (!lines_.Next(line)) {
      error = "no records";
      return false;
    }
    ParseHeader(line, header);
    return true;
  }
  bool Next(std::string_view& line) {
    ++number_;
    // Often enough for a progress bar to move by the bytes read, however long the lines.
    if ((number_ & 0xff) == 0 && progress_) progress_(lines_.fraction());
    return lines_.Next(line);
  }
  void Bad(const char* why) { skipped_.Skip(number_ + 2, why); }
  // Folds the skipped records into one warning and hands the findings over.
  void Finish(ReadReport& report) {
    info_.skipped += skipped_.count();
    skipped_.Report(report_);
    lines_.Report(report_);
    report.Append(report_);
  }
  ReadReport& report() { return report_; }

 private:
  const DataFile& file_;
  DataSetInfo& info_;
  const std::function<void(double)>& progress_;
  ReadReport report_;
  DataLines lines_;
  int64_t number_ = 0;
  SkippedRecords skipped_;
};

FrequencyUse UseOfRow(int64_t code, const std::string& label) {
  const std::string upper = Upper(label);
  switch (code % 1000) {
    case 50:
      return FrequencyUse::Atis;
    case 51:
      return upper.find("CTAF") != std::string::npos ? FrequencyUse::Ctaf : FrequencyUse::Unicom;
    case 52:
      return FrequencyUse::Clearance;
    case 53:
      return FrequencyUse::Ground;
    case 54:
      return FrequencyUse::Tower;
    case 55:
      return FrequencyUse::Approach;
    case 56:
      return FrequencyUse::Departure;
    default:
      return FrequencyUse::Other;
  }
}

class AirportBuilder {
 public:
  explicit AirportBuilder(AviationSink& sink, FileReader& reader) : sink_(sink), reader_(reader) {}

  void Start(Airport&& airport) {
    Flush();
    current_ = std::move(airport);
    open_ = true;
    datum_lat_ = datum_lon_ = false;
    helipad_.reset();
  }
  bool open() const { return open_; }
  Airport& current() { return current_; }
  void Datum(bool lat, double value) {
    (lat ? current_.position.lat : current_.position.lon) = value;
    (lat ? datum_lat_ : datum_lon_) = true;
  }
  void Helipad(const GeoPosition& position) {
    if (!helipad_) helipad_ = position;
  }
  // The record is complete: it goes out when it has a place.
  void Flush() {
    if (!open_) return;
    open_ = false;
    if (!(datum_lat_ && datum_lon_)) {
      double lat = 0, lon = 0;
      int n = 0;
      for (const Runway& runway : current_.runways) {
        for (const auto* end : {&runway.end1_position, &runway.end2_position}) {
          if (!*end) continue;
          lat += (*end)->lat, lon += (*end)->lon, ++n;
        }
      }
      if (n > 0) {
        current_.position = GeoPosition{lat / n, lon / n};
      } else if (helipad_) {
        current_.position = *helipad_;
      } else {
        reader_.Bad("an airport without a position");
        return;
      }
    }
    ++count_;
    sink_.Add(std::move(current_));
  }
  int64_t count() const { return count_; }

 private:
  AviationSink& sink_;
  FileReader& reader_;
  Airport current_;
  bool open_ = false;
  bool datum_lat_ = false, datum_lon_ = false;
  std::optional<GeoPosition> helipad_;
  int64_t count_ = 0;
};

void ReadAirportRow(int64_t code, std::string_view line, const std::vector<std::string_view>& f,
                    AirportBuilder& builder, FileReader& reader) {
  if (code == 1 || code == 16 || code == 17) {
    Airport airport;
    int64_t elevation = 0;
    if (f.size() < 5 || !ParseInteger(f[1], elevation) || elevation < -2000 || elevation > 30000) {
      builder.Flush();
      reader.Bad("an airport header without elevation and ident");
      return;
    }
    airport.elevation_ft = static_cast<int32_t>(elevation);
    airport.ident = PrintableText(f[4]);
    airport.name = Rest(line, f, 5);
    // The simulator marks a field no longer in use with "[X]" before its name.
    airport.kind = airport.name.rfind("[X]", 0) == 0 ? AirportKind::Closed
                   : code == 16                      ? AirportKind::SeaplaneBase
                   : code == 17                      ? AirportKind::Heliport
                                                     : AirportKind::Airport;
    builder.Start(std::move(airport));
    return;
  }
  if (!builder.open()) return;  // rows of an airport whose header was unreadable
  Airport& airport = builder.current();
  if (code == 100 || code == 101) {
    // Land runways: both ends from field 8 and 17; water runways from 3 and 6.
    const std::size_t a = code == 100 ? 8 : 3, b = code == 100 ? 17 : 6;
    Runway runway;
    GeoPosition p1, p2;
    if (f.size() <= b + 2 || !Position(f[a + 1], f[a + 2], p1) ||
        !Position(f[b + 1], f[b + 2], p2)) {
      reader.Bad("a runway without both ends");
      return;
    }
    runway.end1 = PrintableText(f[a]);
    runway.end2 = PrintableText(f[b]);
    runway.end1_position = p1;
    runway.end2_position = p2;
    airport.runways.push_back(std::move(runway));
  } else if (code == 102) {
    GeoPosition p;
    if (f.size() > 3 && Position(f[2], f[3], p)) builder.Helipad(p);
  } else if (code == 10) {
    // The old format's runway (or taxiway, numbered "xxx") by its middle.
    GeoPosition middle;
    if (f.size() < 4 || !Position(f[1], f[2], middle)) {
      reader.Bad("a runway without a position");
      return;
    }
    const std::string number = StripX(std::string(f[3]));
    if (number.empty() || !std::isdigit(static_cast<unsigned char>(number[0])))
      return;  // a taxiway ("xxx") or a helipad
    const std::string other = Reciprocal(number);
    if (other.empty()) {
      reader.Bad("a runway number outside 01-36 or with more than its letter");
      return;
    }
    Runway runway;
    runway.end1 = number;
    runway.end2 = other;
    runway.end1_position = runway.end2_position = middle;
    airport.runways.push_back(std::move(runway));
  } else if ((code >= 50 && code <= 56) || (code >= 1050 && code <= 1056)) {
    int64_t value = 0;
    if (f.size() < 2 || !ParseInteger(f[1], value)) {
      reader.Bad("a frequency that is not a number");
      return;
    }
    // Old rows count in tens of kHz, the 8.33 kHz rows in kHz; the range
    // is checked before any arithmetic.
    const int64_t lowest = code < 1000 ? 10000 : 100000, highest = code < 1000 ? 40000 : 400000;
    if (value < lowest || value > highest) {
      reader.Bad("a frequency outside the airband");
      return;
    }
    int64_t khz = code < 1000 ? value * 10 : value;
    // In tens of kHz a 25 kHz channel loses its last digit: 135.27 is how the
    // data shows 135.275, which is the channel a radio is set to.
    if (code < 1000 && khz % 25 == 20) khz += 5;
    AirportFrequency frequency;
    frequency.label = Rest(line, f, 2);
    frequency.use = UseOfRow(code, frequency.label);
    frequency.khz = khz;
    airport.frequencies.push_back(std::move(frequency));
  } else if (code == 1302 && f.size() >= 3) {
    const std::string key(f[1]);
    const std::string value = Rest(line, f, 2);
    double degrees = 0;
    if (key == "icao_code")
      airport.icao_code = value;
    else if (key == "faa_code" || key == "local_code") {
      if (airport.local_code.empty()) airport.local_code = value;
    } else if ((key == "datum_lat" || key == "datum_lon") && ParseDecimal(value, degrees) &&
               std::fabs(degrees) <= (key == "datum_lat" ? 90.0 : 180.0)) {
      builder.Datum(key == "datum_lat", degrees);
    }
  }
}

// The next row of apt.dat or nav.dat split at blanks, with its row code;
// false at the end of the file or at its closing 99. A line without a row
// code is counted and passed over.
bool NextRow(FileReader& reader, std::string_view& line, std::vector<std::string_view>& f,
             int64_t& code) {
  while (reader.Next(line)) {
    SplitBlanks(line, f);
    if (f.empty()) continue;
    if (ParseInteger(f[0], code)) return code != 99;
    reader.Bad("a line without a row code");
  }
  return false;
}

void ReadAptDat(FileReader& reader, AviationSink& sink, DataSetInfo& info) {
  AirportBuilder builder(sink, reader);
  std::vector<std::string_view> f;
  std::string_view line;
  int64_t code = 0;
  while (NextRow(reader, line, f, code)) {
    ReadAirportRow(code, line, f, builder, reader);
  }
  builder.Flush();
  info.airports += builder.count();
}

NavaidType VorKind(const std::string& name) {
  const std::string upper = Upper(name);
  if (upper.find("VORTAC") != std::string::npos) return NavaidType::Vortac;
  if (upper.find("VOR-DME") != std::string::npos || upper.find("VOR/DME") != std::string::npos)
    return NavaidType::VorDme;
  return NavaidType::Vor;
}

void ReadNavDat(FileReader& reader, int64_t version, AviationSink& sink, DataSetInfo& info) {
  // From 1100 on, two region columns follow the ident.
  const std::size_t name_at = version >= 1100 ? 10 : 8;
  std::vector<std::string_view> f;
  std::string_view line;
  int64_t code = 0;
  while (NextRow(reader, line, f, code)) {
    if (code != 2 && code != 3 && code != 13) continue;  // ILS parts and the DMEs of VORs
    Navaid navaid;
    int64_t frequency = 0;
    if (f.size() < name_at || !Position(f[1], f[2], navaid.position) ||
        !ParseInteger(f[4], frequency)) {
      reader.Bad("a navaid without position or frequency");
      continue;
    }
    navaid.ident = PrintableText(f[7]);
    if (version >= 1100) navaid.region = PrintableText(f[9]);
    navaid.name = Rest(line, f, name_at);
    if (code == 2) {
      navaid.type = NavaidType::Ndb;
      navaid.khz = frequency;
      if (!InNdbBand(navaid.khz)) {
        reader.Bad("an NDB frequency outside 190-1750 kHz");
        continue;
      }
    } else {
      // Tens of kHz; the range is checked before the arithmetic.
      if (frequency < 10000 || frequency > 40000) {
        reader.Bad("a VOR or DME frequency outside 100-400 MHz");
        continue;
      }
      navaid.khz = frequency * 10;
      navaid.type = code == 13 ? NavaidType::Dme : VorKind(navaid.name);
      double variation = 0;
      if (code == 3) {
        if (!InVorBand(navaid.khz)) {
          reader.Bad("a VOR frequency outside 108.00-117.95 MHz");
          continue;
        }
        if (ParseDecimal(f[6], variation) && std::fabs(variation) <= 180.0)
          navaid.slaved_variation = variation;
      }
    }
    ++info.navaids;
    sink.Add(std::move(navaid));
  }
}

void ReadFixDat(FileReader& reader, int64_t version, AviationSink& sink, DataSetInfo& info) {
  std::vector<std::string_view> f;
  std::string_view line;
  while (reader.Next(line)) {
    SplitBlanks(line, f);
    if (f.empty()) continue;
    if (f.size() == 1 && f[0] == "99") break;
    Navaid fix;
    if (f.size() < 3 || !Position(f[0], f[1], fix.position)) {
      reader.Bad("a fix without a position");
      continue;
    }
    fix.ident = PrintableText(f[2]);
    if (version >= 1100 && f.size() > 4) fix.region = PrintableText(f[4]);
    ++info.navaids;
    sink.Add(std::move(fix));
  }
}

std::vector<DataFile> FindFiles(const std::string& folder) {
  std::vector<DataFile> files;
  DataFile file;
  if (FindDataFile(folder, {"", "Airports"}, "apt.dat", file)) files.push_back(file);
  if (FindDataFile(folder, {"", "Navaids"}, "nav.dat", file)) files.push_back(file);
  if (FindDataFile(folder, {"", "Navaids"}, "fix.dat", file)) files.push_back(file);
  return files;
}

// The first line says which machine's line ends the file was made with.
bool Sniff(std::string_view first_line) {
  const std::string_view mark = Trim(first_line);
  return mark == "I" || mark == "A";
}

enum class Kind { Airports, Navaids, Fixes };

Kind KindOf(const std::string& name) {
  if (name.rfind("apt.dat", 0) == 0) return Kind::Airports;
  if (name.rfind("nav.dat", 0) == 0) return Kind::Navaids;
  return Kind::Fixes;
}

ReadReport Read(const std::vector<DataFile>& files, AviationSink& sink, DataSetInfo& info,
                const IndexProgress& progress) {
  ReadReport report;
  unsigned long long total = 0, done = 0;
  for (const DataFile& file : files) total += file.size;
  bool any = false;
  for (const DataFile& file : files) {
    const std::function<void(double)> share = [&](double fraction) {
      if (progress && total > 0)
        progress((static_cast<double>(done) + fraction * static_cast<double>(file.size)) /
                 static_cast<double>(total));
    };
    FileReader reader(file, info, share);
    Header header;
    std::string why;
    if (!reader.Open(header, why)) {
      reader.report().Warning(why);
      reader.Finish(report);
      done += file.size;
      continue;
    }
    if (info.cycle.empty()) info.cycle = header.cycle;
    if (header.date && (!info.date || DecimalYear(*header.date) < DecimalYear(*info.date)))
      info.date = header.date;
    switch (KindOf(BaseName(file.path))) {
      case Kind::Airports:
        ReadAptDat(reader, sink, info);
        break;
      case Kind::Navaids:
        ReadNavDat(reader, header.version, sink, info);
        break;
      case Kind::Fixes:
        ReadFixDat(reader, header.version, sink, info);
        break;
    }
    reader.Finish(report);
    any = true;
    done += file.size;
  }
  if (progress) progress(1.0);
  if (!any) report.Error("none of the data files could be read");
  return report;
}

}  // namespace

DataFormat XPlaneFormat() {
  return DataFormat{"X-Plane", FindFiles, Sniff, Read};
}

#include "plan/planfile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "plan/cnumbers.h"
#include "plan/fileio.h"
#include "plan/performance_file.h"
#include "plan/profile.h"
#include "plan/route_row.h"

const char* const kNoDataMessage = "There is no data entered into the plan!";

namespace {

constexpr const char* kMisc = "misc";
constexpr std::size_t kTitleSize = 256;  // read limits, NUL included
constexpr std::size_t kNameSize = 80;
constexpr std::size_t kValueSize = 256;

// A corrupt or hostile fieldcount must not make the loader run for hours
// making empty airfields; no printed page holds more than 23 of them anyway.
constexpr int32_t kMaxAirfieldsRead = 1000;

const char* const kRouteKeys[] = {"dist", "tc", "alt", "winddir", "windvel", "temp", "tas", "var"};
const char* const kFieldKeys[] = {"name",    "elevation", "tpa",    "runways", "atc",
                                  "traffic", "atis",      "ground", "unicom"};

std::string Numbered(const char* prefix, int32_t i) {
  return prefix + std::to_string(i);
}

// Six decimals place a waypoint to a tenth of a metre.
std::string FormatDegrees(double degrees) {
  CNumbers c_numbers;
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", degrees);
  return text;
}

bool ParseDegrees(const std::string& text, double limit, double& degrees) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, degrees);
  return ec == std::errc() && ptr == end && degrees >= -limit && degrees <= limit;
}

void WritePosition(ProfileFile& file, const std::string& section,
                   const std::optional<GeoPosition>& position) {
  if (position) {
    file.WriteString(section, "lat", FormatDegrees(position->lat));
    file.WriteString(section, "lon", FormatDegrees(position->lon));
  } else if (file.HasKey(section, "lat") || file.HasKey(section, "lon")) {
    // The section may be reused by another checkpoint than the one that was
    // saved there, which must not inherit its place.
    file.WriteString(section, "lat", "");
    file.WriteString(section, "lon", "");
  }
}

std::optional<GeoPosition> ReadPosition(const ProfileFile& file, const std::string& section) {
  GeoPosition position;
  if (!ParseDegrees(file.GetString(section, "lat", "", 32), 90.0, position.lat) ||
      !ParseDegrees(file.GetString(section, "lon", "", 32), 180.0, position.lon))
    return std::nullopt;
  return position;
}

}  // namespace

SaveResult SavePlan(const Plan& plan, const std::string& path) {
  SaveResult result;
  if (plan.route.empty()) {
    result.status = SaveStatus::NothingToSave;
    return result;
  }

  // A target that must not be replaced is a failure to write, whatever
  // reading it first would say.
  std::string target;
  std::string reason;
  if (!ResolveWriteTarget(path, target, reason)) {
    result.error = "Cannot write " + path + ": " + reason;
    return result;
  }
  ProfileFile file;
  if (!file.Load(path, result.error)) return result;

  file.WriteString(kMisc, "title", plan.title);
  file.WriteString(kMisc, "pilotname", plan.aircraft.pilotname);
  file.WriteString(kMisc, "acnumber", plan.aircraft.acnumber);
  file.WriteString(kMisc, "actype", plan.aircraft.actype);
  file.WriteDouble(kMisc, "acgph", plan.aircraft.acgph);
  file.WriteDouble(kMisc, "acfullfuel", plan.aircraft.acfullfuel);
  file.WriteLong(kMisc, "enableshade", plan.print.enableshade);
  file.WriteDouble(kMisc, "topmargin", plan.print.topmargin);
  file.WriteDouble(kMisc, "leftmargin", plan.print.leftmargin);
  file.WriteDouble(kMisc, "bottommargin", plan.print.bottommargin);
  file.WriteDouble(kMisc, "rightmargin", plan.print.rightmargin);
  file.WriteLong(kMisc, "count", static_cast<int32_t>(plan.route.size()));

  for (std::size_t i = 0; i < plan.route.size(); ++i) {
    LegResult own;
    LegResult carry;
    ClearLeg(own);
    ClearLeg(carry);
    ParseRow(plan.route[i], own, carry);
    const std::string section = Numbered("dest", static_cast<int32_t>(i));
    file.WriteString(section, "toname", own.toname);
    file.WriteString(section, "vortext", own.vortext);
    const int32_t values[] = {own.dist,    own.tc,   own.alt, own.winddir,
                              own.windvel, own.temp, own.tas, own.var};
    for (int k = 0; k < 8; ++k) file.WriteLong(section, kRouteKeys[k], values[k]);
    WritePosition(file, section, plan.route[i].position);
  }

  file.WriteLong(kMisc, "fieldcount", static_cast<int32_t>(plan.airfields.size()));
  file.WriteLong(kMisc, "reserve", plan.reserve);
  if (!plan.departure.empty()) file.WriteString(kMisc, "departure", plan.departure);
  for (std::size_t j = 0; j < plan.airfields.size(); ++j) {
    const std::string section = Numbered("field", static_cast<int32_t>(j));
    for (int k = 0; k < kAirfieldColumns; ++k) {
      file.WriteString(section, kFieldKeys[k], AirfieldColumn(plan.airfields[j], k));
    }
  }

  WritePerformance(file, plan.performance, plan.loading);

  if (!file.Save(path, result.error)) return result;
  result.status = SaveStatus::Saved;
  return result;
}

namespace {

// The plan from `file`; the number of route rows the file says it holds.
int32_t FillPlan(Plan& plan, const ProfileFile& file, ReadReport& report) {
  plan.route.clear();
  plan.title = file.GetString(kMisc, "title", "Cross Country Plan", kTitleSize);
  plan.aircraft.pilotname = file.GetString(kMisc, "pilotname", "Pat Example", kValueSize);
  plan.aircraft.acnumber = file.GetString(kMisc, "acnumber", "12345", kValueSize);
  plan.aircraft.actype = file.GetString(kMisc, "actype", "C172/U", kValueSize);
  plan.aircraft.acgph = ClampQuantity(file.ReadDouble(kMisc, "acgph", 9.0));
  plan.aircraft.acfullfuel = ClampQuantity(file.ReadDouble(kMisc, "acfullfuel", 38.0));
  plan.print.enableshade = file.GetInt(kMisc, "enableshade", 0);
  plan.print.topmargin = ClampQuantity(file.ReadDouble(kMisc, "topmargin", 0.1));
  plan.print.bottommargin = ClampQuantity(file.ReadDouble(kMisc, "bottommargin", 0.1));
  plan.print.leftmargin = ClampQuantity(file.ReadDouble(kMisc, "leftmargin", 0.1));
  plan.print.rightmargin = ClampQuantity(file.ReadDouble(kMisc, "rightmargin", 0.1));
  // Older files have no reserve; a negative or absurd one is held to the range.
  plan.reserve =
      std::clamp(file.GetInt(kMisc, "reserve", kDefaultReserve), int32_t{0}, kMaxReserve);
  plan.departure = file.GetString(kMisc, "departure", "", kValueSize);

  // The leg table holds 32 legs, so the route stops at 33 rows whatever the file says.
  const int32_t rows_in_file = file.GetInt(kMisc, "count", 0);
  const int32_t count = std::min(rows_in_file, kMaxRoute);
  for (int32_t i = 0; i < count; ++i) {
    const std::string section = Numbered("dest", i);
    const std::string name = file.GetString(section, "toname", "noname", kNameSize);
    const std::string vor = file.GetString(section, "vortext", "", kNameSize);
    RowBuilder row(name);
    for (std::size_t k = 0; k < kRowNumbers.size(); ++k) {
      row.Set(kRowNumbers[k], ClampCell(file.GetInt(section, kRouteKeys[k], NOT_ENTERED)));
    }
    AddRow(plan, std::move(row.vor(vor).position(ReadPosition(file, section))));
  }

  const int32_t fieldcount = std::min(file.GetInt(kMisc, "fieldcount", 0), kMaxAirfieldsRead);
  plan.airfields.clear();
  for (int32_t j = 0; j < fieldcount; ++j) {
    const std::string section = Numbered("field", j);
    AirfieldInfo field;
    for (int k = 0; k < kAirfieldColumns; ++k) {
      AirfieldColumn(field, k) = file.GetString(section, kFieldKeys[k], "", kValueSize);
    }
    plan.airfields.push_back(std::move(field));
  }
  ReadPerformance(file, plan.performance, plan.loading, report);
  return rows_in_file;
}

}  // namespace

std::string RowsDroppedWarning(const LoadResult& result) {
  if (result.rows_in_file <= kMaxRoute) return std::string();
  // A save writes only the rows the plan holds, so the rest would be lost
  // without a word.
  return "This plan has " + std::to_string(result.rows_in_file) +
         " checkpoints; Halvix keeps the first " + std::to_string(kMaxRoute) +
         ". Saving will drop the others.";
}

namespace {

LoadResult Reported(LoadResult result, const std::string& path) {
  result.report.set_file(path);
  if (!result.ok) result.report.Error(result.error);
  const std::string dropped = RowsDroppedWarning(result);
  if (!dropped.empty()) result.report.Warning(dropped);
  return result;
}

}  // namespace

LoadResult LoadPlan(Plan& plan, const std::string& path) {
  LoadResult result;
  ProfileFile file;
  // A file that cannot be read gives the defaults, as a missing one does;
  // the reason goes back to the caller to show.
  result.ok = file.Load(path, result.error);
  result.rows_in_file = FillPlan(plan, file, result.report);
  return Reported(std::move(result), path);
}

LoadResult LoadPlanText(Plan& plan, const std::string& bytes) {
  LoadResult result;
  ProfileFile file;
  file.Parse(bytes);
  result.no_sections = !file.HasAnySection();
  result.rows_in_file = FillPlan(plan, file, result.report);
  return Reported(std::move(result), "");
}

bool PathExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

std::string& AppendDirSeparator(std::string& dir) {
  if (dir.empty()) return dir;
  // A path ending in a separator has an empty file name; a bare drive
  // letter and colon names that drive's current directory.
  std::filesystem::path path(dir);
#ifdef _WIN32
  if (dir.back() == ':') path += ".";
#endif
  if (path.has_filename()) path += std::filesystem::path::preferred_separator;
  dir = path.string();
  return dir;
}

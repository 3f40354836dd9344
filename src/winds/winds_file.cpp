#include "winds/winds_file.h"

#include <new>

#include "plan/fileio.h"
#include "winds/winds_grib.h"

namespace {

// Bulletins are a few kilobytes; a whole day's set of them well under this.
constexpr std::size_t kMaxBulletinBytes = 4 * 1024 * 1024;

const char kTooLarge[] = "too large for a bulletin";
const char kNoMemory[] = "not enough memory to read this forecast";

// `error` says where (the file, then the line) as it always has; the
// report holds the same findings with the file and line apart.
WindForecastLoad Fail(WindForecastLoad load, const std::string& where, const std::string& what) {
  load.ok = false;
  load.error = where + what;
  load.report.Error(what);
  return load;
}

WindForecastLoad DecodeBulletin(const std::string& text, const StationLocator& locate,
                                const std::string& file) {
  WindForecastLoad load;
  load.report.set_file(file);
  const std::string where = file.empty() ? "" : file + ": ";
  if (text.size() > kMaxBulletinBytes) return Fail(std::move(load), where, kTooLarge);
  FbDecodeResult decoded = DecodeFb(text);
  for (const Finding& finding : decoded.report.findings()) {
    if (finding.severity == Finding::Severity::Error) {
      load.report.Error(finding.text, finding.line);
    } else {
      load.report.Warning(finding.text, finding.line);
    }
  }
  if (!decoded.ok) {
    load.error = where + decoded.error;
    return load;
  }
  auto forecast = std::make_unique<FbForecast>(std::move(decoded.bulletins), locate);
  load.warnings = forecast->warnings();
  load.unplaced = forecast->unplaced();
  load.source = std::move(forecast);
  load.ok = true;
  return load;
}

WindForecastLoad LoadForecast(const std::string& path, const Plan& plan,
                              const StationLocator& locate) {
  WindForecastLoad load;
  load.report.set_file(path);
  const std::string where = path + ": ";
  std::string error;
  InputFile file;
  if (file.Open(path, error) != ReadStatus::Ok) {
    return Fail(std::move(load), where, error.empty() ? "no such file" : error);
  }
  char head[4] = {};
  const long got = file.Read(head, sizeof head, error);
  file.Close();
  if (got < 0) return Fail(std::move(load), where, error);
  if (LooksLikeGrib(std::string(head, static_cast<std::size_t>(got)))) {
    auto forecast = std::make_unique<GribForecast>();
    load.report = forecast->Read(path, AreaOfPlan(plan));
    if (!load.report.ok()) {
      load.error = load.report.FirstError();
      return load;
    }
    load.source = std::move(forecast);
    load.grib = true;
    load.ok = true;
    return load;
  }
  std::string text;
  const ReadStatus status = ReadRegularFile(path, kMaxBulletinBytes, text, error);
  if (status != ReadStatus::Ok) {
    return Fail(std::move(load), where,
                status == ReadStatus::TooLarge ? std::string(kTooLarge) : error);
  }
  return DecodeBulletin(text, locate, path);
}

// Whatever a file declares, running out of memory reading it is the file's
// fault, told as such, not the program's end.
WindForecastLoad NoMemory(const std::string& file) {
  WindForecastLoad load;
  load.report.set_file(file);
  return Fail(std::move(load), file.empty() ? "" : file + ": ", kNoMemory);
}

}  // namespace

WindForecastLoad DecodeWindBulletin(const std::string& text, const StationLocator& locate) {
  try {
    return DecodeBulletin(text, locate, "");
  } catch (const std::bad_alloc&) {
    return NoMemory("");
  }
}

WindForecastLoad LoadWindForecast(const std::string& path, const Plan& plan,
                                  const StationLocator& locate) {
  try {
    return LoadForecast(path, plan, locate);
  } catch (const std::bad_alloc&) {
    return NoMemory(path);
  }
}

#include "winds/winds_file.h"

#include "plan/fileio.h"
#include "winds/winds_grib.h"

namespace {

// Bulletins are a few kilobytes; a whole day's set of them well under this.
constexpr std::size_t kMaxBulletinBytes = 4 * 1024 * 1024;

}  // namespace

WindForecastLoad DecodeWindBulletin(const std::string& text, const StationLocator& locate) {
  WindForecastLoad load;
  FbDecodeResult decoded = DecodeFb(text);
  if (!decoded.ok) {
    load.error = decoded.error;
    return load;
  }
  auto forecast = std::make_unique<FbForecast>(std::move(decoded.bulletins), locate);
  load.warnings = forecast->warnings();
  load.source = std::move(forecast);
  load.ok = true;
  return load;
}

WindForecastLoad LoadWindForecast(const std::string& path, const Plan& plan,
                                  const StationLocator& locate) {
  WindForecastLoad load;
  std::string error;
  InputFile file;
  if (file.Open(path, error) != ReadStatus::Ok) {
    load.error = path + ": " + (error.empty() ? "no such file" : error);
    return load;
  }
  char head[4] = {};
  const long got = file.Read(head, sizeof head, error);
  file.Close();
  if (got < 0) {
    load.error = path + ": " + error;
    return load;
  }
  if (LooksLikeGrib(std::string(head, static_cast<std::size_t>(got)))) {
    auto forecast = std::make_unique<GribForecast>();
    if (!forecast->Read(path, AreaOfPlan(plan), error)) {
      load.error = path + ": " + error;
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
    load.error =
        path + ": " + (status == ReadStatus::TooLarge ? "too large for a bulletin" : error);
    return load;
  }
  load = DecodeWindBulletin(text, locate);
  if (!load.ok) load.error = path + ": " + load.error;
  return load;
}

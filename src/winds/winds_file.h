// A forecast file, bulletin or GRIB, told apart by its content.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "winds/winds.h"
#include "winds/winds_fb.h"

struct WindForecastLoad {
  bool ok = false;
  std::string error;  // names the line or message
  std::unique_ptr<WindSource> source;
  std::vector<std::string> warnings;  // stations that cannot be placed, a long list in one line
  std::vector<std::string> unplaced;  // their idents
  ReadReport report;                  // what reading the file found, with file and line
  bool grib = false;
};

// A winds aloft bulletin in a file or a GRIB file; a GRIB file is read only
// for the levels and area of `plan`'s legs.
WindForecastLoad LoadWindForecast(const std::string& path, const Plan& plan,
                                  const StationLocator& locate);

// Bulletin text, as pasted.
WindForecastLoad DecodeWindBulletin(const std::string& text, const StationLocator& locate);

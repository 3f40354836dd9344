// halvix-navlog's command line, read into one request before anything is
// opened, so every mistake is reported the same way and the reading is tested
// without running the tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/navlog_data.h"
#include "geo/magnetic.h"
#include "print/export.h"

struct NavlogRequest {
  enum Action { Run, Help, Version, Error };
  Action action = Run;
  std::string error;  // Error: the usage mistake, without the program's name

  std::string plan_path;  // empty for a blank form without a plan, or with --route
  bool csv = false;
  std::string pdf_path;  // - for standard output
  std::string png_prefix;
  std::string save_path;
  int32_t reserve = -1;       // minutes; the plan's own unless given
  CivilDate date;             // of the flight, for an imported route's variation
  std::string winds_path;     // a winds aloft bulletin or GRIB2 forecast
  std::optional<int> depart;  // minutes after 00:00 UTC
  ExportRequest print;
  NavlogDataOptions data;      // --data, --route, --nearest-vor
  std::string chart_path;      // --chart: a GeoTIFF
  std::string chart_pdf_path;  // --chart-pdf
  int chart_width = 1600;
  int chart_height = 1200;
  bool chart_size_given = false;
  std::optional<double> chart_scale;  // N of 1:N

  // The log goes to paper (PDF or images) rather than to text.
  bool Printed() const { return !pdf_path.empty() || !png_prefix.empty(); }
  // The route chart goes to a file.
  bool Charted() const { return !chart_path.empty() || !chart_pdf_path.empty(); }
};

// `args` without the program's name; `today` is the date unless --date names
// one. Options are read in order and the first mistake ends the reading.
NavlogRequest ParseNavlogArguments(const std::vector<std::string>& args, const CivilDate& today);

// The text of --help, also printed after a usage mistake.
const char* NavlogUsage();

// Every option as it is typed ("--csv"), in the order of the usage text.
std::vector<std::string> NavlogOptionNames();

// The largest chart image: a side and the whole, so that no size asks for
// more memory than a desktop has to spare.
constexpr int kMaxChartPixelsSide = 10000;
constexpr long kMaxChartPixels = 40'000'000;
constexpr double kMinChartScale = 1000.0;
constexpr double kMaxChartScale = 50'000'000.0;

// "halvix-navlog 1.4\n" for --version.
std::string NavlogVersion();

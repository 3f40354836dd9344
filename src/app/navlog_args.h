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
  NavlogDataOptions data;  // --data, --route, --nearest-vor

  // The log goes to paper (PDF or images) rather than to text.
  bool Printed() const { return !pdf_path.empty() || !png_prefix.empty(); }
};

// `args` without the program's name; `today` is the date unless --date names
// one. Options are read in order and the first mistake ends the reading.
NavlogRequest ParseNavlogArguments(const std::vector<std::string>& args, const CivilDate& today);

// The text of --help, also printed after a usage mistake.
const char* NavlogUsage();

// Every option as it is typed ("--csv"), in the order of the usage text.
std::vector<std::string> NavlogOptionNames();

// "halvix-navlog 1.4\n" for --version.
std::string NavlogVersion();

// The readers of the two kinds of aviation data a folder may hold. They
// stream records to a sink; what cannot be read is counted and left out.
#pragma once

#include <string>
#include <vector>

#include "data/aviation_records.h"

class AviationSink {
 public:
  virtual ~AviationSink() = default;
  virtual void AddAirport(Airport&& airport) = 0;
  virtual void AddNavaid(Navaid&& navaid) = 0;
};

// One file a data set is read from, and what it was when found.
struct DataFile {
  std::string path;
  unsigned long long size = 0;
  long long mtime_ns = 0;
};

struct DataFiles {
  std::string format;  // "OurAirports", "X-Plane"; empty when the folder has neither
  std::vector<DataFile> files;
};

// The data files in `folder`: OurAirports' CSV files, else apt.dat, nav.dat
// and fix.dat (each plain or .gz, at the top or in Airports/ and Navaids/).
DataFiles FindDataFiles(const std::string& folder);

// Reads every record of `files` into `sink`. `info` gets the format, cycle,
// date, counts and warnings. False with the reason when no file could be read.
bool ReadAviationData(const DataFiles& files, AviationSink& sink, DataSetInfo& info,
                      const IndexProgress& progress, std::string& error);

// The frequency bands a channel must lie in, in kHz.
bool InComBand(int64_t khz);  // 118.000-136.975 MHz
bool InVorBand(int64_t khz);  // 108.00-117.95 MHz
bool InNdbBand(int64_t khz);  // 190-1750 kHz

// A decimal number of MHz ("121.805") as whole kHz; false for anything else.
bool ParseMegahertz(const std::string& text, int64_t& khz);

// Internal to the readers: one format each.
bool ReadOurAirports(const DataFiles& files, AviationSink& sink, DataSetInfo& info,
                     const IndexProgress& progress, std::string& error);
bool ReadXPlane(const DataFiles& files, AviationSink& sink, DataSetInfo& info,
                const IndexProgress& progress, std::string& error);

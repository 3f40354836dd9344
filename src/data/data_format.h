// What every reader of an aviation data format shares: the sink records go
// to, the files a data set is read from, and the entry a format registers in
// the table of formats.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "data/aviation_records.h"
#include "plan/read_report.h"

// One record as a reader hands it over; the sink tells the kinds apart.
using AviationRecord = std::variant<Airport, Navaid>;

class AviationSink {
 public:
  virtual ~AviationSink() = default;
  virtual void Add(AviationRecord&& record) = 0;
};

// One file a data set is read from, and what it was when found.
struct DataFile {
  std::string path;
  unsigned long long size = 0;
  long long mtime_ns = 0;
};

struct DataFormat {
  const char* name;  // as the data set's info shows it: "OurAirports"
  // The format's files in `folder`, in the order they are listed; none when
  // the folder holds none of them.
  std::vector<DataFile> (*find)(const std::string& folder);
  // Whether the first line of the first file found is this format's.
  bool (*sniff)(std::string_view first_line);
  // Reads every record of `files` into `sink`: counts, cycle and date into
  // `info`; an error when nothing usable came of the files.
  ReadReport (*read)(const std::vector<DataFile>& files, AviationSink& sink, DataSetInfo& info,
                     const IndexProgress& progress);
};

// Records a reader leaves out, told as one warning rather than one a record:
// how many, and the first of them with its line and reason.
class SkippedRecords {
 public:
  void Skip(int64_t line, const char* why) {
    if (count_++ == 0) first_line_ = line, why_ = why;
  }
  int64_t count() const { return count_; }
  // "12 records skipped (the first at line 40: ...)", when any were.
  void Report(ReadReport& report) const;

 private:
  int64_t count_ = 0;
  int64_t first_line_ = 0;
  std::string why_;
};

// `name` or `name`.gz in `folder` or one of its sub-folders ("" is the folder itself).
bool FindDataFile(const std::string& folder, const std::vector<std::string>& subfolders,
                  const std::string& name, DataFile& file);

// The file's name without its folder, as findings name it.
std::string BaseName(const std::string& path);

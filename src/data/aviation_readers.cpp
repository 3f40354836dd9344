#include "data/aviation_readers.h"

#include <sys/stat.h>

#include "data/data_lines.h"
#include "data/ourairports_reader.h"
#include "data/xplane_reader.h"

const std::vector<DataFormat>& DataFormats() {
  // OurAirports first: its runways and frequencies are the more complete.
  static const std::vector<DataFormat> formats = {OurAirportsFormat(), XPlaneFormat()};
  return formats;
}

DataFiles FindDataFiles(const std::string& folder) {
  for (const DataFormat& format : DataFormats()) {
    std::vector<DataFile> files = format.find(folder);
    if (files.empty()) continue;
    // A file of the right name may hold anything: a download's error page, another format.
    DataLines lines;
    std::string why;
    std::string_view first;
    if (!lines.Open(files.front().path, why) || !lines.Next(first) || !format.sniff(first))
      continue;
    return DataFiles{format.name, &format, std::move(files)};
  }
  return DataFiles{};
}

std::string NoDataMessage(const std::string& folder) {
  struct stat st;
  if (stat(folder.c_str(), &st) != 0) return "the data folder " + folder + " does not exist";
  if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
  return folder + " holds no aviation data (airports.csv, or apt.dat, nav.dat, fix.dat)";
}

ReadReport ReadAviationData(const DataFiles& files, AviationSink& sink, DataSetInfo& info,
                            const IndexProgress& progress) {
  info.format = files.format;
  if (!files.reader) {
    ReadReport report;
    report.Error("the folder holds neither airports.csv nor apt.dat, nav.dat or fix.dat");
    return report;
  }
  return files.reader->read(files.files, sink, info, progress);
}

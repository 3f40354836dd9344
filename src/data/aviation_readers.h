// The aviation data a folder may hold, whatever its format: each format is
// one entry of a table, found by its files and told by their content, and
// read into a sink with one report of what could not be read.
#pragma once

#include <string>
#include <vector>

#include "data/data_format.h"

struct DataFiles {
  std::string format;                  // the entry's name; empty when the folder holds no data
  const DataFormat* reader = nullptr;  // the entry that reads them
  std::vector<DataFile> files;
};

// Every format this program reads, the one preferred first when a folder
// holds several.
const std::vector<DataFormat>& DataFormats();

// The data files in `folder` of the first format whose files are there and
// whose content is that format's.
DataFiles FindDataFiles(const std::string& folder);

// Why `folder` gave no data files: it does not exist, is no folder, or holds
// none of the formats' files.
std::string NoDataMessage(const std::string& folder);

// Reads every record of `files` into `sink`; `info` gets the format, cycle,
// date and counts. Errors when no file gave anything usable.
ReadReport ReadAviationData(const DataFiles& files, AviationSink& sink, DataSetInfo& info,
                            const IndexProgress& progress);

// Text data sets read a line at a time, plain or gzip-compressed, without
// ever holding the whole file: a simulator's airport file is ~100 MB.
#pragma once

#include <zlib.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plan/fileio.h"

class DataLines {
 public:
  DataLines();
  ~DataLines();
  DataLines(const DataLines&) = delete;
  DataLines& operator=(const DataLines&) = delete;

  // Opens a regular file; a gzip stream is told by its first bytes, not by
  // the name. False with the reason.
  bool Open(const std::string& path, std::string& error);
  // The next line without its line end ("\n" or "\r\n"); false at the end or
  // on a read error (then error() says why).
  bool Next(std::string_view& line);
  const std::string& error() const { return error_; }
  // How far reading has come, 0..1, by the file's compressed bytes.
  double fraction() const;
  unsigned long long size() const { return file_.size(); }
  long long mtime_ns() const { return file_.mtime_ns(); }

 private:
  bool Fill();

  InputFile file_;
  bool gzip_ = false;
  bool stream_end_ = false;
  bool at_end_ = false;
  z_stream zs_{};
  bool zs_ready_ = false;
  std::vector<char> raw_;            // bytes as read from the file
  std::vector<char> text_;           // decompressed text not yet returned
  std::size_t start_ = 0;            // first byte of text_ not yet returned
  unsigned long long consumed_ = 0;  // file bytes read
  std::string error_;
};

// Splits one CSV record (RFC 4180: fields in double quotes may hold commas,
// doubled quotes and line breaks) into `fields`. A record whose quoted field
// runs past the line's end needs the next line: false, and the caller calls
// again with both lines joined by "\n".
bool SplitCsvRecord(std::string_view record, std::vector<std::string>& fields);

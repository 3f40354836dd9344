// Text data sets read a line at a time, plain or gzip-compressed, without
// ever holding the whole file: a simulator's airport file is ~100 MB.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plan/fileio.h"
#include "plan/read_report.h"

// No real record comes near this; a longer line is cut here and the rest of
// it passed over, so one line without an end costs neither time nor memory.
constexpr std::size_t kMaxDataLine = 64 * 1024;

// Bytes with room to append into, never filled with zeros first: the text
// of a file passes through once, and clearing it costs as much as reading.
class TextBuffer {
 public:
  const char* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  // Room for `n` more bytes after the end, to be kept with Commit.
  char* Room(std::size_t n);
  void Commit(std::size_t n) { size_ += n; }
  // Drops the first `n` bytes.
  void DropFront(std::size_t n);

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

class DataLines {
 public:
  DataLines();
  ~DataLines();
  DataLines(const DataLines&) = delete;
  DataLines& operator=(const DataLines&) = delete;

  // Opens a regular file; a gzip stream is told by its first bytes, not by
  // the name. False with the reason.
  bool Open(const std::string& path, std::string& error);
  // The next line without its line end ("\n" or "\r\n"), at most
  // kMaxDataLine bytes; false at the end or on a read error (then error()
  // says why). The line stays valid until the next call.
  bool Next(std::string_view& line);
  const std::string& error() const { return error_; }
  // How far reading has come, 0..1, by the file's compressed bytes.
  double fraction() const;
  unsigned long long size() const { return file_.size(); }
  long long mtime_ns() const { return file_.mtime_ns(); }

  // Lines cut at kMaxDataLine, and the bytes passed over in them.
  int64_t cut_lines() const { return cut_lines_; }
  int64_t skipped_bytes() const { return skipped_bytes_; }
  // What the pilot should know about the file as a whole: a read error, cut
  // lines, bytes after the compressed data, a stop at the inflation limit.
  void Report(ReadReport& report) const;

 private:
  bool Fill();
  bool Inflate();
  bool NextMember();

  InputFile file_;
  bool gzip_ = false;
  bool at_end_ = false;
  z_stream zs_{};
  bool zs_ready_ = false;
  bool member_done_ = false;         // between two gzip members
  std::vector<char> raw_;            // bytes as read from the file
  TextBuffer text_;                  // decompressed text not yet returned
  std::size_t start_ = 0;            // first byte of text_ not yet returned
  std::size_t scanned_ = 0;          // text_ before this holds no line end past start_
  bool skipping_ = false;            // inside the rest of a cut line
  unsigned long long consumed_ = 0;  // file bytes read
  unsigned long long inflated_ = 0;  // text bytes a compressed file gave
  unsigned long long inflate_limit_ = 0;
  int64_t cut_lines_ = 0;
  int64_t skipped_bytes_ = 0;
  int64_t members_ = 0;
  unsigned long long trailing_ = 0;  // bytes after the last compressed member
  std::string error_;
};

// One CSV record (RFC 4180: fields in double quotes may hold commas, doubled
// quotes and line breaks) fed a line at a time. The quote state carries from
// one line to the next, so a record that runs over many lines is read once.
class CsvRecord {
 public:
  // Begins a record with its first line; true when the record is complete.
  bool Start(std::string_view line);
  // The next line of a record whose quoted field runs on; true when complete.
  bool Continue(std::string_view line);
  std::vector<std::string>& fields() { return fields_; }
  // The record's text so far, for a limit on records that never end.
  std::size_t bytes() const { return bytes_; }

 private:
  bool Feed(std::string_view line);

  std::vector<std::string> fields_;
  std::string field_;
  bool in_quotes_ = false;
  bool quoted_ = false;
  std::size_t bytes_ = 0;
};

// Splits one CSV record into `fields`. A record whose quoted field runs past
// the text's end is incomplete: false.
bool SplitCsvRecord(std::string_view record, std::vector<std::string>& fields);

// Files in and out: reads that can neither hang nor exhaust memory, and
// writes that replace a file whole or leave it as it was, never anything but
// a regular file the user may write.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Far above any real plan (a full one is about 10 KB), far below what hurts.
constexpr std::size_t kMaxPlanBytes = 16 * 1024 * 1024;

enum class ReadStatus {
  Ok,
  Missing,   // nothing at the path: the caller decides whether that is an error
  TooLarge,  // more than the limit; `error` says "too large to be a plan"
  Failed,    // `error` says why
};

// A regular file opened for reading in pieces, for data sets too large to
// hold whole. Devices, FIFOs and directories are refused before anything is
// read from them, as by ReadRegularFile.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(InputFile&& other) noexcept;
  InputFile& operator=(InputFile&& other) noexcept;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  ReadStatus Open(const std::string& path, std::string& error);
  // Up to `n` bytes into `buffer`: how many, 0 at the end, -1 with the reason.
  long Read(char* buffer, std::size_t n, std::string& error);
  void Close();

  bool is_open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  unsigned long long size() const { return size_; }  // when opened
  long long mtime_ns() const { return mtime_ns_; }   // when opened

 private:
  int fd_ = -1;
  unsigned long long size_ = 0;
  long long mtime_ns_ = 0;
};

// The bytes of the regular file at `path`, at most `limit` of them. Devices,
// FIFOs and directories are refused before anything is read from them.
ReadStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes,
                           std::string& error);

// Everything an open descriptor (a pipe, standard input) gives until its end,
// at most `limit` bytes.
bool ReadStream(int fd, std::size_t limit, std::string& bytes, std::string& error);

// Where a write meant for `path` goes: `path` itself, or the file a symbolic
// link at `path` names, also when that file does not exist yet (the link is
// kept). False with the reason for a target that must not be replaced: one
// that is not a regular file, or a read-only file.
bool ResolveWriteTarget(const std::string& path, std::string& target, std::string& error);

// Replaces the file at `path` (resolved as above) with `bytes` in one step:
// a temporary file beside it, flushed to disk, renamed over the old one, and
// the directory flushed so the rename itself survives a power loss. The new
// file keeps the old one's owner, group and mode; where the saver may not
// give it them, nothing is written and the reason says so. Temporary files
// of the same target whose process is gone (a save killed half-way) are
// removed on the way. False with the reason; the old file is intact.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error);

// Replaces several files (path, bytes) as ReplaceFile does, each written to
// its temporary before any is renamed into place, so a failure on the way
// (a full disk at the third page) leaves every old file as it was. The
// reason starts with the path it concerns.
bool ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& files,
                  std::string& error);

// Writes all of `bytes` to `fd` (standard output and the like).
bool WriteAll(int fd, const std::string& bytes, std::string& error);

// The folder of the running program, which installed files are found from;
// empty when it cannot be told.
std::string DirectoryOfProgram();

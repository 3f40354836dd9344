// Files in and out: reads that can neither hang nor exhaust memory, and
// writes that replace a file whole or leave it as it was, never anything but
// a regular file the user may write.
#pragma once

#include <cstddef>
#include <string>

// Far above any real plan (a full one is about 10 KB), far below what hurts.
constexpr std::size_t kMaxPlanBytes = 16 * 1024 * 1024;

enum class ReadStatus {
  Ok,
  Missing,   // nothing at the path: the caller decides whether that is an error
  TooLarge,  // more than the limit; `error` says "too large to be a plan"
  Failed,    // `error` says why
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
// the directory flushed so the rename itself survives a power loss. Stale
// temporary files of the same target, left by a process killed mid-save,
// are removed on the way. False with the reason; the old file is intact.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error);

// Writes all of `bytes` to `fd` (standard output and the like).
bool WriteAll(int fd, const std::string& bytes, std::string& error);

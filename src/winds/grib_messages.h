// The messages of a GRIB file as the decoding module hands them out. The
// decoder lives in a module of its own (halvix-grib) so that a program pays
// for ecCodes and its libraries only once it reads a GRIB file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class GribMessages {
 public:
  virtual ~GribMessages() = default;
  // Goes back to the byte `offset` of the file, where a message starts;
  // `Next` then reads that message.
  virtual bool Seek(long offset) = 0;
  // Moves to the next message; false at the end, or on an error with its
  // reason in `error`.
  virtual bool Next(std::string& error) = 0;
  // The current message's keys; empty, `otherwise` or NaN when absent.
  virtual std::string String(const char* key) = 0;
  virtual long Long(const char* key, long otherwise) = 0;
  virtual double Double(const char* key) = 0;
  virtual bool ValueCount(std::size_t& count) = 0;
  virtual bool Values(std::vector<double>& values) = 0;
};

// The module's one entry point: takes the open file descriptor over (closing
// it in all cases) and returns the reader, or null when the descriptor
// cannot be read as a stream.
extern "C" {
using HalvixGribOpen = GribMessages* (*)(int fd);
}
#define HALVIX_GRIB_OPEN_SYMBOL "halvix_grib_open"
// The module's interface version, a `long`: a module left over from another
// build of the program is refused rather than called.
#define HALVIX_GRIB_VERSION_SYMBOL "halvix_grib_version"
constexpr long kHalvixGribVersion = 3;

// What `Next` says, instead of the decoder's own words, for the two failures
// a pilot meets: a file cut short and a file that is not GRIB at all.
#define HALVIX_GRIB_TRUNCATED "truncated"
#define HALVIX_GRIB_NOT_GRIB "not GRIB"

// The module's entry point, once `path` is checked to be a whole module of
// this version; null with the reason otherwise. A file cut short would
// otherwise bring the program down inside the loader.
HalvixGribOpen LoadGribModule(const std::string& path, std::string& error);

// Reads the GRIB file open at `fd` (taken over) through the module, loaded
// on first use from beside the program; null with the reason, naming the
// module's file when it cannot be loaded.
std::unique_ptr<GribMessages> OpenGribMessages(int fd, std::string& error);

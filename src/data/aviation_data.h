// Airports, navaids and fixes from openly published aviation data on the
// user's disk (OurAirports CSV files, or X-Plane-format apt.dat, nav.dat and
// fix.dat), answered from a compact index kept in the user's cache folder.
// The data is only ever read from the folder the user chose.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/aviation_records.h"
#include "plan/plan.h"

// A latitude-longitude box; `east` may pass 180 for a box over the antimeridian.
struct MapBox {
  double south = 0.0;
  double north = 0.0;
  double west = 0.0;
  double east = 0.0;
};

// How a first index build is watched: its progress by the share of the
// data's bytes read, and a flag that stops it, leaving neither an index nor a
// temporary file behind. The progress is called from within SQLite as well,
// so it may not throw.
struct IndexWatch {
  IndexProgress progress;
  const std::atomic<bool>* cancel = nullptr;
};

// A look-up met an index that went bad while in use and could not be built
// again: the answer is unknown, never "not found".
class AviationDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class AviationData {
 public:
  AviationData();
  ~AviationData();
  AviationData(AviationData&&) noexcept;
  AviationData& operator=(AviationData&&) noexcept;
  AviationData(const AviationData&) = delete;
  AviationData& operator=(const AviationData&) = delete;

  // Opens the data at `folder` through its index in `cache_dir`, built there
  // first when missing, damaged (its checksum is checked on opening), or
  // when a data file changed (size, time, inode or change time); an empty
  // `cache_dir`, or one where the index cannot be written, builds the index
  // in memory for this run only. What the pilot should know of that is in
  // info().warnings. False with the reason for a folder that holds no data
  // this reads, or a build the watch cancelled.
  //
  // The look-ups below throw AviationDataError when the index fails in use
  // and the data cannot be indexed again.
  bool Open(const std::string& folder, const std::string& cache_dir, std::string& error,
            const IndexProgress& progress = {});
  bool Open(const std::string& folder, const std::string& cache_dir, std::string& error,
            const IndexWatch& watch);
  bool is_open() const;
  const DataSetInfo& info() const;
  // What this run met on the way, also among info().warnings: an index found
  // damaged and built again, one kept in memory, a file changed while read.
  const std::vector<std::string>& notices() const;
  // True when the data's date is more than a year before `today`.
  bool IsOutdated(const CivilDate& today) const;

  // Airports whose ident, ICAO, GPS or local code is `code` (any case).
  std::vector<Airport> FindAirports(const std::string& code) const;
  // Airports whose name contains `text` (any case), at most `limit`.
  std::vector<Airport> FindAirportsByName(const std::string& text, std::size_t limit) const;
  // Navaids and fixes named `ident`; VORs, NDBs and DMEs before fixes.
  std::vector<Navaid> FindNavaids(const std::string& ident) const;

  // Every place `ident` names: airports, then navaids, then fixes, each in
  // the order of the data.
  std::vector<Place> FindPlaces(const std::string& ident) const;
  // The place `ident` names nearest `near`; without `near`, the first of
  // FindPlaces. Empty when the ident is found nowhere.
  std::optional<Place> ResolvePlace(const std::string& ident,
                                    const std::optional<GeoPosition>& near) const;

  // The airport nearest `position` within `range_nm`.
  std::optional<Airport> NearestAirport(const GeoPosition& position, double range_nm) const;
  // The VOR, VOR-DME or VORTAC nearest `position` within `range_nm`.
  std::optional<Navaid> NearestVor(const GeoPosition& position, double range_nm) const;

  // Airports in `box` with their runways and frequencies, at most `limit`,
  // through the index's tree of positions.
  std::vector<Airport> AirportsIn(const MapBox& box, std::size_t limit) const;
  // Navaids in `box`, and the fixes too when `fixes`; navaids first.
  std::vector<Navaid> NavaidsIn(const MapBox& box, bool fixes, std::size_t limit) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The folder for the index: $XDG_CACHE_HOME/halvix, else ~/.cache/halvix;
// empty when neither is set (the index is then kept in memory).
std::string DefaultCacheFolder();

// The environment variable naming the data folder when none was chosen.
constexpr const char* kAviationDataVariable = "HALVIX_AVIATION_DATA";

// Where the simulator's data lies when a distribution installs it.
constexpr const char* kSimulatorDataFolder = "/usr/share/games/flightgear";

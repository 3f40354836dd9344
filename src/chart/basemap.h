// The chart's base map from the shoreline and border data sets Debian
// packages for mapping: coastlines, lakes and rivers from the binned GSHHG
// files, country and state borders from the Digital Chart of the World.
#pragma once

#include <string>
#include <vector>

#include "data/aviation_data.h"
#include "plan/plan.h"

enum class MapLineKind { Coast, Lake, River, Border, State };

struct MapLine {
  MapLineKind kind = MapLineKind::Coast;
  int level = 1;  // the data's rank: 1 the largest rivers and national borders
  std::vector<GeoPosition> points;
};

// Where the data sets lie: the folders the packages install, or the one
// $HALVIX_BASEMAP_DIR names (both kinds of file in it).
struct BaseMapSources {
  std::string gshhg_folder;  // empty when not installed
  std::string dcw_file;      // empty when not installed
};
BaseMapSources FindBaseMapSources();

// How fine a coastline to read: the lowest resolution that looks right at
// `metres_per_pixel`, among the ones installed.
char ShorelineResolution(const BaseMapSources& sources, double metres_per_pixel);

struct BaseMapResult {
  std::vector<MapLine> lines;
  // What is missing or could not be read, for the pilot; empty when all was read.
  std::vector<std::string> messages;
};

// The lines that may cross `box`. A missing package or a damaged file leaves
// its lines out and says so; the rest is still read.
BaseMapResult LoadBaseMap(const BaseMapSources& sources, const MapBox& box, char resolution);

// One binned GSHHG file (shorelines, rivers or borders) read for `box`; false
// with the reason for a file that is missing, damaged or not of that kind.
bool ReadShorelineFile(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                       std::string& error);
// The borders of the countries and states of a DCW file that may cross `box`.
bool ReadBorderFile(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                    std::string& error);

// The packages that bring the data, named in the messages.
constexpr const char* kShorelinePackage = "gmt-gshhg-low";
constexpr const char* kBorderPackage = "gmt-dcw";

// The base map's files are read by a module of their own (halvix-basemap):
// netCDF and the libraries beneath it (HDF5, curl and a TLS stack among
// them) are loaded only once a program draws a chart.
class BaseMapReader {
 public:
  virtual ~BaseMapReader() = default;
  // As ReadShorelineFile and ReadBorderFile above.
  virtual bool ReadShorelines(const std::string& path, const MapBox& box,
                              std::vector<MapLine>& lines, std::string& error) = 0;
  virtual bool ReadBorders(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                           std::string& error) = 0;
};

// The module's one entry point: its reader, which lives as long as the
// process (it keeps the border file open between charts) and may be called
// from any thread.
extern "C" {
using HalvixBaseMapReader = BaseMapReader* (*)();
}
#define HALVIX_BASEMAP_READER_SYMBOL "halvix_basemap_reader"
// The module's interface version, a `long`, checked before it is used.
#define HALVIX_BASEMAP_VERSION_SYMBOL "halvix_basemap_version"
constexpr long kHalvixBaseMapVersion = 1;

// The module's reader, once `path` is checked to be a whole module of this
// version; null with the reason otherwise.
BaseMapReader* LoadBaseMapModule(const std::string& path, std::string& error);

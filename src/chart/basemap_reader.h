// The base map's files as the reading module hands them out. netCDF and the
// libraries beneath it (HDF5, curl and a TLS stack among them) live in a
// module of their own (halvix-basemap) so that a program pays for them only
// once it draws a chart.
#pragma once

#include <string>
#include <vector>

#include "chart/basemap.h"

class BaseMapReader {
 public:
  virtual ~BaseMapReader() = default;
  // As ReadShorelineFile and ReadBorderFile of basemap.h.
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

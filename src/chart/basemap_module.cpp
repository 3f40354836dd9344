// The one unit that speaks to netCDF, built as a module the chart loads when
// it first reads its base map.
#include <H5Epublic.h>
#include <netcdf.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>

#include "chart/basemap.h"

namespace {

// No file these packages ship comes near this; a header that claims more is
// damaged, and is refused before anything is allocated for it.
constexpr std::size_t kMaxArray = 20'000'000;

// The netCDF library keeps state of its own that is not safe to share:
// the window reads the base map on a worker thread while an export may read
// it on the main one, so every use of the library goes one at a time.
std::mutex g_netcdf_mutex;

// The library beneath netCDF prints its own errors unless told not to, and
// is told so per thread: netCDF tells only the thread that first used it.
// Its errors reach the pilot as netCDF's, in the chart's notes.
void QuietHdf5() {
  H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

class NcFile {
 public:
  ~NcFile() {
    if (id_ >= 0) nc_close(id_);
  }
  bool Open(const std::string& path, std::string& error) {
    const int status = nc_open(path.c_str(), NC_NOWRITE, &id_);
    if (status != NC_NOERR) {
      id_ = -1;
      error = path + ": " + nc_strerror(status);
      return false;
    }
    path_ = path;
    return true;
  }
  int id() const { return id_; }

  // The whole of a one-dimensional variable, refused when its length is
  // not `expected` (when given) or beyond reason.
  template <typename T>
  bool Read(const char* name, std::vector<T>& out, std::string& error, std::size_t expected = 0) {
    int var = 0;
    int ndims = 0;
    int dim = 0;
    std::size_t length = 0;
    if (nc_inq_varid(id_, name, &var) != NC_NOERR ||
        nc_inq_varndims(id_, var, &ndims) != NC_NOERR || ndims != 1 ||
        nc_inq_vardimid(id_, var, &dim) != NC_NOERR ||
        nc_inq_dimlen(id_, dim, &length) != NC_NOERR) {
      error = path_ + ": no variable " + name + "; not a file of this data set";
      return false;
    }
    if (length > kMaxArray || (expected != 0 && length != expected)) {
      error =
          path_ + ": " + name + " has " + std::to_string(length) + " values; the file is damaged";
      return false;
    }
    out.resize(length);
    int status = NC_NOERR;
    if (length > 0) status = Get(var, out.data());
    if (status != NC_NOERR) {
      error = path_ + ": " + name + ": " + nc_strerror(status) + "; the file is damaged";
      return false;
    }
    return true;
  }

  bool Scalar(const char* name, int& value, std::string& error) {
    std::vector<int> v;
    if (!Read(name, v, error, 1)) return false;
    value = v[0];
    return true;
  }

 private:
  int Get(int var, int* data) { return nc_get_var_int(id_, var, data); }
  int Get(int var, short* data) { return nc_get_var_short(id_, var, data); }
  int Get(int var, unsigned short* data) { return nc_get_var_ushort(id_, var, data); }

  int id_ = -1;
  std::string path_;
};

bool LonInBox(double lon, double west, double east) {
  // The box's west is its reference: bring lon into [west, west + 360).
  double d = lon - west;
  if (d < 0 || d >= 360.0) {
    d = std::fmod(d, 360.0);
    if (d < 0) d += 360.0;
  }
  return d <= east - west;
}

// Whether the cell [south, north] x [west, west + width] meets the box.
bool CellMeetsBox(double south, double north, double west, double width, const MapBox& box) {
  if (north < box.south || south > box.north) return false;
  if (box.east - box.west >= 360.0 || width >= 360.0) return true;
  return LonInBox(west, box.west, box.east) || LonInBox(west + width, box.west, box.east) ||
         LonInBox(box.west, west, west + width);
}

MapLineKind ShorelineKind(int level) {
  // Levels alternate: land, lake, island in a lake, pond in such an island.
  return level % 2 == 1 ? MapLineKind::Coast : MapLineKind::Lake;
}

bool ShorelinesFromFile(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                        std::string& error) {
  const std::lock_guard<std::mutex> lock(g_netcdf_mutex);
  QuietHdf5();
  NcFile file;
  if (!file.Open(path, error)) return false;
  int bin_minutes = 0, nx = 0, ny = 0, nbins = 0, nsegments = 0, npoints = 0;
  if (!file.Scalar("Bin_size_in_minutes", bin_minutes, error) ||
      !file.Scalar("N_bins_in_360_longitude_range", nx, error) ||
      !file.Scalar("N_bins_in_180_degree_latitude_range", ny, error) ||
      !file.Scalar("N_bins_in_file", nbins, error) ||
      !file.Scalar("N_segments_in_file", nsegments, error) ||
      !file.Scalar("N_points_in_file", npoints, error))
    return false;
  if (bin_minutes <= 0 || nx <= 0 || ny <= 0 || nbins != nx * ny || nsegments < 0 || npoints < 0 ||
      static_cast<long long>(nx) * bin_minutes != 360 * 60 ||
      static_cast<long long>(ny) * bin_minutes != 180 * 60) {
    error = path + ": the bins do not cover the Earth; the file is damaged";
    return false;
  }
  std::vector<int> first_segment;
  std::vector<short> segments_in_bin;
  std::vector<int> first_point;
  std::vector<short> dlon, dlat;
  const auto nb = static_cast<std::size_t>(nbins);
  const auto ns = static_cast<std::size_t>(nsegments);
  const auto np = static_cast<std::size_t>(npoints);
  if (!file.Read("Id_of_first_segment_in_a_bin", first_segment, error, nb) ||
      !file.Read("N_segments_in_a_bin", segments_in_bin, error, nb) ||
      !file.Read("Id_of_first_point_in_a_segment", first_point, error, ns) ||
      !file.Read("Relative_longitude_from_SW_corner_of_bin", dlon, error, np) ||
      !file.Read("Relative_latitude_from_SW_corner_of_bin", dlat, error, np))
    return false;

  // Shorelines pack each segment's point count and level into one number;
  // rivers and borders keep them apart.
  std::vector<int> packed;
  std::vector<short> counts, levels;
  int var = 0;
  const bool shoreline =
      nc_inq_varid(file.id(), "Embedded_npts_levels_exit_entry_for_a_segment", &var) == NC_NOERR;
  if (shoreline) {
    if (!file.Read("Embedded_npts_levels_exit_entry_for_a_segment", packed, error, ns))
      return false;
  } else if (!file.Read("N_points_for_a_segment", counts, error, ns) ||
             !file.Read("Hierarchial_level_of_a_segment", levels, error, ns)) {
    return false;
  }
  const bool rivers = path.find("river") != std::string::npos;

  const double bin_deg = bin_minutes / 60.0;
  const double unit = bin_deg / 65535.0;
  for (int b = 0; b < nbins; ++b) {
    const int row = b / nx;
    const int col = b % nx;
    const double south = 90.0 - (row + 1) * bin_deg;
    const double west = col * bin_deg;
    if (!CellMeetsBox(south, south + bin_deg, west, bin_deg, box)) continue;
    const long long first = first_segment[static_cast<std::size_t>(b)];
    const long long count = segments_in_bin[static_cast<std::size_t>(b)];
    if (first < 0 || count < 0 || first + count > nsegments) {
      error = path + ": bin " + std::to_string(b) + " names segments the file lacks; damaged";
      return false;
    }
    for (long long s = first; s < first + count; ++s) {
      const auto si = static_cast<std::size_t>(s);
      long long n = 0;
      int level = 0;
      if (shoreline) {
        n = static_cast<unsigned>(packed[si]) >> 9;
        level = (packed[si] >> 6) & 7;
      } else {
        n = counts[si];
        level = levels[si];
      }
      const long long p0 = first_point[si];
      if (n < 0 || p0 < 0 || p0 + n > npoints) {
        error = path + ": segment " + std::to_string(s) + " runs past the points; damaged";
        return false;
      }
      if (n < 2) continue;
      MapLine line;
      line.level = level;
      if (shoreline) {
        line.kind = ShorelineKind(level);
      } else if (rivers) {
        // Rivers past the fourth class are intermittent streams and canals.
        if (level > 4) continue;
        line.kind = MapLineKind::River;
      } else {
        if (level > 2) continue;  // maritime boundaries
        line.kind = level == 1 ? MapLineKind::Border : MapLineKind::State;
      }
      line.points.reserve(static_cast<std::size_t>(n));
      for (long long p = p0; p < p0 + n; ++p) {
        const auto pi = static_cast<std::size_t>(p);
        GeoPosition pos;
        pos.lon = west + static_cast<uint16_t>(dlon[pi]) * unit;
        pos.lat = south + static_cast<uint16_t>(dlat[pi]) * unit;
        if (pos.lon > 180.0) pos.lon -= 360.0;
        line.points.push_back(pos);
      }
      lines.push_back(std::move(line));
    }
  }
  return true;
}

// One country or state of a border file: where it lies, and its outline
// once read.
struct BorderArea {
  std::string code;
  int lon_var = 0;
  int lat_var = 0;
  double lon_min = 0, lon_max = 0, lon_scale = 0, lat_min = 0, lat_max = 0, lat_scale = 0;
  bool read = false;
  std::vector<unsigned short> lon, lat;
};

// The border file stays open with its table of areas, and each outline is
// kept once read: opening it costs more than drawing a whole map.
struct BorderFile {
  std::string path;
  std::filesystem::file_time_type time;
  std::uintmax_t size = 0;
  std::unique_ptr<NcFile> file;
  std::vector<BorderArea> areas;
};

BorderFile g_border;

bool OpenBorderFile(const std::string& path, std::string& error) {
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(path, ec);
  const auto size = std::filesystem::file_size(path, ec);
  if (g_border.file && g_border.path == path && g_border.time == time && g_border.size == size)
    return true;
  g_border = BorderFile();
  auto file = std::make_unique<NcFile>();
  if (!file->Open(path, error)) return false;
  int nvars = 0;
  if (nc_inq_nvars(file->id(), &nvars) != NC_NOERR || nvars <= 0) {
    error = path + ": no variables; not a border file";
    return false;
  }
  std::vector<BorderArea> areas;
  for (int v = 0; v < nvars; ++v) {
    char name[NC_MAX_NAME + 1] = {};
    if (nc_inq_varname(file->id(), v, name) != NC_NOERR) continue;
    const std::string lon_name = name;
    if (lon_name.size() < 5 || lon_name.compare(lon_name.size() - 4, 4, "_lon") != 0) continue;
    BorderArea area;
    area.code = lon_name.substr(0, lon_name.size() - 4);
    area.lon_var = v;
    if (nc_inq_varid(file->id(), (area.code + "_lat").c_str(), &area.lat_var) != NC_NOERR) continue;
    const int id = file->id();
    if (nc_get_att_double(id, v, "min", &area.lon_min) != NC_NOERR ||
        nc_get_att_double(id, v, "max", &area.lon_max) != NC_NOERR ||
        nc_get_att_double(id, v, "scale", &area.lon_scale) != NC_NOERR ||
        nc_get_att_double(id, area.lat_var, "min", &area.lat_min) != NC_NOERR ||
        nc_get_att_double(id, area.lat_var, "max", &area.lat_max) != NC_NOERR ||
        nc_get_att_double(id, area.lat_var, "scale", &area.lat_scale) != NC_NOERR ||
        !(area.lon_scale > 0) || !(area.lat_scale > 0) || !(area.lon_max >= area.lon_min) ||
        !(area.lat_max >= area.lat_min)) {
      error = path + ": " + area.code + " has no usable extent; the file is damaged";
      return false;
    }
    areas.push_back(std::move(area));
  }
  if (areas.empty()) {
    error = path + ": no countries; not a border file";
    return false;
  }
  g_border.path = path;
  g_border.time = time;
  g_border.size = size;
  g_border.file = std::move(file);
  g_border.areas = std::move(areas);
  // Closed at exit while the library is still there: its own clean-up was
  // set up when it first opened a file, so this one, set up later, runs first
  // (a static object's destructor would run after it, on closed handles).
  static const bool close_at_exit = std::atexit([] {
                                      const std::lock_guard<std::mutex> lock(g_netcdf_mutex);
                                      g_border = BorderFile();
                                    }) == 0;
  (void)close_at_exit;
  return true;
}

bool BordersFromFile(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                     std::string& error) {
  const std::lock_guard<std::mutex> lock(g_netcdf_mutex);
  QuietHdf5();
  if (!OpenBorderFile(path, error)) return false;
  for (BorderArea& area : g_border.areas) {
    if (!CellMeetsBox(area.lat_min, area.lat_max, area.lon_min, area.lon_max - area.lon_min, box))
      continue;
    if (!area.read) {
      if (!g_border.file->Read((area.code + "_lon").c_str(), area.lon, error) ||
          !g_border.file->Read((area.code + "_lat").c_str(), area.lat, error, area.lon.size())) {
        g_border = BorderFile();
        return false;
      }
      area.read = true;
    }
    const std::vector<unsigned short>& lon = area.lon;
    const std::vector<unsigned short>& lat = area.lat;
    // Codes of two letters are countries, longer ones their states.
    const MapLineKind kind = area.code.size() == 2 ? MapLineKind::Border : MapLineKind::State;
    MapLine line;
    line.kind = kind;
    auto flush = [&] {
      if (line.points.size() >= 2) lines.push_back(std::move(line));
      line = MapLine();
      line.kind = kind;
    };
    auto inside = [&](const GeoPosition& p) {
      return p.lat >= box.south && p.lat <= box.north && LonInBox(p.lon, box.west, box.east);
    };
    GeoPosition previous_outside;
    bool has_previous = false;
    for (std::size_t i = 0; i < lon.size(); ++i) {
      // The largest value separates one polygon from the next.
      if (lon[i] == 65535) {
        flush();
        has_previous = false;
        continue;
      }
      GeoPosition pos;
      pos.lon = area.lon_min + lon[i] / area.lon_scale;
      pos.lat = area.lat_min + lat[i] / area.lat_scale;
      if (pos.lon > 180.0) pos.lon -= 360.0;
      // A large country's outline is cut to the box: outside it, no point is
      // worth projecting.
      if (!inside(pos)) {
        if (!line.points.empty()) {
          line.points.push_back(pos);
          flush();
        }
        previous_outside = pos;
        has_previous = true;
        continue;
      }
      if (line.points.empty() && has_previous) line.points.push_back(previous_outside);
      has_previous = false;
      line.points.push_back(pos);
    }
    flush();
  }
  return true;
}

class NetcdfBaseMapReader : public BaseMapReader {
 public:
  bool ReadShorelines(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                      std::string& error) override {
    return ShorelinesFromFile(path, box, lines, error);
  }
  bool ReadBorders(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                   std::string& error) override {
    return BordersFromFile(path, box, lines, error);
  }
};

}  // namespace

extern "C" {
extern const long halvix_basemap_version;
const long halvix_basemap_version = kHalvixBaseMapVersion;
}

extern "C" BaseMapReader* halvix_basemap_reader() {
  static NetcdfBaseMapReader reader;
  return &reader;
}

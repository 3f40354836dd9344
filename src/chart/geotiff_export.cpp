#include "chart/geotiff_export.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "chart/geotiff_writer.h"
#include "halvix_version.h"
#include "plan/fileio.h"
#include "plan/module_loader.h"

namespace {

const LoadedModule<HalvixGeoTiffWrite>& LoadModule() {
  static const auto module = LoadInstalledModule("halvix-geotiff.so", &LoadGeoTiffModule);
  return module;
}

}  // namespace

HalvixGeoTiffWrite LoadGeoTiffModule(const std::string& path, std::string& error) {
  return reinterpret_cast<HalvixGeoTiffWrite>(
      LoadModuleEntry(path, HALVIX_GEOTIFF_VERSION_SYMBOL, kHalvixGeoTiffVersion,
                      HALVIX_GEOTIFF_WRITE_SYMBOL, "GeoTIFF", error));
}

ChartExportResult WriteGeoTiff(const QImage& image, const ChartProjection& projection,
                               const ChartView& view, const std::string& path) {
  ChartExportResult result;
  if (image.isNull() || image.width() != view.width || image.height() != view.height) {
    result.error = "no image to write";
    return result;
  }
  const auto& module = LoadModule();
  if (module.entry == nullptr) {
    result.error = path + ": cannot write GeoTIFF images: " + module.error;
    return result;
  }
  // libtiff writes to a file of its own; the bytes then replace the target
  // as a saved plan does, so a failed write leaves the old chart intact.
  const char* tmpdir = std::getenv("TMPDIR");
  std::string pattern = std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/halvix-chart-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    result.error = path + ": no room for a temporary file: " + std::strerror(errno);
    return result;
  }
  close(fd);
  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  const ProjectedPoint corner = view.FromPixel(0, 0);
  const LambertParameters& p = projection.parameters();
  GeoTiffImage geo;
  geo.pixels = rgba.constBits();
  geo.width = rgba.width();
  geo.height = rgba.height();
  geo.stride = static_cast<std::size_t>(rgba.bytesPerLine());
  geo.corner_x = corner.x;
  geo.corner_y = corner.y;
  geo.metres_per_pixel = view.metres_per_pixel;
  geo.standard_parallel1 = p.standard_parallel1;
  geo.standard_parallel2 = p.standard_parallel2;
  geo.origin_lat = p.origin_lat;
  geo.central_meridian = p.central_meridian;
  geo.software = "Halvix " HALVIX_VERSION;
  std::string bytes;
  const bool written =
      module.entry(pattern.c_str(), geo, result.error) &&
      ReadRegularFile(pattern, std::size_t{1} << 32, bytes, result.error) == ReadStatus::Ok;
  unlink(pattern.c_str());
  if (!written || !ReplaceFile(path, bytes, result.error)) {
    result.error = path + ": " + result.error;
    return result;
  }
  result.ok = true;
  return result;
}

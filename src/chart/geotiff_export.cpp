#include "chart/geotiff_export.h"

#include <geo_normalize.h>
#include <geotiff.h>
#include <geovalues.h>
#include <tiffio.h>
#include <unistd.h>
#include <xtiffio.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "halvix_version.h"
#include "plan/fileio.h"

namespace {

struct TiffCloser {
  void operator()(TIFF* tif) const { XTIFFClose(tif); }
};
struct GtifFreer {
  void operator()(GTIF* gtif) const { GTIFFree(gtif); }
};

bool WriteFile(const QImage& source, const ChartProjection& projection, const ChartView& view,
               const std::string& path, std::string& error) {
  std::unique_ptr<TIFF, TiffCloser> tif(XTIFFOpen(path.c_str(), "w"));
  if (!tif) {
    error = std::strerror(errno ? errno : EIO);
    return false;
  }
  const QImage image = source.convertToFormat(QImage::Format_RGBA8888);
  const auto width = static_cast<uint32_t>(image.width());
  const auto height = static_cast<uint32_t>(image.height());
  TIFF* t = tif.get();
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 4);
  const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
  TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, extra);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_DEFLATE);
  TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
  TIFFSetField(t, TIFFTAG_SOFTWARE, "Halvix " HALVIX_VERSION);

  // Pixel (0, 0)'s top-left corner is the view's north-west corner.
  const ProjectedPoint corner = view.FromPixel(0, 0);
  double tiepoint[6] = {0, 0, 0, corner.x, corner.y, 0};
  double scale[3] = {view.metres_per_pixel, view.metres_per_pixel, 0};
  TIFFSetField(t, TIFFTAG_GEOTIEPOINTS, 6, tiepoint);
  TIFFSetField(t, TIFFTAG_GEOPIXELSCALE, 3, scale);

  std::unique_ptr<GTIF, GtifFreer> gtif(GTIFNew(t));
  if (!gtif) {
    error = "cannot write the GeoTIFF keys";
    return false;
  }
  const LambertParameters& p = projection.parameters();
  GTIF* g = gtif.get();
  GTIFKeySet(g, GTModelTypeGeoKey, TYPE_SHORT, 1, ModelProjected);
  GTIFKeySet(g, GTRasterTypeGeoKey, TYPE_SHORT, 1, RasterPixelIsArea);
  GTIFKeySet(g, GTCitationGeoKey, TYPE_ASCII, 0, "Halvix route chart, Lambert conformal conic");
  GTIFKeySet(g, GeographicTypeGeoKey, TYPE_SHORT, 1, GCS_WGS_84);
  GTIFKeySet(g, GeogAngularUnitsGeoKey, TYPE_SHORT, 1, Angular_Degree);
  GTIFKeySet(g, ProjectedCSTypeGeoKey, TYPE_SHORT, 1, KvUserDefined);
  GTIFKeySet(g, ProjectionGeoKey, TYPE_SHORT, 1, KvUserDefined);
  GTIFKeySet(g, ProjCoordTransGeoKey, TYPE_SHORT, 1, CT_LambertConfConic_2SP);
  GTIFKeySet(g, ProjLinearUnitsGeoKey, TYPE_SHORT, 1, Linear_Meter);
  GTIFKeySet(g, ProjStdParallel1GeoKey, TYPE_DOUBLE, 1, p.standard_parallel1);
  GTIFKeySet(g, ProjStdParallel2GeoKey, TYPE_DOUBLE, 1, p.standard_parallel2);
  GTIFKeySet(g, ProjFalseOriginLatGeoKey, TYPE_DOUBLE, 1, p.origin_lat);
  GTIFKeySet(g, ProjFalseOriginLongGeoKey, TYPE_DOUBLE, 1, p.central_meridian);
  GTIFKeySet(g, ProjFalseOriginEastingGeoKey, TYPE_DOUBLE, 1, 0.0);
  GTIFKeySet(g, ProjFalseOriginNorthingGeoKey, TYPE_DOUBLE, 1, 0.0);
  if (!GTIFWriteKeys(g)) {
    error = "cannot write the GeoTIFF keys";
    return false;
  }
  for (uint32_t row = 0; row < height; ++row) {
    std::vector<uint8_t> line(image.constScanLine(static_cast<int>(row)),
                              image.constScanLine(static_cast<int>(row)) + width * 4);
    if (TIFFWriteScanline(t, line.data(), row, 0) < 0) {
      error = "cannot write the image (disk full?)";
      return false;
    }
  }
  gtif.reset();
  if (!TIFFFlush(t)) {
    error = "cannot write the image (disk full?)";
    return false;
  }
  return true;
}

}  // namespace

ChartExportResult WriteGeoTiff(const QImage& image, const ChartProjection& projection,
                               const ChartView& view, const std::string& path) {
  ChartExportResult result;
  if (image.isNull() || image.width() != view.width || image.height() != view.height) {
    result.error = "no image to write";
    return result;
  }
  // libtiff reports through handlers of its own; the caller says what failed.
  TIFFSetWarningHandler(nullptr);
  TIFFSetErrorHandler(nullptr);
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
  errno = 0;
  std::string bytes;
  const bool written =
      WriteFile(image, projection, view, pattern, result.error) &&
      ReadRegularFile(pattern, std::size_t{1} << 32, bytes, result.error) == ReadStatus::Ok;
  unlink(pattern.c_str());
  if (!written || !ReplaceFile(path, bytes, result.error)) {
    result.error = path + ": " + result.error;
    return result;
  }
  result.ok = true;
  return result;
}

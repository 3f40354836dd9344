// The one unit that speaks to libtiff and libgeotiff, built as a module the
// chart loads when it first exports a GeoTIFF.
#include <geo_normalize.h>
#include <geotiff.h>
#include <geovalues.h>
#include <tiffio.h>
#include <xtiffio.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "chart/geotiff_writer.h"

namespace {

struct TiffCloser {
  void operator()(TIFF* tif) const { XTIFFClose(tif); }
};
struct GtifFreer {
  void operator()(GTIF* gtif) const { GTIFFree(gtif); }
};

bool WriteFile(const char* path, const GeoTiffImage& image, std::string& error) {
  std::unique_ptr<TIFF, TiffCloser> tif(XTIFFOpen(path, "w"));
  if (!tif) {
    error = std::strerror(errno ? errno : EIO);
    return false;
  }
  const auto width = static_cast<uint32_t>(image.width);
  const auto height = static_cast<uint32_t>(image.height);
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
  TIFFSetField(t, TIFFTAG_SOFTWARE, image.software);

  // Pixel (0, 0)'s top-left corner is the view's north-west corner.
  double tiepoint[6] = {0, 0, 0, image.corner_x, image.corner_y, 0};
  double scale[3] = {image.metres_per_pixel, image.metres_per_pixel, 0};
  TIFFSetField(t, TIFFTAG_GEOTIEPOINTS, 6, tiepoint);
  TIFFSetField(t, TIFFTAG_GEOPIXELSCALE, 3, scale);

  std::unique_ptr<GTIF, GtifFreer> gtif(GTIFNew(t));
  if (!gtif) {
    error = "cannot write the GeoTIFF keys";
    return false;
  }
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
  GTIFKeySet(g, ProjStdParallel1GeoKey, TYPE_DOUBLE, 1, image.standard_parallel1);
  GTIFKeySet(g, ProjStdParallel2GeoKey, TYPE_DOUBLE, 1, image.standard_parallel2);
  GTIFKeySet(g, ProjFalseOriginLatGeoKey, TYPE_DOUBLE, 1, image.origin_lat);
  GTIFKeySet(g, ProjFalseOriginLongGeoKey, TYPE_DOUBLE, 1, image.central_meridian);
  GTIFKeySet(g, ProjFalseOriginEastingGeoKey, TYPE_DOUBLE, 1, 0.0);
  GTIFKeySet(g, ProjFalseOriginNorthingGeoKey, TYPE_DOUBLE, 1, 0.0);
  if (!GTIFWriteKeys(g)) {
    error = "cannot write the GeoTIFF keys";
    return false;
  }
  for (uint32_t row = 0; row < height; ++row) {
    const unsigned char* first = image.pixels + row * image.stride;
    std::vector<uint8_t> line(first, first + width * 4);
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

extern "C" {
extern const long halvix_geotiff_version;
const long halvix_geotiff_version = kHalvixGeoTiffVersion;
}

extern "C" bool halvix_geotiff_write(const char* path, const GeoTiffImage& image,
                                     std::string& error) {
  // libtiff reports through handlers of its own; the caller says what failed.
  TIFFSetWarningHandler(nullptr);
  TIFFSetErrorHandler(nullptr);
  errno = 0;
  return WriteFile(path, image, error);
}

// A chart image as the GeoTIFF module writes it. libtiff, libgeotiff and the
// projection library beneath them live in a module of their own
// (halvix-geotiff) so that a program pays for them only once it exports a
// chart.
#pragma once

#include <cstddef>
#include <string>

struct GeoTiffImage {
  // RGBA, 8 bits a sample, rows `stride` bytes apart, top row first.
  const unsigned char* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
  // Where pixel (0, 0)'s top-left corner lies in the projection, in metres,
  // and the size of a pixel on the ground.
  double corner_x = 0.0;
  double corner_y = 0.0;
  double metres_per_pixel = 0.0;
  // The Lambert conformal conic projection on WGS 84, in degrees.
  double standard_parallel1 = 0.0;
  double standard_parallel2 = 0.0;
  double origin_lat = 0.0;
  double central_meridian = 0.0;
  const char* software = "";
};

// The module's one entry point: writes `image` at `path` (a new file of the
// caller's); false with the reason otherwise.
extern "C" {
using HalvixGeoTiffWrite = bool (*)(const char* path, const GeoTiffImage& image,
                                    std::string& error);
}
#define HALVIX_GEOTIFF_WRITE_SYMBOL "halvix_geotiff_write"
// The module's interface version, a `long`, checked before it is used.
#define HALVIX_GEOTIFF_VERSION_SYMBOL "halvix_geotiff_version"
constexpr long kHalvixGeoTiffVersion = 1;

// The module's entry point, once `path` is checked to be a whole module of
// this version; null with the reason otherwise.
HalvixGeoTiffWrite LoadGeoTiffModule(const std::string& path, std::string& error);

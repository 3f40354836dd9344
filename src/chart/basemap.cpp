#include "chart/basemap.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "plan/module_loader.h"

BaseMapSources FindBaseMapSources() {
  BaseMapSources sources;
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<std::string> gshhg = {"/usr/share/gmt-gshhg", "/usr/share/gshhg-gmt-nc4",
                                    "/usr/share/gmt/coast"};
  std::vector<std::string> dcw = {"/usr/share/gmt-dcw/dcw-gmt.nc", "/usr/share/gmt/dcw/dcw-gmt.nc"};
  if (const char* own = std::getenv("HALVIX_BASEMAP_DIR")) {
    gshhg = {own};
    dcw = {std::string(own) + "/dcw-gmt.nc"};
  }
  for (const std::string& folder : gshhg) {
    if (fs::exists(fs::path(folder) / "binned_GSHHS_l.nc", ec) ||
        fs::exists(fs::path(folder) / "binned_GSHHS_c.nc", ec)) {
      sources.gshhg_folder = folder;
      break;
    }
  }
  for (const std::string& file : dcw) {
    if (fs::exists(file, ec)) {
      sources.dcw_file = file;
      break;
    }
  }
  return sources;
}

char ShorelineResolution(const BaseMapSources& sources, double metres_per_pixel) {
  // Crude to full, each about five times finer, and the scale each suits.
  const char order[] = {'c', 'l', 'i', 'h', 'f'};
  const double coarsest_mpp[] = {5000.0, 1000.0, 200.0, 40.0, 0.0};
  int wanted = 0;
  while (wanted < 4 && metres_per_pixel < coarsest_mpp[wanted]) ++wanted;
  std::error_code ec;
  auto installed = [&](int i) {
    return std::filesystem::exists(sources.gshhg_folder + "/binned_GSHHS_" + order[i] + ".nc", ec);
  };
  // The one wanted, else the nearest coarser one, else the nearest finer one.
  for (int i = wanted; i >= 0; --i)
    if (installed(i)) return order[i];
  for (int i = wanted + 1; i < 5; ++i)
    if (installed(i)) return order[i];
  return 'l';
}

namespace {

const LoadedModule<BaseMapReader*>& LoadModule() {
  static const auto module = [] {
    auto loaded = LoadInstalledModule("halvix-basemap.so", &LoadBaseMapModule);
    if (loaded.entry == nullptr)
      loaded.error = "Coastlines and borders cannot be drawn: " + loaded.error;
    return loaded;
  }();
  return module;
}

}  // namespace

BaseMapReader* LoadBaseMapModule(const std::string& path, std::string& error) {
  const auto reader = reinterpret_cast<HalvixBaseMapReader>(
      LoadModuleEntry(path, HALVIX_BASEMAP_VERSION_SYMBOL, kHalvixBaseMapVersion,
                      HALVIX_BASEMAP_READER_SYMBOL, "base map", error));
  return reader != nullptr ? reader() : nullptr;
}

bool ReadShorelineFile(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                       std::string& error) {
  const auto& module = LoadModule();
  if (module.entry == nullptr) {
    error = module.error;
    return false;
  }
  return module.entry->ReadShorelines(path, box, lines, error);
}

bool ReadBorderFile(const std::string& path, const MapBox& box, std::vector<MapLine>& lines,
                    std::string& error) {
  const auto& module = LoadModule();
  if (module.entry == nullptr) {
    error = module.error;
    return false;
  }
  return module.entry->ReadBorders(path, box, lines, error);
}

BaseMapResult LoadBaseMap(const BaseMapSources& sources, const MapBox& box, char resolution) {
  BaseMapResult result;
  // Without its reader, one message for the whole map rather than one per file.
  bool readable = true;
  if (!sources.gshhg_folder.empty() || !sources.dcw_file.empty()) {
    const auto& module = LoadModule();
    if (module.entry == nullptr) {
      result.messages.push_back(module.error);
      readable = false;
    }
  }
  if (sources.gshhg_folder.empty()) {
    result.messages.push_back(std::string("Coastlines, lakes and rivers need the package ") +
                              kShorelinePackage + ".");
  } else if (readable) {
    const std::string suffix = std::string("_") + resolution + ".nc";
    for (const char* kind : {"binned_GSHHS", "binned_river"}) {
      std::string error;
      std::vector<MapLine> lines;
      if (ReadShorelineFile(sources.gshhg_folder + "/" + kind + suffix, box, lines, error)) {
        // At the coarse resolutions only the major rivers: the rest would be clutter.
        if (resolution == 'c' || resolution == 'l') {
          lines.erase(std::remove_if(lines.begin(), lines.end(),
                                     [](const MapLine& l) {
                                       return l.kind == MapLineKind::River && l.level > 2;
                                     }),
                      lines.end());
        }
        result.lines.insert(result.lines.end(), std::make_move_iterator(lines.begin()),
                            std::make_move_iterator(lines.end()));
      } else {
        result.messages.push_back(error);
      }
    }
  }
  if (sources.dcw_file.empty()) {
    result.messages.push_back(std::string("Country and state borders need the package ") +
                              kBorderPackage + ".");
  } else if (readable) {
    std::string error;
    std::vector<MapLine> lines;
    if (ReadBorderFile(sources.dcw_file, box, lines, error)) {
      result.lines.insert(result.lines.end(), std::make_move_iterator(lines.begin()),
                          std::make_move_iterator(lines.end()));
    } else {
      result.messages.push_back(error);
    }
  }
  return result;
}

// Parts of the programs that need large libraries (GRIB decoding, the base
// map's netCDF files, GeoTIFF writing) live in modules of their own, loaded
// on first use: linked in, those libraries and the dozens they pull in would
// be loaded at every start of the program.
#pragma once

#include <string>

// Where the installation puts the module file `name` (e.g. "halvix-grib.so"),
// found from the program's own folder so that any prefix works.
std::string ModulePath(const std::string& name);

// The address of `entry` in the module at `path`, once the file is checked
// to be a whole module whose `version_symbol` (a `long`) is `version`; null
// with the reason otherwise, the module's kind named by `what` ("GRIB"). A
// file cut short would otherwise bring the program down inside the loader,
// and a module left over from another build would be called with the wrong
// interface. The module stays loaded for the life of the process.
void* LoadModuleEntry(const std::string& path, const char* version_symbol, long version,
                      const char* entry, const char* what, std::string& error);

// What loading a module gave: its entry, or null and why.
template <typename Entry>
struct LoadedModule {
  Entry entry = nullptr;
  std::string error;
};

// Loads the installed module `name` with `load` (path, error). A caller keeps
// the result in a function-local static, so the module is loaded once, on
// first use, and a missing one is not looked for again.
template <typename Entry>
LoadedModule<Entry> LoadInstalledModule(const char* name,
                                        Entry (*load)(const std::string&, std::string&)) {
  LoadedModule<Entry> module;
  module.entry = load(ModulePath(name), module.error);
  return module;
}

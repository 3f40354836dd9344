#include "winds/grib_messages.h"

#include <unistd.h>

#include "plan/module_loader.h"

namespace {

// Kept for the life of the process: the readers it makes run its code.
const LoadedModule<HalvixGribOpen>& LoadModule() {
  static const auto module = LoadInstalledModule("halvix-grib.so", &LoadGribModule);
  return module;
}

}  // namespace

HalvixGribOpen LoadGribModule(const std::string& path, std::string& error) {
  return reinterpret_cast<HalvixGribOpen>(LoadModuleEntry(path, HALVIX_GRIB_VERSION_SYMBOL,
                                                          kHalvixGribVersion,
                                                          HALVIX_GRIB_OPEN_SYMBOL, "GRIB", error));
}

std::unique_ptr<GribMessages> OpenGribMessages(int fd, std::string& error) {
  const auto& module = LoadModule();
  if (module.entry == nullptr) {
    close(fd);
    error = "cannot read GRIB2 files: " + module.error;
    return nullptr;
  }
  std::unique_ptr<GribMessages> messages(module.entry(fd));
  if (!messages) error = "cannot be read";
  return messages;
}

#include "winds/grib_messages.h"

#include <unistd.h>

#include <mutex>

#include "plan/module_loader.h"

namespace {

struct Module {
  HalvixGribOpen open = nullptr;
  std::string error;
};

// Loaded once and kept for the life of the process: the readers it makes
// run its code.
const Module& LoadModule() {
  static Module module;
  static std::once_flag once;
  std::call_once(once,
                 [] { module.open = LoadGribModule(ModulePath("halvix-grib.so"), module.error); });
  return module;
}

}  // namespace

HalvixGribOpen LoadGribModule(const std::string& path, std::string& error) {
  return reinterpret_cast<HalvixGribOpen>(LoadModuleEntry(path, HALVIX_GRIB_VERSION_SYMBOL,
                                                          kHalvixGribVersion,
                                                          HALVIX_GRIB_OPEN_SYMBOL, "GRIB", error));
}

std::unique_ptr<GribMessages> OpenGribMessages(int fd, std::string& error) {
  const Module& module = LoadModule();
  if (module.open == nullptr) {
    close(fd);
    error = "cannot read GRIB2 files: " + module.error;
    return nullptr;
  }
  std::unique_ptr<GribMessages> messages(module.open(fd));
  if (!messages) error = "cannot be read";
  return messages;
}

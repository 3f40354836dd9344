#include "winds/grib_messages.h"

#include <dlfcn.h>
#include <unistd.h>

#include <mutex>

#include "plan/fileio.h"

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
  std::call_once(once, [] {
    const std::string dir = DirectoryOfProgram();
    const std::string path =
        (dir.empty() ? std::string(".") : dir) + "/" HALVIX_RELATIVE_LIB_DIR "/halvix-grib.so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* why = dlerror();
      module.error = why != nullptr ? why : path + ": cannot be loaded";
      return;
    }
    module.open = reinterpret_cast<HalvixGribOpen>(dlsym(handle, HALVIX_GRIB_OPEN_SYMBOL));
    if (module.open == nullptr) module.error = path + ": not a GRIB module of this program";
  });
  return module;
}

}  // namespace

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

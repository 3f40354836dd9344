#include "plan/module_loader.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "plan/fileio.h"

namespace {

bool ReadAt(int fd, std::uint64_t offset, void* out, std::size_t size) {
  return pread(fd, out, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

// The loader maps the file's segments and touches them: a segment that ends
// past the end of the file is a SIGBUS there, not an error. So every part the
// headers name must lie inside the file before it is handed over.
std::string DamagedModule(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return path + ": " + std::strerror(errno);
  struct stat st {};
  Elf64_Ehdr header{};
  std::string why;
  if (fstat(fd, &st) != 0 || !ReadAt(fd, 0, &header, sizeof header) ||
      std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
      header.e_phentsize != sizeof(Elf64_Phdr)) {
    why = "not a module";
  } else {
    const auto size = static_cast<std::uint64_t>(st.st_size);
    const std::uint64_t sections =
        header.e_shoff + static_cast<std::uint64_t>(header.e_shnum) * header.e_shentsize;
    const std::uint64_t programs =
        header.e_phoff + static_cast<std::uint64_t>(header.e_phnum) * header.e_phentsize;
    if (sections > size || programs > size) why = "cut short";
    for (Elf64_Half n = 0; why.empty() && n < header.e_phnum; ++n) {
      Elf64_Phdr segment{};
      if (!ReadAt(fd, header.e_phoff + n * sizeof segment, &segment, sizeof segment) ||
          segment.p_offset > size || segment.p_filesz > size - segment.p_offset) {
        why = "cut short";
      }
    }
  }
  close(fd);
  return why.empty() ? std::string() : path + ": damaged (" + why + "); reinstall the program";
}

}  // namespace

std::string ModulePath(const std::string& name) {
  const std::string dir = DirectoryOfProgram();
  return (dir.empty() ? std::string(".") : dir) + "/" HALVIX_RELATIVE_LIB_DIR "/" + name;
}

void* LoadModuleEntry(const std::string& path, const char* version_symbol, long version,
                      const char* entry, const char* what, std::string& error) {
  error = DamagedModule(path);
  if (!error.empty()) return nullptr;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error = why != nullptr ? why : path + ": cannot be loaded";
    return nullptr;
  }
  const auto* found = static_cast<const long*>(dlsym(handle, version_symbol));
  void* address = dlsym(handle, entry);
  if (found == nullptr || *found != version || address == nullptr) {
    error = path + ": not a " + what + " module of this version of the program";
    return nullptr;
  }
  return address;
}

#include "data/data_format.h"

#include <sys/stat.h>

namespace {

bool IsFile(const std::string& path, DataFile& file) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  file.path = path;
  file.size = static_cast<unsigned long long>(st.st_size);
  file.mtime_ns = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return true;
}

}  // namespace

bool FindDataFile(const std::string& folder, const std::vector<std::string>& subfolders,
                  const std::string& name, DataFile& file) {
  for (const std::string& sub : subfolders) {
    const std::string base = folder + "/" + (sub.empty() ? "" : sub + "/") + name;
    if (IsFile(base, file) || IsFile(base + ".gz", file)) return true;
  }
  return false;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SkippedRecords::Report(ReadReport& report) const {
  if (count_ == 0) return;
  report.Warning(std::to_string(count_) + " records skipped (the first at line " +
                 std::to_string(first_line_) + ": " + why_ + ")");
}

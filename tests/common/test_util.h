// Small helpers shared by the plan tests.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "plan/plan.h"

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/halvix-test-XXXXXX";
    path_ = mkdtemp(&pattern[0]) ? pattern : std::string();
  }
  ~TempDir() {
    if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A route row from its ten cells as typed: name, then Dist, Course, Altitude,
// Wind Dir, Wind Vel, Temp, TAS, Mag Var and VOR.
inline Checkpoint Row(const std::string& name, const std::string& dist = "",
                      const std::string& tc = "", const std::string& alt = "",
                      const std::string& winddir = "", const std::string& windvel = "",
                      const std::string& temp = "", const std::string& tas = "",
                      const std::string& var = "", const std::string& vor = "") {
  Checkpoint row;
  row.caption = name;
  row.subitems = {dist, tc, alt, winddir, windvel, temp, tas, var, vor};
  return row;
}

// Any bytes as a plan file, read, saved and read again: the second reading
// must give the plan of the first. Only what the format itself drops may
// change: blanks around a text, and digits past the sixth decimal.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plan/planfile.h"

namespace {

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\v\f\r\n";
  const std::size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

void SameText(const std::string& a, const std::string& b) {
  if (a != b && Trimmed(a) != Trimmed(b)) std::abort();
}

void SameNumber(double a, double b) {
  if (!(std::fabs(a - b) <= 1e-6)) std::abort();
}

char g_dir[] = "/tmp/halvix-fuzz-XXXXXX";

void RemoveDir() {
  unlink((std::string(g_dir) + "/plan.flt").c_str());
  rmdir(g_dir);
}

const std::string& Path() {
  static const std::string path = [] {
    if (!mkdtemp(g_dir)) std::abort();
    std::atexit(RemoveDir);
    return std::string(g_dir) + "/plan.flt";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Plan first;
  LoadPlanText(first, std::string(reinterpret_cast<const char*>(data), size));
  unlink(Path().c_str());
  SaveResult saved = SavePlan(first, Path());
  if (first.route.empty()) {
    if (saved.status != SaveStatus::NothingToSave) std::abort();
    return 0;
  }
  if (saved.status != SaveStatus::Saved) std::abort();

  Plan second;
  if (!LoadPlan(second, Path()).ok) std::abort();
  SameText(first.title, second.title);
  SameText(first.aircraft.pilotname, second.aircraft.pilotname);
  SameText(first.aircraft.acnumber, second.aircraft.acnumber);
  SameText(first.aircraft.actype, second.aircraft.actype);
  SameNumber(first.aircraft.acgph, second.aircraft.acgph);
  SameNumber(first.aircraft.acfullfuel, second.aircraft.acfullfuel);
  if (first.print.enableshade != second.print.enableshade) std::abort();
  SameNumber(first.print.topmargin, second.print.topmargin);
  SameNumber(first.print.leftmargin, second.print.leftmargin);
  SameNumber(first.print.bottommargin, second.print.bottommargin);
  SameNumber(first.print.rightmargin, second.print.rightmargin);
  if (first.route.size() != second.route.size()) std::abort();
  for (std::size_t i = 0; i < first.route.size(); ++i) {
    SameText(first.route[i].caption, second.route[i].caption);
    if (first.route[i].subitems.size() != second.route[i].subitems.size()) std::abort();
    for (std::size_t c = 0; c < first.route[i].subitems.size(); ++c) {
      SameText(first.route[i].subitems[c], second.route[i].subitems[c]);
    }
  }
  if (first.airfields.size() != second.airfields.size()) std::abort();
  for (std::size_t j = 0; j < first.airfields.size(); ++j) {
    for (int k = 0; k < kAirfieldColumns; ++k) {
      SameText(AirfieldColumn(first.airfields[j], k), AirfieldColumn(second.airfields[j], k));
    }
  }
  return 0;
}

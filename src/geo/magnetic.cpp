#include "geo/magnetic.h"

#include <GeographicLib/Constants.hpp>
#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/SphericalHarmonic1.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>

#include "plan/cnumbers.h"
#include "plan/fileio.h"
#include "plan/planfile.h"

namespace {

// The geomagnetic reference sphere of the World Magnetic Model.
constexpr double kReferenceRadius = 6371200.0;
constexpr double kPi = 3.14159265358979323846;

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool ValidDate(const CivilDate& d) {
  return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= DaysInMonth(d.year, d.month);
}

}  // namespace

bool ParseCivilDate(const std::string& text, CivilDate& date) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i != 4 && i != 7 && (text[i] < '0' || text[i] > '9')) return false;
  }
  CivilDate d{std::atoi(text.substr(0, 4).c_str()), std::atoi(text.substr(5, 2).c_str()),
              std::atoi(text.substr(8, 2).c_str())};
  if (!ValidDate(d)) return false;
  date = d;
  return true;
}

double DecimalYear(const CivilDate& date) {
  int day_of_year = date.day - 1;
  for (int m = 1; m < date.month; ++m) day_of_year += DaysInMonth(date.year, m);
  return date.year + day_of_year / (IsLeapYear(date.year) ? 366.0 : 365.0);
}

CivilDate Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatCivilDate(const CivilDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

bool MagneticModel::Load(const std::string& path, std::string& error) {
  auto fail = [&](const std::string& why) {
    error = path + ": " + why;
    return false;
  };
  // Far above the 12th-degree model's 14 KB; a data folder chosen by the
  // user may hold anything.
  constexpr std::size_t kMaxModelBytes = 1 << 20;
  std::string bytes;
  std::string reason;
  if (ReadRegularFile(path, kMaxModelBytes, bytes, reason) != ReadStatus::Ok) {
    return fail(reason.empty() ? "cannot be read" : "cannot be read: " + reason);
  }
  std::istringstream in(bytes);
  CNumbers c_numbers;

  std::string line;
  if (!std::getline(in, line)) return fail("is empty");
  std::istringstream header(line);
  std::string name;
  std::string release;
  double epoch = 0.0;
  if (!(header >> epoch >> name >> release)) return fail("has no model header");
  CivilDate released;
  int month = 0, day = 0, year = 0;
  if (std::sscanf(release.c_str(), "%d/%d/%d", &month, &day, &year) != 3) {
    return fail("has no release date in its header");
  }
  released = CivilDate{year, month, day};
  if (!ValidDate(released)) return fail("has no release date in its header");

  struct Term {
    int n, m;
    double g, h, g_dot, h_dot;
  };
  std::vector<Term> terms;
  int degree = 0;
  bool ended = false;
  while (std::getline(in, line)) {
    if (line.compare(0, 4, "9999") == 0) {
      ended = true;
      break;
    }
    std::istringstream fields(line);
    Term t{};
    if (!(fields >> t.n >> t.m >> t.g >> t.h >> t.g_dot >> t.h_dot)) {
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      return fail("has a line that is no coefficient: " + line);
    }
    // Degree 12 is the model's; anything far beyond is a damaged file.
    if (t.n < 1 || t.n > 100 || t.m < 0 || t.m > t.n) return fail("has a coefficient out of order");
    degree = std::max(degree, t.n);
    terms.push_back(t);
  }
  if (!ended || terms.empty()) return fail("ends before its closing line");

  const int size = (degree + 1) * (degree + 2) / 2;
  g_.assign(size, 0.0);
  g_dot_.assign(size, 0.0);
  h_.assign(size - (degree + 1), 0.0);
  h_dot_.assign(size - (degree + 1), 0.0);
  for (const Term& t : terms) {
    const int k = t.m * degree - t.m * (t.m - 1) / 2 + t.n;
    g_[k] = t.g;
    g_dot_[k] = t.g_dot;
    if (t.m > 0) {
      h_[k - (degree + 1)] = t.h;
      h_dot_[k - (degree + 1)] = t.h_dot;
    }
  }
  degree_ = degree;
  name_ = name;
  epoch_ = epoch;
  released_ = released;
  expires_ = released;
  expires_.year += 5;
  if (!ValidDate(expires_)) expires_.day = 28;  // released on 29 February
  return true;
}

bool MagneticModel::Covers(const CivilDate& date) const {
  const auto key = [](const CivilDate& d) { return d.year * 10000 + d.month * 100 + d.day; };
  return key(date) >= key(released_) && key(date) < key(expires_);
}

double MagneticModel::Declination(double lat, double lon, double height_m, double year) const {
  return FieldAt(lat, lon, height_m, year).declination;
}

MagneticModel::Field MagneticModel::FieldAt(double lat, double lon, double height_m,
                                            double year) const {
  Field field;
  field.unreliable = std::fabs(lat) > 80.0;
  if (g_.empty()) return field;
  using GeographicLib::SphericalHarmonic1;
  SphericalHarmonic1 potential(g_, h_, degree_, g_dot_, h_dot_, degree_, kReferenceRadius,
                               SphericalHarmonic1::SCHMIDT);
  double x, y, z;
  std::vector<double> rotation(9);
  GeographicLib::Geocentric::WGS84().Forward(lat, lon, height_m, x, y, z, rotation);
  double gx, gy, gz;
  potential(year - epoch_, x, y, z, gx, gy, gz);
  // The potential is the reference radius times the harmonic sum, and the
  // field is minus its gradient.
  gx *= -kReferenceRadius;
  gy *= -kReferenceRadius;
  gz *= -kReferenceRadius;
  // The rotation takes local east-north-up vectors to geocentric ones; its
  // transpose brings the field back to east and north at the place.
  const double east = rotation[0] * gx + rotation[3] * gy + rotation[6] * gz;
  const double north = rotation[1] * gx + rotation[4] * gy + rotation[7] * gz;
  field.declination = std::atan2(east, north) * 180.0 / kPi;
  field.horizontal = std::hypot(east, north);
  field.unreliable = field.unreliable || field.horizontal < 2000.0;
  return field;
}

std::string FindMagneticModelFile() {
  const char* const kFile = "/wmm2025/WMM2025.COF";
  std::vector<std::string> places;
  if (const char* dir = std::getenv("HALVIX_DATA_DIR"); dir && *dir) places.push_back(dir);
  const std::string program_dir = DirectoryOfProgram();
  if (!program_dir.empty()) places.push_back(program_dir + "/" HALVIX_RELATIVE_DATA_DIR);
  for (const std::string& dir : places) {
    const std::string path = dir + kFile;
    if (PathExists(path)) return path;
  }
  return std::string();
}

bool LoadShippedMagneticModel(MagneticModel& model, std::string& error) {
  const std::string path = FindMagneticModelFile();
  if (path.empty()) {
    error = "the magnetic model (wmm2025/WMM2025.COF) that gives the variation is missing";
    return false;
  }
  return model.Load(path, error);
}

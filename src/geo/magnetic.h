// The Earth's magnetic field from a World Magnetic Model coefficient file,
// for the variation a pilot applies between true and magnetic directions.
#pragma once

#include <string>
#include <vector>

// A calendar day; the model is evaluated at its start.
struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// "YYYY-MM-DD" of a day that exists; false for anything else.
bool ParseCivilDate(const std::string& text, CivilDate& date);

// The date as a decimal year, counted from 1 January: 2025-07-02 is 2025 + 182/365.
double DecimalYear(const CivilDate& date);

// Today on the local calendar.
CivilDate Today();

// "YYYY-MM-DD".
std::string FormatCivilDate(const CivilDate& date);

class MagneticModel {
 public:
  // Reads a coefficient file in NOAA's COF layout; false with the reason.
  bool Load(const std::string& path, std::string& error);

  // Declination in degrees, east positive, at a geodetic position on WGS84
  // (height above the ellipsoid in metres) at a decimal year.
  double Declination(double lat, double lon, double height_m, double year) const;

  struct Field {
    double declination = 0.0;  // degrees, east positive
    double horizontal = 0.0;   // strength of the horizontal field, nT
    // Near the magnetic poles the compass has little to point with and the
    // model's own documentation calls its declination unreliable: above 80
    // degrees of latitude or under 2,000 nT of horizontal field.
    bool unreliable = false;
  };
  Field FieldAt(double lat, double lon, double height_m, double year) const;

  const std::string& name() const { return name_; }
  // The coefficients hold from their release for five years; outside that
  // span the model still answers, but only as an estimate.
  const CivilDate& released() const { return released_; }
  const CivilDate& expires() const { return expires_; }
  bool Covers(const CivilDate& date) const;

 private:
  std::string name_;
  double epoch_ = 0.0;
  CivilDate released_;
  CivilDate expires_;
  int degree_ = 0;
  // Schmidt semi-normalised Gauss coefficients in nT and their yearly change,
  // laid out by order, then degree, as the spherical-harmonic engine reads them.
  std::vector<double> g_, h_, g_dot_, h_dot_;
};

// The coefficient file the program ships: in $HALVIX_DATA_DIR/wmm2025, else
// beside the program (../share/halvix/wmm2025, installed or in the build
// folder). Empty when neither holds it.
std::string FindMagneticModelFile();

// Reads the coefficient file the program ships into `model`: the one loader
// of the model, whoever asks. False with the reason (missing or unreadable).
bool LoadShippedMagneticModel(MagneticModel& model, std::string& error);

// The aircraft's book figures (the climb table, descent, fuel policy and the
// alternate) and its loading, as the pilot copied them from the handbook.
// A plan without them has none of this: every member says "not set".
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

// One row of the handbook's "time, fuel and distance to climb" table:
// cumulative figures from sea level to `alt_ft` in standard air.
struct ClimbRow {
  double alt_ft = 0.0;
  double minutes = 0.0;
  double gallons = 0.0;
  double nm = 0.0;
};

struct Performance {
  std::vector<ClimbRow> climb;     // ascending altitude
  std::optional<double> climbisa;  // percent per 10 C above standard
  std::optional<double> descentfpm;
  std::optional<double> descenttas;
  std::optional<double> descentgph;
  std::optional<double> taxigal;
  std::optional<double> contingency;  // percent of trip fuel
  std::optional<double> extragal;
  std::string alternate;  // ident or name
  std::optional<double> alternatedist;
  std::optional<double> alternatetc;
  std::optional<double> alternatealt;
  // Keys the file held with a value that was refused: they stay in the file
  // as the pilot typed them until the pilot sets them anew.
  std::set<std::string> refused;

  bool IsSet() const;
  double ClimbIsa() const { return climbisa.value_or(10.0); }
  double DescentFpm() const { return descentfpm.value_or(500.0); }
};

struct LoadStation {
  std::string name;
  double arm = 0.0;
  double maxlb = 0.0;  // 0: no limit
  double lb = 0.0;
};

struct EnvelopePoint {
  double arm = 0.0;
  double lb = 0.0;
};

struct Loading {
  std::optional<double> empty_lb;
  std::optional<double> empty_arm;
  std::vector<LoadStation> stations;
  std::optional<double> fuelarm;
  std::optional<double> fuellbpergal;
  std::vector<EnvelopePoint> envelope;  // the normal category polygon, in order
  std::optional<double> maxlb;
  std::set<std::string> refused;

  bool IsSet() const;
  double FuelLbPerGal() const { return fuellbpergal.value_or(6.0); }
};

// --- Values as typed in the file and the dialogs --------------------------
// Each parser gives false with the reason for the pilot; the caller names the
// key and the value.

// A plain decimal number ("6.0", "-5", "1e3"); nothing else around it.
bool ParseNumber(const std::string& text, double& value);

// "ALT MINUTES GALLONS NM", blanks or tabs between.
bool ParseClimbRow(const std::string& text, ClimbRow& row, std::string& why);

// Checks each row against the one before it; the index of the first row out
// of order, or -1.
int ClimbTableOutOfOrder(const std::vector<ClimbRow>& rows, std::string& why);

// "LB ARM".
bool ParseEmptyWeight(const std::string& text, double& lb, double& arm, std::string& why);

// "NAME ARM MAXLB LB": the last three words are the numbers, the name may
// have blanks.
bool ParseStation(const std::string& text, LoadStation& station, std::string& why);

// "ARM:LB ARM:LB ...", at least three points.
bool ParseEnvelope(const std::string& text, std::vector<EnvelopePoint>& points, std::string& why);

// A number as the file writes it: the shortest form, at most `decimals`
// places, a decimal point whatever the locale.
std::string FormatNumber(double value, int decimals = 4);
std::string FormatClimbRow(const ClimbRow& row);
std::string FormatStation(const LoadStation& station);
std::string FormatEnvelope(const std::vector<EnvelopePoint>& points);

// --- The climb table --------------------------------------------------------

// Standard temperature at a pressure altitude: 15 C less 2 C per 1,000 ft.
double StandardTemperature(double alt_ft);

struct ClimbFigures {
  double minutes = 0.0;
  double gallons = 0.0;
  double nm = 0.0;           // still air
  bool above_table = false;  // the new altitude is above the table's last row
};

// Time, fuel and still-air distance from `from_ft` to `to_ft`: the table's
// figures at both ends, linear between rows, the last rows' rates above the
// table; times (1 + climbisa/100 x degrees above standard / 10) when `temp_c`
// is above standard at `to_ft`. Needs a table.
ClimbFigures ClimbBetween(const Performance& perf, double from_ft, double to_ft, double temp_c);

// --- Weight and balance ----------------------------------------------------

// True when (arm, lb) lies inside the polygon or on its edge.
bool InsideEnvelope(const std::vector<EnvelopePoint>& polygon, double arm, double lb);

struct LoadLine {
  std::string item;
  double lb = 0.0;
  double arm = 0.0;
  double moment = 0.0;
};

struct LoadPoint {
  double lb = 0.0;
  double moment = 0.0;
  double cg = 0.0;
  bool inside = true;  // inside the envelope (true when there is none)
  bool over_max = false;
};

struct WeightBalance {
  std::vector<LoadLine> lines;  // empty, each station, fuel
  LoadPoint takeoff;
  LoadPoint landing;
  std::vector<std::string> warnings;
};

// Takeoff with `fuel_gal` in the tanks, landing with `trip_gal` less.
WeightBalance ComputeWeightBalance(const Loading& loading, double fuel_gal, double trip_gal);

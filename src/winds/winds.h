// Winds and temperatures aloft from a forecast, leg by leg: where and when
// each leg is flown, what the forecast says there, and the rows it fills.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plan/plan.h"

// Wind as a vector (u towards the east, v towards the north, knots), so that
// means and interpolation never go the long way round the compass.
struct WindValue {
  bool has_wind = false;
  double u = 0.0;
  double v = 0.0;
  bool has_temp = false;
  double temp = 0.0;  // Celsius
};

// One level of a station's or grid point's profile. A level may lack a wind,
// a temperature or both.
struct LevelSample {
  double height_ft = 0.0;
  WindValue value;
};

// The wind from `direction` (degrees true) at `speed` knots as a vector.
WindValue WindFrom(double direction, double speed);

// Linear between the two levels around `alt_ft` that have a wind (and, apart,
// a temperature); below the lowest wind that wind, above the highest the
// highest; below the lowest temperature that temperature plus 2 C per 1000 ft
// of descent, above the highest the highest. `levels` ascend in height.
WindValue InterpolateVertically(const std::vector<LevelSample>& levels, double alt_ft);

// a + (b - a) * f on whatever each side has; a side without a wind (or
// temperature) leaves the other's.
WindValue Blend(const WindValue& a, const WindValue& b, double f);

// A filled row's three cells: direction in whole degrees 1..360 and speed and
// temperature in whole units; a speed that rounds to 0 is calm, 360 at 0.
struct RoundedWind {
  int32_t winddir = NOT_ENTERED;
  int32_t windvel = NOT_ENTERED;
  int32_t temp = NOT_ENTERED;  // NOT_ENTERED when the forecast has none
};
RoundedWind RoundWind(const WindValue& value);

// What a forecast says at one place, height and time.
struct WindSample {
  bool found = false;
  WindValue value;
  std::string source;   // stations or grid the value comes from
  std::string time;     // forecast time, as the forecast names it
  std::string warning;  // filled, but the pilot should know this
  std::string reason;   // why nothing was found
};

// A forecast as the filling sees it. Times are minutes on the forecast's own
// axis; a departure time of day is put on that axis by the forecast.
class WindSource {
 public:
  virtual ~WindSource() = default;
  // The departure on the time axis: `hhmm_minutes` (minutes after 00:00 UTC)
  // when given, else the forecast's own start.
  virtual double Departure(std::optional<int> hhmm_minutes) const = 0;
  virtual WindSample At(const GeoPosition& where, double alt_ft, double time) const = 0;
};

// The midpoint of each leg that has coordinates at both ends, by leg index.
std::vector<std::optional<GeoPosition>> LegMidpoints(const Plan& plan);

struct WindProposal {
  int row = 0;  // the route row that ends the leg
  bool filled = false;
  RoundedWind wind;     // what the row gets
  RoundedWind current;  // what the pilot has now, carried forward
  std::string source;
  std::string time;
  std::string note;  // why the leg is not filled, or a warning
};

struct WindFill {
  std::vector<WindProposal> legs;
  std::vector<std::string> warnings;  // one line each, naming the leg
};

struct WindFillOptions {
  std::optional<int> depart_minutes;  // minutes after 00:00 UTC
};

// What the forecast gives each leg at its midpoint, altitude and start time;
// a leg's start is the departure plus the times en route of the legs before
// it, worked out with the winds just proposed for them. The plan is not changed.
WindFill ProposeWinds(const Plan& plan, const WindSource& source, const WindFillOptions& options);

// Each leg with the values the pilot has now, nothing proposed yet.
WindFill CurrentWinds(const Plan& plan);

// Writes the filled legs' three cells (all three, so that nothing filled
// depends on a row above) and keeps the values the pilot had on legs left
// unfilled. True when a cell changed.
bool ApplyWinds(Plan& plan, const WindFill& fill);

// "HHMM" (UTC) as minutes after midnight; nothing for anything else.
std::optional<int> ParseDepartTime(const std::string& text);

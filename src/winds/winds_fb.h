// The US winds and temperatures aloft bulletin (FB): text as it is
// broadcast, decoded into station profiles, and the forecast it makes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "plan/read_report.h"
#include "winds/winds.h"

// One decoded group. Blank columns decode to a level without wind or temperature.
struct FbGroup {
  std::size_t level = 0;  // index into the bulletin's levels
  bool blank = true;
  bool calm = false;  // 9900: light and variable
  int direction = 0;  // degrees true, 10..360
  int speed = 0;      // knots
  bool has_temp = false;
  int temp = 0;  // Celsius
};

struct FbStation {
  std::string ident;
  int line = 0;                 // 1-based, in the text
  std::vector<FbGroup> groups;  // the levels that have a group, ascending by index

  // The group under the bulletin's `level`-th level; blank when there is none.
  FbGroup Group(std::size_t level) const;
};

struct FbBulletin {
  std::string valid;        // "040000Z"
  int use_from = 0;         // minutes after 00:00 UTC
  int use_to = 0;           // the same; before use_from when the period crosses midnight
  std::vector<int> levels;  // feet, as the level line lists them
  int temps_negative_above = 24000;
  std::vector<FbStation> stations;
};

struct FbDecodeResult {
  bool ok = false;
  std::string error;  // "line 12: group 23A5 ..." when not ok
  ReadReport report;  // the error and the warnings with their lines
  std::vector<FbBulletin> bulletins;
};

// Every bulletin in `text`, in order. Groups are found by the column of
// their level, not by blanks, so a blank level keeps its place. One group
// that fits no form refuses the whole text.
FbDecodeResult DecodeFb(const std::string& text);

// Decodes one group standing under `level_ft`, where temperatures above
// `negative_above` carry no sign. False when it fits no form.
bool DecodeFbGroup(const std::string& group, int level_ft, int negative_above, FbGroup& out);

// Where a station is, by the ident the bulletin gives it; nothing when it
// cannot be placed.
using StationLocator = std::function<std::optional<GeoPosition>(const std::string& ident)>;

// A decoded bulletin set as a forecast: stations placed once, then each
// leg weighted from the up to three nearest within 150 NM of its midpoint,
// in the bulletin whose period holds the leg's time. The time axis is
// minutes after 00:00 UTC of the day of departure.
class FbForecast : public WindSource {
 public:
  FbForecast(std::vector<FbBulletin> bulletins, const StationLocator& locate);

  double Departure(std::optional<int> hhmm_minutes) const override;
  WindSample At(const GeoPosition& where, double alt_ft, double time) const override;

  // "station ABC cannot be placed", once for each of a few, or one line
  // naming the first few and counting the rest.
  std::vector<std::string> warnings() const;
  // The idents of the stations that cannot be placed, in the bulletin's order.
  const std::vector<std::string>& unplaced() const { return unplaced_; }

 private:
  struct Placed {
    std::string ident;
    GeoPosition position;
    std::vector<LevelSample> profile;  // ascending
  };
  struct Period {
    std::string valid;
    int from = 0;
    int to = 0;  // after from, up to a day later
    std::vector<Placed> stations;
  };
  const Period* PeriodAt(double time, bool& inside) const;

  std::vector<Period> periods_;
  std::vector<std::string> unplaced_;
};

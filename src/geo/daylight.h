// Sunrise, sunset and civil twilight at an airfield on a day, in UTC, from
// NOAA's solar calculator equations; and the departure a plan is flown at.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "geo/magnetic.h"
#include "plan/plan.h"

// When the sun crosses one altitude on a day: a time, or never because it
// stays above (up all day) or below (down all day).
struct SunCrossing {
  enum class State { Time, AlwaysAbove, AlwaysBelow };
  State state = State::Time;
  double minutes = 0.0;  // after 00:00 UTC of the day, within 0..1440 (State::Time only)
};

struct Daylight {
  SunCrossing civil_dawn, sunrise, sunset, civil_dusk;
};

// The day's four events at `position` on the UTC date `date`.
Daylight ComputeDaylight(const GeoPosition& position, const CivilDate& date);

// "HH:MMZ" for a time, else "sun up all day" / "sun down all day".
std::string FormatSunTime(const SunCrossing& crossing);

// The day's four texts: civil dawn, sunrise, sunset, civil dusk. Twilight
// that lasts the night while the sun sets reads "twilight all night".
std::vector<std::string> DaylightTexts(const Daylight& day);

// A departure: the UTC date and the minutes after its midnight.
struct Departure {
  CivilDate date;
  int minutes = 0;
};

// "YYYY-MM-DDTHH:MMZ" of a real day and time; nullopt for anything else.
std::optional<Departure> ParseDeparture(const std::string& text);
std::string FormatDeparture(const Departure& departure);

// Where an airfield of the plan lies when the route says: the position of the
// route row of its name (or the first word of it).
std::optional<GeoPosition> AirfieldPositionOnRoute(const Plan& plan, const AirfieldInfo& field);

// "KSQL San Carlos  2026-06-01:  civil dawn 12:19Z,  sunrise ..." for an
// airfield the route places; empty for one it does not.
std::string AirfieldDaylightLine(const Plan& plan, const AirfieldInfo& field,
                                 const CivilDate& date);

// The arrival at `position` at `eta` (minutes after midnight of the departure
// date, may run past 1440): empty by day, else the warning for the pilot.
// `night` is set when it is after the end of civil twilight.
std::string ArrivalLight(const GeoPosition& position, const Departure& departure, int eta,
                         bool& night);

// The reserve for a night arrival: 45 minutes unless the pilot set more.
constexpr int32_t kNightReserve = 45;

// Where the flight lands: the last row with a position, else the last
// airfield's position as `field_position` gives it.
struct ArrivalCheck {
  std::optional<int> eta;  // minutes after midnight of the departure date
  std::string warning;     // "arrives after sunset (...)", "arrives at night" or empty
  bool night = false;      // the reserve was raised to the night one
};

// Times the arrival at `destination` from `departure` by the plan's log; a
// night arrival raises the plan's reserve to kNightReserve, so the log
// computed afterwards warns by it.
ArrivalCheck CheckArrival(Plan& plan, const Departure& departure,
                          const std::optional<GeoPosition>& destination);

// "HH:MMZ" of minutes after midnight (of any day).
std::string FormatUtcMinutes(int minutes);

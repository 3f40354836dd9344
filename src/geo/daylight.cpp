#include "geo/daylight.h"

#include <cmath>
#include <cstdio>

#include "plan/legs.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
double Rad(double deg) {
  return deg * kPi / 180.0;
}
double Deg(double rad) {
  return rad * 180.0 / kPi;
}

// Days since the epoch of 1 January 4713 BC at noon, for 00:00 UTC of `date`.
double JulianDay(const CivilDate& date) {
  int year = date.year;
  int month = date.month;
  if (month <= 2) {
    year -= 1;
    month += 12;
  }
  const int a = year / 100;
  const int b = 2 - a + a / 4;
  return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + date.day + b -
         1524.5;
}

struct Sun {
  double declination;       // degrees
  double equation_of_time;  // minutes
};

// The sun's declination and the equation of time at Julian century `t`.
Sun SunAt(double t) {
  const double mean_long = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
  const double mean_anom = 357.52911 + t * (35999.05029 - 0.0001537 * t);
  const double ecc = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
  const double m = Rad(mean_anom);
  const double center = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                        std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
  const double true_long = mean_long + center;
  const double omega = 125.04 - 1934.136 * t;
  const double apparent_long = true_long - 0.00569 - 0.00478 * std::sin(Rad(omega));
  const double mean_obliq =
      23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
  const double obliq = mean_obliq + 0.00256 * std::cos(Rad(omega));
  const double decl = Deg(std::asin(std::sin(Rad(obliq)) * std::sin(Rad(apparent_long))));
  const double y = std::pow(std::tan(Rad(obliq) / 2.0), 2);
  const double l0 = Rad(mean_long);
  const double eot = 4.0 * Deg(y * std::sin(2 * l0) - 2 * ecc * std::sin(m) +
                               4 * ecc * y * std::sin(m) * std::cos(2 * l0) -
                               0.5 * y * y * std::sin(4 * l0) - 1.25 * ecc * ecc * std::sin(2 * m));
  return {decl, eot};
}

// The crossing of the zenith distance `zenith` (degrees) on the morning
// (`rising`) or evening side of the day's solar noon. The sun's place is
// taken again at the time found, which brings it within seconds of the
// published tables.
SunCrossing Crossing(const GeoPosition& p, double jd, double zenith, bool rising) {
  double minutes = 720.0 - 4.0 * p.lon;  // a first guess: solar noon without the equation of time
  SunCrossing result;
  for (int pass = 0; pass < 3; ++pass) {
    const double t = (jd + minutes / 1440.0 - 2451545.0) / 36525.0;
    const Sun sun = SunAt(t);
    const double lat = Rad(p.lat);
    const double decl = Rad(sun.declination);
    const double cos_ha =
        std::cos(Rad(zenith)) / (std::cos(lat) * std::cos(decl)) - std::tan(lat) * std::tan(decl);
    if (cos_ha > 1.0) return {SunCrossing::State::AlwaysBelow, 0.0};
    if (cos_ha < -1.0) return {SunCrossing::State::AlwaysAbove, 0.0};
    const double ha = Deg(std::acos(cos_ha));
    const double noon = 720.0 - 4.0 * p.lon - sun.equation_of_time;
    minutes = noon + (rising ? -4.0 : 4.0) * ha;
  }
  result.minutes = std::fmod(std::fmod(minutes, 1440.0) + 1440.0, 1440.0);
  return result;
}

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

Daylight ComputeDaylight(const GeoPosition& position, const CivilDate& date) {
  const double jd = JulianDay(date);
  // 90 degrees 50 minutes: refraction and the sun's radius at the horizon.
  constexpr double kSunriseZenith = 90.833;
  constexpr double kCivilZenith = 96.0;
  Daylight day;
  day.civil_dawn = Crossing(position, jd, kCivilZenith, true);
  day.sunrise = Crossing(position, jd, kSunriseZenith, true);
  day.sunset = Crossing(position, jd, kSunriseZenith, false);
  day.civil_dusk = Crossing(position, jd, kCivilZenith, false);
  return day;
}

std::string FormatSunTime(const SunCrossing& crossing) {
  switch (crossing.state) {
    case SunCrossing::State::AlwaysAbove:
      return "sun up all day";
    case SunCrossing::State::AlwaysBelow:
      return "sun down all day";
    case SunCrossing::State::Time:
      break;
  }
  const int whole = static_cast<int>(std::lround(crossing.minutes)) % 1440;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02dZ", whole / 60, whole % 60);
  return text;
}

std::vector<std::string> DaylightTexts(const Daylight& day) {
  auto twilight = [&](const SunCrossing& civil) {
    if (civil.state == SunCrossing::State::AlwaysAbove &&
        day.sunrise.state != SunCrossing::State::AlwaysAbove)
      return std::string("twilight all night");
    return FormatSunTime(civil);
  };
  return {twilight(day.civil_dawn), FormatSunTime(day.sunrise), FormatSunTime(day.sunset),
          twilight(day.civil_dusk)};
}

std::optional<Departure> ParseDeparture(const std::string& text) {
  // YYYY-MM-DDTHH:MMZ
  if (text.size() != 17 || text[10] != 'T' || text[13] != ':' || text[16] != 'Z')
    return std::nullopt;
  Departure departure;
  if (!ParseCivilDate(text.substr(0, 10), departure.date)) return std::nullopt;
  for (std::size_t i : {11u, 12u, 14u, 15u}) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  const int hours = (text[11] - '0') * 10 + (text[12] - '0');
  const int minutes = (text[14] - '0') * 10 + (text[15] - '0');
  if (hours > 23 || minutes > 59) return std::nullopt;
  departure.minutes = hours * 60 + minutes;
  return departure;
}

std::string FormatDeparture(const Departure& departure) {
  char text[24];
  std::snprintf(text, sizeof text, "%sT%02d:%02dZ", FormatCivilDate(departure.date).c_str(),
                departure.minutes / 60 % 24, departure.minutes % 60);
  return text;
}

std::optional<GeoPosition> AirfieldPositionOnRoute(const Plan& plan, const AirfieldInfo& field) {
  auto first_word = [](const std::string& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find(' ', start) - start);
  };
  const std::string word = first_word(field.name);
  if (word.empty()) return std::nullopt;
  for (const Checkpoint& row : plan.route) {
    if (row.position && (row.caption == field.name || first_word(row.caption) == word))
      return row.position;
  }
  return std::nullopt;
}

std::string AirfieldDaylightLine(const Plan& plan, const AirfieldInfo& field,
                                 const CivilDate& date) {
  const std::optional<GeoPosition> position = AirfieldPositionOnRoute(plan, field);
  if (!position) return std::string();
  const std::vector<std::string> t = DaylightTexts(ComputeDaylight(*position, date));
  return field.name + "  " + FormatCivilDate(date) + ":  civil dawn " + t[0] + ",  sunrise " +
         t[1] + ",  sunset " + t[2] + ",  civil dusk " + t[3];
}

std::string ArrivalLight(const GeoPosition& position, const Departure& departure, int eta,
                         bool& night) {
  night = false;
  // The arrival's own UTC date: a long leg may land on the next day.
  CivilDate date = departure.date;
  int minutes = eta;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  while (minutes >= 1440) {
    minutes -= 1440;
    const int length = kDays[date.month - 1] + (date.month == 2 && IsLeap(date.year));
    if (++date.day > length) {
      date.day = 1;
      if (++date.month > 12) date.month = 1, ++date.year;
    }
  }
  const Daylight day = ComputeDaylight(position, date);
  // Times of day wrap at midnight UTC; the day's light is the span from
  // sunrise to sunset taken forward from sunrise.
  auto after = [&](const SunCrossing& start, const SunCrossing& end) {
    if (start.state != SunCrossing::State::Time || end.state != SunCrossing::State::Time)
      return end.state == SunCrossing::State::AlwaysBelow ||
             start.state == SunCrossing::State::AlwaysBelow;
    const double span = std::fmod(end.minutes - start.minutes + 1440.0, 1440.0);
    const double since = std::fmod(minutes - start.minutes + 1440.0, 1440.0);
    return since > span;
  };
  if (after(day.civil_dawn, day.civil_dusk)) {
    night = true;
    return "arrives at night";
  }
  if (after(day.sunrise, day.sunset))
    return "arrives after sunset (" + FormatSunTime(day.sunset) + ")";
  return std::string();
}

ArrivalCheck CheckArrival(Plan& plan, const Departure& departure,
                          const std::optional<GeoPosition>& destination) {
  ArrivalCheck check;
  const NavLog log = ComputeLog(plan);
  if (log.LegCount() <= 0 || log.unsolved > 0) return check;
  check.eta = departure.minutes + log.totals.ete;
  if (!destination) return check;
  check.warning = ArrivalLight(*destination, departure, *check.eta, check.night);
  if (check.night && plan.reserve < kNightReserve) plan.reserve = kNightReserve;
  return check;
}

std::string FormatUtcMinutes(int minutes) {
  const int wrapped = ((minutes % 1440) + 1440) % 1440;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02dZ", wrapped / 60, wrapped % 60);
  return text;
}

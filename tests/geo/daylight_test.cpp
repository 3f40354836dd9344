#include "geo/daylight.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Times(const GeoPosition& p, const CivilDate& date) {
  return DaylightTexts(ComputeDaylight(p, date));
}

using Texts = std::vector<std::string>;

TEST(DaylightTest, NoaasWorkedExampleAndAnEquinox) {
  // Wayne, New Jersey on 25 June 1990: sunrise at 09:26 UT.
  EXPECT_EQ(Times({40.9, -74.3}, {1990, 6, 25})[1], "09:26Z");
  // On the equator at the equinox the day is twelve hours and a few minutes
  // of refraction, centred on noon at Greenwich for longitude 0.
  const Daylight equinox = ComputeDaylight({0.0, 0.0}, {2026, 3, 20});
  const double length = equinox.sunset.minutes - equinox.sunrise.minutes;
  EXPECT_GT(length, 12 * 60.0);
  EXPECT_LT(length, 12 * 60.0 + 10);
  EXPECT_NEAR((equinox.sunset.minutes + equinox.sunrise.minutes) / 2, 12 * 60.0 + 8, 3);
  EXPECT_LT(equinox.civil_dawn.minutes, equinox.sunrise.minutes);
  EXPECT_GT(equinox.civil_dusk.minutes, equinox.sunset.minutes);
}

TEST(DaylightTest, PolarDayAndNight) {
  const GeoPosition svalbard{78.25, 15.5};
  EXPECT_EQ(Times(svalbard, {2026, 6, 21}),
            (Texts{"sun up all day", "sun up all day", "sun up all day", "sun up all day"}));
  EXPECT_EQ(Times(svalbard, {2026, 12, 21}), (Texts{"sun down all day", "sun down all day",
                                                    "sun down all day", "sun down all day"}));
  // Trondheim at midsummer: the sun sets, but twilight lasts the night.
  const Texts trondheim = Times({63.43, 10.39}, {2026, 6, 21});
  EXPECT_EQ(trondheim[0], "twilight all night");
  EXPECT_EQ(trondheim[3], "twilight all night");
  EXPECT_NE(trondheim[1].find('Z'), std::string::npos);
}

TEST(DaylightTest, DeparturesAndArrivals) {
  EXPECT_FALSE(ParseDeparture("0000-00-00T12:00Z"));
  EXPECT_FALSE(ParseDeparture("2026-06-01T25:00Z"));
  EXPECT_FALSE(ParseDeparture("2026-06-01 12:00"));
  const std::optional<Departure> departure = ParseDeparture("2026-06-01T23:30Z");
  ASSERT_TRUE(departure);
  EXPECT_EQ(FormatDeparture(*departure), "2026-06-01T23:30Z");

  const GeoPosition san_carlos{37.5119, -122.2495};
  bool night = true;
  // 23:30Z is mid-afternoon in California.
  EXPECT_EQ(ArrivalLight(san_carlos, *departure, departure->minutes + 60, night), "");
  EXPECT_FALSE(night);
  const Daylight evening = ComputeDaylight(san_carlos, {2026, 6, 2});
  const int sunset = static_cast<int>(evening.sunset.minutes);
  // Just after sunset, the next UTC day.
  EXPECT_EQ(ArrivalLight(san_carlos, *departure, 1440 + sunset + 2, night),
            "arrives after sunset (" + FormatSunTime(evening.sunset) + ")");
  EXPECT_FALSE(night);
  EXPECT_EQ(ArrivalLight(san_carlos, *departure, 1440 + sunset + 60, night), "arrives at night");
  EXPECT_TRUE(night);
}

}  // namespace

#include "geo/position_text.h"

#include <gtest/gtest.h>

TEST(PositionText, ReadsThePilotsNotations) {
  for (const char* text : {"37.165,-121.63", "N37 09.9 W121 37.8", "37°09'54\"N 121°37'48\"W",
                           "37.165 -121.63", "W121 37.8, N37 09.9"}) {
    GeoPosition p;
    std::string why;
    ASSERT_EQ(ParsePositionText(text, p, why), PositionText::Position) << text;
    EXPECT_NEAR(p.lat, 37.165, 1e-9) << text;
    EXPECT_NEAR(p.lon, -121.63, 1e-9) << text;
  }
}

TEST(PositionText, TellsIdentsFromPositionsPastTheirLimits) {
  GeoPosition p;
  std::string why;
  for (const char* ident : {"KPAO", "SJC", "1B1", "KSQL 12", ""})
    EXPECT_EQ(ParsePositionText(ident, p, why), PositionText::NotAPosition) << ident;
  EXPECT_EQ(ParsePositionText("95,10", p, why), PositionText::OutOfRange);
  EXPECT_NE(why.find("latitude"), std::string::npos);
  EXPECT_EQ(ParsePositionText("N37 10 W200 00", p, why), PositionText::OutOfRange);
  EXPECT_NE(why.find("longitude"), std::string::npos);
}

// Positions as pilots write them: "37.165,-121.63", "N37 09.9 W121 37.8",
// "37°09'54"N 121°37'48"W".
#pragma once

#include <string>

#include "plan/plan.h"

enum class PositionText {
  NotAPosition,  // no pair of coordinates: perhaps an ident
  Position,
  OutOfRange,  // reads as coordinates, but a latitude or longitude past its limit
};

// Reads `text` as a latitude and a longitude, in that order unless hemisphere
// letters say otherwise. For OutOfRange, `why` tells the pilot which value.
PositionText ParsePositionText(const std::string& text, GeoPosition& position, std::string& why);

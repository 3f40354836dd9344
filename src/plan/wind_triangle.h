// The wind triangle: what a course, a wind and a true airspeed give.
#pragma once

#include <cstdint>

enum class Triangle { Solved, AirspeedNotPositive, CrosswindTooStrong, NoGroundSpeed };

// The wind correction angle (positive for a wind from the right) and the
// ground speed, both truncated toward zero; Solved only when they mean
// something.
Triangle WindTriangle(int32_t tc, int32_t winddir, int32_t windvel, int32_t tas, int32_t& wca,
                      int32_t& gs);

// Any bytes as a winds aloft bulletin: decoded, every station placed near
// the route, and a plan's legs filled and computed. Nothing may crash; every
// value the forecast gives is finite, and a filled leg holds a direction of
// 1..360, a speed no group can exceed and a temperature within what the
// groups and the lapse below the lowest one allow.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plan/legs.h"
#include "plan/route_row.h"
#include "winds/winds.h"
#include "winds/winds_fb.h"

namespace {

Plan EastboundPlan() {
  Plan plan;
  AddRow(plan, RowBuilder("West"));
  AddRow(plan, RowBuilder("Middle")
                   .distance_nm(92)
                   .true_course_deg(90)
                   .altitude_ft(6000)
                   .wind_from_deg(270)
                   .wind_speed_kt(10)
                   .temperature_c(5)
                   .true_airspeed_kt(100)
                   .variation_deg(0));
  AddRow(plan, RowBuilder("East").distance_nm(92).true_course_deg(90).altitude_ft(12000));
  plan.route[0].position = GeoPosition{40.0, -101.0};
  plan.route[1].position = GeoPosition{40.0, -99.0};
  plan.route[2].position = GeoPosition{40.0, -97.0};
  return plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const FbDecodeResult decoded = DecodeFb(std::string(reinterpret_cast<const char*>(data), size));
  if (!decoded.ok) return 0;
  // Stations spread over the route by their names' letters.
  FbForecast forecast(decoded.bulletins, [](const std::string& ident) {
    const unsigned char c = ident.empty() ? 0 : static_cast<unsigned char>(ident.back());
    return std::optional<GeoPosition>(GeoPosition{39.0 + (c % 3), -101.0 + (c % 5)});
  });
  for (const double alt : {0.0, 6000.0, 45000.0}) {
    for (const double time : {0.0, 600.0, 1439.0}) {
      const WindSample sample = forecast.At(GeoPosition{40.0, -99.0}, alt, time);
      const WindValue& v = sample.value;
      if ((v.has_wind && !(std::isfinite(v.u) && std::isfinite(v.v))) ||
          (v.has_temp && !std::isfinite(v.temp)))
        std::abort();
    }
  }
  Plan plan = EastboundPlan();
  for (int depart : {0, 12 * 60, 23 * 60 + 59}) {
    const WindFill fill = ProposeWinds(plan, forecast, WindFillOptions{depart});
    for (const WindProposal& leg : fill.legs) {
      if (!leg.filled) continue;
      // 199 kt is the fastest group; 99 C the warmest, plus 2 C a thousand
      // feet below a lowest level that may be as high as 99999 ft.
      if (leg.wind.winddir < 1 || leg.wind.winddir > 360 || leg.wind.windvel < 0 ||
          leg.wind.windvel > 199)
        std::abort();
      if (leg.wind.temp != NOT_ENTERED && (leg.wind.temp < -99 || leg.wind.temp > 99 + 200))
        std::abort();
    }
    ApplyWinds(plan, fill);
    ComputeLog(plan);
  }
  return 0;
}

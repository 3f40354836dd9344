// Any bytes as a winds aloft bulletin: decoded, every station placed near
// the route, and a plan's legs filled and computed. Nothing may crash, and a
// filled leg must hold a direction of 1..360 and a speed of 0 or more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plan/legs.h"
#include "winds/winds.h"
#include "winds/winds_fb.h"

namespace {

Plan EastboundPlan() {
  Plan plan;
  AddRow(plan, "West", NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED,
         NOT_ENTERED, NOT_ENTERED);
  AddRow(plan, "Middle", 92, 90, 6000, 270, 10, 5, 100, 0);
  AddRow(plan, "East", 92, 90, 12000, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED, NOT_ENTERED,
         NOT_ENTERED);
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
  Plan plan = EastboundPlan();
  for (int depart : {0, 12 * 60, 23 * 60 + 59}) {
    const WindFill fill = ProposeWinds(plan, forecast, WindFillOptions{depart});
    for (const WindProposal& leg : fill.legs) {
      if (leg.filled && (leg.wind.winddir < 1 || leg.wind.winddir > 360 || leg.wind.windvel < 0))
        std::abort();
    }
    ApplyWinds(plan, fill);
    ComputeLog(plan);
  }
  return 0;
}

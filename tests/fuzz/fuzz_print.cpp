// Any bytes as a plan file, printed filled in and blank on the recording
// canvas, on a page whose size also comes from the input: no crash, no
// overflow (the sanitizers watch every size the layout derives).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plan/legs.h"
#include "plan/planfile.h"
#include "print/navlog.h"
#include "print/recording_canvas.h"

namespace {

// Page sizes a printer may report: from a label printer to a plotter.
int Take(const uint8_t*& data, std::size_t& size, int low, int high) {
  if (size < 2) return low;
  const int raw = data[0] | (data[1] << 8);
  data += 2;
  size -= 2;
  return low + raw % (high - low + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const int width = Take(data, size, 200, 20000);
  const int height = Take(data, size, 150, 15000);
  const int widthmm = Take(data, size, 50, 1200);
  const int heightmm = Take(data, size, 40, 900);
  Plan plan;
  LoadPlanText(plan, std::string(reinterpret_cast<const char*>(data), size));
  const NavLog log = ComputeLog(plan);
  {
    RecordingCanvas canvas(width, height, widthmm, heightmm);
    PrintContext ctx;
    PrintFilledLogOn(canvas, plan, log, ctx);
  }
  {
    RecordingCanvas canvas(width, height, widthmm, heightmm);
    PrintContext ctx;
    PrintBlankFormOn(canvas, plan, ctx);
  }
  return 0;
}

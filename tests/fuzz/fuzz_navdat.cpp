// Any bytes as the simulator format's nav.dat, beside an apt.dat of no airports.
#include "data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace fuzz_data;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  static const bool apt = (Write("apt.dat", "I\n1100 Version\n99\n"), true);
  (void)apt;
  Write("nav.dat", input);
  ReadAndCheck(input);
  return 0;
}

// Any bytes as the simulator format's apt.dat.
#include "data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace fuzz_data;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  Write("apt.dat", input);
  ReadAndCheck(input);
  return 0;
}

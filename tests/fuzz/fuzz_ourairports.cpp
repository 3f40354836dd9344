// Any bytes as OurAirports' CSV files: form feeds split the input into
// airports.csv, runways.csv, airport-frequencies.csv and navaids.csv.
#include "data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace fuzz_data;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const char* const names[] = {"airports.csv", "runways.csv", "airport-frequencies.csv",
                               "navaids.csv"};
  std::size_t begin = 0;
  for (const char* name : names) {
    if (begin > input.size()) {
      Remove(name);
      continue;
    }
    const std::size_t end = std::min(input.find('\f', begin), input.size());
    Write(name, input.substr(begin, end - begin));
    begin = end + 1;
  }
  ReadAndCheck(input);
  return 0;
}

// The least a program can do to read a forecast's winds: ecCodes' own
// start-up, a pass over the file's messages and the decoding of the u, v, t
// and gh fields of the levels named on the command line. The floor that
// bench_winds holds a whole winds run against.
#include <eccodes.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) return 1;
  std::set<long> levels;
  for (int n = 2; n < argc; ++n) levels.insert(std::atol(argv[n]));
  const std::set<std::string> names = {"u", "v", "t", "gh"};
  std::vector<double> values;
  double sum = 0.0;
  int status = 0;
  while (codes_handle* h = codes_handle_new_from_file(nullptr, file, PRODUCT_GRIB, &status)) {
    char name[32] = {};
    std::size_t length = sizeof name;
    long level = 0;
    codes_get_string(h, "shortName", name, &length);
    codes_get_long(h, "level", &level);
    if (names.count(name) != 0 && levels.count(level) != 0) {
      std::size_t size = 0;
      codes_get_size(h, "values", &size);
      values.resize(size);
      codes_get_double_array(h, "values", values.data(), &size);
      sum += values[size / 2];
    }
    codes_handle_delete(h);
  }
  std::fclose(file);
  std::printf("%g\n", sum);
  return status == 0 ? 0 : 1;
}

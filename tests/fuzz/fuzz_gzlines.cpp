// Any bytes as a text data file, plain or gzip: every line comes out whole or
// cut at the line limit, never with its line end, and a gzip file never gives
// more text than the inflation limit lets through.
#include "data_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace fuzz_data;
  Write("lines", std::string_view(reinterpret_cast<const char*>(data), size));
  DataLines lines;
  std::string error;
  if (!lines.Open(Folder() + "/lines", error)) return 0;
  std::string_view line;
  unsigned long long text = 0;
  int64_t cut = 0;
  while (lines.Next(line)) {
    Require(line.size() <= kMaxDataLine);
    Require(line.find('\n') == std::string_view::npos);
    cut += line.size() == kMaxDataLine ? 1 : 0;
    text += line.size() + 1;
  }
  Require(lines.cut_lines() <= cut);
  Require(text + static_cast<unsigned long long>(lines.skipped_bytes()) <=
          (64ULL << 20) + 16ULL * size + (1 << 20));
  ReadReport report("lines");
  lines.Report(report);
  Require(report.ok());
  return 0;
}

// Any damage to a whole aviation data index: the input is a list of patches
// (offset, length, bytes) laid over a good index, or a first byte of 0xFF
// and the file's whole content, or 0xFE and a length to cut the file to.
// Opening the data must still answer every look-up as the data says, with
// the index checked and built again, never served damaged.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "data/aviation_data.h"
#include "data/aviation_fill.h"

namespace {

struct Setup {
  std::string folder, cache, index, pristine;
};

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const Setup& Prepared() {
  static const Setup setup = [] {
    Setup s;
    char pattern[] = "/tmp/halvix-fuzz-index-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    s.folder = std::string(pattern) + "/data";
    s.cache = std::string(pattern) + "/cache";
    if (std::system(("mkdir -p '" + s.folder + "' '" + s.cache + "'").c_str()) != 0) std::abort();
    Write(s.folder + "/airports.csv",
          "ident,name,latitude_deg,longitude_deg,elevation_ft\n"
          "KSQL,San Carlos Airport,37.511902,-122.249496,5\n"
          "KHAF,Half Moon Bay Airport,37.513401,-122.500999,66\n");
    Write(s.folder + "/runways.csv", "airport_ident,le_ident,he_ident,closed\nKSQL,12,30,0\n");
    Write(s.folder + "/navaids.csv",
          "ident,name,type,frequency_khz,latitude_deg,longitude_deg,slaved_variation_deg\n"
          "OSI,Woodside,VORTAC,113900,37.392502,-122.281303,17\n");
    AviationData data;
    std::string error;
    if (!data.Open(s.folder, s.cache, error)) std::abort();
    const std::string prefix = s.cache + "/";
    std::string name;
    if (FILE* list = popen(("ls '" + s.cache + "'").c_str(), "r")) {
      char line[512];
      if (fgets(line, sizeof line, list)) name = line;
      pclose(list);
    }
    while (!name.empty() && (name.back() == '\n')) name.pop_back();
    if (name.empty()) std::abort();
    s.index = prefix + name;
    std::ifstream in(s.index, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    s.pristine = bytes.str();
    return s;
  }();
  return setup;
}

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::string Damaged(const std::string& pristine, const uint8_t* data, std::size_t size) {
  if (size > 0 && data[0] == 0xFF)
    return std::string(reinterpret_cast<const char*>(data + 1), size - 1);
  if (size >= 5 && data[0] == 0xFE)
    return pristine.substr(0, Read32(data + 1) % (pristine.size() + 1));
  std::string bytes = pristine;
  for (std::size_t i = 0; i + 5 <= size;) {
    const std::size_t offset = Read32(data + i) % bytes.size();
    const std::size_t length = data[i + 4];
    i += 5;
    for (std::size_t k = 0; k < length && i < size && offset + k < bytes.size(); ++k, ++i)
      bytes[offset + k] = static_cast<char>(data[i]);
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const Setup& setup = Prepared();
  Write(setup.index, Damaged(setup.pristine, data, size));
  AviationData aviation;
  std::string error;
  if (!aviation.Open(setup.folder, setup.cache, error)) std::abort();
  // The data's own answers, whatever the index was.
  const std::vector<Airport> ksql = aviation.FindAirports("ksql");
  if (ksql.size() != 1 || ksql[0].name != "San Carlos Airport" || ksql[0].runways.size() != 1 ||
      !ksql[0].elevation_ft || *ksql[0].elevation_ft != 5)
    std::abort();
  if (aviation.info().airports != 2 || aviation.info().navaids != 1) std::abort();
  if (!aviation.FindAirports("KXYZ").empty()) std::abort();
  const std::optional<Navaid> vor = aviation.NearestVor(GeoPosition{37.45, -122.30}, 40.0);
  if (!vor || vor->ident != "OSI" || vor->khz != 113900) std::abort();
  if (VorCrossCheck(aviation, GeoPosition{37.45, -122.30}).empty()) std::abort();
  return 0;
}

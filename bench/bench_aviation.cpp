// The aviation data index: built from a full-size OurAirports set and from a
// 100 MB apt.dat (both generated here, of the published data's shape and
// size), and the look-ups a pilot's commands make in it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "data/aviation_data.h"

namespace {

// One folder for everything generated, removed when the run ends: the data is large.
struct Scratch {
  std::string path;
  Scratch() {
    char pattern[] = "/tmp/halvix-bench-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~Scratch() { std::system(("rm -rf '" + path + "'").c_str()); }
};

std::string TempFolder(const std::string& name) {
  static Scratch scratch;
  static int count = 0;
  const std::string dir = scratch.path + "/" + name + std::to_string(count++);
  std::system(("mkdir -p '" + dir + "'").c_str());
  return dir;
}

std::string Ident(int i) {
  std::string ident = "K";
  for (int k = 0; k < 3; ++k, i /= 26) ident += static_cast<char>('A' + i % 26);
  return ident + std::to_string(i % 10);
}

double Lat(long long i) {
  return -60.0 + static_cast<double>(i * 7919 % 120000) / 1000.0;
}
double Lon(long long i) {
  return -179.0 + static_cast<double>(i * 104729 % 358000) / 1000.0;
}

// The sizes of the published set: about 80,000 airports, 45,000 runways,
// 30,000 frequencies and 11,000 navaids.
const std::string& OurAirportsFolder() {
  static const std::string folder = [] {
    const std::string dir = TempFolder("ourairports");
    std::ofstream airports(dir + "/airports.csv");
    airports << "\"id\",\"ident\",\"type\",\"name\",\"latitude_deg\",\"longitude_deg\","
                "\"elevation_ft\",\"continent\",\"iso_country\",\"iso_region\",\"municipality\","
                "\"scheduled_service\",\"icao_code\",\"gps_code\",\"iata_code\",\"local_code\","
                "\"home_link\",\"wikipedia_link\",\"keywords\"\n";
    for (int i = 0; i < 80000; ++i)
      airports << i << ",\"" << Ident(i) << "\",\"small_airport\",\"Field Number " << i
               << " Airport\"," << Lat(i) << "," << Lon(i) << "," << i % 9000
               << ",\"NA\",\"US\",\"US-CA\",\"Town " << i << "\",\"no\",\"" << Ident(i) << "\",\""
               << Ident(i) << "\",,\"" << Ident(i).substr(1)
               << "\",\"https://example.org/\",\"https://example.org/wiki/Field\",\"a, b\"\n";
    std::ofstream runways(dir + "/runways.csv");
    runways << "\"id\",\"airport_ref\",\"airport_ident\",\"length_ft\",\"width_ft\",\"surface\","
               "\"lighted\",\"closed\",\"le_ident\",\"le_latitude_deg\",\"le_longitude_deg\","
               "\"le_elevation_ft\",\"le_heading_degT\",\"le_displaced_threshold_ft\",\"he_ident\","
               "\"he_latitude_deg\",\"he_longitude_deg\",\"he_elevation_ft\",\"he_heading_degT\","
               "\"he_displaced_threshold_ft\"\n";
    for (int i = 0; i < 45000; ++i)
      runways << i << "," << i << ",\"" << Ident(i) << "\",3000,75,\"ASP\",1,0,\"09\"," << Lat(i)
              << "," << Lon(i) << ",100,90,,\"27\"," << Lat(i) << "," << Lon(i) + 0.01
              << ",100,270,\n";
    std::ofstream frequencies(dir + "/airport-frequencies.csv");
    frequencies << "\"id\",\"airport_ref\",\"airport_ident\",\"type\",\"description\","
                   "\"frequency_mhz\"\n";
    for (int i = 0; i < 30000; ++i)
      frequencies << i << "," << i << ",\"" << Ident(i) << "\",\"CTAF\",\"CTAF\",122.8\n";
    std::ofstream navaids(dir + "/navaids.csv");
    navaids << "\"id\",\"filename\",\"ident\",\"name\",\"type\",\"frequency_khz\",\"latitude_deg\","
               "\"longitude_deg\",\"elevation_ft\",\"iso_country\",\"dme_frequency_khz\","
               "\"dme_channel\",\"dme_latitude_deg\",\"dme_longitude_deg\",\"dme_elevation_ft\","
               "\"slaved_variation_deg\",\"magnetic_variation_deg\",\"usageType\",\"power\","
               "\"associated_airport\"\n";
    for (int i = 0; i < 11000; ++i)
      navaids << i << ",\"x\",\"" << Ident(i).substr(1) << "\",\"Station " << i << "\",\"VORTAC\","
              << 108000 + (i % 200) * 50 << "," << Lat(i * 3) << "," << Lon(i * 3)
              << ",100,\"US\",,,,,,12,12,\"BOTH\",\"HIGH\",\n";
    return dir;
  }();
  return folder;
}

// Airports with their runways and frequencies, padded to 100 MB with the
// pavement and taxi-route rows that make up most of the real file.
const std::string& AptDatFolder() {
  static const std::string folder = [] {
    const std::string dir = TempFolder("xplane");
    std::ofstream apt(dir + "/apt.dat");
    apt << "I\n1100 Version - data cycle 2024.01, build 20240101, metadata AptXP1100.\n\n";
    std::size_t bytes = 0;
    char line[256];
    for (int i = 0; bytes < 100u * 1000 * 1000; ++i) {
      int n = std::snprintf(line, sizeof line,
                            "1 %d 0 0 %s Field Number %d\n1302 icao_code %s\n"
                            "100 30.00 1 0 0.25 0 2 0 09 %.8f %.8f 0 0 2 0 0 0 27 %.8f %.8f 0 0 2 "
                            "0 0 0\n50 12590 ATIS\n54 11900 TWR\n",
                            i % 9000, Ident(i).c_str(), i, Ident(i).c_str(), Lat(i), Lon(i), Lat(i),
                            Lon(i) + 0.01);
      apt.write(line, n);
      bytes += static_cast<std::size_t>(n);
      for (int k = 0; k < 60; ++k) {
        n = std::snprintf(line, sizeof line, "111 %.8f %.8f\n1201 %.8f %.8f both %d n%d\n",
                          Lat(i) + k * 1e-5, Lon(i), Lat(i), Lon(i) + k * 1e-5, k, k);
        apt.write(line, n);
        bytes += static_cast<std::size_t>(n);
      }
    }
    apt << "99\n";
    return dir;
  }();
  return folder;
}

void IndexFromScratch(benchmark::State& state, const std::string& folder) {
  const std::string cache = TempFolder("cache");
  for (auto _ : state) {
    state.PauseTiming();
    std::system(("rm -f '" + cache + "'/*.sqlite").c_str());
    state.ResumeTiming();
    AviationData data;
    std::string error;
    if (!data.Open(folder, cache, error)) state.SkipWithError(error.c_str());
    state.counters["airports"] = static_cast<double>(data.info().airports);
    state.counters["navaids"] = static_cast<double>(data.info().navaids);
  }
}

void BM_IndexOurAirports(benchmark::State& state) {
  OurAirportsFolder();
  IndexFromScratch(state, OurAirportsFolder());
}
BENCHMARK(BM_IndexOurAirports)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_IndexAptDat100MB(benchmark::State& state) {
  AptDatFolder();
  IndexFromScratch(state, AptDatFolder());
}
BENCHMARK(BM_IndexAptDat100MB)->Unit(benchmark::kMillisecond)->Iterations(2);

const AviationData& Indexed() {
  static AviationData data = [] {
    AviationData opened;
    std::string error;
    opened.Open(OurAirportsFolder(), TempFolder("cache"), error);
    return opened;
  }();
  return data;
}

// The first use of an index built before: opening it, which checks it whole
// (its checksum and its data's signature), and the first look-up.
void BM_OpenCheckedIndexAndLookUp(benchmark::State& state) {
  const std::string cache = TempFolder("cache");
  {
    AviationData built;
    std::string error;
    if (!built.Open(OurAirportsFolder(), cache, error)) state.SkipWithError(error.c_str());
  }
  for (auto _ : state) {
    AviationData data;
    std::string error;
    if (!data.Open(OurAirportsFolder(), cache, error) || data.FindAirports(Ident(4242)).empty())
      state.SkipWithError("the index could not be opened");
  }
}
BENCHMARK(BM_OpenCheckedIndexAndLookUp)->Unit(benchmark::kMillisecond);

void BM_FindAirportByCode(benchmark::State& state) {
  const AviationData& data = Indexed();
  int i = 0;
  for (auto _ : state) {
    const std::vector<Airport> found = data.FindAirports(Ident(i++ * 37 % 80000).substr(1));
    if (found.empty()) state.SkipWithError("an airport went missing");
  }
}
BENCHMARK(BM_FindAirportByCode)->Unit(benchmark::kMicrosecond);

void BM_ResolvePlaceNearPrevious(benchmark::State& state) {
  const AviationData& data = Indexed();
  int i = 0;
  for (auto _ : state) {
    const int k = i++ * 37 % 11000;
    benchmark::DoNotOptimize(
        data.ResolvePlace(Ident(k).substr(1), GeoPosition{Lat(k * 3), Lon(k * 3)}));
  }
}
BENCHMARK(BM_ResolvePlaceNearPrevious)->Unit(benchmark::kMicrosecond);

void BM_NearestVor(benchmark::State& state) {
  const AviationData& data = Indexed();
  int i = 0;
  for (auto _ : state) {
    const int k = i++ * 37 % 11000;
    benchmark::DoNotOptimize(data.NearestVor(GeoPosition{Lat(k * 3) + 0.2, Lon(k * 3)}, 40.0));
  }
}
BENCHMARK(BM_NearestVor)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

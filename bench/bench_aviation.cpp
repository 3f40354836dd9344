// The aviation data index: built from a full-size OurAirports set and from a
// 100 MB apt.dat (both generated here, of the published data's shape and
// size), and the look-ups a pilot's commands make in it.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "data/aviation_data.h"
#include "data/aviation_readers.h"
#include "data/data_lines.h"
#include "generated_places.h"

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

// The readers alone, into a sink that only counts: what reading costs
// without the index.
struct CountingSink : AviationSink {
  int64_t records = 0;
  void Add(AviationRecord&&) override { ++records; }
};

int64_t ReadOnly(const std::string& folder) {
  CountingSink sink;
  DataSetInfo info;
  ReadAviationData(FindDataFiles(folder), sink, info, {});
  return sink.records;
}

void BM_ReadOurAirports(benchmark::State& state) {
  OurAirportsFolder();
  for (auto _ : state)
    state.counters["records"] = static_cast<double>(ReadOnly(OurAirportsFolder()));
}
BENCHMARK(BM_ReadOurAirports)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadAptDat100MB(benchmark::State& state) {
  AptDatFolder();
  for (auto _ : state) state.counters["records"] = static_cast<double>(ReadOnly(AptDatFolder()));
}
BENCHMARK(BM_ReadAptDat100MB)->Unit(benchmark::kMillisecond)->Iterations(2);

// The 100 MB apt.dat gzipped, read a line at a time two ways: the data
// reader's own inflate loop, and zlib's gzread with the same line splitting.
const std::string& AptDatGz() {
  static const std::string path = [] {
    const std::string out = TempFolder("gz") + "/apt.dat.gz";
    std::ifstream in(AptDatFolder() + "/apt.dat", std::ios::binary);
    gzFile gz = gzopen(out.c_str(), "wb6");
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
      gzwrite(gz, buffer.data(), static_cast<unsigned>(in.gcount()));
    gzclose(gz);
    return out;
  }();
  return path;
}

void BM_GzLinesOwnInflate(benchmark::State& state) {
  const std::string& path = AptDatGz();
  for (auto _ : state) {
    DataLines lines;
    std::string error;
    lines.Open(path, error);
    std::string_view line;
    int64_t count = 0, bytes = 0;
    while (lines.Next(line)) ++count, bytes += static_cast<int64_t>(line.size());
    state.counters["lines"] = static_cast<double>(count);
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_GzLinesOwnInflate)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GzLinesGzread(benchmark::State& state) {
  const std::string& path = AptDatGz();
  for (auto _ : state) {
    gzFile gz = gzopen(path.c_str(), "rb");
    gzbuffer(gz, 1 << 18);
    std::vector<char> text;
    std::size_t start = 0;
    int64_t count = 0, bytes = 0;
    for (;;) {
      text.erase(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(start));
      start = 0;
      const std::size_t old = text.size();
      text.resize(old + (1 << 18));
      const int got = gzread(gz, text.data() + old, 1 << 18);
      text.resize(old + static_cast<std::size_t>(std::max(got, 0)));
      if (got <= 0) break;
      const char* p = text.data();
      std::size_t scan = old;
      while (const void* nl = std::memchr(p + scan, '\n', text.size() - scan)) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(nl) - p);
        ++count, bytes += static_cast<int64_t>(at - start);
        start = scan = at + 1;
      }
    }
    gzclose(gz);
    state.counters["lines"] = static_cast<double>(count);
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_GzLinesGzread)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GzLinesGzgets(benchmark::State& state) {
  const std::string& path = AptDatGz();
  for (auto _ : state) {
    gzFile gz = gzopen(path.c_str(), "rb");
    gzbuffer(gz, 1 << 18);
    std::vector<char> line(kMaxDataLine + 2);
    int64_t count = 0, bytes = 0;
    while (gzgets(gz, line.data(), static_cast<int>(line.size())))
      ++count, bytes += static_cast<int64_t>(std::strlen(line.data()));
    gzclose(gz);
    state.counters["lines"] = static_cast<double>(count);
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_GzLinesGzgets)->Unit(benchmark::kMillisecond)->Iterations(3);

// Hostile files: each read in a child process, so its peak memory is its own;
// `index` builds the whole index from them, as the programs do.
void ReadHostile(benchmark::State& state, const std::function<std::string()>& make,
                 bool index = false) {
  const std::string folder = make();
  const std::string cache = TempFolder("hostile-cache");
  for (auto _ : state) {
    std::system(("rm -f '" + cache + "'/*.sqlite").c_str());
    const pid_t child = fork();
    if (child == 0) {
      if (index) {
        AviationData data;
        std::string error;
        data.Open(folder, cache, error);
      } else {
        ReadOnly(folder);
      }
      _exit(0);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["child_cpu_ms"] =
        static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  }
}

std::string HostileFolder(const std::string& name, const std::string& bytes) {
  const std::string dir = TempFolder("hostile");
  std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
  return dir;
}

void BM_HostileLine64MB(benchmark::State& state) {
  ReadHostile(state, [] {
    return HostileFolder("apt.dat", "I\n1100 Version\n1 " + std::string(64u << 20, '7') + "\n99\n");
  });
}
BENCHMARK(BM_HostileLine64MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// 4 MB of gzip members that would inflate to 4 GiB of one line.
void BM_HostileGzipBomb4MB(benchmark::State& state) {
  ReadHostile(state, [] {
    const std::string dir = HostileFolder("apt.dat", "I\n1100 Version\n99\n");
    const auto member = [&](const std::string& text) {
      gzFile gz = gzopen((dir + "/member").c_str(), "wb9");
      gzwrite(gz, text.data(), static_cast<unsigned>(text.size()));
      gzclose(gz);
      std::ifstream in(dir + "/member", std::ios::binary);
      return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    const std::string x = member(std::string(1u << 20, 'x'));
    std::ofstream out(dir + "/fix.dat.gz", std::ios::binary);
    out << member("I\n1100 Version\n");
    for (std::size_t n = 0; n < (4u << 20) / x.size(); ++n) out << x;
    return dir;
  });
}
BENCHMARK(BM_HostileGzipBomb4MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// A quoted field that never closes, then 640 KB of lines it would swallow.
void BM_HostileCsvQuote(benchmark::State& state) {
  ReadHostile(state, [] {
    std::string csv = "ident,name,latitude_deg,longitude_deg\nAAA,\"open,1,2\n";
    while (csv.size() < 640 * 1024) csv += "BBB,name,1,2\n";
    return HostileFolder("airports.csv", csv);
  });
}
BENCHMARK(BM_HostileCsvQuote)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10 MB of the smallest airport rows: about 1.2 million airports.
void BM_HostileTinyAirports10MB(benchmark::State& state) {
  ReadHostile(state, [] {
    std::string csv = "ident,name,latitude_deg,longitude_deg\n";
    for (int i = 0; csv.size() < 10u * 1000 * 1000; ++i) csv += std::to_string(i) + ",a,1,2\n";
    return HostileFolder("airports.csv", csv);
  });
}
BENCHMARK(BM_HostileTinyAirports10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HostileTinyAirportsIndex10MB(benchmark::State& state) {
  ReadHostile(
      state,
      [] {
        std::string csv = "ident,name,latitude_deg,longitude_deg\n";
        for (int i = 0; csv.size() < 10u * 1000 * 1000; ++i) csv += std::to_string(i) + ",a,1,2\n";
        return HostileFolder("airports.csv", csv);
      },
      true);
}
BENCHMARK(BM_HostileTinyAirportsIndex10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10 MB of the shortest fix rows: about 1.4 million fixes.
void TinyFixes(benchmark::State& state, bool index) {
  ReadHostile(
      state,
      [] {
        std::string dat = "I\n1100 Version\n";
        for (int i = 0; dat.size() < 10u * 1000 * 1000; ++i)
          dat += std::to_string(i % 90) + " 2 F" + std::to_string(i % 1000) + "\n";
        return HostileFolder("fix.dat", dat + "99\n");
      },
      index);
}
void BM_HostileTinyFixes10MB(benchmark::State& state) {
  TinyFixes(state, false);
}
BENCHMARK(BM_HostileTinyFixes10MB)->Unit(benchmark::kMillisecond)->Iterations(3);
void BM_HostileTinyFixesIndex10MB(benchmark::State& state) {
  TinyFixes(state, true);
}
BENCHMARK(BM_HostileTinyFixesIndex10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10 MB of runway rows, all held until their airports come.
void BM_HostileHeldRunways10MB(benchmark::State& state) {
  ReadHostile(state, [] {
    const std::string dir =
        HostileFolder("airports.csv", "ident,name,latitude_deg,longitude_deg\nAAA,a,1,2\n");
    std::string csv = "airport_ref,airport_ident,le_ident,he_ident\n";
    for (int i = 0; csv.size() < 10u * 1000 * 1000; ++i) csv += std::to_string(i) + ",,1,19\n";
    std::ofstream(dir + "/runways.csv", std::ios::binary) << csv;
    return dir;
  });
}
BENCHMARK(BM_HostileHeldRunways10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

// The index as a cache that may be damaged, unwritable, stale or cut short:
// it never answers wrongly and never keeps the data from the pilot.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>

#include "data/aviation_data.h"
#include "data/aviation_fill.h"
#include "plan/planfile.h"
#include "test_util.h"

namespace {

const std::string kData = std::string(HALVIX_AVIATION_TEST_DATA) + "/ourairports";
const GeoPosition kNearWoodside{37.45, -122.30};

bool HasWarning(const DataSetInfo& info, const std::string& part) {
  for (const std::string& w : info.warnings)
    if (w.find(part) != std::string::npos) return true;
  return false;
}

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (const dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
  }
  return names;
}

// The one index file in `cache`.
std::string IndexFile(const TempDir& cache) {
  for (const std::string& name : Entries(cache.path()))
    if (name.size() > 7 && name.compare(name.size() - 7, 7, ".sqlite") == 0)
      return cache.File(name);
  return std::string();
}

// Overwrites `bytes.size()` bytes of the file at `offset`, size unchanged.
void Patch(const std::string& path, off_t offset, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size()));
  close(fd);
}

off_t SizeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_size;
}

// What the look-ups promise of the sample data, whatever the index went through.
void ExpectTheSampleData(const AviationData& data) {
  ASSERT_EQ(data.FindAirports("KSQL").size(), 1u);
  EXPECT_EQ(data.FindAirports("KSQL")[0].runways.size(), 1u);
  EXPECT_EQ(VorCrossCheck(data, kNearWoodside).empty(), false);
  EXPECT_TRUE(data.NearestAirport(GeoPosition{37.51, -122.25}, 5.0).has_value());
}

TEST(AviationIndexTest, ADamagedIndexIsBuiltAgainWithAWarning) {
  TempDir cache;
  std::string error;
  {
    AviationData first;
    ASSERT_TRUE(first.Open(kData, cache.path(), error)) << error;
  }
  const std::string index = IndexFile(cache);
  ASSERT_FALSE(index.empty());
  const off_t size = SizeOf(index);
  ASSERT_GT(size, 8192);

  // One zeroed page; then 200 flipped bytes; then no database at all.
  const std::vector<std::function<void()>> damages = {
      [&] { Patch(index, 4096, std::string(4096, '\0')); },
      [&] {
        std::string flipped(200, '\0');
        for (char& c : flipped) c = static_cast<char>(0xA5);
        Patch(index, size - 700, flipped);
      },
      [&] { WriteFile(index, "not a database, only a text file of some length\n"); },
  };
  for (const auto& damage : damages) {
    damage();
    AviationData data;
    ASSERT_TRUE(data.Open(kData, cache.path(), error)) << error;
    EXPECT_TRUE(HasWarning(data.info(), "is damaged")) << data.info().warnings.size();
    ExpectTheSampleData(data);
    // Built again whole: the next start trusts it without a word.
    AviationData next;
    ASSERT_TRUE(next.Open(kData, cache.path(), error));
    EXPECT_FALSE(HasWarning(next.info(), "damaged"));
  }
}

TEST(AviationIndexTest, AnIndexThatFailsInUseIsBuiltAgainInMemory) {
  TempDir cache;
  std::string error;
  AviationData data;
  ASSERT_TRUE(data.Open(kData, cache.path(), error)) << error;
  // Every page but the first zeroed under the open index.
  const std::string index = IndexFile(cache);
  Patch(index, 4096, std::string(static_cast<std::size_t>(SizeOf(index) - 4096), '\0'));
  ExpectTheSampleData(data);
  EXPECT_TRUE(HasWarning(data.info(), "indexed again in memory"));
  EXPECT_TRUE(IndexFile(cache).empty());  // the next start builds a new one
}

TEST(AviationIndexTest, ACacheThatCannotBeWrittenGivesAnIndexInMemory) {
  TempDir home;
  WriteFile(home.File("cache"), "a file where the folder should be");
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(kData, home.File("cache") + "/halvix", error)) << error;
  EXPECT_TRUE(HasWarning(data.info(), "Not a directory")) << data.info().warnings.size();
  EXPECT_TRUE(HasWarning(data.info(), "built in memory"));
  ExpectTheSampleData(data);
}

TEST(AviationIndexTest, AFileOfTheSameSizeAndTimeButOtherContentIsIndexedAgain) {
  TempDir folder, cache;
  const std::string header = "ident,name,latitude_deg,longitude_deg\n";
  const std::string csv = folder.File("airports.csv");
  WriteFile(csv, header + "AAA,First,1,2\n");
  struct stat before {};
  stat(csv.c_str(), &before);
  std::string error;
  AviationData data;
  ASSERT_TRUE(data.Open(folder.path(), cache.path(), error)) << error;

  // Replaced by another file, its time set back: only the inode and the
  // change time tell.
  WriteFile(folder.File("new.csv"), header + "BBB,Other,1,2\n");
  ASSERT_EQ(rename(folder.File("new.csv").c_str(), csv.c_str()), 0);
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, csv.c_str(), times, 0), 0);
  ASSERT_TRUE(data.Open(folder.path(), cache.path(), error)) << error;
  EXPECT_TRUE(data.FindAirports("AAA").empty());
  EXPECT_EQ(data.FindAirports("BBB").size(), 1u);
}

TEST(AviationIndexTest, TemporaryFilesOfBuildsKilledPartWayAreSwept) {
  TempDir cache;
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);  // gone now
  const std::string dead =
      cache.File("aviation-0123456789abcdef.sqlite.tmp" + std::to_string(child));
  const std::string alive =
      cache.File("aviation-0123456789abcdef.sqlite.tmp" + std::to_string(getppid()));
  WriteFile(dead, "half an index");
  WriteFile(alive, "a build in progress");
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(kData, cache.path(), error)) << error;
  EXPECT_FALSE(PathExists(dead));
  EXPECT_TRUE(PathExists(alive));
}

TEST(AviationIndexTest, AFileRewrittenWhileItIsIndexedIsIndexedAgain) {
  TempDir folder, cache;
  const std::string header = "ident,name,latitude_deg,longitude_deg\n";
  WriteFile(folder.File("airports.csv"), header + "AAA,First,1,2\n");
  WriteFile(folder.File("navaids.csv"), "ident,type,frequency_khz,latitude_deg,longitude_deg\n");
  bool rewritten = false;
  IndexWatch watch;
  watch.progress = [&](double) {
    if (rewritten) return;
    rewritten = true;
    WriteFile(folder.File("airports.csv"), header + "AAA,First,1,2\nBBB,Second,3,4\n");
  };
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(folder.path(), cache.path(), error, watch)) << error;
  EXPECT_TRUE(rewritten);
  EXPECT_EQ(data.FindAirports("BBB").size(), 1u);
  EXPECT_EQ(data.info().airports, 2);
}

TEST(AviationIndexTest, ABuildReportsItsProgressByTheBytesReadWithinAFile) {
  TempDir ourairports, xplane;
  std::string csv = "ident,name,latitude_deg,longitude_deg\n";
  std::string apt = "I\n1100 Version - data cycle 2024.01\n\n";
  // Files of several of the reader's chunks.
  const std::string name = " Field of a name long enough to make the file a megabyte";
  for (int i = 0; i < 20000; ++i) {
    csv += "A" + std::to_string(i) + "," + name + ",10,20\n";
    apt += "1 100 0 0 A" + std::to_string(i) + name + "\n";
  }
  WriteFile(ourairports.File("airports.csv"), csv);
  WriteFile(xplane.File("apt.dat"), apt + "99\n");
  for (const TempDir* folder : {&ourairports, &xplane}) {
    std::vector<double> seen;
    IndexWatch watch;
    watch.progress = [&](double fraction) { seen.push_back(fraction); };
    AviationData data;
    std::string error;
    ASSERT_TRUE(data.Open(folder->path(), "", error, watch)) << error;
    // Several steps inside the one file, never backwards.
    EXPECT_GE(std::count_if(seen.begin(), seen.end(), [](double f) { return f > 0 && f < 0.9; }),
              3);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 1.0);
  }
}

TEST(AviationIndexTest, ACancelledBuildLeavesNothingBehind) {
  TempDir cache;
  std::atomic<bool> cancel{false};
  IndexWatch watch;
  watch.cancel = &cancel;
  watch.progress = [&](double) { cancel = true; };
  AviationData data;
  std::string error;
  EXPECT_FALSE(data.Open(kData, cache.path(), error, watch));
  EXPECT_EQ(error, "the index was not built: cancelled");
  EXPECT_FALSE(data.is_open());
  EXPECT_TRUE(Entries(cache.path()).empty());
}

// Places are found through the tile they lie in: at a tile's edge, across the
// antimeridian and near a pole they are found as anywhere else.
TEST(AviationIndexTest, PlacesAreFoundByPositionAtTileEdgesAndAcrossTheAntimeridian) {
  TempDir folder;
  std::ofstream(folder.File("airports.csv")) << "ident,name,latitude_deg,longitude_deg\n"
                                                "EAST,a,0.5,179.9\n"
                                                "WEST,b,0.5,-179.95\n"
                                                "NORTH,c,37.0001,-122.0\n"
                                                "SOUTH,d,36.9999,-122.0001\n"
                                                "POLE,e,89.99,10\n";
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(folder.path(), "", error)) << error;
  const auto idents = [](const std::vector<Airport>& airports) {
    std::vector<std::string> found;
    for (const Airport& a : airports) found.push_back(a.ident);
    std::sort(found.begin(), found.end());
    return found;
  };
  EXPECT_EQ(idents(data.AirportsIn(MapBox{0, 1, 179.5, 180.5}, 10)),
            (std::vector<std::string>{"EAST", "WEST"}));
  EXPECT_EQ(idents(data.AirportsIn(MapBox{36.99, 37.01, -122.01, -121.99}, 10)),
            (std::vector<std::string>{"NORTH", "SOUTH"}));
  EXPECT_TRUE(data.AirportsIn(MapBox{37.001, 38, -123, -121}, 10).empty());
  EXPECT_EQ(data.NearestAirport(GeoPosition{37.0, -122.0}, 1.0)->ident, "NORTH");
  EXPECT_EQ(data.NearestAirport(GeoPosition{0.5, -179.99}, 10.0)->ident, "WEST");
  EXPECT_EQ(data.NearestAirport(GeoPosition{89.99, -170}, 5.0)->ident, "POLE");
}

// A folder of more places than any published set is not aviation data: it is
// cut at a limit, said so, and counted as what was kept.
TEST(AviationIndexTest, MorePlacesThanAnyPublishedSetAreLeftOutWithAWarning) {
  TempDir folder;
  {
    std::ofstream csv(folder.File("airports.csv"));
    csv << "ident,name,latitude_deg,longitude_deg\n";
    for (int i = 0; i < 200003; ++i) csv << i << ",a," << i % 80 << ",2\n";
  }
  AviationData data;
  std::string error;
  ASSERT_TRUE(data.Open(folder.path(), "", error)) << error;
  EXPECT_EQ(data.info().airports, 200000);
  EXPECT_TRUE(HasWarning(data.info(), "3 airports left out: the data holds more than 200000"));
  EXPECT_EQ(data.FindAirports("199999").size(), 1u);
  EXPECT_TRUE(data.FindAirports("200000").empty());
}

}  // namespace

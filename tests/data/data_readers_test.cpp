// The data readers on their own: files in, records and a report out, no index.
#include <gtest/gtest.h>
#include <zlib.h>

#include <variant>

#include "data/aviation_fill.h"
#include "data/aviation_readers.h"
#include "data/data_lines.h"
#include "test_util.h"

namespace {

struct Collected : AviationSink {
  std::vector<Airport> airports;
  std::vector<Navaid> navaids;
  void Add(AviationRecord&& record) override {
    if (auto* a = std::get_if<Airport>(&record)) airports.push_back(std::move(*a));
    if (auto* n = std::get_if<Navaid>(&record)) navaids.push_back(std::move(*n));
  }
};

struct Read {
  Collected sink;
  DataSetInfo info;
  DataFiles files;
  ReadReport report;
  explicit Read(const std::string& folder) : files(FindDataFiles(folder)) {
    report = ReadAviationData(files, sink, info, {});
  }
  bool Warned(const std::string& part) const {
    for (const std::string& w : report.WarningTexts())
      if (w.find(part) != std::string::npos) return true;
    return false;
  }
};

void WriteGzip(const std::string& path, const std::string& text, const char* mode = "wb") {
  gzFile gz = gzopen(path.c_str(), mode);
  gzwrite(gz, text.data(), static_cast<unsigned>(text.size()));
  gzclose(gz);
}

std::vector<std::string> Lines(const std::string& path, DataLines& lines) {
  std::string error;
  std::vector<std::string> out;
  if (!lines.Open(path, error)) return out;
  std::string_view line;
  while (lines.Next(line)) out.emplace_back(line);
  return out;
}

const std::string kAptHeader = "I\n1100 Version - data cycle 2013.10\n";

}  // namespace

TEST(DataReadersTest, EachFormatIsFoundByItsContentAndReadIntoASink) {
  Read csv(std::string(HALVIX_AVIATION_TEST_DATA) + "/ourairports");
  EXPECT_EQ(csv.files.format, "OurAirports");
  EXPECT_TRUE(csv.report.ok());
  EXPECT_EQ(csv.sink.airports.size(), 5u);
  EXPECT_EQ(csv.sink.navaids.size(), 4u);
  EXPECT_TRUE(csv.Warned("airports.csv: 1 records skipped (the first at line 8"));
  for (const Airport& a : csv.sink.airports) {
    if (a.ident == "EDFE") {
      EXPECT_EQ(a.runways.size(), 2u);
    }
  }

  Read xp(std::string(HALVIX_AVIATION_TEST_DATA) + "/xplane");
  EXPECT_EQ(xp.files.format, "X-Plane");
  EXPECT_EQ(xp.sink.airports.size(), 3u);
  EXPECT_EQ(xp.sink.navaids.size(), 6u);

  // A file of the right name that is not the format (a download's error page) is not data.
  TempDir folder;
  WriteFile(folder.File("apt.dat"), "<html>Not found</html>\n");
  EXPECT_EQ(FindDataFiles(folder.path()).reader, nullptr);
  Read none(folder.path());
  EXPECT_FALSE(none.report.ok());
  EXPECT_NE(NoDataMessage(folder.File("gone")).find("does not exist"), std::string::npos);
}

TEST(DataReadersTest, HostileSimulatorRowsAreSkippedAndCounted) {
  TempDir folder;
  WriteFile(folder.File("apt.dat"),
            kAptHeader +
                "1 10 0 0 XAAA Esc\x1b[31mape\n"
                "10 47.45 8.54 9223372036854775807x 155.50 12139 0.0 0.0 197 1 01 1 1 0.25 1 0\n"
                "10 47.45 8.54 37x 155.50 12139 0.0 0.0 197 1 01 1 1 0.25 1 0\n"
                "10 47.45 8.54 31x 155.50 12139 0.0 0.0 197 1 01 1 1 0.25 1 0\n"
                "50 922337203685477580 ATIS\n"
                "54 13527 TOWER\n"
                "54 12292 TOWER\n"
                "99\n");
  WriteFile(
      folder.File("nav.dat"),
      kAptHeader + "3 37.39 -122.28 2270 922337203685477580 130 17.0 OSI OSI K2 WOODSIDE\n99\n");
  WriteFile(folder.File("fix.dat"), "I\n");
  Read r(folder.path());
  ASSERT_EQ(r.sink.airports.size(), 1u);
  const Airport& a = r.sink.airports[0];
  EXPECT_EQ(a.name, "Esc\\x1b[31mape");  // never raw to a terminal
  ASSERT_EQ(a.runways.size(), 1u);
  EXPECT_EQ(a.runways[0].end2, "13");
  ASSERT_EQ(a.frequencies.size(), 2u);
  EXPECT_EQ(a.frequencies[0].khz, 135275);  // the 25 kHz channels the data rounds down
  EXPECT_EQ(a.frequencies[1].khz, 122925);
  EXPECT_TRUE(r.sink.navaids.empty());
  EXPECT_EQ(r.info.skipped, 4);
  EXPECT_TRUE(r.Warned("apt.dat: 3 records skipped (the first at line 4: a runway number outside"));
  EXPECT_TRUE(r.Warned("fix.dat: no records"));
}

TEST(DataReadersTest, OurAirportsStreamsAirportsWithTheRowsThatNameThem) {
  TempDir folder;
  WriteFile(folder.File("airports.csv"),
            "id,ident,name,latitude_deg,longitude_deg\n"
            "1,AAA,\"Long\nname, \"\"quoted\"\"\",1,2\n"
            "2,BBB,\"never closed,1,2\n"
            "3,CCC,Third,3,4\n");
  WriteFile(folder.File("runways.csv"),
            "airport_ref,airport_ident,le_ident,he_ident\n1,AAA,31,xxx\n,CCC,09,27\n9,ZZZ,1,19\n");
  Read r(folder.path());
  ASSERT_EQ(r.sink.airports.size(), 1u);  // the quote that never closes swallows the rest
  EXPECT_EQ(r.sink.airports[0].name, "Long name, \"quoted\"");
  std::vector<std::string> notes;
  EXPECT_EQ(AirfieldFromAirport(r.sink.airports[0], notes).runways, "31");  // not 31/xxx
  EXPECT_TRUE(r.Warned("airports.csv: 1 records skipped (the first at line 4: a quoted field"));
  EXPECT_TRUE(r.Warned("runways.csv: 2 runways name no airport"));

  // Beside a simulator's files, the CSV files answer.
  WriteFile(folder.File("airports.csv"), "id,ident,name,latitude_deg,longitude_deg\n1,AAA,A,1,2\n");
  WriteFile(folder.File("apt.dat"), kAptHeader + "1 10 0 0 AAA A\n10 1 2 04x 1 1\n99\n");
  Read both(folder.path());
  ASSERT_EQ(both.sink.airports.size(), 1u);
  EXPECT_EQ(AirfieldFromAirport(both.sink.airports[0], notes).runways, "31");
}

TEST(DataReadersTest, LinesAreCutLinearAndEveryGzipMemberIsRead) {
  TempDir folder;
  DataLines plain;
  WriteFile(folder.File("long.txt"),
            "a\r\n" + std::string(3 * kMaxDataLine, 'x') + "\nb\n" + std::string(200000, 'y'));
  const std::vector<std::string> lines = Lines(folder.File("long.txt"), plain);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1].size(), kMaxDataLine);
  EXPECT_EQ(lines[2], "b");
  EXPECT_EQ(lines[3].size(), kMaxDataLine);
  EXPECT_EQ(plain.cut_lines(), 2);
  EXPECT_EQ(plain.skipped_bytes(),
            static_cast<int64_t>(3 * kMaxDataLine + 200000 - 2 * kMaxDataLine));
  ReadReport report("long.txt");
  plain.Report(report);
  ASSERT_EQ(report.warnings(), 1u);  // once, with the count

  // Two members as `cat a.gz b.gz` makes them, then bytes that are no member.
  WriteGzip(folder.File("two.gz"), "one\ntw");
  WriteGzip(folder.File("two.gz"), "o\nthree\n", "ab");
  WriteFile(folder.File("tail"), "garbage");
  std::system(("cat '" + folder.File("tail") + "' >> '" + folder.File("two.gz") + "'").c_str());
  DataLines gz;
  EXPECT_EQ(Lines(folder.File("two.gz"), gz), (std::vector<std::string>{"one", "two", "three"}));
  ReadReport gz_report;
  gz.Report(gz_report);
  ASSERT_EQ(gz_report.warnings(), 1u);
  EXPECT_EQ(gz_report.WarningTexts()[0], "7 bytes after the compressed data were passed over");

  // A small file that inflates to far more than any text stops with a message.
  WriteGzip(folder.File("mb.gz"), std::string(1u << 20, 'x'));
  const std::string member = ReadFile(folder.File("mb.gz"));
  std::string members;
  for (int i = 0; i < 80; ++i) members += member;
  WriteFile(folder.File("bomb.gz"), members);
  DataLines bomb;
  EXPECT_EQ(Lines(folder.File("bomb.gz"), bomb).size(), 1u);
  EXPECT_LT(bomb.skipped_bytes(), 80 << 20);
  EXPECT_NE(bomb.error().find("inflates to more than"), std::string::npos);
}

#include "plan/planfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "plan/legs.h"
#include "plan/profile.h"
#include "test_util.h"

namespace {

Plan SmallPlan() {
  Plan plan;
  plan.title = "Spring trip";
  plan.aircraft = {"Ann Pilot", "N123AB", "PA28", 9.0, 48.0};
  plan.print = {1, 0.25, 0.1, 0.5, 0.0};
  plan.route = {
      Row("Dep"),
      Row("Lake", "12.7", "090", "4500", "180", "20", "10", "100", "-5", "112.3/ 090/ ABC/ To"),
      Row("Town", "-1000", "abc", "", "", "", "", "", "10E")};
  plan.airfields = {{"Home", "812", "1800", "14/32", "", "122.8", "", "", "122.8"}};
  plan.reserve = 45;
  return plan;
}

const char kSmallPlanFile[] =
    "[misc]\r\n"
    "title=Spring trip\r\n"
    "pilotname=Ann Pilot\r\n"
    "acnumber=N123AB\r\n"
    "actype=PA28\r\n"
    "acgph=9.000000\r\n"
    "acfullfuel=48.000000\r\n"
    "enableshade=1\r\n"
    "topmargin=0.250000\r\n"
    "leftmargin=0.100000\r\n"
    "bottommargin=0.000000\r\n"
    "rightmargin=0.500000\r\n"
    "count=3\r\n"
    "fieldcount=1\r\n"
    "reserve=45\r\n"
    "\r\n"
    "[dest0]\r\n"
    "toname=Dep\r\n"
    "vortext=\r\n"
    "dist=-1000\r\ntc=-1000\r\nalt=-1000\r\nwinddir=-1000\r\nwindvel=-1000\r\ntemp=-1000\r\n"
    "tas=-1000\r\nvar=-1000\r\n"
    "\r\n"
    "[dest1]\r\n"
    "toname=Lake\r\n"
    "vortext=112.3/ 090/ ABC/ To\r\n"
    "dist=12\r\ntc=90\r\nalt=4500\r\nwinddir=180\r\nwindvel=20\r\ntemp=10\r\ntas=100\r\nvar=-5\r\n"
    "\r\n"
    "[dest2]\r\n"
    "toname=Town\r\n"
    "vortext=\r\n"
    "dist=-1000\r\ntc=0\r\nalt=-1000\r\nwinddir=-1000\r\nwindvel=-1000\r\ntemp=-1000\r\n"
    "tas=-1000\r\nvar=10\r\n"
    "\r\n"
    "[field0]\r\n"
    "name=Home\r\nelevation=812\r\ntpa=1800\r\nrunways=14/32\r\natc=\r\ntraffic=122.8\r\n"
    "atis=\r\nground=\r\nunicom=122.8\r\n";

TEST(SavePlanTest, WritesEveryKeyInOrderWithItsValueForm) {
  TempDir dir;
  Plan plan = SmallPlan();
  SaveResult r = SavePlan(plan, dir.File("trip.flt"));
  ASSERT_EQ(r.status, SaveStatus::Saved) << r.error;
  EXPECT_EQ(ReadFile(dir.File("trip.flt")), kSmallPlanFile);
}

TEST(SavePlanTest, RoundTripGivesTheCellsBackAsTheyAreStored) {
  TempDir dir;
  Plan plan = SmallPlan();
  ASSERT_EQ(SavePlan(plan, dir.File("trip.flt")).status, SaveStatus::Saved);
  Plan back;
  LoadPlan(back, dir.File("trip.flt"));
  EXPECT_EQ(back.title, "Spring trip");
  EXPECT_EQ(back.aircraft.pilotname, "Ann Pilot");
  EXPECT_EQ(back.aircraft.acfullfuel, 48.0);
  EXPECT_EQ(back.print.enableshade, 1);
  EXPECT_EQ(back.print.topmargin, 0.25);
  EXPECT_EQ(back.print.rightmargin, 0.5);
  ASSERT_EQ(back.route.size(), 3u);
  std::vector<std::string> lake = {
      "12", "90", "4500", "180", "20", "10", "100", "-5", "112.3/ 090/ ABC/ To"};
  EXPECT_EQ(back.route[1].subitems, lake);
  // -1000 typed by the user is the marker; text that is no number is 0.
  std::vector<std::string> town = {"", "0", "", "", "", "", "", "10", ""};
  EXPECT_EQ(back.route[2].subitems, town);
  ASSERT_EQ(back.airfields.size(), 1u);
  EXPECT_EQ(back.airfields[0].runways, "14/32");
  EXPECT_EQ(back.airfields[0].unicom, "122.8");

  // Saving what was loaded gives the same bytes again.
  ASSERT_EQ(SavePlan(back, dir.File("again.flt")).status, SaveStatus::Saved);
  EXPECT_EQ(ReadFile(dir.File("again.flt")), kSmallPlanFile);
}

TEST(SavePlanTest, TheSamplePlanRoundTripsAndComputes) {
  Plan plan;
  LoadPlan(plan, HALVIX_SAMPLE_PLAN);
  ASSERT_GE(plan.route.size(), 7u);
  ASSERT_EQ(plan.airfields.size(), 3u);
  TempDir dir;
  ASSERT_EQ(SavePlan(plan, dir.File("s.flt")).status, SaveStatus::Saved);
  EXPECT_EQ(ReadFile(dir.File("s.flt")), ReadFile(HALVIX_SAMPLE_PLAN));
  const NavLog log = ComputeLog(plan);
  EXPECT_EQ(log.LegCount(), static_cast<int32_t>(plan.route.size()) - 1);
  EXPECT_GT(log.totals.ete, 0);
}

TEST(SavePlanTest, EmptyRouteWritesNothing) {
  TempDir dir;
  Plan plan;
  EXPECT_EQ(SavePlan(plan, dir.File("x.flt")).status, SaveStatus::NothingToSave);
  EXPECT_FALSE(PathExists(dir.File("x.flt")));
}

TEST(SavePlanTest, SavingOverAnotherFileKeepsItsForeignPartsAndOldRows) {
  TempDir dir;
  const std::string path = dir.File("trip.flt");
  WriteFile(path,
            "; written by another tool\n[Notes]\nfuel stop=maybe\n[MISC]\nTITLE=old\n"
            "count=5\nextra=kept\n[dest3]\ntoname=Old three\n[dest4]\ntoname=Old four\n");
  Plan plan = SmallPlan();
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  std::string text = ReadFile(path);
  EXPECT_EQ(text.rfind("; written by another tool\n[Notes]\nfuel stop=maybe\n[MISC]\nTITLE=Spring "
                       "trip\n",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("count=3\nextra=kept\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[dest4]\ntoname=Old four\n"), std::string::npos) << text;

  Plan back;
  LoadPlan(back, path);
  EXPECT_EQ(back.route.size(), 3u);  // rows past count stay in the file, unread
  ProfileFile raw;
  std::string error;
  ASSERT_TRUE(raw.Load(path, error)) << error;
  EXPECT_EQ(raw.GetString("notes", "fuel stop", "", 256), "maybe");
}

TEST(SavePlanTest, FailureIsReportedAndLeavesThePlanModifiedAndTheOldFileIntact) {
  TempDir dir;
  Plan plan = SmallPlan();

  SaveResult missing_dir = SavePlan(plan, dir.File("no/such/dir/trip.flt"));
  EXPECT_EQ(missing_dir.status, SaveStatus::Failed);
  EXPECT_NE(missing_dir.error.find("No such file or directory"), std::string::npos)
      << missing_dir.error;

  ASSERT_EQ(mkdir(dir.File("adir.flt").c_str(), 0755), 0);
  SaveResult is_dir = SavePlan(plan, dir.File("adir.flt"));
  EXPECT_EQ(is_dir.status, SaveStatus::Failed);
  EXPECT_FALSE(is_dir.error.empty());

  // No temporary file is left behind.
  std::string listing;
  FILE* ls = popen(("ls -A '" + dir.path() + "'").c_str(), "r");
  char buf[256];
  while (fgets(buf, sizeof buf, ls)) listing += buf;
  pclose(ls);
  EXPECT_EQ(listing, "adir.flt\n");
}

TEST(SavePlanTest, ReplacesTheFileInOneStepAndKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.File("trip.flt");
  WriteFile(path, "[misc]\ntitle=old\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  struct stat before;
  stat(path.c_str(), &before);
  Plan plan = SmallPlan();
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  struct stat after;
  stat(path.c_str(), &after);
  EXPECT_NE(before.st_ino, after.st_ino);  // a new file renamed into place
  EXPECT_EQ(after.st_mode & 0777, 0640u);

  // Through a link, the linked file is updated and the link stays a link.
  ASSERT_EQ(symlink(path.c_str(), dir.File("link.flt").c_str()), 0);
  plan.title = "via link";
  ASSERT_EQ(SavePlan(plan, dir.File("link.flt")).status, SaveStatus::Saved);
  struct stat link;
  lstat(dir.File("link.flt").c_str(), &link);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  Plan back;
  LoadPlan(back, path);
  EXPECT_EQ(back.title, "via link");
}

TEST(LoadPlanTest, AMissingFileGivesTheDefaults) {
  Plan plan = SmallPlan();
  LoadPlan(plan, "/nonexistent/dir/plan.flt");
  EXPECT_EQ(plan.title, "Cross Country Plan");
  EXPECT_EQ(plan.aircraft.pilotname, "Pat Example");
  EXPECT_EQ(plan.aircraft.acnumber, "12345");
  EXPECT_EQ(plan.aircraft.actype, "C172/U");
  EXPECT_EQ(plan.aircraft.acgph, 9.0);
  EXPECT_EQ(plan.aircraft.acfullfuel, 38.0);
  EXPECT_EQ(plan.print.enableshade, 0);
  EXPECT_EQ(plan.print.topmargin, 0.1);
  EXPECT_EQ(plan.print.leftmargin, 0.1);
  EXPECT_EQ(plan.print.bottommargin, 0.1);
  EXPECT_EQ(plan.print.rightmargin, 0.1);
  EXPECT_EQ(plan.reserve, 30);
  EXPECT_TRUE(plan.route.empty());
  EXPECT_TRUE(plan.airfields.empty());
}

TEST(LoadPlanTest, TheReserveReadsAsThirtyMinutesWhenAbsentAndIsHeldToItsRange) {
  TempDir dir;
  const std::pair<const char*, int32_t> cases[] = {
      {"", 30}, {"reserve=45\n", 45}, {"reserve=-20\n", 0}, {"reserve=99999\n", kMaxReserve}};
  for (const auto& [line, expected] : cases) {
    WriteFile(dir.File("r.flt"), std::string("[misc]\ncount=0\n") + line);
    Plan plan;
    plan.reserve = 7;
    LoadPlan(plan, dir.File("r.flt"));
    EXPECT_EQ(plan.reserve, expected) << line;
  }
}

TEST(SavePlanTest, TheReserveKeyJoinsAnOlderFileAndKeepsItsCommentsAndUnknownKeys) {
  TempDir dir;
  const std::string path = dir.File("old.flt");
  const std::string older(kSmallPlanFile, sizeof kSmallPlanFile - 1);
  const std::string without = older.substr(0, older.find("reserve=45\r\n")) +
                              older.substr(older.find("reserve=45\r\n") + 12);
  WriteFile(path, "; my notes\r\n" + without + "[extra]\r\nmine=1\r\n");
  Plan plan;
  LoadPlan(plan, path);
  EXPECT_EQ(plan.reserve, 30);
  plan.reserve = 45;
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  // The key is added at the end of [misc]; every other byte stays where it was.
  EXPECT_EQ(ReadFile(path), "; my notes\r\n" + older + "[extra]\r\nmine=1\r\n");
}

TEST(LoadPlanTest, MissingKeysReadAsDefaultsAndEmptyNamesStayEmpty) {
  TempDir dir;
  WriteFile(dir.File("p.flt"),
            "[misc]\ncount=3\nfieldcount=2\n[dest0]\ntoname=\n[dest1]\nvortext=\"  x  \"\n"
            "[field1]\nname=Far\n");
  Plan plan;
  LoadPlan(plan, dir.File("p.flt"));
  ASSERT_EQ(plan.route.size(), 3u);
  EXPECT_EQ(plan.route[0].caption, "");
  EXPECT_EQ(plan.route[1].caption, "noname");
  EXPECT_EQ(plan.route[1].subitems[kCellVor], "  x  ");
  EXPECT_EQ(plan.route[2].caption, "noname");
  EXPECT_EQ(plan.route[2].subitems, std::vector<std::string>(9));
  ASSERT_EQ(plan.airfields.size(), 2u);
  EXPECT_EQ(plan.airfields[0].name, "");
  EXPECT_EQ(plan.airfields[1].name, "Far");
}

TEST(LoadPlanTest, WithoutMiscTheRowsAreIgnored) {
  TempDir dir;
  WriteFile(dir.File("p.flt"), "[dest0]\ntoname=A\n[field0]\nname=B\n");
  Plan plan;
  LoadPlan(plan, dir.File("p.flt"));
  EXPECT_EQ(plan.title, "Cross Country Plan");
  EXPECT_TRUE(plan.route.empty());
  EXPECT_TRUE(plan.airfields.empty());
}

TEST(LoadPlanTest, LongValuesAreCutAndHugeCountsAreBounded) {
  TempDir dir;
  std::string long_text(400, 'q');
  WriteFile(dir.File("p.flt"),
            "[misc]\ntitle=" + long_text + "\npilotname=" + long_text +
                "\ncount=2147483647\nfieldcount=99999999999\n[dest0]\ntoname=" + long_text +
                "\nvortext=" + long_text + "\n[field0]\nrunways=" + long_text + "\n");
  Plan plan;
  LoadPlan(plan, dir.File("p.flt"));
  EXPECT_EQ(plan.title.size(), 255u);
  EXPECT_EQ(plan.aircraft.pilotname.size(), 255u);
  ASSERT_EQ(plan.route.size(), 33u);
  EXPECT_EQ(plan.route[0].caption.size(), 79u);
  EXPECT_EQ(plan.route[0].subitems[kCellVor].size(), 79u);
  EXPECT_EQ(plan.airfields[0].runways.size(), 255u);
  EXPECT_LE(plan.airfields.size(), 1000u);

  WriteFile(dir.File("n.flt"), "[misc]\ncount=-5\nfieldcount=-1\n");
  LoadPlan(plan, dir.File("n.flt"));
  EXPECT_TRUE(plan.route.empty());
  EXPECT_TRUE(plan.airfields.empty());
}

TEST(LoadPlanTest, WindowsFilesAreReadAsWindows1252) {
  TempDir dir;
  WriteFile(dir.File("w.flt"),
            "[misc]\r\ntitle=Caf\xE9 run\r\ncount=1\r\n[dest0]\r\ntoname=M\xFC"
            "nster\r\n");
  Plan plan;
  LoadPlan(plan, dir.File("w.flt"));
  EXPECT_EQ(plan.title, "Caf\xC3\xA9 run");
  EXPECT_EQ(plan.route[0].caption, "M\xC3\xBCnster");
  // Written back as UTF-8.
  ASSERT_EQ(SavePlan(plan, dir.File("w.flt")).status, SaveStatus::Saved);
  EXPECT_NE(ReadFile(dir.File("w.flt")).find("title=Caf\xC3\xA9 run\r\n"), std::string::npos);
}

TEST(PlanFilePositions, CoordinatesRoundTripAndSurviveAnEditInTheDialog) {
  TempDir dir;
  Plan plan = SmallPlan();
  plan.route[0].position = GeoPosition{47.449889, -122.311777};
  plan.route[1].position = GeoPosition{-33.946111, 151.177222};
  ASSERT_EQ(SavePlan(plan, dir.File("trip.flt")).status, SaveStatus::Saved);
  const std::string text = ReadFile(dir.File("trip.flt"));
  EXPECT_NE(text.find("var=-1000\r\nlat=47.449889\r\nlon=-122.311777\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("lat=-33.946111\r\nlon=151.177222\r\n"), std::string::npos);
  // A row without coordinates writes no keys, so older plans keep their bytes.
  EXPECT_EQ(
      text.find("[dest2]\r\ntoname=Town\r\nvortext=\r\ndist=-1000\r\ntc=0\r\nalt=-1000\r\n"
                "winddir=-1000\r\nwindvel=-1000\r\ntemp=-1000\r\ntas=-1000\r\nvar=10\r\n\r\n"),
      text.find("[dest2]"));

  Plan back;
  LoadPlan(back, dir.File("trip.flt"));
  ASSERT_EQ(back.route.size(), 3u);
  ASSERT_TRUE(back.route[1].position.has_value());
  EXPECT_DOUBLE_EQ(back.route[1].position->lat, -33.946111);
  EXPECT_DOUBLE_EQ(back.route[1].position->lon, 151.177222);
  EXPECT_FALSE(back.route[2].position.has_value());

  CheckpointDialogTexts texts;
  RowToDialog(back.route[1], texts);
  texts.EditCheckpointName = "Renamed";
  texts.EditAltitude = "6500";
  DialogToRow(texts, back.route[1]);
  ASSERT_TRUE(back.route[1].position.has_value());
  EXPECT_DOUBLE_EQ(back.route[1].position->lat, -33.946111);
}

TEST(PlanFilePositions, BadOrStaleCoordinatesAreNotGivenToAnotherCheckpoint) {
  TempDir dir;
  const std::string path = dir.File("p.flt");
  WriteFile(path,
            "[misc]\ncount=4\n[dest0]\ntoname=A\nlat=91\nlon=0\n[dest1]\ntoname=B\nlat=45\n"
            "[dest2]\ntoname=C\nlat=45x\nlon=7\n[dest3]\ntoname=D\nlat= 45.5 \nlon=-180\n");
  Plan plan;
  LoadPlan(plan, path);
  ASSERT_EQ(plan.route.size(), 4u);
  EXPECT_FALSE(plan.route[0].position);  // latitude out of range
  EXPECT_FALSE(plan.route[1].position);  // longitude missing
  EXPECT_FALSE(plan.route[2].position);  // not a number
  ASSERT_TRUE(plan.route[3].position);
  EXPECT_EQ(plan.route[3].position->lon, -180.0);

  // D is deleted and a typed checkpoint takes its section: D's place must go.
  plan.route.pop_back();
  plan.route.push_back(Row("Typed", "10"));
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  Plan back;
  LoadPlan(back, path);
  EXPECT_FALSE(back.route[3].position);
  ProfileFile raw;
  std::string error;
  ASSERT_TRUE(raw.Load(path, error)) << error;
  EXPECT_EQ(raw.GetString("dest3", "lat", "kept", 32), "");
  EXPECT_EQ(raw.GetString("dest3", "lon", "kept", 32), "");
}

TEST(Paths, AppendDirSeparatorAndPathExists) {
  std::string empty;
  EXPECT_EQ(AppendDirSeparator(empty), "");
  std::string dir = "/home/pat";
  EXPECT_EQ(AppendDirSeparator(dir), "/home/pat/");
  EXPECT_EQ(AppendDirSeparator(dir), "/home/pat/");  // once only
  std::string root = "/";
  EXPECT_EQ(AppendDirSeparator(root), "/");

  TempDir tmp;
  EXPECT_TRUE(PathExists(tmp.path()));
  EXPECT_FALSE(PathExists(tmp.File("nope.flt")));
  EXPECT_FALSE(PathExists(""));
  WriteFile(tmp.File("a.flt"), "");
  EXPECT_TRUE(PathExists(tmp.File("a.flt")));
}

}  // namespace

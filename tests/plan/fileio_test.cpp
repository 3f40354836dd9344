// Plan files at the edges: paths that are no plan, targets that must not be
// replaced, saves killed half-way, and values that must survive a round trip.
#include "plan/fileio.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>

#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/profile.h"
#include "plan/report.h"
#include "test_util.h"

namespace {

Plan TwoRowPlan(const std::string& title) {
  Plan plan;
  plan.title = title;
  plan.route = {Row("Home"), Row("Lake", "50", "90", "", "180", "20", "", "100", "10")};
  plan.modified = 1;
  return plan;
}

std::string Listing(const std::string& dir) {
  std::string out;
  FILE* ls = popen(("ls -A '" + dir + "'").c_str(), "r");
  char buf[256];
  while (fgets(buf, sizeof buf, ls)) out += buf;
  pclose(ls);
  return out;
}

TEST(ReadingPlans, OnlyRegularFilesOfAPlausibleSizeAreRead) {
  TempDir dir;
  Plan plan = TwoRowPlan("kept");

  // /dev/zero used to be read until memory ran out.
  LoadResult zero = LoadPlan(plan, "/dev/zero");
  EXPECT_FALSE(zero.ok);
  EXPECT_NE(zero.error.find("not a regular file"), std::string::npos) << zero.error;
  EXPECT_EQ(zero.report.FirstError(), "/dev/zero: " + zero.error);
  EXPECT_TRUE(plan.route.empty());  // the defaults, as for any unreadable file

  // A FIFO without a writer used to block the open forever.
  ASSERT_EQ(mkfifo(dir.File("pipe.flt").c_str(), 0644), 0);
  LoadResult fifo = LoadPlan(plan, dir.File("pipe.flt"));
  EXPECT_NE(fifo.error.find("not a regular file"), std::string::npos) << fifo.error;

  ASSERT_EQ(mkdir(dir.File("folder.flt").c_str(), 0755), 0);
  LoadResult folder = LoadPlan(plan, dir.File("folder.flt"));
  EXPECT_FALSE(folder.ok);
  EXPECT_NE(folder.error.find("folder.flt"), std::string::npos) << folder.error;

  // Sparse, so the test costs no disk.
  const std::string big = dir.File("big.flt");
  WriteFile(big, "[misc]\ncount=2\n");
  ASSERT_EQ(truncate(big.c_str(), static_cast<off_t>(kMaxPlanBytes) + 1), 0);
  LoadResult large = LoadPlan(plan, big);
  EXPECT_NE(large.error.find("too large to be a plan"), std::string::npos) << large.error;

  LoadResult missing = LoadPlan(plan, dir.File("none.flt"));
  EXPECT_TRUE(missing.ok) << "a missing plan is the defaults, not an error";
  EXPECT_TRUE(missing.report.ok());
}

TEST(ReadingPlans, AbsurdNumbersAreHeldToWhatAPlanCanMean) {
  TempDir dir;
  WriteFile(dir.File("p.flt"),
            "[misc]\nacgph=1e308\nacfullfuel=-1e308\ntopmargin=1e300\ncount=3\n"
            "[dest0]\ntoname=A\n"
            "[dest1]\ntoname=B\ndist=99999999999999999999\ntc=90\nwinddir=90\nwindvel=0\n"
            "tas=1\nvar=0\n"
            "[dest2]\ntoname=C\ndist=99999999999999999999\n");
  Plan plan;
  ASSERT_TRUE(LoadPlan(plan, dir.File("p.flt")).ok);
  EXPECT_EQ(plan.aircraft.acgph, kMaxQuantity);
  EXPECT_EQ(plan.aircraft.acfullfuel, -kMaxQuantity);
  EXPECT_EQ(plan.print.topmargin, kMaxQuantity);
  EXPECT_EQ(plan.route[1].subitems[kCellDist], std::to_string(kMaxCellValue));

  // What the aircraft dialog stores unchecked is held as well.
  plan.aircraft.acgph = 1e308;
  const NavLog log = ComputeLog(plan);
  const std::string logs = FormatLogCsv(log) + FormatLogTable(plan, log);
  for (const char* bad : {"inf", "nan", "2147483647", "2147483648"}) {
    EXPECT_EQ(logs.find(bad), std::string::npos) << bad << " in\n" << logs;
  }
  EXPECT_EQ(log.totals.dist, 2 * kMaxCellValue);
  EXPECT_EQ(log.legs[0].distrem, kMaxCellValue);
}

TEST(ReadingPlans, ManyKeysInOneSectionStillFindTheFirstOfEach) {
  std::string text = "[misc]\n";
  for (int i = 0; i < 1000; ++i) text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  text += "K500=again\ntitle=found\n";
  ProfileFile file;
  file.Parse(text);
  EXPECT_EQ(file.GetString("misc", "k500", "", 256), "500");
  EXPECT_EQ(file.GetString("misc", "TITLE", "", 256), "found");
  file.WriteString("misc", "k999", "changed");
  file.WriteString("misc", "new", "added");
  EXPECT_EQ(file.GetString("misc", "k999", "", 256), "changed");
  EXPECT_NE(file.Serialize().find("title=found\nnew=added\r\n"), std::string::npos);
}

TEST(WritingPlans, TargetsThatAreNoPlanFileAreRefusedAndKept) {
  TempDir dir;
  Plan plan = TwoRowPlan("new");

  // A device node (through a link, so the test needs no mknod).
  ASSERT_EQ(symlink("/dev/null", dir.File("null.flt").c_str()), 0);
  SaveResult device = SavePlan(plan, dir.File("null.flt"));
  EXPECT_EQ(device.status, SaveStatus::Failed);
  EXPECT_NE(device.error.find("not a regular file"), std::string::npos) << device.error;
  struct stat st;
  ASSERT_EQ(stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(plan.modified, 1);

  ASSERT_EQ(mkfifo(dir.File("pipe.flt").c_str(), 0644), 0);
  EXPECT_EQ(SavePlan(plan, dir.File("pipe.flt")).status, SaveStatus::Failed);
  ASSERT_EQ(lstat(dir.File("pipe.flt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));

  // Read-only is refused even for root, who could write it.
  WriteFile(dir.File("ro.flt"), "[misc]\ntitle=old\n");
  ASSERT_EQ(chmod(dir.File("ro.flt").c_str(), 0444), 0);
  SaveResult ro = SavePlan(plan, dir.File("ro.flt"));
  EXPECT_EQ(ro.status, SaveStatus::Failed);
  EXPECT_NE(ro.error.find("read-only"), std::string::npos) << ro.error;
  EXPECT_EQ(ReadFile(dir.File("ro.flt")), "[misc]\ntitle=old\n");

  // A dangling link is written through: its target comes into being.
  ASSERT_EQ(mkdir(dir.File("plans").c_str(), 0755), 0);
  ASSERT_EQ(symlink("plans/real.flt", dir.File("link.flt").c_str()), 0);
  ASSERT_EQ(SavePlan(plan, dir.File("link.flt")).status, SaveStatus::Saved);
  ASSERT_EQ(lstat(dir.File("link.flt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  Plan back;
  ASSERT_TRUE(LoadPlan(back, dir.File("plans/real.flt")).ok);
  EXPECT_EQ(back.title, "new");

  EXPECT_EQ(Listing(dir.path()), "link.flt\nnull.flt\npipe.flt\nplans\nro.flt\n");
}

// A process that has ended: its temporaries are left by a killed save.
pid_t EndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(WritingPlans, StaleTemporaryFilesOfThePlanAreRemovedOthersKept) {
  TempDir dir;
  const std::string dead = std::to_string(EndedProcess());
  for (const std::string& name :
       {".trip.flt." + dead + ".halvix-tmp",    // a killed save of this plan, just now
        ".trip.flt." + dead + "-2.halvix-tmp",  // the same, second attempt
        std::string(".trip.flt.1.halvix-tmp"),  // its process runs: maybe in progress
        ".other.flt." + dead + ".halvix-tmp",   // another plan's
        ".trip.flt.tmp" + dead,                 // not our pattern
        "trip.flt." + dead + ".halvix-tmp"}) {  // not hidden: the user's
    WriteFile(dir.File(name), "x");
  }
  Plan plan = TwoRowPlan("t");
  ASSERT_EQ(SavePlan(plan, dir.File("trip.flt")).status, SaveStatus::Saved);
  EXPECT_EQ(Listing(dir.path()), ".other.flt." + dead + ".halvix-tmp\n.trip.flt.1.halvix-tmp\n" +
                                     ".trip.flt.tmp" + dead + "\ntrip.flt\ntrip.flt." + dead +
                                     ".halvix-tmp\n");
}

// Pages written as one: a failure at the second leaves the first as it was.
TEST(WritingPlans, FilesReplacedTogetherAreAllNewOrAllOld) {
  TempDir dir;
  WriteFile(dir.File("log-1.png"), "old page 1");
  // Passes every check before the writing, then cannot be written.
  ASSERT_EQ(symlink("gone/log-2.png", dir.File("log-2.png").c_str()), 0);
  std::string error;
  EXPECT_FALSE(
      ReplaceFiles({{dir.File("log-1.png"), "new 1"}, {dir.File("log-2.png"), "new 2"}}, error));
  EXPECT_EQ(error, dir.File("log-2.png") + ": No such file or directory");
  EXPECT_EQ(ReadFile(dir.File("log-1.png")), "old page 1");
  EXPECT_EQ(Listing(dir.path()), "log-1.png\nlog-2.png\n");

  ASSERT_TRUE(
      ReplaceFiles({{dir.File("log-1.png"), "new 1"}, {dir.File("log-3.png"), "new 3"}}, error))
      << error;
  EXPECT_EQ(ReadFile(dir.File("log-1.png")) + ReadFile(dir.File("log-3.png")), "new 1new 3");
}

// A plan shared through a group stays its owner's when another saves it.
TEST(WritingPlans, SavingKeepsOwnerGroupAndModeOrSaysWhyItCannot) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make files of other users";
  TempDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  const std::string path = dir.File("shared.flt");
  WriteFile(path, "[misc]\ntitle=old\n");
  ASSERT_EQ(chown(path.c_str(), 1001, 100), 0);
  ASSERT_EQ(chmod(path.c_str(), 0664), 0);
  Plan plan = TwoRowPlan("saved by root");
  ASSERT_EQ(SavePlan(plan, path).status, SaveStatus::Saved);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 1001u);
  EXPECT_EQ(st.st_gid, 100u);
  EXPECT_EQ(st.st_mode & 07777, 0664u);

  // A member of the group may write the file but not give it away.
  const std::string before = ReadFile(path);
  const pid_t member = fork();
  ASSERT_GE(member, 0);
  if (member == 0) {
    const gid_t groups[] = {100};
    if (setgroups(1, groups) != 0 || setgid(1002) != 0 || setuid(1002) != 0) _exit(2);
    Plan mine = TwoRowPlan("saved by a member");
    const SaveResult saved = SavePlan(mine, path);
    _exit(saved.status == SaveStatus::Failed &&
                  saved.error == "Cannot write " + path +
                                     ": it belongs to another user (uid 1001), and a saved copy "
                                     "would be yours; save it under another name"
              ? 0
              : 1);
  }
  int status = 0;
  waitpid(member, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 1001u);
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(Listing(dir.path()), "shared.flt\n");
}

// A child saving in a loop is killed at random moments; the file must be the
// old plan or the new one, whole, every time.
TEST(WritingPlans, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewPlanWhole) {
  TempDir dir;
  const std::string path = dir.File("trip.flt");
  Plan a = TwoRowPlan("Plan A");
  Plan b = TwoRowPlan("Plan B, with a longer title so that the sizes differ");
  b.airfields = {{"Home", "812", "1800", "14/32", "", "122.8", "", "", "122.8"}};
  ASSERT_EQ(SavePlan(b, path).status, SaveStatus::Saved);
  const std::string bytes_b = ReadFile(path);
  ASSERT_EQ(SavePlan(a, path).status, SaveStatus::Saved);
  const std::string bytes_a = ReadFile(path);

  std::mt19937 random(12);
  std::uniform_int_distribution<int> delay_us(0, 4000);
  int torn = 0;
  for (int round = 0; round < 300; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) SavePlan(i % 2 ? a : b, path);
    }
    const timespec pause = {0, delay_us(random) * 1000L};
    nanosleep(&pause, nullptr);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = ReadFile(path);
    if (now != bytes_a && now != bytes_b) ++torn;
  }
  EXPECT_EQ(torn, 0);

  // The next save clears up at once, however soon it follows.
  ASSERT_EQ(SavePlan(a, path).status, SaveStatus::Saved);
  EXPECT_EQ(Listing(dir.path()), "trip.flt\n");
}

TEST(RoundTrip, TextsReadBackAsTheyWereWritten) {
  TempDir dir;
  Plan plan = TwoRowPlan("\"Quoted title\"");
  plan.aircraft.pilotname = "'Single'";
  plan.aircraft.actype = "\"\"";
  // Cut to 79 bytes right after a blank, the name must not keep it: the
  // next load would trim it and the plan would change on every save.
  plan.route[1].caption = std::string(78, 'n') + " tail";
  plan.route[1].subitems[kCellVor] = std::string(78, 'v') + " rest";
  plan.airfields = {{"\"Home\"", "", "", "", "", "", "", "", ""}};
  ASSERT_EQ(SavePlan(plan, dir.File("q.flt")).status, SaveStatus::Saved);

  Plan back;
  ASSERT_TRUE(LoadPlan(back, dir.File("q.flt")).ok);
  EXPECT_EQ(back.title, "\"Quoted title\"");
  EXPECT_EQ(back.aircraft.pilotname, "'Single'");
  EXPECT_EQ(back.aircraft.actype, "\"\"");
  EXPECT_EQ(back.airfields[0].name, "\"Home\"");
  EXPECT_EQ(back.route[1].caption, std::string(78, 'n'));
  EXPECT_EQ(back.route[1].subitems[kCellVor], std::string(78, 'v'));

  // A second save of what was loaded writes the same bytes.
  ASSERT_EQ(SavePlan(back, dir.File("again.flt")).status, SaveStatus::Saved);
  EXPECT_EQ(ReadFile(dir.File("again.flt")), ReadFile(dir.File("q.flt")));

  // A long title read back cut does not end in a blank either.
  WriteFile(dir.File("long.flt"), "[misc]\ntitle=" + std::string(254, 't') + " x\n");
  ASSERT_TRUE(LoadPlan(back, dir.File("long.flt")).ok);
  EXPECT_EQ(back.title, std::string(254, 't'));
}

}  // namespace

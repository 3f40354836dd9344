#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <vector>

#include "grib_util.h"
#include "halvix_version.h"
#include "plan/legs.h"
#include "plan/planfile.h"
#include "plan/report.h"
#include "test_util.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
};

// Runs a shell command, collecting what it prints.
ToolRun RunShell(const std::string& cmd) {
  FILE* p = popen(cmd.c_str(), "r");
  ToolRun run{-1, ""};
  if (!p) return run;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
  int status = pclose(p);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Runs halvix-navlog with `args`; stderr joins stdout when `with_stderr`, and
// is dropped unless `args` sends it somewhere.
ToolRun Navlog(const std::string& args, bool with_stderr = false) {
  const bool redirected = args.find(" 2>") != std::string::npos;
  return RunShell(std::string(HALVIX_NAVLOG) + " " + args +
                  (with_stderr  ? " 2>&1"
                   : redirected ? ""
                                : " 2>/dev/null"));
}

TEST(LogCsv, OneLinePerLegAndATotalLine) {
  Plan plan;
  plan.route = {
      Row("Dep"),
      Row("Lake, north", "50", "90", "", "180", "20", "", "100", "10", "112.3/ 090/ ABC/ To"),
      Row("Say \"cheese\"", "30")};
  EXPECT_EQ(FormatLogCsv(ComputeLog(plan)),
            "leg,toname,tc,alt,winddir,windvel,temp,tas,wca,th,var,mh,dev,ch,dist,distrem,gs,ete,"
            "fuelused,fuelrem,vorfreq,vorbrng,vorident,vortofr\n"
            "1,\"Lake, north\",90,,180,20,,100,11,101,10,111,,111,50,30,98,30,4.50,33.50,112.3,090,"
            "ABC,To\n"
            "2,\"Say \"\"cheese\"\"\",,,,,,,,,,,,,30,0,,18,2.70,30.80,,,,\n"
            "Total,,,,,,,,,,,,,,80,,,48,7.20,,,,,\n");
}

TEST(NavlogTool, PrintsTheSamplePlanAsATableAndAsCsv) {
  ToolRun table = Navlog(std::string("'") + HALVIX_SAMPLE_PLAN + "'");
  EXPECT_EQ(table.status, 0);
  EXPECT_NE(table.out.find("Millbrook to Eastport"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("Total"), std::string::npos);

  ToolRun csv = Navlog(std::string("--csv '") + HALVIX_SAMPLE_PLAN + "'");
  EXPECT_EQ(csv.status, 0);
  EXPECT_EQ(csv.out.rfind("leg,toname,tc,", 0), 0u);
  EXPECT_NE(csv.out.find("\nTotal,"), std::string::npos);
}

TEST(NavlogTool, ReportsErrorsWithExitCodes) {
  EXPECT_EQ(Navlog("/nonexistent/plan.flt").status, 1);
  EXPECT_EQ(Navlog("").status, 2);
  EXPECT_EQ(Navlog("--bogus x.flt").status, 2);
  EXPECT_EQ(Navlog("--help").status, 0);
  ToolRun version = Navlog("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "halvix-navlog " HALVIX_VERSION "\n");

  TempDir dir;
  WriteFile(dir.File("one.flt"), "[misc]\ncount=1\n[dest0]\ntoname=Home\n");
  ToolRun one = Navlog(dir.File("one.flt"), true);
  EXPECT_EQ(one.status, 1);
  EXPECT_NE(one.out.find("You must have at least two checkpoints before computing the route"),
            std::string::npos);
}

TEST(NavlogTool, MissingFirstLegItemIsAWarningAndTheLogStillPrints) {
  TempDir dir;
  WriteFile(dir.File("p.flt"),
            "[misc]\ncount=2\n[dest0]\ntoname=Home\n[dest1]\ntoname=Lake\ndist=20\ntc=90\n");
  ToolRun run = Navlog("--csv " + dir.File("p.flt"), true);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Missing Information: Predicted Wind Direction"), std::string::npos);
  EXPECT_NE(run.out.find("1,Lake,90,,,,,,,,,,,,20,0,,,,,,,,\n"), std::string::npos) << run.out;
}

TEST(NavlogTool, RowsBeyondWhatAPlanHoldsAreNamedOnTheErrorOutput) {
  TempDir dir;
  std::string text = "[misc]\ncount=40\n[dest0]\ntoname=Home\n";
  for (int i = 1; i < 40; ++i) {
    text += "[dest" + std::to_string(i) + "]\ntoname=P" + std::to_string(i) +
            "\ndist=5\ntc=90\nwinddir=0\nwindvel=0\nvar=0\ntas=100\n";
  }
  WriteFile(dir.File("long.flt"), text);
  const std::string warning =
      "halvix-navlog: warning: This plan has 40 checkpoints; Halvix keeps the first 33. Saving "
      "will drop the others.\n";
  ToolRun both = Navlog("--csv " + dir.File("long.flt"), true);
  EXPECT_EQ(both.status, 0);
  EXPECT_NE(both.out.find(warning), std::string::npos) << both.out;
  ToolRun out = Navlog("--csv " + dir.File("long.flt"));
  EXPECT_EQ(out.out.find("warning"), std::string::npos);
  EXPECT_NE(out.out.find("\n32,P32,"), std::string::npos);
  EXPECT_EQ(out.out.find("P33"), std::string::npos);
}

TEST(LogTable, ColumnsLineUpWhateverTheWidthOfTheNames) {
  // Four columns each: ASCII, two wide CJK characters, and a combining accent.
  Plan plan;
  plan.route = {Row("Dep"), Row("Lake", "50", "90", "", "180", "20", "", "100", "10"),
                Row("\xE6\x9D\xB1\xE4\xBA\xAC", "50"), Row("Cafe\xCC\x81", "50")};
  std::istringstream table(FormatLogTable(plan, ComputeLog(plan)));
  std::vector<std::string> rows;
  for (std::string line; std::getline(table, line);) {
    for (const char* name : {"Lake", "\xE6\x9D\xB1\xE4\xBA\xAC", "Cafe\xCC\x81"}) {
      const std::size_t at = line.find(name);
      if (at != std::string::npos) rows.push_back(line.substr(at + std::string(name).size()));
    }
  }
  ASSERT_EQ(rows.size(), 3u);
  // The distance column starts at the same place after every name.
  const std::size_t dist = rows[0].find("50");
  ASSERT_NE(dist, std::string::npos);
  EXPECT_EQ(rows[1].find("50"), dist) << rows[1];
  EXPECT_EQ(rows[2].find("50"), dist) << rows[2];
}

TEST(NavlogTool, ReadsThePlanFromStandardInputAndWritesPdfToStandardOutput) {
  const std::string sample = std::string("'") + HALVIX_SAMPLE_PLAN + "'";
  ToolRun from_file = Navlog("--csv " + sample);
  ToolRun from_pipe = Navlog("--csv - < " + sample);
  EXPECT_EQ(from_pipe.status, 0);
  EXPECT_EQ(from_pipe.out, from_file.out);

  ToolRun pdf = Navlog("--pdf - " + sample);
  EXPECT_EQ(pdf.status, 0);
  EXPECT_EQ(pdf.out.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.out.find("%%EOF"), std::string::npos);
  EXPECT_EQ(Navlog("--png - " + sample).status, 2);
}

TEST(NavlogTool, WhatCannotBeReadOrWrittenIsAnErrorWithItsReason) {
  const std::string sample = std::string("'") + HALVIX_SAMPLE_PLAN + "'";
  ToolRun zero = Navlog("/dev/zero", true);
  EXPECT_EQ(zero.status, 1);
  EXPECT_NE(zero.out.find("not a regular file"), std::string::npos) << zero.out;

  TempDir dir;
  ToolRun folder = Navlog(dir.path(), true);
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.out.find("Is a directory"), std::string::npos) << folder.out;
  EXPECT_EQ(folder.out.find("two checkpoints"), std::string::npos) << folder.out;

  // A full disk loses the log: that is a failure, not success.
  for (const char* option : {"", "--csv ", "--pdf - "}) {
    ToolRun full =
        RunShell(std::string(HALVIX_NAVLOG) + " " + option + sample + " 2>&1 >/dev/full");
    EXPECT_EQ(full.status, 1) << option;
    EXPECT_NE(full.out.find("No space left on device"), std::string::npos) << full.out;
  }

  // Outputs follow the same rules as plans: a device stays a device.
  ASSERT_EQ(symlink("/dev/null", dir.File("null.pdf").c_str()), 0);
  ToolRun device = Navlog("--pdf '" + dir.File("null.pdf") + "' " + sample, true);
  EXPECT_EQ(device.status, 1);
  EXPECT_NE(device.out.find("not a regular file"), std::string::npos) << device.out;
  WriteFile(dir.File("ro-1.png"), "old");
  ASSERT_EQ(chmod(dir.File("ro-1.png").c_str(), 0444), 0);
  ToolRun ro = Navlog("--png '" + dir.File("ro") + "' --dpi 50 " + sample, true);
  EXPECT_EQ(ro.status, 1);
  EXPECT_NE(ro.out.find("read-only"), std::string::npos) << ro.out;
  EXPECT_EQ(ReadFile(dir.File("ro-1.png")), "old");
}

TEST(NavlogTool, ReserveWarningsGoToStandardErrorAndLeaveTheLogAlone) {
  TempDir dir;
  // 10 gallons at 10 an hour: 5.0 left at Lake, 4.0 at Mill, -1.0 at Bay.
  WriteFile(dir.File("p.flt"),
            "[misc]\nacgph=10\nacfullfuel=10\ncount=4\n[dest0]\ntoname=Home\n"
            "[dest1]\ntoname=Lake\ndist=50\ntc=90\nwinddir=0\nwindvel=0\ntas=100\nvar=0\n"
            "[dest2]\ntoname=Mill\ndist=10\n[dest3]\ntoname=Bay\ndist=50\n");
  const std::string err = dir.File("err.txt");
  ToolRun plain = Navlog("--csv " + dir.File("p.flt"));
  ToolRun night = Navlog("--csv --reserve 45 " + dir.File("p.flt") + " 2>" + err);
  EXPECT_EQ(night.status, 0);
  EXPECT_EQ(night.out, plain.out);
  EXPECT_EQ(ReadFile(err),
            "halvix-navlog: warning: leg 1 (Lake): fuel remaining 5.0 gal is below the 45 min "
            "reserve of 7.5 gal\n"
            "halvix-navlog: warning: leg 2 (Mill): fuel remaining 4.0 gal is below the 45 min "
            "reserve of 7.5 gal\n"
            "halvix-navlog: warning: leg 3 (Bay): fuel exhausted 6 min before this checkpoint\n");

  ToolRun own = Navlog(dir.File("p.flt") + " 2>" + err);  // the plan's 30 minutes
  EXPECT_EQ(own.status, 0);
  EXPECT_EQ(ReadFile(err).find("leg 1"), std::string::npos);
  EXPECT_NE(ReadFile(err).find("leg 2 (Mill)"), std::string::npos);

  EXPECT_EQ(Navlog("--reserve -5 " + dir.File("p.flt")).status, 2);
  EXPECT_EQ(Navlog("--reserve 45min " + dir.File("p.flt")).status, 2);
}

}  // namespace

namespace {

TEST(NavlogTool, TakesARouteFileAndSavesThePlanItMade) {
  TempDir dir;
  const std::string route = std::string(HALVIX_ROUTES) + "/western_us.fpl";
  ToolRun csv = Navlog("--csv --date 2026-06-01 --save " + dir.File("out.flt") + " " + route);
  EXPECT_EQ(csv.status, 0);
  EXPECT_NE(csv.out.find("1,OLM,216,,,,,,,,-15,,,,42,86,"), std::string::npos) << csv.out;
  EXPECT_NE(csv.out.find("\nTotal,,,,,,,,,,,,,,128,"), std::string::npos) << csv.out;
  Plan saved;
  LoadPlan(saved, dir.File("out.flt"));
  ASSERT_EQ(saved.route.size(), 4u);
  EXPECT_EQ(saved.title, "Boeing Field to Portland");
  EXPECT_TRUE(saved.route[3].position.has_value());

  // A plan file can be saved under another name too.
  EXPECT_EQ(Navlog("--save " + dir.File("copy.flt") + " '" + HALVIX_SAMPLE_PLAN + "'").status, 0);
  EXPECT_EQ(ReadFile(dir.File("copy.flt")), ReadFile(HALVIX_SAMPLE_PLAN));
}

TEST(NavlogTool, BadRouteFilesAndDatesEndWithAMessage) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<gpx><rte>", "the file ends early (line 1)"},
      {"Lake 47.6 9.5\n", "neither a route file (GPX, flight plan) nor a plan file"},
      {"<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>", "1 waypoint; a route needs at least two"},
      {"<gpx><wpt lat=\"1\" lon=\"2\"/><wpt lat=\"-91\" lon=\"2\"/></gpx>",
       "waypoint 2 has a latitude -91 outside -90..90"},
      {"<kml/>", "neither a GPX file nor a flight plan"},
  };
  for (const auto& [bytes, message] : cases) {
    WriteFile(dir.File("r.gpx"), bytes);
    ToolRun run = Navlog("--save " + dir.File("r.flt") + " " + dir.File("r.gpx"), true);
    EXPECT_EQ(run.status, 1) << bytes;
    EXPECT_NE(run.out.find(dir.File("r.gpx") + ": " + message), std::string::npos) << run.out;
    EXPECT_FALSE(PathExists(dir.File("r.flt")));
  }
  // What stands in the way is named, not taken for a missing file.
  ASSERT_EQ(symlink("loop.flt", dir.File("loop.flt").c_str()), 0);
  ToolRun loop = Navlog(dir.File("loop.flt"), true);
  EXPECT_EQ(loop.status, 1);
  EXPECT_NE(loop.out.find("Too many levels of symbolic links"), std::string::npos) << loop.out;
  ToolRun null = Navlog("--save /dev/null '" + std::string(HALVIX_SAMPLE_PLAN) + "'", true);
  EXPECT_EQ(null.status, 1);
  EXPECT_NE(null.out.find("Cannot write /dev/null: not a regular file"), std::string::npos)
      << null.out;

  ToolRun late = Navlog("--date 2031-01-01 " + std::string(HALVIX_ROUTES) + "/europe.gpx", true);
  EXPECT_EQ(late.status, 0);
  EXPECT_NE(late.out.find("warning: The magnetic model WMM-2025 holds from"), std::string::npos);
  EXPECT_EQ(Navlog("--date 2026-02-30 x.gpx").status, 2);
  EXPECT_EQ(Navlog("--save").status, 2);
}

TEST(NavlogTool, WindsFromAForecastAreWhatSaveWrites) {
  TempDir dir;
  Plan plan = SeamPlan();
  ASSERT_EQ(SavePlan(plan, dir.File("in.flt")).status, SaveStatus::Saved);
  WriteFile(dir.File("gfs.grib2"), Forecast());
  const std::string in = " " + dir.File("in.flt");
  ToolRun run = Navlog("--csv --winds " + dir.File("gfs.grib2") + " --depart 0300 --save " +
                       dir.File("out.flt") + in);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("1,Greenwich,90,7382,270,44,5,100,"), std::string::npos) << run.out;
  Plan saved;
  LoadPlan(saved, dir.File("out.flt"));
  EXPECT_EQ(saved.route[1].SubItem(kCellWindVel), "44");

  WriteFile(dir.File("bad.txt"), "FT  3000\n");
  run = Navlog("--winds " + dir.File("bad.txt") + " --save " + dir.File("no.flt") + in, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find(dir.File("bad.txt") + ": line 1: a level line without a VALID line"),
            std::string::npos)
      << run.out;
  EXPECT_FALSE(PathExists(dir.File("no.flt")));

  // A bulletin's stations placed with the aviation data: the Woodside VORTAC
  // and the San Jose VOR-DME; a third is nowhere.
  plan.route = {Row("San Jose"), Row("San Carlos", "20", "300", "6000", "", "", "", "100", "0")};
  plan.route[0].position = GeoPosition{37.36, -121.93};
  plan.route[1].position = GeoPosition{37.51, -122.25};
  ASSERT_EQ(SavePlan(plan, dir.File("bay.flt")).status, SaveStatus::Saved);
  WriteFile(dir.File("fb.txt"),
            "VALID 081800Z   FOR USE 1400-2100Z. TEMPS NEG ABV 24000\n"
            "FT  3000    6000\nOSI 2710 2720+05\nSJC 2710 2720+05\nXYZ 2710 2720+05\n");
  run = RunShell("XDG_CACHE_HOME=" + dir.path() + " " + HALVIX_NAVLOG + " --csv --data " +
                 HALVIX_AVIATION_TEST_DATA + "/ourairports --winds " + dir.File("fb.txt") + " " +
                 dir.File("bay.flt") + " 2>&1");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("warning: station XYZ cannot be placed"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1,San Carlos,300,6000,270,20,5,100,"), std::string::npos) << run.out;
}

// The GRIB decoder is a module loaded on first use: the tool copied where
// there is none, then beside a broken one, refuses the forecast by name.
TEST(NavlogTool, AMissingOrBrokenGribModuleIsNamedNotFatal) {
  TempDir dir;
  const std::string tool = dir.File("bin/halvix-navlog");
  const std::string module = dir.File("bin/" HALVIX_LIB_FROM_PROGRAM "/halvix-grib.so");
  ASSERT_EQ(RunShell("mkdir -p " + dir.File("bin/" HALVIX_LIB_FROM_PROGRAM) + " && cp " +
                     HALVIX_NAVLOG + " " + tool)
                .status,
            0);
  Plan plan = SeamPlan();
  ASSERT_EQ(SavePlan(plan, dir.File("in.flt")).status, SaveStatus::Saved);
  WriteFile(dir.File("gfs.grib2"), Forecast());
  const std::string args = " --winds " + dir.File("gfs.grib2") + " " + dir.File("in.flt") + " 2>&1";
  for (bool broken : {false, true}) {
    if (broken) WriteFile(module, "not a module");
    const ToolRun run = RunShell("HALVIX_DATA_DIR=" HALVIX_WMM_DIR "/.. " + tool + args);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("cannot read GRIB2 files: " + module), std::string::npos) << run.out;
  }
}

}  // namespace

TEST(NavlogTool, BuildsARouteOfIdentsFromAviationDataWithVorCrossChecks) {
  TempDir dir;
  const std::string env = "XDG_CACHE_HOME=" + dir.path() + " ";
  const std::string data = std::string("--data ") + HALVIX_AVIATION_TEST_DATA + "/ourairports ";
  ToolRun run = RunShell(env + HALVIX_NAVLOG + " --date 2026-06-01 " + data +
                         "--route 'KSQL OSI 37.25,-121.95 KHAF' --nearest-vor --save " +
                         dir.File("out.flt") + " 2>&1");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("pattern altitude 1100 is a default"), std::string::npos) << run.out;
  Plan saved;
  LoadPlan(saved, dir.File("out.flt"));
  ASSERT_EQ(saved.route.size(), 4u);
  EXPECT_EQ(saved.route[2].SubItem(kCellVor), "114.1/ 165/ SJC/ From");
  EXPECT_TRUE(saved.route[2].position.has_value());
  ASSERT_EQ(saved.airfields.size(), 2u);
  EXPECT_EQ(saved.airfields[0].atc, "119.0");
  EXPECT_EQ(run.out.find("was typed"), std::string::npos) << run.out;

  // A distance typed over what the positions give is used, and said.
  const std::string measured = saved.route[2].SubItem(kCellDist);
  saved.route[2].subitems[kCellDist] = "99";
  ASSERT_EQ(SavePlan(saved, dir.File("typed.flt")).status, SaveStatus::Saved);
  ToolRun typed =
      RunShell(env + HALVIX_NAVLOG + " --date 2026-06-01 " + dir.File("typed.flt") + " 2>&1");
  EXPECT_NE(typed.out.find("warning: leg 2 (37.25,-121.95): The distance was typed; the "
                           "checkpoints' positions give " +
                           measured + " NM"),
            std::string::npos)
      << typed.out;

  ToolRun unknown = RunShell(env + HALVIX_NAVLOG + " " + data + "--route 'KSQL KXYZ' 2>&1");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.out.find("KXYZ: no airport, navaid or fix"), std::string::npos) << unknown.out;
}

namespace {

TEST(NavlogTool, FuelPlanAndLoadingAsCsvWithWarningsOnStandardError) {
  TempDir dir;
  const std::string path = dir.File("wb.flt");
  WriteFile(path,
            "[misc]\r\nacgph=9\r\nacfullfuel=30\r\nreserve=45\r\ncount=2\r\n"
            "[dest0]\r\ntoname=Home\r\n[dest1]\r\ntoname=Bay\r\ndist=60\r\ntc=90\r\n"
            "winddir=0\r\nwindvel=0\r\ntas=120\r\nvar=0\r\n"
            "[performance]\r\ntaxigal=1.0\r\nextragal=20\r\n"
            "[loading]\r\nempty=1495 101.4\r\nstation0=front seats 64 400 380\r\nfuelarm=96\r\n"
            "envelope=90:1500 90:2300 96:2300 96:1500\r\n");
  const ToolRun fuel = Navlog("--fuel-plan " + path, true);
  EXPECT_EQ(fuel.status, 0);
  // 30 min of cruise: 4.5 gal; 45 min of reserve: 6.75 gal.
  EXPECT_NE(fuel.out.find("trip,4.5,30\n"), std::string::npos) << fuel.out;
  EXPECT_NE(fuel.out.find("reserve,6.8,45\n"), std::string::npos);
  EXPECT_NE(fuel.out.find("required,32.2,215\n"), std::string::npos);
  EXPECT_NE(fuel.out.find("leftover,-2.2,-15\n"), std::string::npos);
  EXPECT_NE(fuel.out.find("warning: required fuel 32.2 gal is more than the 30 gal on board"),
            std::string::npos);

  // The handbook's example, with 29 gal after the 1 gal of taxi fuel.
  const ToolRun wb = Navlog("--loading " + path);
  EXPECT_EQ(wb.status, 0);
  EXPECT_EQ(wb.out,
            "item,lb,arm,moment\n"
            "empty,1495.0,101.40,151593\n"
            "front seats,380.0,64.00,24320\n"
            "fuel,174.0,96.00,16704\n"
            "takeoff,2049.0,94.01,192617,inside\n"
            "landing,2022.0,93.98,190025,inside\n");
  EXPECT_EQ(Navlog("--loading --pdf x.pdf " + path).status, 2);
  // A plan without loading is not "inside" anything.
  EXPECT_EQ(Navlog(std::string("--loading ") + HALVIX_SAMPLE_PLAN).status, 1);
}

}  // namespace

namespace {

// The log of a plan without performance figures is what it always was, on
// the terminal, in CSV and on paper.
TEST(NavlogTool, ThePlanWithoutPerformanceGivesTheSameLog) {
  const std::string files = HALVIX_PLAN_TEST_FILES;
  const std::string sample = HALVIX_SAMPLE_PLAN;
  EXPECT_EQ(Navlog(sample).out, ReadFile(files + "/sample-log.txt"));
  EXPECT_EQ(Navlog("--csv " + sample).out, ReadFile(files + "/sample-log.csv"));
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftotext";
  TempDir dir;
  ASSERT_EQ(Navlog("--pdf " + dir.File("log.pdf") + " " + sample).status, 0);
  EXPECT_EQ(RunShell("pdftotext -layout " + dir.File("log.pdf") + " -").out,
            ReadFile(files + "/sample-log-pdf.txt"));
}

}  // namespace

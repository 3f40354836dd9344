// halvix-navlog's command line, read without running the tool.
#include "app/navlog_args.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

const CivilDate kToday{2026, 12, 8};

NavlogRequest Parse(const std::vector<std::string>& args) {
  return ParseNavlogArguments(args, kToday);
}

std::string ErrorOf(const std::vector<std::string>& args) {
  const NavlogRequest request = Parse(args);
  return request.action == NavlogRequest::Error ? request.error : "(accepted)";
}

TEST(NavlogArguments, EveryOptionLandsInTheRequest) {
  const NavlogRequest text =
      Parse({"--csv", "--date", "2025-07-02", "--save", "out.flt", "--reserve", "45", "trip.flt"});
  ASSERT_EQ(text.action, NavlogRequest::Run);
  EXPECT_TRUE(text.csv);
  EXPECT_FALSE(text.Printed());
  EXPECT_EQ(text.plan_path, "trip.flt");
  EXPECT_EQ(text.save_path, "out.flt");
  EXPECT_EQ(text.reserve, 45);
  EXPECT_EQ(text.date.year * 10000 + text.date.month * 100 + text.date.day, 20250702);

  const NavlogRequest paper =
      Parse({"--pdf", "-", "--png", "page", "--dpi", "300", "--page", "a4", "-"});
  ASSERT_EQ(paper.action, NavlogRequest::Run);
  EXPECT_EQ(paper.plan_path, "-");  // standard input
  EXPECT_EQ(paper.pdf_path, "-");
  EXPECT_EQ(paper.png_prefix, "page");
  EXPECT_EQ(paper.print.dpi, 300);
  EXPECT_EQ(paper.print.paper, PaperSize::A4);
  EXPECT_EQ(paper.reserve, -1);  // the plan's own
  EXPECT_EQ(paper.date.day, kToday.day);

  const NavlogRequest blank = Parse({"--blank", "--png", "b"});
  ASSERT_EQ(blank.action, NavlogRequest::Run);
  EXPECT_TRUE(blank.print.blank);
  EXPECT_TRUE(blank.plan_path.empty());

  const NavlogRequest winds = Parse({"--winds", "fb.txt", "--depart", "1930", "a.flt"});
  EXPECT_EQ(winds.winds_path, "fb.txt");
  EXPECT_EQ(winds.depart, 19 * 60 + 30);
}

TEST(NavlogArguments, HelpAndVersionAnswerUnlessAMistakeComesFirst) {
  EXPECT_EQ(Parse({"trip.flt", "--help"}).action, NavlogRequest::Help);
  EXPECT_EQ(Parse({"-h"}).action, NavlogRequest::Help);
  EXPECT_EQ(Parse({"--version", "--bogus"}).action, NavlogRequest::Version);
  EXPECT_EQ(ErrorOf({"--bogus", "--help"}), "unknown option --bogus");
  // An option's value is taken as it stands, even when it looks like an option.
  EXPECT_EQ(Parse({"--save", "--help", "trip.flt"}).save_path, "--help");
}

TEST(NavlogArguments, MistakesAreNamed) {
  EXPECT_EQ(ErrorOf({}), "no plan file given");
  EXPECT_EQ(ErrorOf({"a.flt", "b.flt"}), "only one plan file, please");
  EXPECT_EQ(ErrorOf({"a.flt", "--pdf"}), "--pdf needs a value");
  EXPECT_EQ(ErrorOf({"--pdf", "", "a.flt"}), "--pdf needs a file name");
  EXPECT_EQ(ErrorOf({"--png", "-", "a.flt"}), "--png writes one file per page, not to -");
  EXPECT_EQ(ErrorOf({"--png", "", "a.flt"}), "--png needs a file name prefix");
  EXPECT_EQ(ErrorOf({"--save", "", "a.flt"}), "--save needs a file name");
  EXPECT_EQ(ErrorOf({"--dpi", "49", "a.flt"}), "--dpi takes a whole number from 50 to 600");
  EXPECT_EQ(ErrorOf({"--dpi", "150x", "a.flt"}), "--dpi takes a whole number from 50 to 600");
  EXPECT_EQ(ErrorOf({"--reserve", "601", "a.flt"}), "--reserve takes whole minutes from 0 to 600");
  EXPECT_EQ(ErrorOf({"--reserve", "-1", "a.flt"}), "--reserve takes whole minutes from 0 to 600");
  EXPECT_EQ(ErrorOf({"--page", "a5", "a.flt"}), "--page takes letter, a4 or legal");
  EXPECT_EQ(ErrorOf({"--date", "2025-02-30", "a.flt"}), "--date takes a day as YYYY-MM-DD");
  EXPECT_EQ(ErrorOf({"--blank", "a.flt"}), "--blank needs --pdf or --png");
  EXPECT_EQ(ErrorOf({"--winds", "w", "--depart", "2400", "a.flt"}),
            "--depart takes a time of day as HHMM, UTC");
  EXPECT_EQ(ErrorOf({"--depart", "1200", "a.flt"}), "--depart goes with --winds");
  EXPECT_EQ(ErrorOf({"--csv", "--pdf", "o.pdf", "a.flt"}),
            "--csv writes text; it does not go with --pdf or --png");
}

// The usage text and the manual page name the options the parser knows, and
// no others.
TEST(NavlogArguments, UsageAndManualPageListEveryOption) {
  const std::vector<std::string> names = NavlogOptionNames();
  const std::set<std::string> known(names.begin(), names.end());
  const std::string usage = NavlogUsage();
  std::ifstream file(HALVIX_MAN_DIR "/halvix-navlog.1.in");
  std::stringstream man;
  man << file.rdbuf();
  std::set<std::string> in_man;
  const std::string text = man.str();
  const std::regex option(R"(\\-\\-[a-z]+(\\-[a-z]+)*)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
       it != std::sregex_iterator(); ++it) {
    in_man.insert(std::regex_replace(it->str(), std::regex(R"(\\-)"), "-"));
  }
  EXPECT_EQ(in_man, known);
  for (const std::string& name : names) {
    EXPECT_NE(usage.find("\n  " + name), std::string::npos) << name;
    if (name != "--help" && name != "--version") {
      EXPECT_NE(Parse({name, "x", "a.flt"}).error, "unknown option " + name);
    }
  }
  EXPECT_EQ(Parse({"--", "-odd.flt"}).plan_path, "-odd.flt");
}

}  // namespace

namespace {

TEST(NavlogArguments, ChartOptions) {
  const NavlogRequest r = ParseNavlogArguments(
      {"--chart", "c.tif", "--chart-size", "800x600", "--chart-scale", "500000", "a.flt"},
      CivilDate{2025, 1, 1});
  ASSERT_EQ(r.action, NavlogRequest::Run) << r.error;
  EXPECT_EQ(r.chart_path, "c.tif");
  EXPECT_EQ(r.chart_width, 800);
  EXPECT_EQ(r.chart_height, 600);
  ASSERT_TRUE(r.chart_scale);
  EXPECT_EQ(*r.chart_scale, 500000.0);
  EXPECT_TRUE(r.Charted());
  EXPECT_FALSE(r.Printed());

  const std::string size_error =
      "--chart-size takes WIDTHxHEIGHT in pixels, each 1 to 10000 and at most 40 million pixels "
      "in all";
  for (const char* bad : {"0x600", "100000x100000", "800", "800x", "x600", "-5x5", "9000x9000"})
    EXPECT_EQ(ErrorOf({"--chart", "c.tif", "--chart-size", bad, "a.flt"}), size_error) << bad;
  EXPECT_EQ(ErrorOf({"--chart", "c.tif", "--chart-scale", "0", "a.flt"}),
            "--chart-scale takes N of the scale 1:N, a whole number from 1000 to 50000000");
  EXPECT_EQ(ErrorOf({"--chart-size", "800x600", "a.flt"}), "--chart-size goes with --chart");
  EXPECT_EQ(ErrorOf({"--chart-scale", "500000", "a.flt"}),
            "--chart-scale goes with --chart or --chart-pdf");
  EXPECT_EQ(ErrorOf({"--chart", "", "a.flt"}), "--chart needs a file name");
}

}  // namespace

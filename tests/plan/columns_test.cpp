// The one table of log columns: what each writer takes from it.
#include "plan/columns.h"

#include <gtest/gtest.h>

#include <cstring>

#include "plan/legs.h"
#include "plan/report.h"
#include "test_util.h"

namespace {

TEST(LogColumns, VorBearingsShowTheNumberTheTextHolds) {
  EXPECT_EQ(VorBearingText("R270"), "270");
  EXPECT_EQ(VorBearingText("R-270"), "270");
  EXPECT_EQ(VorBearingText("QDM 270"), "270");
  EXPECT_EQ(VorBearingText("45"), "045");
  // Without a number nothing may read as a radial.
  EXPECT_EQ(VorBearingText("-"), "-");
  EXPECT_EQ(VorBearingText(""), "");

  LegResult leg;
  ClearLeg(leg);
  std::strcpy(leg.vorbrng, "R270");
  EXPECT_EQ(LogCellText(leg, LogColumn::VorBrng, LogForm::Shown), "270");
  EXPECT_EQ(LogCellText(leg, LogColumn::VorBrng, LogForm::Csv), "R270") << "scripts get the text";
}

// 10 gph, 1-minute legs: each burns 0.1667 gallons, 0.5 in all.
TEST(LogColumns, ShownLegFuelAddsUpToTheExactTotal) {
  Plan plan;
  plan.aircraft.acgph = 10.0;
  plan.route = {Row("Home"), Row("A", "2", "90", "", "0", "0", "", "100", "0"), Row("B", "2"),
                Row("C", "2")};
  const NavLog log = ComputeLog(plan);
  std::string legs;
  for (int32_t k = 0; k < 3; ++k)
    legs += LogCellText(ShownLeg(log, k), LogColumn::FuelUsed, LogForm::Shown) + " ";
  EXPECT_EQ(legs, "0.2 0.1 0.2 ");  // each a step of 0.2, 0.3, 0.5
  EXPECT_EQ(ShownTotalText(log, LogColumn::FuelUsed), "0.5");
  EXPECT_EQ(ShownTotalText(log, LogColumn::Dist), "6");
  EXPECT_EQ(ShownTotalText(log, LogColumn::Tc), "") << "no sum";
  // The terminal's table reads as the window and the paper do.
  EXPECT_NE(FormatLogTable(plan, log).find("  0.1  "), std::string::npos)
      << FormatLogTable(plan, log);
  // Scripts keep every leg's own figure.
  const std::string csv = FormatLogCsv(log);
  EXPECT_NE(csv.find("\n2,B,,,,,,,,,,,,,2,2,,1,0.17,"), std::string::npos) << csv;
}

}  // namespace

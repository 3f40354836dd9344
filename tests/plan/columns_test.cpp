// The one table of log columns: what each writer takes from it.
#include "plan/columns.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <tuple>

#include "plan/legs.h"
#include "plan/report.h"
#include "test_util.h"

namespace {

// What the window, the check and the printer rely on when they iterate.
TEST(LogColumns, EachColumnHasOneEntryKeyAndPlace) {
  std::set<std::string> keys;
  std::set<std::tuple<PaperPlace, int, PaperLine>> cells;
  std::size_t index = 0;
  for (const LogColumnInfo& c : LogColumns()) {
    EXPECT_EQ(static_cast<std::size_t>(c.column), index++) << c.key;
    EXPECT_TRUE(keys.insert(c.key).second) << c.key;
    if (c.paper.place != PaperPlace::None) {
      EXPECT_TRUE(cells.insert({c.paper.place, c.paper.cell, c.paper.line}).second) << c.key;
    }
    // The Total row has room for sums in the en-route half only.
    if (c.summed) {
      EXPECT_EQ(c.paper.place, PaperPlace::Right) << c.key;
    }
    if (c.check != MissingItem::None) {
      EXPECT_EQ(ColumnChecking(c.check), &c) << c.key;
      EXPECT_GE(RowNumberIndex(c.input), 0) << c.key << ": the prompt puts the caret in it";
      EXPECT_EQ(c.value.kind, LogKind::Whole) << c.key;
    }
  }
  for (MissingItem item :
       {MissingItem::TrueCourse, MissingItem::WindDirection, MissingItem::WindSpeed,
        MissingItem::MagneticVariation, MissingItem::TrueAirspeed})
    EXPECT_NE(ColumnChecking(item), nullptr) << MissingItemName(item);
}

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

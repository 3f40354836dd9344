#include "plan/read_report.h"

#include <gtest/gtest.h>

TEST(ReadReport, SaysWhereEachFindingIsAndStaysOkWithWarningsOnly) {
  ReadReport report("apt.dat");
  report.Warning("runway 31/xxx skipped", 12);
  EXPECT_TRUE(report.ok());
  report.Error("not an airport file");
  EXPECT_FALSE(report.ok());
  EXPECT_EQ(report.FirstError(), "apt.dat: not an airport file");
  ASSERT_EQ(report.WarningTexts().size(), 1u);
  EXPECT_EQ(report.WarningTexts()[0], "apt.dat:12: runway 31/xxx skipped");

  ReadReport whole;
  whole.Append(report);
  EXPECT_EQ(whole.errors(), 1u);
  EXPECT_EQ(whole.warnings(), 1u);
  const Finding bare{Finding::Severity::Error, "", 0, "empty"};
  EXPECT_EQ(bare.Describe(), "empty");
}

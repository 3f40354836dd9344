// The header row, bands, airfield block and notes areas.
#include "print/blocks.h"

#include <gtest/gtest.h>

#include "print_test_util.h"

namespace {

class BlocksTest : public ::testing::Test {
 protected:
  BlocksTest() : canvas_(ExampleCanvas()) {
    Plan plan;
    QuarterInchMargins(plan);
    ctx_ = OpenJob(canvas_, plan.print);
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const CanvasOp& op : canvas_.Of(CanvasOp::Text)) out.push_back(op.text);
    return out;
  }

  RecordingCanvas canvas_;
  PrintContext ctx_;
};

TEST_F(BlocksTest, HeaderRowLabelsValuesAndHatchedBand) {
  AircraftInfo aircraft;
  aircraft.pilotname = "Jordan Avery";
  aircraft.acnumber = "N4821K";
  aircraft.acfullfuel = 40.0;
  aircraft.acgph = 8.5;
  DrawHeaderRow(ctx_, aircraft, 440);

  EXPECT_EQ(Texts(), (std::vector<std::string>{"Pilot:", "Aircraft:", "Fuel:", "Time Away:",
                                               "Jordan Avery", "N4821K", "40.0 Gal, 8.5 GPH"}));
  // The aircraft cell starts 6 columns from the page's edge, not the form's.
  const int b = static_cast<int>(0.92 * 551);
  EXPECT_EQ(canvas_.TextsOf("Aircraft:")[0].x0, 6 * 319 + 18);
  EXPECT_EQ(canvas_.TextsOf("N4821K")[0].x0, 6 * 319 + b + 18);
  EXPECT_TRUE(canvas_.HasLine(6 * 319, 440, 6 * 319, 440 + 140));

  auto fills = canvas_.Of(CanvasOp::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].brushstyle, BrushStyle::DiagonalCross);
  EXPECT_EQ(fills[0].y0, 440 + 140);
  EXPECT_EQ(fills[0].y1, 440 + 140 + 70);
  EXPECT_EQ(canvas_.Of(CanvasOp::Text)[0].brushstyle, BrushStyle::Solid);

  canvas_.Clear();
  ctx_.blankform = true;
  DrawHeaderRow(ctx_, aircraft, 440);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Pilot:", "Aircraft:", "Fuel:", "Time Away:"}));
}

TEST_F(BlocksTest, LongHeaderValuesAreCutToTheirCell) {
  AircraftInfo aircraft;
  aircraft.pilotname = std::string(200, 'P');
  DrawHeaderRow(ctx_, aircraft, 440);
  const CanvasOp pilot = canvas_.Of(CanvasOp::Text)[4];
  EXPECT_LT(pilot.x1, 6 * 319);
  EXPECT_GT(pilot.text.size(), 10u);
}

TEST_F(BlocksTest, BandIsHatchedWithoutABottomLine) {
  DrawBand(ctx_, 4449);
  auto fills = canvas_.Of(CanvasOp::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].brushstyle, BrushStyle::DiagonalCross);
  EXPECT_EQ(fills[0].brush, kBlack);
  EXPECT_TRUE(canvas_.HasLine(149, 4449, 6123, 4449));
  EXPECT_FALSE(canvas_.HasLine(149, 4449 + 70, 6123, 4449 + 70));
}

TEST_F(BlocksTest, ElevationAlignsRightOnlyWhenNumeric) {
  const int e = static_cast<int>(0.95 * 253);
  const int elev = ctx_.cpleft + static_cast<int>(0.8 * 826);
  canvas_.SetFontSize(8);
  DrawFieldRow(ctx_, 2000, {"Hollis", "1250", "none", "", "", "", "", "", ""});
  EXPECT_EQ(canvas_.TextsOf("1250")[0].x1, elev + e - 9);
  EXPECT_EQ(canvas_.TextsOf("none")[0].x0, elev + e + 18);

  canvas_.Clear();
  DrawFieldRow(ctx_, 2000, {"Hollis", "0", "", "", "", "", "", "", ""});
  EXPECT_EQ(canvas_.TextsOf("0")[0].x0, elev + 18);

  // Row lines: top edge and ten verticals.
  EXPECT_TRUE(canvas_.HasLine(ctx_.cpleft, 2000, ctx_.tableright, 2000));
  EXPECT_TRUE(canvas_.HasLine(elev, 2000, elev, 2146));
  EXPECT_TRUE(canvas_.HasLine(ctx_.tableright, 2000, ctx_.tableright, 2146));
  EXPECT_EQ(canvas_.Of(CanvasOp::Line).size(), 11u);
}

TEST_F(BlocksTest, RunwaysBreakOntoTwoLines) {
  canvas_.SetFontSize(8);  // 32 pixels a character; the column is 506 wide
  DrawFieldRow(ctx_, 2000, {"", "", "", "14/32, 5/23, 9/27, 18L/36R, 1/19", "", "", "", "", ""});
  auto upper = canvas_.TextsOf("14/32, 5/23, 9/27, 18L/36R,");
  ASSERT_TRUE(upper.empty());
  EXPECT_EQ(canvas_.TextsOf("14/32, 5/23, 9/27").size(), 1u);
  EXPECT_EQ(canvas_.TextsOf("18L/36R, 1/19").size(), 1u);
  EXPECT_EQ(canvas_.TextsOf("18L/36R, 1/19")[0].y1, 2000 + 146 - 9);
  EXPECT_EQ(canvas_.TextsOf("14/32, 5/23, 9/27")[0].y1, 2000 + 146 - 9 - 64);
}

TEST_F(BlocksTest, FrequenciesAreNeverCut) {
  // Runways give a third of their width to the frequency columns: each is
  // 240 + 50 pixels wide, 8 characters at 8 points.
  const int atc = ctx_.cpleft + static_cast<int>(0.8 * 826) + 2 * 240 + 2 * 253;
  canvas_.SetFontSize(8);
  DrawFieldRow(ctx_, 2000,
               {"", "", "", "", "NorCal Approach 127.15", "CTAF 122,95",
                "ATIS 121.905 / AWOS-3 118.375", "", "Unicom 122.8"});
  EXPECT_TRUE(canvas_.HasLine(atc, 2000, atc, 2146));
  EXPECT_TRUE(canvas_.HasLine(atc + 290, 2000, atc + 290, 2146));
  // Words go first where the whole text does not fit; a decimal comma is no
  // place to break.
  EXPECT_EQ(Texts(), (std::vector<std::string>{"127.15", "CTAF", "122,95", "121.905", "118.375",
                                               "Unicom", "122.8"}));
  for (const CanvasOp& op : canvas_.Of(CanvasOp::Text)) EXPECT_EQ(op.fontsize, 8) << op.text;
  EXPECT_EQ(canvas_.TextsOf("127.15")[0].x0, atc + 18);
  EXPECT_EQ(canvas_.TextsOf("118.375")[0].y1, 2146 - 9);
}

TEST_F(BlocksTest, NoAirfieldsLeaveHeaderClosingLineAndNotes) {
  const int top = 4520;
  DrawAirfieldBlock(ctx_, {}, top, true, 4649);
  const int rowh = 146;
  EXPECT_TRUE(canvas_.HasLine(149, top, 3020, top));
  EXPECT_TRUE(canvas_.HasLine(3020, top + rowh, 6123, top + rowh)) << "closing line";
  EXPECT_EQ(canvas_.TextsOf("Field Name")[0].fontsize, 10);
  // Page bottom 4649: the left notes start one row down and fit no line at
  // 4666; the right ones neither. Both areas stay empty, label included.
  EXPECT_TRUE(canvas_.TextsOf("Notes:").empty());

  canvas_.Clear();
  DrawAirfieldBlock(ctx_, {}, 2000, true, 4649);
  auto labels = canvas_.TextsOf("Notes:");
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0].x0, 149 + 18);
  EXPECT_EQ(labels[0].y1, 2000 + rowh - 9);
  EXPECT_EQ(labels[1].x0, 3020 + 18);
  EXPECT_EQ(labels[1].y1, 2000 + 2 * rowh - 9);
}

TEST_F(BlocksTest, NotesAreDottedLinesDownToTheBottom) {
  DrawNotesArea(ctx_, 149, 1000, 3020, 1000 + 3 * 146 + 1);
  auto lines = canvas_.Of(CanvasOp::Line);
  ASSERT_EQ(lines.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i].penstyle, PenStyle::Dotted);
    EXPECT_EQ(lines[i].y0, 1000 + i * 146);
    EXPECT_EQ(lines[i].x0, 149 + 18);
    EXPECT_EQ(lines[i].x1, 3020 - 18);
  }
  EXPECT_EQ(canvas_.TextsOf("Notes:").size(), 1u);
  EXPECT_EQ(canvas_.TextsOf("Notes:")[0].y0, 1000 - 9 - 96);

  canvas_.Clear();
  DrawNotesArea(ctx_, 149, 1000, 3020, 1146);
  EXPECT_TRUE(canvas_.ops().empty()) << "not one line fits";
  canvas_.MoveTo(0, 0);
  canvas_.LineTo(1, 1);
  EXPECT_EQ(canvas_.Of(CanvasOp::Line)[0].penstyle, PenStyle::Solid);
}

}  // namespace

// The table's rows and the Morse identifiers, on the recording canvas.
#include "print/table.h"

#include <gtest/gtest.h>

#include <cstring>

#include "print/navlog.h"
#include "print_test_util.h"

namespace {

class TableTest : public ::testing::Test {
 protected:
  TableTest() : canvas_(ExampleCanvas()) {
    Plan plan;
    QuarterInchMargins(plan);
    ctx_ = OpenJob(canvas_, plan.print);
    ClearLeg(leg_);
  }

  int Left(int k) const { return ctx_.tableleft + k * ctx_.colwidth; }
  int Right(int k) const { return ctx_.rightleft + k * ctx_.rcolwidth; }

  // The one text `text` drawn; fails the test when it is not exactly one.
  CanvasOp Only(const std::string& text) {
    auto found = canvas_.TextsOf(text);
    EXPECT_EQ(found.size(), 1u) << text;
    return found.empty() ? CanvasOp{} : found[0];
  }

  RecordingCanvas canvas_;
  PrintContext ctx_;
  LegResult leg_;
};

TEST_F(TableTest, LegValuesGoRightAlignedIntoTheirCells) {
  leg_.tc = 5;
  leg_.winddir = 5;
  leg_.windvel = 12;
  leg_.th = 101;
  leg_.var = -7;
  leg_.dist = 50;
  leg_.distrem = 70;
  leg_.fuelused = 4.5;
  leg_.fuelrem = 33.45;
  std::strcpy(leg_.toname, "Cedar Lake");
  std::strcpy(leg_.vorfreq, "112.3");
  std::strcpy(leg_.vorbrng, "68");
  std::strcpy(leg_.vortofr, "To");
  const int a = 931;
  DrawLegRow(ctx_, leg_, a, false);

  const int upper = a + 140 - 9;
  const int lower = a + 281 - 9;
  // "005" at 12 points: 3 x 48 pixels wide, its right edge one pad inside the cell.
  CanvasOp tc = Only("005");
  EXPECT_EQ(tc.x1, Left(1) - 9);
  EXPECT_EQ(tc.y1, lower);
  EXPECT_EQ(tc.fontsize, 12);
  EXPECT_EQ(Only("5").x1, Left(3) - 9);
  EXPECT_EQ(Only("101").y1, upper);
  EXPECT_EQ(Only("-7").x1, Left(8) - 9);
  EXPECT_EQ(Only("50").x1, Right(2) - 9);
  EXPECT_EQ(Only("4.5").y1, upper);

  // Remaining distance and fuel: 8 points, in parentheses, lower half.
  CanvasOp rem = Only("(70)");
  EXPECT_EQ(rem.fontsize, 8);
  EXPECT_EQ(rem.y1, lower);
  EXPECT_EQ(Only("(33.5)").fontsize, 8);
  EXPECT_EQ(Only("068").x1, Right(8) - 9);
  EXPECT_EQ(Only("To").y1, lower);
  EXPECT_EQ(Only("112.3").y1, upper);

  // The name sits across the row's bottom line, centred, on a white box.
  CanvasOp name = Only("Cedar Lake");
  EXPECT_EQ(name.y1, a + 281 + 48);
  EXPECT_EQ(name.x0, ctx_.cpleft + (ctx_.cpwidth - 480) / 2);
  EXPECT_EQ(name.brush, kWhite);

  // Nothing for what was not entered: thirteen texts in all.
  EXPECT_EQ(canvas_.Of(CanvasOp::Text).size(), 13u);
}

TEST_F(TableTest, LegRowGridAndArrowheads) {
  const int a = 1000;
  DrawLegRow(ctx_, leg_, a, true);
  for (int k = 0; k <= 9; ++k) {
    EXPECT_TRUE(canvas_.HasLine(Left(k), a, Left(k), a + 281)) << k;
    EXPECT_TRUE(canvas_.HasLine(Right(k), a, Right(k), a + 281)) << k;
  }
  EXPECT_TRUE(canvas_.HasLine(Left(7), a + 140, ctx_.rightleft, a + 140));
  EXPECT_TRUE(canvas_.HasLine(Right(1), a + 140, ctx_.tableright, a + 140));
  auto arrows = canvas_.Of(CanvasOp::Polygon);
  ASSERT_EQ(arrows.size(), 2u);
  const int tip = 551 / 8;
  EXPECT_EQ(arrows[0].points.size(), 4u);
  EXPECT_EQ(arrows[0].points[1].x, ctx_.cpleft + tip);
  EXPECT_EQ(arrows[0].points[1].y, a + 140);
  EXPECT_EQ(arrows[0].brush, kBlack);
  EXPECT_EQ(arrows[1].points[1].x, ctx_.rightleft - tip);
  EXPECT_EQ(arrows[1].points[3].x, ctx_.rightleft);

  // An empty leg prints no values but still its name cell.
  for (const CanvasOp& op : canvas_.Of(CanvasOp::Text)) EXPECT_EQ(op.text, "");
}

TEST_F(TableTest, LongCheckpointNamesStayInTheirColumn) {
  std::strcpy(leg_.toname, "A Very Long Checkpoint Name Over The Hills");
  DrawLegRow(ctx_, leg_, 931, false);
  auto texts = canvas_.Of(CanvasOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_GE(texts[0].x0, ctx_.cpleft);
  EXPECT_LE(texts[0].x1, ctx_.rightleft);
  EXPECT_EQ(texts[0].fontsize, 8);
  EXPECT_EQ(texts[0].text.rfind("A Very Long", 0), 0u);
  EXPECT_EQ(texts[0].text.substr(texts[0].text.size() - 3), kCutMark);
}

TEST_F(TableTest, TotalRowCarriesTotalsOnlyWhenGiven) {
  LegResult totals{};
  totals.dist = 120;
  totals.ete = 69;
  totals.fuelused = 10.36;
  DrawTotalRow(ctx_, {&totals, false}, 4309, true, "footer");
  const int t = 4309 + 140 - 9;
  EXPECT_EQ(Only("120").x1, Right(2) - 9);
  EXPECT_EQ(Only("69").y1, t);
  EXPECT_EQ(Only("10.4").x1, Right(6) - 9);
  EXPECT_EQ(Only("Total").fontsize, 10);
  EXPECT_EQ(Only("footer").fontsize, 8);
  EXPECT_EQ(Only("footer").brush, kShadeGrey);
  EXPECT_TRUE(canvas_.HasLine(ctx_.tableleft, 4309 + 140, ctx_.tableright, 4309 + 140));
  // The left half is one cell, right columns 6 to 8 another.
  EXPECT_FALSE(canvas_.HasLine(Left(1), 4309, Left(1), 4449));
  EXPECT_FALSE(canvas_.HasLine(Right(7), 4309, Right(7), 4449));

  canvas_.Clear();
  DrawTotalRow(ctx_, {}, 4309, false, "footer");
  EXPECT_EQ(canvas_.Of(CanvasOp::Text).size(), 2u) << "Total and the footer only";
}

TEST_F(TableTest, TotalsThatLeaveOutUnsolvedLegsAreMarked) {
  LegResult totals{};
  totals.dist = 120;
  totals.ete = 41;
  totals.fuelused = 6.2;
  DrawTotalRow(ctx_, {&totals, true}, 4309, false, "footer");
  EXPECT_EQ(Only("120").x1, Right(2) - 9) << "the distance is complete";
  EXPECT_EQ(Only("41+").x1, Right(4) - 9);
  EXPECT_EQ(Only("6.2+").x1, Right(6) - 9);
  // The note, on two lines in the empty cell of columns 6 to 8.
  std::string note;
  for (const CanvasOp& op : canvas_.Of(CanvasOp::Text)) {
    if (op.x0 >= Right(6) && op.y0 >= 4309) {
      EXPECT_LE(op.x1, ctx_.tableright);
      note += (note.empty() ? "" : " ") + op.text;
    }
  }
  EXPECT_EQ(note, kIncompleteNote);
}

// A plan whose second leg has no true airspeed prints marked totals through
// the whole page loop.
TEST(TotalRow, AnUnsolvedLegMarksThePrintedTotals) {
  Plan plan = MakePlan(3, 0);
  plan.route[2].subitems[kCellTas] = "0";
  const NavLog log = ComputeLog(plan);
  ASSERT_EQ(log.legs[1].ete, NOT_ENTERED);
  RecordingCanvas canvas = ExampleCanvas();
  PrintContext ctx;
  PrintFilledLogOn(canvas, plan, log, ctx);
  EXPECT_EQ(canvas.TextsOf(std::to_string(log.totals.ete) + kIncompleteMark).size(), 1u);
  EXPECT_EQ(canvas.TextsOf(ShownTotalText(log, LogColumn::FuelUsed) + kIncompleteMark).size(), 1u);

  RecordingCanvas complete = ExampleCanvas();
  PrintFilledLogOn(complete, MakePlan(3, 0), ComputeLog(MakePlan(3, 0)), ctx);
  EXPECT_EQ(complete.TextsOf(std::to_string(ComputeLog(MakePlan(3, 0)).totals.ete)).size(), 1u);
}

TEST_F(TableTest, RemainingFuelBelowTheReserveIsFramedAndBelowZeroHatched) {
  const int a = 931;
  const int cell = a + 140;  // the lower half of the fuel column
  leg_.fuelused = 2.0;
  const struct {
    double rem;
    FuelState state;
    const char* text;
    bool framed, hatched;
  } cases[] = {{20.0, FuelState::Enough, "(20.0)", false, false},
               {3.0, FuelState::BelowReserve, "(3.0)", true, false},
               {-1000.0, FuelState::Exhausted, "(-1000.0)", true, true},
               {-1234.5, FuelState::Exhausted, "(-1234.5)", true, true}};
  for (const auto& c : cases) {
    canvas_.Clear();
    leg_.fuelrem = c.rem;
    LegMarks marks;
    marks.fuel = c.state;
    DrawLegRow(ctx_, leg_, a, false, marks);
    EXPECT_EQ(Only(c.text).brush, kWhite) << c.text;
    EXPECT_EQ(canvas_.HasLine(Right(5) + 1, cell + 1, Right(6) - 1, cell + 1), c.framed) << c.text;
    EXPECT_EQ(canvas_.HasLine(Right(5) + 4, a + 281 - 4, Right(5) + 4, cell + 4), c.framed);
    bool hatched = false;
    for (const CanvasOp& fill : canvas_.Of(CanvasOp::FillRect)) {
      hatched |= fill.brushstyle == BrushStyle::DiagonalCross && fill.x0 == Right(5) &&
                 fill.y0 == cell && fill.x1 == Right(6) && fill.y1 == a + 281;
    }
    EXPECT_EQ(hatched, c.hatched) << c.text;
  }
}

TEST(FuelMarks, ThePrintedLogMarksLegsBelowTheReserve) {
  Plan plan = MakePlan(6, 0);
  plan.aircraft.acfullfuel = 9.0;  // 30 minutes at 9 gph: a 4.5 gallon reserve
  const NavLog log = ComputeLog(plan);
  RecordingCanvas canvas = ExampleCanvas();
  PrintContext ctx;
  PrintFilledLogOn(canvas, plan, log, ctx);
  int marked = 0;
  int expected = 0;
  for (int k = 0; k < log.LegCount(); ++k) {
    expected += log.legs[k].fuel != FuelState::Enough;
    const int cell = 931 + k * 281 + 140;
    marked += canvas.HasLine(ctx.rightleft + 5 * ctx.rcolwidth + 1, cell + 1,
                             ctx.rightleft + 6 * ctx.rcolwidth - 1, cell + 1);
  }
  EXPECT_GT(expected, 0);
  EXPECT_EQ(marked, expected);
}

TEST_F(TableTest, VorTextsStayInTheirCellsAndFrequenciesStayWhole) {
  leg_.fuelused = 1.1;
  leg_.fuelrem = 20.0;
  std::strcpy(leg_.vorfreq, "124.350 VORTAC");
  std::strcpy(leg_.vortofr, "From the north");
  DrawLegRow(ctx_, leg_, 931, false);
  for (const CanvasOp& op : canvas_.Of(CanvasOp::Text)) {
    if (op.text == "1.1" || op.text == "(20.0)") {
      EXPECT_LE(op.x1, Right(6) - 9);
      continue;
    }
    if (op.text.empty()) continue;
    // Everything else of the row is in right columns 6 and 7, inside them.
    EXPECT_GE(op.x0, Right(6)) << op.text;
    EXPECT_LE(op.x1, Right(8)) << op.text;
    if (op.x0 < Right(7)) {
      EXPECT_LE(op.x1, Right(7)) << op.text;
    } else {
      EXPECT_GE(op.x0, Right(7)) << op.text;
    }
  }
  // Cut where even 6 points is too wide, with the mark.
  auto cut = canvas_.Of(CanvasOp::Text);
  bool marked = false;
  for (const CanvasOp& op : cut) marked |= op.text.rfind("124.35", 0) == 0 && op.fontsize == 6;
  EXPECT_TRUE(marked);

  canvas_.Clear();
  std::strcpy(leg_.vorfreq, "118.555");
  DrawLegRow(ctx_, leg_, 931, false);
  EXPECT_EQ(Only("118.555").x1, Right(7) - 9);
}

TEST_F(TableTest, VorBearingsPrintTheNumberTheTextHoldsAndNeverAMadeUpRadial) {
  for (const char* typed : {"R-270", "QDM 270", "-"}) {
    std::strcpy(leg_.vorbrng, typed);
    DrawLegRow(ctx_, leg_, 931, false);
  }
  EXPECT_EQ(canvas_.TextsOf("270").size(), 2u);
  EXPECT_EQ(Only("-").x1, Right(8) - 9);
  EXPECT_TRUE(canvas_.TextsOf("000").empty());
}

// 10 gph and 1-minute legs: 0.1667 gallons each, 0.5 in all.
TEST(TotalRow, ThePrintedLegFuelAddsUpToTheTotal) {
  Plan plan = MakePlan(3, 0);
  plan.aircraft.acgph = 10.0;
  for (int i = 1; i <= 3; ++i) plan.route[static_cast<std::size_t>(i)].subitems[kCellDist] = "3";
  ASSERT_EQ(FormatReal(ComputeLog(plan).totals.fuelused, false), "0.5");
  RecordingCanvas canvas = ExampleCanvas();
  PrintContext ctx;
  PrintFilledLogOn(canvas, plan, ComputeLog(plan), ctx);
  EXPECT_EQ(canvas.TextsOf("0.2").size(), 2u);
  EXPECT_EQ(canvas.TextsOf("0.1").size(), 1u);
  EXPECT_EQ(canvas.TextsOf("0.5").size(), 1u);
}

TEST_F(TableTest, IdentLettersAlwaysBesideBarsThatStayInTheCell) {
  // Long codes (Q, O, Y, digits) once pushed the letters out of the cell;
  // seven digits leave no room for bars at all, rather than for part of them.
  for (const char* ident : {"SJC", "YOW", "QQQ", "0J0", "OYQ", "0000000"}) {
    canvas_.Clear();
    std::strcpy(leg_.vorident, ident);
    DrawLegRow(ctx_, leg_, 931, false);
    const CanvasOp letters = Only(ident);
    EXPECT_EQ(letters.fontsize, kIdentSize) << ident;
    EXPECT_EQ(letters.x0, Right(6) + 9) << ident;
    EXPECT_EQ(letters.y1, 931 + 281 - 9) << ident;
    int bars = 0;
    for (const CanvasOp& bar : canvas_.Of(CanvasOp::Line)) {
      if (bar.y0 != bar.y1 || bar.y0 <= 931 + 140 || bar.y0 >= 931 + 281) continue;
      if (bar.x0 <= Right(6) || bar.x1 >= Right(8)) continue;
      ++bars;
      EXPECT_GT(bar.x0, letters.x1) << ident << ": bars right of the letters";
      EXPECT_LE(bar.x1, Right(7)) << ident;
    }
    if (std::strlen(ident) <= 3) {
      EXPECT_GT(bars, 0) << ident;
    }
  }
}

TEST_F(TableTest, HeaderShowsTheDepartureUnlessBlank) {
  DrawTableHeader(ctx_, 650, "Millbrook");
  EXPECT_EQ(Only("Millbrook").y1, 650 + 281 + 48);
  EXPECT_EQ(Only("Planned").x0, Left(0) + (2 * 319 - 7 * 48) / 2);
  EXPECT_EQ(Only("Notes").y1, 650 + 140 + 32);
  EXPECT_TRUE(canvas_.HasLine(ctx_.tableleft, 650 + 282, ctx_.cpleft, 650 + 282));

  canvas_.Clear();
  ctx_.blankform = true;
  DrawTableHeader(ctx_, 650, "Millbrook");
  EXPECT_TRUE(canvas_.TextsOf("Millbrook").empty());
}

TEST(Morse, CodesForLettersDigitsAndPunctuation) {
  EXPECT_EQ(MorseCode('a'), ".-");
  EXPECT_EQ(MorseCode('A'), ".-");
  EXPECT_EQ(MorseCode('B'), "-...");
  EXPECT_EQ(MorseCode('z'), "--..");
  EXPECT_EQ(MorseCode('0'), "-----");
  EXPECT_EQ(MorseCode('7'), "--...");
  EXPECT_EQ(MorseCode('.'), ".-.-.-");
  EXPECT_EQ(MorseCode(','), "--..--");
  EXPECT_EQ(MorseCode('?'), "..--..");
  EXPECT_EQ(MorseCode('-'), "");
  EXPECT_EQ(MorseCode(' '), "");
  EXPECT_EQ(MorseCode('\xC3'), "");
}

// Bars as (line top, x start, x end), one entry per bar.
struct Bar {
  int top, x0, x1;
  bool operator==(const Bar& o) const { return top == o.top && x0 == o.x0 && x1 == o.x1; }
};

std::vector<Bar> Bars(const RecordingCanvas& canvas, int thickness) {
  std::vector<Bar> bars;
  auto lines = canvas.Of(CanvasOp::Line);
  for (std::size_t i = 0; i < lines.size(); i += thickness) {
    for (int r = 0; r < thickness; ++r) {
      EXPECT_EQ(lines[i + r].y0, lines[i].y0 + r);
      EXPECT_EQ(lines[i + r].x0, lines[i].x0);
    }
    bars.push_back({lines[i].y0, lines[i].x0, lines[i].x1});
  }
  return bars;
}

TEST_F(TableTest, MorseBarsOfTheWorkedExampleStackTopToBottom) {
  ctx_.cellwidth = ctx_.rcolwidth;
  const int x = Right(6);
  const int bottom = 1000;
  DrawMorse(ctx_, x, bottom, "ABC");

  // 11-pixel bars, dots 11, dashes 38, gaps 22, lines 27 apart. The widest
  // code (C: 2 x (38 + 22) + 2 x (11 + 22) = 186) ends at the column's edge.
  const int x0 = x + 253 - 186;
  const int line2 = bottom - 13 - 13;
  const int line1 = line2 - 27;
  const int line0 = line1 - 27;
  const std::vector<Bar> expected = {
      {line0, x0, x0 + 11},       {line0, x0 + 33, x0 + 71},     // A .-
      {line1, x0, x0 + 38},       {line1, x0 + 60, x0 + 71},     // B -...
      {line1, x0 + 93, x0 + 104}, {line1, x0 + 126, x0 + 137},   //
      {line2, x0, x0 + 38},       {line2, x0 + 60, x0 + 71},     // C -.-.
      {line2, x0 + 93, x0 + 131}, {line2, x0 + 153, x0 + 164}};  //
  EXPECT_EQ(Bars(canvas_, 11), expected);
}

TEST_F(TableTest, AShortIdentifiersBarsStandAtLeastOneAndAHalfMillimetres) {
  ctx_.cellwidth = ctx_.rcolwidth;
  const double least = 1.5 * ctx_.pageheight / (ctx_.areaheight * 25.4);
  const auto extent = [this] {
    const auto lines = canvas_.Of(CanvasOp::Line);
    return lines.empty() ? 0 : lines.back().y0 - lines.front().y0 + 1;
  };
  for (const char* ident : {"E", "OA"}) {
    canvas_.Clear();
    DrawMorse(ctx_, 0, 1000, ident, -1, 200);
    EXPECT_GE(extent(), least) << ident;
    EXPECT_LT(extent(), least + 30) << ident;
  }
  // No more than the cell's room.
  canvas_.Clear();
  DrawMorse(ctx_, 0, 1000, "E", -1, 40);
  EXPECT_GT(extent(), 11);
  EXPECT_LE(2 * extent(), 40);
}

TEST_F(TableTest, MorseKeepsAnEmptyLineForUnknownCharacters) {
  ctx_.cellwidth = ctx_.rcolwidth;
  DrawMorse(ctx_, 0, 1000, "e-t");
  // The widest code is t's dash and gap, 60 pixels.
  const std::vector<Bar> expected = {{1000 - 26 - 54, 253 - 60, 253 - 49},
                                     {1000 - 26, 253 - 60, 253 - 22}};
  EXPECT_EQ(Bars(canvas_, 11), expected);

  canvas_.Clear();
  DrawMorse(ctx_, 0, 1000, "");
  EXPECT_TRUE(canvas_.ops().empty());
}

}  // namespace

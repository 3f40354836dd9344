// The text primitives: number formats, alignment and the two-line split.
#include <gtest/gtest.h>

#include "print_test_util.h"

namespace {

TEST(NumberText, IntegersPadToTheirDigitsAndSkipTheMarker) {
  EXPECT_EQ(FormatInt(NOT_ENTERED, 3, false), "");
  EXPECT_EQ(FormatInt(NOT_ENTERED, 0, true), "");
  EXPECT_EQ(FormatInt(7, 3, false), "007");
  EXPECT_EQ(FormatInt(45, 3, false), "045");
  EXPECT_EQ(FormatInt(-5, 3, false), "-05");
  EXPECT_EQ(FormatInt(360, 3, false), "360");
  EXPECT_EQ(FormatInt(12, 0, true), "(12)");
  EXPECT_EQ(FormatInt(0, 0, false), "0");
  EXPECT_EQ(FormatInt(-2147483647 - 1, 3, true), "(-2147483648)");
}

TEST(NumberText, RealsPrintOneDecimalAboveTheMarkerBand) {
  EXPECT_EQ(FormatReal(-1000.0, false), "");
  EXPECT_EQ(FormatReal(-999.9, false), "");
  EXPECT_EQ(FormatReal(-5000.0, false), "");
  EXPECT_EQ(FormatReal(-999.8, false), "-999.8");
  EXPECT_EQ(FormatReal(12.34, false), "12.3");
  EXPECT_EQ(FormatReal(12.34, true), "(12.3)");
  EXPECT_EQ(FormatReal(0.0, false), "0.0");
  EXPECT_EQ(FormatReal(1e300, false).size(), 303u);
}

class PrimitivesTest : public ::testing::Test {
 protected:
  PrimitivesTest() : canvas_(ExampleCanvas()) {
    Plan plan;
    QuarterInchMargins(plan);
    ctx_ = OpenJob(canvas_, plan.print);
    canvas_.SetFontSize(10);  // 80 pixels high, 40 a character
  }

  CanvasOp Last() const { return canvas_.ops().back(); }

  RecordingCanvas canvas_;
  PrintContext ctx_;
};

TEST_F(PrimitivesTest, PlacementByBottomEdge) {
  DrawTextLeft(ctx_, 100, 500, "abc", 0);
  EXPECT_EQ(Last().x0, 118);
  EXPECT_EQ(Last().y0, 420);
  EXPECT_EQ(Last().fontsize, 10);

  DrawTextLeft(ctx_, 100, 500, "abc", 12);
  EXPECT_EQ(Last().y0, 404);
  EXPECT_EQ(canvas_.FontSize(), 12) << "the size stays set";

  canvas_.SetFontSize(10);
  ctx_.cellwidth = 300;
  DrawTextRight(ctx_, 100, 500, "abc");
  EXPECT_EQ(Last().x1, 100 + 300 - 9);
  const std::size_t count = canvas_.ops().size();
  DrawTextRight(ctx_, 100, 500, "");
  EXPECT_EQ(canvas_.ops().size(), count) << "an empty text draws nothing";

  DrawTextCentered(ctx_, 100, 500, 200, "abc");
  EXPECT_EQ(Last().x0, 100 + 40);
  DrawTextCentered(ctx_, 100, 500, 200, "abcdefgh");
  EXPECT_EQ(Last().x0, 100 - 60) << "wider than the cell starts left of it";

  DrawInt(ctx_, 100, 500, 7, 3, false);
  EXPECT_EQ(Last().text, "007");
  DrawReal(ctx_, 100, 500, 12.3, true);
  EXPECT_EQ(Last().text, "(12.3)");
}

// Limit = width - 3 x padx = width - 27; at 10 points a character is 40 wide.
TwoLines Split(PrintContext& ctx, const std::string& text, int chars_that_fit) {
  return SplitTwoLines(*ctx.printer, text, chars_that_fit * 40 + 1);
}

TEST_F(PrimitivesTest, TwoLinesBreakAtTheLastSeparatorThatFits) {
  TwoLines fits = Split(ctx_, "14/32", 5);
  EXPECT_EQ(fits.upper, "");
  EXPECT_EQ(fits.lower, "14/32");

  TwoLines comma = Split(ctx_, "14/32, 5/23, 9/27", 12);
  EXPECT_EQ(comma.upper, "14/32, 5/23");
  EXPECT_EQ(comma.lower, "9/27");

  TwoLines space = Split(ctx_, "turf strip north", 12);
  EXPECT_EQ(space.upper, "turf strip");
  EXPECT_EQ(space.lower, "north");

  // A word is never broken: it stays whole on the lower line, not fitting.
  TwoLines word = Split(ctx_, "132.475", 5);
  EXPECT_EQ(word.upper, "");
  EXPECT_EQ(word.lower, "132.475");
  EXPECT_FALSE(word.fits);

  // The remainder is not shortened.
  TwoLines rest = Split(ctx_, "aa bbbbbbbbbbbbbbbbbbbb", 4);
  EXPECT_EQ(rest.upper, "aa");
  EXPECT_EQ(rest.lower, "bbbbbbbbbbbbbbbbbbbb");
}

TEST_F(PrimitivesTest, TwoLinesNeverBreakAWordAndStopAtNothing) {
  TwoLines first = Split(ctx_, "Zürichsee Nord", 3);
  EXPECT_EQ(first.upper, "");
  EXPECT_FALSE(first.fits) << "the first word alone is too wide";

  TwoLines none = SplitTwoLines(*ctx_.printer, "  abc", 0);
  EXPECT_EQ(none.upper, "");
  EXPECT_FALSE(none.fits);
  TwoLines negative = SplitTwoLines(*ctx_.printer, "abc", -50);
  EXPECT_EQ(negative.upper, "");
  EXPECT_FALSE(negative.fits);

  // Only the first 255 bytes are ever considered for the upper line.
  const std::string longtext = std::string(200, 'x') + " " + std::string(199, 'y');
  TwoLines big = SplitTwoLines(*ctx_.printer, longtext, 300 * 40 + 1);
  EXPECT_EQ(big.upper.size(), 200u);
  EXPECT_EQ(big.lower.size(), 199u);
}

TEST_F(PrimitivesTest, TextsShrinkToTheirCellThenEndInTheMark) {
  // 8 points: 32 pixels a character, 7 points 28, 6 points 24: "118.555"
  // fits the cell's 169 pixels only at 6 points.
  canvas_.SetFontSize(8);
  const int width = 168 + 1 + 27;
  DrawTextTwoLines(ctx_, 0, 300, 400, "118.555", width, 0);
  ASSERT_EQ(canvas_.Of(CanvasOp::Text).size(), 1u);
  EXPECT_EQ(Last().text, "118.555");
  EXPECT_EQ(Last().fontsize, 6);
  EXPECT_EQ(Last().y1, 400);
  EXPECT_EQ(canvas_.FontSize(), 8) << "the caller's size is back";

  // Too long even at 6 points: cut, marked, inside the cell.
  canvas_.Clear();
  DrawTextTwoLines(ctx_, 0, 300, 400, "field elevation unknown", width, 0);
  auto texts = canvas_.Of(CanvasOp::Text);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().text.substr(texts.back().text.size() - 3), kCutMark);
  for (const CanvasOp& op : texts) EXPECT_LE(op.x1, width - 9) << op.text;

  // Single-line cells: right-aligned values and left-aligned texts alike.
  canvas_.Clear();
  ctx_.cellwidth = width;
  DrawTextRight(ctx_, 0, 400, "1250 ft MSL");
  EXPECT_GE(Last().x0, 9);
  EXPECT_EQ(Last().x1, width - 9);
  EXPECT_EQ(Last().fontsize, 6);
  EXPECT_EQ(Last().text.substr(Last().text.size() - 3), kCutMark);
  DrawTextInCell(ctx_, 0, 400, width, "unknown");
  EXPECT_LE(Last().x1, width - 9);
  EXPECT_EQ(canvas_.FontSize(), 8);

  const FittedText fit = FitText(canvas_, "abc", 5, 6);
  EXPECT_EQ(fit.text, "") << "not even the mark fits";
}

TEST_F(PrimitivesTest, DrawTextTwoLinesRestoresTheFontSize) {
  DrawTextTwoLines(ctx_, 0, 300, 400, "14/32, 5/23, 9/27", 12 * 40 + 28, 10);
  auto texts = canvas_.Of(CanvasOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "14/32, 5/23");
  EXPECT_EQ(texts[0].y1, 300);
  EXPECT_EQ(texts[1].text, "9/27");
  EXPECT_EQ(texts[1].y1, 400);

  canvas_.SetFontSize(8);
  DrawTextTwoLines(ctx_, 0, 300, 400, "x", 500, 12);
  EXPECT_EQ(Last().fontsize, 12);
  EXPECT_EQ(canvas_.FontSize(), 8);
}

}  // namespace

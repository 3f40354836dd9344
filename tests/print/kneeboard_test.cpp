#include "print/kneeboard.h"

#include <gtest/gtest.h>

#include "geo/daylight.h"
#include "print_test_util.h"

namespace {

// A5 upright at 600 dpi, text about as wide as a real font's.
RecordingCanvas A5Canvas() {
  return RecordingCanvas(3496, 4961, 148, 210, 8);
}

TEST(KneeboardTest, EveryPageKeepsTheColumnsItNamesInReadableText) {
  const Plan plan = MakePlan(kMaxLegs, 3);
  RecordingCanvas canvas = A5Canvas();
  const int pages = PrintKneeboardOn(canvas, plan, ComputeLog(plan), false);
  ASSERT_GE(pages, 3);  // 32 legs do not fit one half sheet; the airfields go last
  const std::vector<std::string> captions = KneeboardCaptions();
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Checkpoint", "Alt", "MC/MH", "Dist", "GS", "ETE", "ETA",
                                      "ATA", "Fuel Rem", "VOR Freq", "Brng", "Ident"}));
  for (int page = 1; page < pages; ++page) {
    std::string heads;
    for (const CanvasOp& op : canvas.Of(CanvasOp::Text, page)) heads += op.text + " ";
    for (const std::string& caption : captions) {
      // A long heading may be set on two lines.
      const std::string first = caption.substr(0, caption.find(' '));
      EXPECT_NE(heads.find(first + " "), std::string::npos) << caption << " on page " << page;
    }
  }
  for (const CanvasOp& op : canvas.Of(CanvasOp::Text)) EXPECT_GE(op.fontsize, kKneeboardMinText);
  // Every checkpoint is on some page, the last one too.
  EXPECT_FALSE(canvas.TextsOf("CP32").empty());
  EXPECT_FALSE(canvas.TextsOf("Total").empty());
  // The airfields have a page of their own, and each page tells where the rest is.
  EXPECT_FALSE(canvas.TextsOf("Field2", pages).empty());
  EXPECT_TRUE(canvas.TextsOf("CP1", pages).empty());
  std::size_t footers = 0;
  for (const CanvasOp& op : canvas.Of(CanvasOp::Text))
    footers += op.text.rfind("The full log also has TC,", 0) == 0;
  EXPECT_EQ(footers, static_cast<std::size_t>(pages));
  EXPECT_NE(KneeboardLeavesOut().find("TAS"), std::string::npos);
}

TEST(KneeboardTest, ADepartureFillsTheEtasAndALogWithoutLegsPrintsNothing) {
  Plan plan = MakePlan(2, 0);
  plan.departure = "2026-06-01T15:00Z";
  RecordingCanvas canvas = A5Canvas();
  ASSERT_EQ(PrintKneeboardOn(canvas, plan, ComputeLog(plan), false), 1);
  EXPECT_FALSE(canvas.TextsOf("15:00Z").empty());
  EXPECT_FALSE(canvas.TextsOf(FormatUtcMinutes(15 * 60 + ComputeLog(plan).legs[0].ete)).empty());

  Plan empty;
  RecordingCanvas none = A5Canvas();
  EXPECT_EQ(PrintKneeboardOn(none, empty, ComputeLog(empty), false), 0);
  EXPECT_EQ(PrintKneeboardOn(none, empty, BlankLog(0), true), 1);  // the blank form needs no legs
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>

#include "plan/check.h"
#include "plan/plan.h"
#include "test_util.h"

namespace {

struct Parsed {
  LegResult own;
  LegResult carry;
};

// Parses rows in route order with one carry record, as the computation does.
std::vector<Parsed> ParseInOrder(const std::vector<Checkpoint>& rows) {
  std::vector<Parsed> out;
  LegResult carry;
  ClearLeg(carry);
  for (const Checkpoint& row : rows) {
    Parsed p;
    ClearLeg(p.own);
    ParseRow(row, p.own, carry);
    p.carry = carry;
    out.push_back(p);
  }
  return out;
}

TEST(CellParsing, FollowsTheCLibrarysIntegerConversion) {
  struct Case {
    const char* cell;
    int32_t value;
  } cases[] = {
      {"12.7", 12},
      {"270T", 270},
      {" 270", 270},
      {"   ", 0},
      {"abc", 0},
      {"10E", 10},
      {"10W", 10},
      {"-5", -5},
      {"+7", 7},
      {"-1000", NOT_ENTERED},
      {"0", 0},
      {"\t42", 42},
      // Held to what a plan can mean, so no sum overflows later.
      {"99999999999", kMaxCellValue},
      {"-99999999999", -kMaxCellValue},
      {"123456", kMaxCellValue},
  };
  for (const Case& c : cases) {
    Checkpoint row = Row("A", c.cell);
    int32_t own = 1, carried = 2;
    ParseIntCell(row, kCellDist, own, carried);
    EXPECT_EQ(own, c.value) << "cell '" << c.cell << "'";
    EXPECT_EQ(carried, c.value) << "cell '" << c.cell << "'";
  }
}

TEST(CellParsing, EmptyCellIsNotEnteredAndKeepsTheCarriedValue) {
  Checkpoint row = Row("A", "");
  int32_t own = 5, carried = 77;
  ParseIntCell(row, kCellDist, own, carried);
  EXPECT_EQ(own, NOT_ENTERED);
  EXPECT_EQ(carried, 77);

  // A row with fewer sub-items than usual reads the missing ones as empty.
  Checkpoint shortRow;
  shortRow.caption = "B";
  ParseIntCell(shortRow, kCellVor, own, carried);
  EXPECT_EQ(own, NOT_ENTERED);
}

TEST(CarryForward, EachValueComesFromTheNearestRowThatHasIt) {
  auto parsed = ParseInOrder({
      Row("Dep"),
      Row("One", "50", "90", "4500", "180", "20", "10", "100", "10"),
      Row("Two", "30"),
      Row("Three", "40", "45", "", "", "", "", "", "", "112.3/ 090/ ABC/ To"),
  });
  const LegResult& three = parsed[3].own;
  EXPECT_EQ(three.dist, 40);
  EXPECT_EQ(three.tc, 45);
  EXPECT_EQ(three.winddir, NOT_ENTERED);  // own values show only what the row has
  EXPECT_EQ(three.tas, NOT_ENTERED);
  const LegResult& carry = parsed[3].carry;
  EXPECT_EQ(carry.tc, 45);
  EXPECT_EQ(carry.alt, 4500);
  EXPECT_EQ(carry.winddir, 180);
  EXPECT_EQ(carry.windvel, 20);
  EXPECT_EQ(carry.temp, 10);
  EXPECT_EQ(carry.tas, 100);
  EXPECT_EQ(carry.var, 10);
  // Names and VOR texts never carry.
  EXPECT_STREQ(parsed[2].own.vortext, "");
  EXPECT_STREQ(carry.toname, "");
  EXPECT_STREQ(three.toname, "Three");
}

TEST(CarryForward, TypedMinusThousandClearsTheCarriedValue) {
  auto parsed = ParseInOrder({Row("One", "50", "90"), Row("Two", "30", "-1000")});
  EXPECT_EQ(parsed[1].own.tc, NOT_ENTERED);
  EXPECT_EQ(parsed[1].carry.tc, NOT_ENTERED);
}

TEST(VorCell, SplitsIntoFourTrimmedFieldsThatKeepTheirPlaces) {
  struct Case {
    const char* cell;
    const char* freq;
    const char* brng;
    const char* ident;
    const char* tofr;
  } cases[] = {
      {"112.3/ 090/ ABC/ To", "112.3", "090", "ABC", "To"},
      {"/ 090/ ABC/ To", "", "090", "ABC", "To"},
      {"112.3/ / ABC/ To", "112.3", "", "ABC", "To"},
      {"112.3/ 090", "112.3", "090", "", ""},
      {"", "", "", "", ""},
      {" 1 / 2 / 3 / From / extra", "1", "2", "3", "From"},
  };
  for (const Case& c : cases) {
    LegResult own, carry;
    ClearLeg(own);
    ClearLeg(carry);
    ParseRow(Row("X", "", "", "", "", "", "", "", "", c.cell), own, carry);
    EXPECT_STREQ(own.vortext, c.cell);
    EXPECT_STREQ(own.vorfreq, c.freq) << c.cell;
    EXPECT_STREQ(own.vorbrng, c.brng) << c.cell;
    EXPECT_STREQ(own.vorident, c.ident) << c.cell;
    EXPECT_STREQ(own.vortofr, c.tofr) << c.cell;
  }
}

TEST(VorCell, TokenizerGivesEmptyTextsOnceUsedUp) {
  VorTokenizer tokens("a/b");
  EXPECT_EQ(tokens.NextToken(), "a");
  EXPECT_EQ(tokens.NextToken(), "b");
  EXPECT_EQ(tokens.NextToken(), "");
  EXPECT_EQ(tokens.NextToken(), "");
}

CheckpointDialogTexts Dialog(const std::string& freq, const std::string& bear,
                             const std::string& ident, bool to) {
  CheckpointDialogTexts d;
  d.EditCheckpointName = "Lake";
  d.EditDistance = "12.7";
  d.EditTrueCourse = " 090";
  d.EditMagVar = "10E";
  d.EditFreq = freq;
  d.EditBear = bear;
  d.EditIdent = ident;
  d.RadioButtonTo = to;
  return d;
}

TEST(DialogTransfer, ComposesTheVorCellAndReadsItBack) {
  struct Case {
    CheckpointDialogTexts dialog;
    const char* cell;
  } cases[] = {
      {Dialog("112.3", "090", "ABC", true), "112.3/ 090/ ABC/ To"},
      {Dialog("", "090", "ABC", true), "/ 090/ ABC/ To"},
      {Dialog("112.3", "", "ABC", true), "112.3/ / ABC/ To"},
      {Dialog("112.3", "090", "ABC", false), "112.3/ 090/ ABC/ From"},
      {Dialog("", "", "", true), ""},
  };
  for (const Case& c : cases) {
    Checkpoint row;
    DialogToRow(c.dialog, row);
    ASSERT_EQ(row.subitems.size(), 9u);
    EXPECT_EQ(row.subitems[kCellVor], c.cell);
    EXPECT_EQ(row.caption, "Lake");
    EXPECT_EQ(row.subitems[kCellDist], "12.7");    // kept as typed
    EXPECT_EQ(row.subitems[kCellCourse], " 090");  // no trimming
    EXPECT_EQ(row.subitems[kCellMagVar], "-10");   // 10E as the file holds it

    CheckpointDialogTexts back;
    back.RadioButtonTo = !c.dialog.RadioButtonTo;
    RowToDialog(row, back);
    EXPECT_EQ(back.EditFreq, c.dialog.EditFreq);
    EXPECT_EQ(back.EditBear, c.dialog.EditBear);
    EXPECT_EQ(back.EditIdent, c.dialog.EditIdent);
    // An empty VOR cell always comes back as From.
    bool expect_to = c.dialog.RadioButtonTo && std::strlen(c.cell) > 0;
    EXPECT_EQ(back.RadioButtonTo, expect_to) << c.cell;
    EXPECT_EQ(back.EditDistance, "12.7");
  }
}

TEST(DialogTransfer, ToIsRecognisedInAnyCase) {
  for (const char* cell : {"1/2/3/TO", "1/2/3/ to ", "1/2/3/To"}) {
    CheckpointDialogTexts d;
    RowToDialog(Row("X", "", "", "", "", "", "", "", "", cell), d);
    EXPECT_TRUE(d.RadioButtonTo) << cell;
  }
  CheckpointDialogTexts d;
  d.RadioButtonTo = true;
  RowToDialog(Row("X", "", "", "", "", "", "", "", "", "1/2/3/Tower"), d);
  EXPECT_FALSE(d.RadioButtonTo);
}

TEST(FixedFields, LongTextsAreCutAtACharacterBoundary) {
  // 78 ASCII bytes then a two-byte character: the 79-byte cut must not split it.
  std::string name = std::string(78, 'a') + "\xC3\xA9" + "tail";
  LegResult own, carry;
  ClearLeg(own);
  ClearLeg(carry);
  ParseRow(Row(name), own, carry);
  EXPECT_EQ(std::string(own.toname), std::string(78, 'a'));

  std::string vor = std::string(200, '1') + "/ 090/ ABC/ To";
  ParseRow(Row("X", "", "", "", "", "", "", "", "", vor), own, carry);
  EXPECT_EQ(std::strlen(own.vortext), 79u);
  EXPECT_EQ(std::strlen(own.vorfreq), 79u);

  EXPECT_EQ(CutUtf8("\xE2\x82\xAC\xE2\x82\xAC", 4), "\xE2\x82\xAC");  // two euro signs
  EXPECT_EQ(CutUtf8("short", 79), "short");

  CheckpointDialogTexts d = Dialog("1", "2", "3", true);
  d.EditCheckpointName = std::string(100, 'n');
  Checkpoint row;
  DialogToRow(d, row);
  EXPECT_EQ(row.caption.size(), 79u);
}

TEST(DialogToRowTest, AVariationWithItsSideIsStoredAsTheFilesNumber) {
  const std::pair<const char*, const char*> cases[] = {
      {"13E", "-13"}, {"13 w", "13"}, {" 5W ", "5"}, {"-13", "-13"},  {"13", "13"},
      {"13X", "13X"}, {"E", "E"},     {"", ""},      {"13EW", "13EW"}};
  for (const auto& [typed, stored] : cases) {
    CheckpointDialogTexts d = Dialog("1", "2", "3", true);
    d.EditMagVar = typed;
    Checkpoint row;
    DialogToRow(d, row);
    EXPECT_EQ(row.SubItem(kCellMagVar), stored) << typed;
  }
}

TEST(ClearLegTest, MarksEverythingNotEntered) {
  LegResult leg;
  std::memset(&leg, 0x5A, sizeof leg);
  ClearLeg(leg);
  for (int32_t v : {leg.tc, leg.alt, leg.winddir, leg.windvel, leg.temp, leg.tas, leg.wca, leg.th,
                    leg.var, leg.mh, leg.dev, leg.ch, leg.dist, leg.distrem, leg.gs, leg.ete}) {
    EXPECT_EQ(v, NOT_ENTERED);
  }
  EXPECT_EQ(leg.fuelused, -1000.0);
  EXPECT_EQ(leg.fuelrem, -1000.0);
  EXPECT_STREQ(leg.toname, "");
  EXPECT_STREQ(leg.vortofr, "");
}

TEST(PrePrintCheck, NamesTheFirstMissingItemOfTheFirstLegOnly) {
  Plan plan;
  plan.route = {Row("Dep")};
  EXPECT_EQ(FindMissingItem(plan), MissingItem::None);  // too few rows is its own failure

  plan.route = {Row("Dep"), Row("One", "10")};
  EXPECT_EQ(FindMissingItem(plan), MissingItem::TrueCourse);
  EXPECT_STREQ(MissingItemName(FindMissingItem(plan)), "True Course");

  plan.route = {Row("Dep"), Row("One", "10", "90")};
  EXPECT_STREQ(MissingItemName(FindMissingItem(plan)), "Predicted Wind Direction");
  plan.route = {Row("Dep"), Row("One", "10", "90", "", "180")};
  EXPECT_STREQ(MissingItemName(FindMissingItem(plan)), "Predicted Wind Speed");

  // A variation on the departure row (only possible from a file) does not count.
  plan.route = {Row("Dep", "", "", "", "", "", "", "", "10"),
                Row("One", "10", "90", "", "180", "5")};
  EXPECT_STREQ(MissingItemName(FindMissingItem(plan)), "Magnetic Variation");

  plan.route[1].subitems[kCellMagVar] = "0";
  EXPECT_EQ(FindMissingItem(plan), MissingItem::None);
}

TEST(PrePrintCheck, FindsTheFirstNumberCellThatHoldsNoNumber) {
  for (const char* number : {"", "12", " 12", "-5", "+7", ".5", "12abc", "0"})
    EXPECT_FALSE(IsNotANumber(number)) << number;
  for (const char* text : {"abc", "   ", "-", "+x", ".", "N12", "R270"})
    EXPECT_TRUE(IsNotANumber(text)) << text;

  Plan plan;
  plan.route = {Row("Dep"), Row("One", "10", "90"), Row("Two", "12", "x1", "", "abc")};
  const NotANumber found = FindNotANumber(plan);
  EXPECT_EQ(found.row, 2);
  EXPECT_EQ(found.cell, kCellCourse);
  EXPECT_EQ(NotANumberText(plan, found),
            "Checkpoint \"Two\": the true course \"x1\" is not a number and counts as 0.");
  plan.route[2].subitems[kCellCourse] = "91";
  plan.route[2].subitems[kCellAltitude] = "4500";
  plan.route[2].subitems[kCellWindDir] = "270";
  EXPECT_EQ(FindNotANumber(plan).row, -1);
}

}  // namespace

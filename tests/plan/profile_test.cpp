#include "plan/profile.h"

#include <gtest/gtest.h>

#include <cctype>

#include "colliding_names.h"
#include "test_util.h"

namespace {

ProfileFile Parsed(const std::string& bytes) {
  ProfileFile file;
  file.Parse(bytes);
  return file;
}

TEST(ProfileRead, NamesMatchRegardlessOfCaseAndBlanks) {
  ProfileFile f = Parsed("[ Misc ]\nTitle = Spring trip \r\n  PilotName=Ann\n");
  EXPECT_EQ(f.GetString("misc", "title", "dflt", 256), "Spring trip");
  EXPECT_EQ(f.GetString("MISC", "pilotname", "dflt", 256), "Ann");
  EXPECT_EQ(f.GetString("misc", "missing", "dflt", 256), "dflt");
  EXPECT_EQ(f.GetString("nosuch", "title", "dflt", 256), "dflt");
}

TEST(ProfileRead, OnePairOfEnclosingQuotesIsRemoved) {
  ProfileFile f = Parsed("[s]\na=\"quoted\"\nb='single'\nc=\"\"twice\"\"\nd=\"open\ne= \" x \" \n");
  EXPECT_EQ(f.GetString("s", "a", "", 256), "quoted");
  EXPECT_EQ(f.GetString("s", "b", "", 256), "single");
  EXPECT_EQ(f.GetString("s", "c", "", 256), "\"twice\"");
  EXPECT_EQ(f.GetString("s", "d", "", 256), "\"open");
  EXPECT_EQ(f.GetString("s", "e", "", 256), " x ");
}

TEST(ProfileRead, ValuesAreCutToTheReadLimitAtACharacterBoundary) {
  ProfileFile f = Parsed("[s]\nlong=" + std::string(300, 'x') + "\nutf=ab\xC3\xA9z\n");
  EXPECT_EQ(f.GetString("s", "long", "", 256).size(), 255u);
  EXPECT_EQ(f.GetString("s", "utf", "", 4), "ab");  // the 3-byte limit would split é
  EXPECT_EQ(f.GetString("s", "utf", "", 5), "ab\xC3\xA9");
}

TEST(ProfileRead, FirstDuplicateWinsAndCommentsAreNotKeys) {
  ProfileFile f = Parsed(
      "; title=comment\n[s]\n;key=commented\nkey=first\nkey=second\nno equals here\n"
      "[S]\nkey=other section\nextra=1\n");
  EXPECT_EQ(f.GetString("s", "key", "", 256), "first");
  EXPECT_EQ(f.GetString("s", "extra", "none", 256), "none");
  EXPECT_EQ(f.GetString("s", "no equals here", "none", 256), "none");
  EXPECT_EQ(f.GetString("s", ";key", "none", 256), "none");
}

// Names that all share one hash used to line up in one probe chain, and
// every key read walked all before it: 65,536 of them took 48 s to open.
TEST(ProfileRead, KeysCraftedToShareOneHashAreAllFoundAndTheFirstDuplicateWins) {
  const std::vector<std::string> names = CollidingNames(9);
  std::string text = "[s]\r\n";
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += names[i] + "=" + std::to_string(i) + "\r\n";
    if (i % 7 == 0) text += "plain" + std::to_string(i) + "=p\r\n";
  }
  text += names[300] + "=late duplicate\r\n";
  ProfileFile f = Parsed(text);
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string upper = names[i];
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_EQ(f.GetInt("s", upper, -1), static_cast<int32_t>(i)) << names[i];
  }
  EXPECT_EQ(f.GetString("s", "plain511", "", 8), "p");
  EXPECT_EQ(f.GetString("s", names[0] + "x", "missing", 8), "missing");
  f.WriteString("s", names[300], "rewritten");
  f.WriteString("s", names[0] + "x", "new");
  EXPECT_EQ(f.GetString("s", names[300], "", 16), "rewritten");
  EXPECT_EQ(f.GetString("s", names[0] + "x", "", 16), "new");
  EXPECT_NE(f.Serialize().find(names[300] + "=late duplicate\r\n"), std::string::npos);
}

TEST(ProfileRead, AcceptsEveryKindOfLineEnd) {
  ProfileFile f = Parsed("[a]\rx=1\r[b]\r\ny=2\n[c]\nz=3");
  EXPECT_EQ(f.GetInt("a", "x", 0), 1);
  EXPECT_EQ(f.GetInt("b", "y", 0), 2);
  EXPECT_EQ(f.GetInt("c", "z", 0), 3);
}

TEST(ProfileRead, IntegersAndDoubles) {
  ProfileFile f = Parsed(
      "[s]\nneg=-1000\nempty=\nword=abc\nlead=12abc\nd=8.750000\nbad=x1\n"
      "nan=nan\nexp=1e2\n");
  EXPECT_EQ(f.GetInt("s", "neg", 0), -1000);
  EXPECT_EQ(f.GetInt("s", "empty", 7), 7);
  EXPECT_EQ(f.GetInt("s", "word", 7), 0);
  EXPECT_EQ(f.GetInt("s", "lead", 7), 12);
  EXPECT_EQ(f.GetInt("s", "missing", -1000), -1000);
  EXPECT_DOUBLE_EQ(f.ReadDouble("s", "d", 1.0), 8.75);
  EXPECT_DOUBLE_EQ(f.ReadDouble("s", "bad", 1.0), 0.0);
  EXPECT_DOUBLE_EQ(f.ReadDouble("s", "missing", 0.1), 0.1);
  EXPECT_DOUBLE_EQ(f.ReadDouble("s", "nan", 1.0), 0.0);
  EXPECT_DOUBLE_EQ(f.ReadDouble("s", "exp", 1.0), 100.0);
}

TEST(ProfileRead, NonUtf8FilesAreWindows1252) {
  ProfileFile f = Parsed("[s]\nname=Z\xFCrich \x80 5\n");
  EXPECT_EQ(f.GetString("s", "name", "", 256), "Z\xC3\xBCrich \xE2\x82\xAC 5");
  // Byte runs shaped like UTF-8 that are not (an overlong slash, a surrogate)
  // make the file Windows-1252 too.
  EXPECT_EQ(Parsed("[s]\nname=\xC0\xAF\n").GetString("s", "name", "", 256), "\xC3\x80\xC2\xAF");
  EXPECT_EQ(Parsed("[s]\nname=\xED\xA0\x80\n").GetString("s", "name", "", 256),
            "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
  ProfileFile bom = Parsed("\xEF\xBB\xBF[s]\nname=ok\n");
  EXPECT_EQ(bom.GetString("s", "name", "", 256), "ok");
  bom.WriteString("s", "name", "new");
  EXPECT_EQ(bom.Serialize(), "\xEF\xBB\xBF[s]\nname=new\n");
}

TEST(ProfileWrite, NewFileGetsSectionsInOrderWithCrLf) {
  ProfileFile f;
  f.WriteString("misc", "title", "Trip");
  f.WriteString("dest0", "toname", "A");
  f.WriteString("misc", "count", "1");
  f.WriteDouble("misc", "acgph", 9.0);
  f.WriteLong("dest0", "dist", -1000);
  EXPECT_EQ(f.Serialize(),
            "[misc]\r\ntitle=Trip\r\ncount=1\r\nacgph=9.000000\r\n\r\n"
            "[dest0]\r\ntoname=A\r\ndist=-1000\r\n");
}

TEST(ProfileWrite, RewritesInPlaceAndKeepsEverythingElseByteForByte) {
  const std::string original =
      "; made by hand\n"
      "[Other]\n"
      "keep = me\n"
      "[MISC]\n"
      "  Title = Old  \n"
      "; a comment in misc\n"
      "Title=duplicate\n"
      "\n"
      "\n"
      "[tail]\n"
      "last=line";
  ProfileFile f = Parsed(original);
  f.WriteString("misc", "title", "New");
  f.WriteString("misc", "count", "3");
  f.WriteString("tail", "more", "x");
  f.WriteString("fresh", "k", "v");
  EXPECT_EQ(f.Serialize(),
            "; made by hand\n"
            "[Other]\n"
            "keep = me\n"
            "[MISC]\n"
            "  Title =New\n"
            "; a comment in misc\n"
            "Title=duplicate\n"
            "count=3\r\n"
            "\n"
            "\n"
            "[tail]\n"
            "last=line\r\n"
            "more=x\r\n"
            "\r\n"
            "[fresh]\r\n"
            "k=v\r\n");
}

TEST(ProfileWrite, LineBreaksInsideValuesCannotMakeNewKeys) {
  ProfileFile f;
  f.WriteString("misc", "title", "Trip\r\n[misc]\r\ncount=99");
  EXPECT_EQ(f.GetInt("misc", "count", 0), 0);
  EXPECT_EQ(f.GetString("misc", "title", "", 256), "Trip  [misc]  count=99");
}

TEST(ProfileWrite, AValueRewrittenOverAndOverKeepsItsLineAndTheFileAroundIt) {
  ProfileFile f = Parsed("; top\n[s]\n  Key One = a\nother=b\n[t]\nx=1");
  for (int i = 0; i < 20000; ++i) f.WriteString("S", "key one", std::to_string(i) + " of many");
  f.WriteString("t", "y", "2");
  EXPECT_EQ(f.Serialize(), "; top\n[s]\n  Key One =19999 of many\nother=b\n[t]\nx=1\r\ny=2\r\n");
  EXPECT_EQ(f.GetString("s", "KEY ONE", "", 256), "19999 of many");
  EXPECT_EQ(f.GetString("t", "x", "", 256), "1");
}

TEST(ProfileWrite, HugeDoublesStillReadBack) {
  ProfileFile f;
  f.WriteDouble("s", "big", 1e300);
  EXPECT_DOUBLE_EQ(f.ReadDouble("s", "big", 0), 1e300);
  f.WriteDouble("s", "small", 0.25);
  EXPECT_EQ(f.GetString("s", "small", "", 32), "0.250000");
}

TEST(ProfileFileIo, SaveAndLoadRoundTrip) {
  TempDir dir;
  ProfileFile f;
  f.WriteString("s", "k", "v");
  std::string error;
  ASSERT_TRUE(f.Save(dir.File("p.ini"), error)) << error;
  EXPECT_EQ(ReadFile(dir.File("p.ini")), "[s]\r\nk=v\r\n");
  ProfileFile g;
  ASSERT_TRUE(g.Load(dir.File("p.ini"), error));
  EXPECT_EQ(g.GetString("s", "k", "", 256), "v");
  ProfileFile missing;
  EXPECT_TRUE(missing.Load(dir.File("nothing.ini"), error));
  EXPECT_FALSE(missing.HasSection("s"));
}

}  // namespace

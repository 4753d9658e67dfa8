#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace inkmark {
namespace {

TEST(ProfileFile, MatchesNamesWithoutCaseAndTakesTheFirstKey) {
  auto file = ProfileFile::Parse(
      "; comment\r\n[other]\nPrnName=wrong\n[ SPEC ]\r\n  prnname =  DT-300/310 \r\n"
      "PrnName=second\n[Spec]\nPaperWidth=58mm,80mm,1\n");
  EXPECT_EQ(file.Get("Spec", "PrnName"), "DT-300/310");
  EXPECT_EQ(file.Get("spec", "PAPERWIDTH"), "58mm,80mm,1");
  EXPECT_EQ(file.Get("Spec", "Port"), "");
  EXPECT_EQ(file.Get("Nothing", "PrnName"), "");
}

TEST(ProfileFile, UnwrapsMatchingQuotesOnlyAndCutsAt255) {
  auto file = ProfileFile::Parse("[Spec]\na=\" padded \"\nb='x'\nc=\"open\nd=\"\ne=" +
                                 std::string(10000, 'v') + "\nno equals line\n=empty key\n");
  EXPECT_EQ(file.Get("Spec", "a"), " padded ");
  EXPECT_EQ(file.Get("Spec", "b"), "x");
  EXPECT_EQ(file.Get("Spec", "c"), "\"open");
  EXPECT_EQ(file.Get("Spec", "d"), "\"");
  EXPECT_EQ(file.Get("Spec", "e"), std::string(255, 'v'));
  EXPECT_EQ(file.Get("Spec", ""), "empty key");
}

TEST(ProfileFile, KeysBeforeAnySectionAndBinaryGarbageAreHarmless) {
  std::string garbage = "PrnName=x\n";
  for (int i = 0; i < 512; ++i) garbage.push_back(char(i * 37));
  garbage += "\n[Spec\nPrnName=unclosed\n";
  auto file = ProfileFile::Parse(garbage);
  EXPECT_EQ(file.Get("", "PrnName"), "");
  EXPECT_EQ(file.Get("Spec", "PrnName"), "unclosed");
}

TEST(ProfileFile, ReadsFilesAndRefusesMissingOnes) {
  testing::TempDir dir;
  auto path = dir.Write("A.DEF", "[Spec]\nPrnName=DT-200/210\n");
  auto file = ProfileFile::Read(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Get("Spec", "PrnName"), "DT-200/210");
  EXPECT_FALSE(ProfileFile::Read(dir.path() / "missing.DEF"));
}

}  // namespace
}  // namespace inkmark

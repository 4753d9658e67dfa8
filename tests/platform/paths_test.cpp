#include "platform/paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/code_page.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

// Points TMPDIR at a temporary folder for one test.
class PrivateTempDirTest : public ::testing::Test {
 protected:
  PrivateTempDirTest() {
    if (const char* old = getenv("TMPDIR")) old_ = old;
    setenv("TMPDIR", base.path().c_str(), 1);
  }
  ~PrivateTempDirTest() override { old_ ? setenv("TMPDIR", old_->c_str(), 1) : unsetenv("TMPDIR"); }
  testing::TempDir base;
  const std::filesystem::path name = base.path() / ("inkmark-" + std::to_string(getuid()));

 private:
  std::optional<std::string> old_;
};

TEST_F(PrivateTempDirTest, CreatesAClosedFolderAndReusesIt) {
  EXPECT_EQ(PrivateTempDir(), name);
  struct stat st {};
  ASSERT_EQ(stat(name.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(PrivateTempDir(), name);
}

TEST_F(PrivateTempDirTest, RefusesALinkOrAnOpenFolderInItsPlace) {
  std::filesystem::create_directory(base.path() / "elsewhere");
  std::filesystem::create_directory_symlink(base.path() / "elsewhere", name);
  EXPECT_FALSE(PrivateTempDir());
  std::filesystem::remove(name);
  std::filesystem::create_directory(name);
  chmod(name.c_str(), 0777);
  EXPECT_FALSE(PrivateTempDir());
}

TEST(ProgramFolder, IsTheFolderOfTheRunningTest) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() / "platform_tests"));
}

TEST(DbcsLeadByte, FollowsEachCodePage) {
  // Half-width katakana (0xA0) stand alone in 932.
  for (auto [page, byte, lead] :
       {std::tuple{932, 0x81, true}, std::tuple{932, 0xA0, false}, std::tuple{932, 0xE0, true},
        std::tuple{936, 0xA0, true}, std::tuple{949, 0x80, false}, std::tuple{1252, 0x81, false}}) {
    EXPECT_EQ(IsDbcsLeadByte(page, std::uint8_t(byte)), lead) << page << " " << byte;
  }
}

}  // namespace
}  // namespace inkmark

#include "platform/paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/code_page.h"
#include "support/temp_dir.h"

namespace inkmark {
namespace {

class TmpDirEnv {
 public:
  explicit TmpDirEnv(const std::filesystem::path& dir) {
    if (const char* old = getenv("TMPDIR")) old_ = old, had_ = true;
    setenv("TMPDIR", dir.c_str(), 1);
  }
  ~TmpDirEnv() { had_ ? setenv("TMPDIR", old_.c_str(), 1) : unsetenv("TMPDIR"); }

 private:
  std::string old_;
  bool had_ = false;
};

TEST(PrivateTempDir, CreatesAClosedFolderAndReusesIt) {
  testing::TempDir base;
  TmpDirEnv env(base.path());
  auto dir = PrivateTempDir();
  ASSERT_TRUE(dir);
  EXPECT_EQ(dir->parent_path(), base.path());
  struct stat st {};
  ASSERT_EQ(stat(dir->c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(PrivateTempDir(), dir);
}

TEST(PrivateTempDir, RefusesALinkOrAnOpenFolderInItsPlace) {
  testing::TempDir base;
  TmpDirEnv env(base.path());
  auto name = base.path() / ("inkmark-" + std::to_string(getuid()));
  std::filesystem::create_directory(base.path() / "elsewhere");
  std::filesystem::create_directory_symlink(base.path() / "elsewhere", name);
  EXPECT_FALSE(PrivateTempDir());
  std::filesystem::remove(name);
  std::filesystem::create_directory(name);
  chmod(name.c_str(), 0777);
  EXPECT_FALSE(PrivateTempDir());
}

TEST(ProgramFolder, IsTheFolderOfTheRunningTest) {
  auto folder = ProgramFolder();
  EXPECT_TRUE(std::filesystem::exists(folder / "platform_tests"));
}

TEST(DbcsLeadByte, FollowsEachCodePage) {
  EXPECT_TRUE(IsDbcsLeadByte(932, 0x81));
  EXPECT_FALSE(IsDbcsLeadByte(932, 0xA0));  // half-width katakana stand alone
  EXPECT_TRUE(IsDbcsLeadByte(932, 0xE0));
  EXPECT_TRUE(IsDbcsLeadByte(936, 0xA0));
  EXPECT_FALSE(IsDbcsLeadByte(949, 0x80));
  EXPECT_FALSE(IsDbcsLeadByte(1252, 0x81));
}

}  // namespace
}  // namespace inkmark

// Output files: replaced whole or left as they were, never written through
// something that is not a regular file.
#include "platform/output_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "support/temp_dir.h"

namespace inkmark {
namespace {

using testing::ReadFileText;
using testing::TempDir;

std::set<std::string> Names(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.insert(entry.path().filename().string());
  return names;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(OutputFile, ReplacesTheFileWholeKeepingItsModeAndTheLinkThatNamesIt) {
  TempDir dir;
  const auto doc = dir.Write("doc.bin", "old");
  ::chmod(doc.c_str(), 0640);
  EXPECT_EQ(WriteOutputFile(doc.string(), Bytes("new contents")), OutputError::kNone);
  EXPECT_EQ(ReadFileText(doc), "new contents");
  struct stat st {};
  ASSERT_EQ(::stat(doc.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  const auto target = dir.Write("target.bin", "old");
  std::filesystem::create_symlink(target, dir.path() / "link.bin");
  EXPECT_EQ(WriteOutputFile((dir.path() / "link.bin").string(), Bytes("through")),
            OutputError::kNone);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.bin"));
  EXPECT_EQ(ReadFileText(target), "through");
  EXPECT_EQ(WriteOutputFile((dir.path() / "fresh.bin").string(), Bytes("x")), OutputError::kNone);
  EXPECT_EQ(Names(dir.path()),
            (std::set<std::string>{"doc.bin", "fresh.bin", "link.bin", "target.bin"}));
}

TEST(OutputFile, AnAbandonedWriteOrAMissingFolderLeavesTheDestinationAndNoFileOfOurs) {
  TempDir dir;
  const auto doc = dir.Write("doc.bin", "precious");
  {
    OutputError error = OutputError::kCannotCreate;
    auto file = OutputFile::Create(doc.string(), error);
    ASSERT_TRUE(file);
    EXPECT_EQ(error, OutputError::kNone);
    EXPECT_TRUE(file->Write(Bytes("half")));
    EXPECT_EQ(Names(dir.path()).size(), 2u) << "the new file lies beside the destination";
  }
  EXPECT_EQ(ReadFileText(doc), "precious");
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"doc.bin"});
  EXPECT_EQ(WriteOutputFile((dir.path() / "no" / "x.bin").string(), Bytes("x")),
            OutputError::kCannotCreate);
  std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "dangling.bin");
  EXPECT_EQ(WriteOutputFile((dir.path() / "dangling.bin").string(), Bytes("x")),
            OutputError::kCannotCreate);
}

TEST(OutputFile, RefusesAFolderAFifoOrADeviceBeforeWritingAnything) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder");
  ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
  for (const std::string& path : {(dir.path() / "folder").string(), (dir.path() / "fifo").string(),
                                  std::string("/dev/null"), std::string("/dev/full")}) {
    EXPECT_EQ(WriteOutputFile(path, Bytes("x")), OutputError::kNotRegularFile) << path;
  }
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"fifo", "folder"}));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "folder"));
}

// A small file system of its own, where the machine allows mounting one.
TEST(OutputFile, AFullFileSystemLeavesTheDestinationByteForByte) {
  TempDir dir;
  const auto mount_point = dir.path() / "small";
  std::filesystem::create_directory(mount_point);
  if (::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "no tmpfs can be mounted here";
  const std::string old(40 * 1024, 'o');
  const auto path = mount_point / "doc.bin";
  TempDir::WriteFile(path, old);
  EXPECT_EQ(WriteOutputFile(path.string(), Bytes(std::string(48 * 1024, 'n'))),
            OutputError::kWriteFailed);
  const std::string kept = ReadFileText(path);
  const auto names = Names(mount_point);
  ::umount(mount_point.c_str());
  EXPECT_TRUE(kept == old) << "the destination changed: " << kept.size() << " bytes";
  EXPECT_EQ(names, std::set<std::string>{"doc.bin"});
}

}  // namespace
}  // namespace inkmark

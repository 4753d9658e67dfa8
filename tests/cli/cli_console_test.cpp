// The terminal side of the tool: questions answered on the terminal or
// refused without one, and long writes passed on whole while their progress shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "cli/cli_boxes.h"
#include "cli/progress_port.h"
#include "platform/string_table.h"
#include "ports/file_port.h"
#include "support/temp_dir.h"

namespace inkmark::cli {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File TempFile(const std::string& text = "") {
  File f(std::tmpfile(), &std::fclose);
  std::fputs(text.c_str(), f.get());
  std::rewind(f.get());
  return f;
}

std::string Contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string out;
  char buf[512];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, f)) out.append(buf, n);
  return out;
}

const std::string kCaption = LoadString(kStrAppCaption, 31);

TEST(TerminalMessageBoxesTest, OnlyYesIsYesAndWithoutATerminalQuestionsAreRefused) {
  File in = TempFile("maybe\ny\n\nr\n"), err = TempFile();
  TerminalMessageBoxes boxes(in.get(), err.get(), true);
  EXPECT_EQ(boxes.Show(nullptr, kCaption, "Delete?", kMbYesNo), kIdYes);  // "maybe" asks again
  EXPECT_EQ(boxes.Show(nullptr, kCaption, "Delete?", kMbYesNo), kIdNo);
  EXPECT_EQ(boxes.Show(nullptr, "Inquiry", "Retry?", kMbRetryCancel), kIdRetry);
  EXPECT_EQ(boxes.Show(nullptr, kCaption, "Delete?", kMbYesNo), kIdNo);  // end of input
  EXPECT_FALSE(boxes.answered_unasked());
  EXPECT_EQ(Contents(err.get()),
            "inkmark: Delete? [y/N] inkmark: Delete? [y/N] inkmark: Delete? [y/N] "
            "inkmark: Inquiry: Retry? [r(etry)/C(ancel)] inkmark: Delete? [y/N] \n");

  File no_terminal_in = TempFile("y\n"), no_terminal_err = TempFile();
  TerminalMessageBoxes refusing(no_terminal_in.get(), no_terminal_err.get(), false);
  EXPECT_EQ(refusing.Show(nullptr, kCaption, "Failed.", kMbOk), kIdOk);
  EXPECT_FALSE(refusing.answered_unasked());
  EXPECT_EQ(refusing.Show(nullptr, kCaption, "Delete?", kMbYesNo), kIdNo);
  EXPECT_EQ(refusing.Show(nullptr, "Inquiry", "Retry?", kMbRetryCancel), kIdCancel);
  EXPECT_TRUE(refusing.answered_unasked());
  EXPECT_EQ(Contents(no_terminal_err.get()),
            "inkmark: Failed.\n"
            "inkmark: Delete?\ninkmark: no terminal to answer; taken as No\n"
            "inkmark: Inquiry: Retry?\ninkmark: no terminal to answer; taken as Cancel\n");
}

TEST(ProgressPortTest, PassesLongWritesOnWholeAndCountsThem) {
  testing::TempDir dir;
  const std::string path = (dir.path() / "out.bin").string();
  FilePort file(path);
  ASSERT_EQ(file.open(), 1);
  File err = TempFile();
  ProgressPort port(file, err.get());
  std::string bytes;
  for (std::uint32_t i = 0; i < 2 * kProgressStep + 100; ++i) bytes.push_back(char(i * 7));
  std::uint32_t written = 0, errors = 0;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  ASSERT_EQ(port.write(data, 3, written, errors), 1);
  ASSERT_EQ(port.write(data + 3, std::uint32_t(bytes.size() - 3), written, errors), 1);
  EXPECT_EQ(written, bytes.size() - 3);
  file.close();
  EXPECT_EQ(testing::ReadFileText(path), bytes);
  const std::string total = std::to_string(bytes.size() - 3);
  EXPECT_EQ(Contents(err.get()),
            "\rinkmark: sent 4096 of " + total + " bytes\rinkmark: sent 8192 of " + total +
                " bytes\rinkmark: sent " + total + " of " + total + " bytes\n");
}

}  // namespace
}  // namespace inkmark::cli

// The terminal side of the tool: questions answered on the terminal, and long writes passed on
// whole while their progress shows.
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

std::string Contents(std::FILE* f) {
  std::rewind(f);  // after the writes still buffered
  std::string out(1 << 16, '\0');
  out.resize(std::fread(out.data(), 1, out.size(), f));
  return out;
}

// Without a terminal the end-to-end runs show questions refused.
TEST(TerminalMessageBoxesTest, OnlyYesIsYesAndEveryQuestionIsAskedAgainUntilAnswered) {
  char answers[] = "maybe\ny\n\nr\n";
  File in(fmemopen(answers, sizeof answers - 1, "r"), &std::fclose),
      err(std::tmpfile(), &std::fclose);
  const std::string caption = LoadString(kStrAppCaption, 31);
  TerminalMessageBoxes boxes(in.get(), err.get(), true);
  EXPECT_EQ(boxes.Show(nullptr, caption, "Delete?", kMbYesNo), kIdYes);  // "maybe" asks again
  EXPECT_EQ(boxes.Show(nullptr, caption, "Delete?", kMbYesNo), kIdNo);
  EXPECT_EQ(boxes.Show(nullptr, "Inquiry", "Retry?", kMbRetryCancel), kIdRetry);
  EXPECT_EQ(boxes.Show(nullptr, caption, "Delete?", kMbYesNo), kIdNo);  // end of input
  EXPECT_FALSE(boxes.answered_unasked());
  EXPECT_EQ(Contents(err.get()),
            "inkmark: Delete? [y/N] inkmark: Delete? [y/N] inkmark: Delete? [y/N] "
            "inkmark: Inquiry: Retry? [r(etry)/C(ancel)] inkmark: Delete? [y/N] \n");
}

TEST(ProgressPortTest, PassesLongWritesOnWholeAndCountsThem) {
  testing::TempDir dir;
  FilePort file((dir.path() / "out.bin").string());
  ASSERT_EQ(file.open(), 1);
  File err(std::tmpfile(), &std::fclose);
  ProgressPort port(file, err.get());
  std::string bytes(2 * kProgressStep + 103, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7);
  std::uint32_t written = 0, errors = 0;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  ASSERT_EQ(port.write(data, 3, written, errors), 1);  // a short write shows nothing
  ASSERT_EQ(port.write(data + 3, std::uint32_t(bytes.size() - 3), written, errors), 1);
  EXPECT_EQ(written, 8292u);
  file.close();
  EXPECT_EQ(testing::ReadFileText(dir.path() / "out.bin"), bytes);
  EXPECT_EQ(Contents(err.get()),
            "\rinkmark: sent 4096 of 8292 bytes\rinkmark: sent 8192 of 8292 bytes"
            "\rinkmark: sent 8292 of 8292 bytes\n");
}

}  // namespace
}  // namespace inkmark::cli

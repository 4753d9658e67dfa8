// The terminal side of the tool: questions answered on the terminal, and long writes passed on
// whole while their progress shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "cli/cli_boxes.h"
#include "platform/string_table.h"

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

}  // namespace
}  // namespace inkmark::cli

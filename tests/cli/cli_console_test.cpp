// The terminal side of the tool: questions answered on the terminal, long writes passed on
// whole while their progress shows, and the progress line in the user's language.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "cli/cli_boxes.h"
#include "cli/terminal_progress.h"
#include "platform/string_table.h"
#include "platform/translation.h"

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

// Without a terminal a question is refused, and said so in the user's language.
TEST(TerminalMessageBoxesTest, AQuestionWithoutATerminalIsRefusedInTheUsersLanguage) {
  for (const char* language : {"", "ja"}) {
    ASSERT_TRUE(LoadTranslations(language, INKMARK_BIN_DIR "/translations"));
    File err(std::tmpfile(), &std::fclose);
    TerminalMessageBoxes boxes(stdin, err.get(), false);
    EXPECT_EQ(boxes.Show(nullptr, "Inquiry", "Delete?", kMbYesNo), kIdNo);
    EXPECT_EQ(boxes.Show(nullptr, "Inquiry", "Retry?", kMbRetryCancel), kIdCancel);
    EXPECT_TRUE(boxes.answered_unasked());
    EXPECT_EQ(
        Contents(err.get()),
        *language
            ? "inkmark: Inquiry: Delete?\ninkmark: 答える端末がないため「いいえ」とします\n"
              "inkmark: Inquiry: Retry?\ninkmark: 答える端末がないため「キャンセル」とします\n"
            : "inkmark: Inquiry: Delete?\ninkmark: no terminal to answer; taken as No\n"
              "inkmark: Inquiry: Retry?\ninkmark: no terminal to answer; taken as "
              "Cancel\n");
  }
  LoadTranslations("", {});
}

// The progress line in the user's language, rewritten in place and ended
// once; a transfer of one piece shows none.
TEST(TerminalProgressTest, TheLineFollowsTheLanguageAndEndsOnce) {
  for (const char* language : {"", "ja"}) {
    ASSERT_TRUE(LoadTranslations(language, INKMARK_BIN_DIR "/translations"));
    File err(std::tmpfile(), &std::fclose);
    {
      TerminalProgress progress(err.get());
      EXPECT_TRUE(progress.Update(0, kProgressStep - 1));
      EXPECT_TRUE(progress.Update(kProgressStep - 1, kProgressStep - 1));
      progress.Finished();
      EXPECT_TRUE(progress.Update(0, 8192));
      EXPECT_TRUE(progress.Update(4096, 8192));
      EXPECT_TRUE(progress.Update(8192, 8192));
      progress.Finished();
      progress.Finished();
    }
    EXPECT_EQ(Contents(err.get()),
              *language ? "\rinkmark: 8192 バイト中 4096 バイトを送信"
                          "\rinkmark: 8192 バイト中 8192 バイトを送信\n"
                        : "\rinkmark: sent 4096 of 8192 bytes\rinkmark: sent 8192 of 8192 bytes\n");
  }
  LoadTranslations("", {});
}

}  // namespace
}  // namespace inkmark::cli

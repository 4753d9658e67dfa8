#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "support/recording_message_boxes.h"

namespace inkmark {
namespace {

TEST(ShowMessage, TitlesWithCaptionDropsTheInstanceAsOwnerAndPutsTheArgumentLiterally) {
  testing::RecordingMessageBoxes boxes;
  int window = 0;
  EXPECT_EQ(ShowMessage(kAppInstance, kStrNoPrinterFile), kIdOk);
  ShowMessage(&window, kStrAskDelete, "%d", kMbYesNo);
  ShowMessage(nullptr, kStrNvSizeLimit, std::string(400, 'x').c_str());
  ASSERT_EQ(boxes.boxes().size(), 3u);
  const auto& b = boxes.boxes();
  EXPECT_EQ(b[0].owner, nullptr);
  EXPECT_EQ(b[0].caption + "|" + b[0].text,
            "Quorvel Inkmark Tool|Printer information file(*.DEF) is missing.");
  EXPECT_EQ(b[1].owner, &window);
  EXPECT_EQ(b[1].text, "Do you want to delete NV graphics \"%d\" ?");
  EXPECT_EQ(b[1].style, unsigned(kMbYesNo));
  EXPECT_EQ(b[2].text.size(), 255u);
  EXPECT_EQ(b[2].text.rfind("The registrable image data size", 0), 0u);
}

TEST(StderrMessageBoxes, WriteTheBoxAndAnswerTheSafeButton) {
  StderrMessageBoxes boxes;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(boxes.Show(nullptr, "Inquiry", "Retry?", kMbRetryCancel), kIdCancel);
  EXPECT_EQ(boxes.Show(nullptr, "Inquiry", "Delete?", kMbYesNo), kIdNo);
  EXPECT_EQ(boxes.Show(nullptr, "ERROR", "Failed.", kMbOk), kIdOk);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Inquiry: Retry?\nInquiry: Delete?\nERROR: Failed.\n");
}

TEST(StringTable, TextsAreCutAsFixedBuffersCutThem) {
  EXPECT_EQ(LoadString(kStrAppCaption, 31), "Quorvel Inkmark Tool");
  EXPECT_EQ(LoadString(kStrNoMemory, 10), "Insufficie");
  EXPECT_EQ(LoadString(18), "");
  EXPECT_NE(LoadString(kStrCannotReadImage).find(".\nThe file may be corrupted"),
            std::string::npos);
}

}  // namespace
}  // namespace inkmark

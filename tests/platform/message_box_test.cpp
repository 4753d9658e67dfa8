#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "support/recording_message_boxes.h"

namespace inkmark {
namespace {

TEST(ShowMessage, TitlesWithCaptionAndDropsTheInstanceAsOwner) {
  testing::RecordingMessageBoxes boxes;
  int window = 0;
  EXPECT_EQ(ShowMessage(kAppInstance, kStrNoPrinterFile), kIdOk);
  ShowMessage(&window, kStrPortOpenFailed);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
  EXPECT_EQ(boxes.boxes()[0].caption, "Quorvel Inkmark Tool");
  EXPECT_EQ(boxes.boxes()[0].text, "Printer information file(*.DEF) is missing.");
  EXPECT_EQ(boxes.boxes()[1].owner, &window);
}

TEST(ShowMessage, PutsTheArgumentInPlaceLiterallyAndCutsTo255) {
  testing::RecordingMessageBoxes boxes;
  ShowMessage(nullptr, kStrAskDelete, "%d", kMbYesNo);
  EXPECT_EQ(boxes.boxes()[0].text, "Do you want to delete NV graphics \"%d\" ?");
  EXPECT_EQ(boxes.boxes()[0].style, unsigned(kMbYesNo));
  ShowMessage(nullptr, kStrNvSizeLimit, std::string(400, 'x').c_str());
  EXPECT_EQ(boxes.boxes()[1].text.size(), 255u);
  EXPECT_EQ(boxes.boxes()[1].text.rfind("The registrable image data size", 0), 0u);
}

TEST(ShowMessage, ScriptedAnswersThenSafeDefaults) {
  testing::RecordingMessageBoxes boxes;
  boxes.Answer({kIdYes});
  EXPECT_EQ(ShowMessage(nullptr, kStrAskDelete, "AB", kMbYesNo), kIdYes);
  EXPECT_EQ(ShowMessage(nullptr, kStrAskDelete, "AB", kMbYesNo), kIdNo);
  EXPECT_EQ(CurrentMessageBoxes().Show(nullptr, "Inquiry", "?", kMbRetryCancel), kIdCancel);
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

// The key-entry window over the fake view: registration in the virtual
// printer, the refused keys, and the command file.
#include "protocol/key_entry_window.h"

#include "fake_view.h"
#include "image/compose.h"
#include "platform/string_table.h"
#include "protocol/key_entry_template.h"
#include "support/temp_dir.h"
#include "window_fixtures.h"

namespace inkmark::testing {
namespace {

class KeyEntryTest : public PrinterWindowTest {
 protected:
  void SetUp() override {
    PrinterWindowTest::SetUp();
    window.Open();
    view.SetEvents(&window);
  }

  // Types the key and presses "&Execute".
  void Execute(const std::string& key) {
    view.UserType(kKeyEntryEdit, key);
    view.UserClick(kKeyEntryExecute);
  }

  // The picture the raster built from the session's source prints as.
  vprinter::Picture Expected() {
    auto raster = BuildLogoRaster(cs.session());
    EXPECT_TRUE(raster);
    return ExpectedPicture(*raster, 64, 20, *raster->FindInk(kColorBlack),
                           *raster->FindInk(kColorRed));
  }

  FakeView view{KeyEntryTemplate()};
  KeyEntryWindow window{cs.session(), view, host};
};

TEST_F(KeyEntryTest, RegistersUnderTheProposedKeyAndCloses) {
  EXPECT_EQ(view.Text(kKeyEntryEdit), "00");
  EXPECT_EQ(view.control(kKeyEntryEdit).limit, 2);
  view.UserClick(kKeyEntryExecute);
  EXPECT_EQ(host.ended, std::vector<int>{1});
  EXPECT_EQ(host.busy, 0);
  ASSERT_TRUE(WaitFor([&] { return printer->Find(VKey("00")).has_value(); }));
  auto picture = vprinter::RenderGraphics(*printer->Find(VKey("00")));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->inks, Expected().inks);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(KeyEntryTest, RefusesStoredKeyButTakesOtherLetterCase) {
  Store("AB");
  Execute("AB");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrKeyExists)});
  EXPECT_TRUE(host.ended.empty()) << "the window stays open for another key";
  EXPECT_EQ(host.busy, 0);

  Execute("ab");
  EXPECT_EQ(host.ended, std::vector<int>{1});
  ASSERT_TRUE(WaitFor([&] { return printer->Keys().size() == 2; }));
  EXPECT_EQ(printer->Find(VKey("AB"))->height, 1) << "the stored graphics were overwritten";
}

TEST_F(KeyEntryTest, RefusesMalformedKeysBeforeOpeningThePort) {
  const std::vector<std::string> keys = {"A", "", "A\x7f", std::string("\x80") + "A",
                                         std::string("\x1f") + "A"};
  for (const std::string& key : keys) {
    boxes.clear();
    Execute(key);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrBadKey)}) << key;
  }
  EXPECT_TRUE(host.ended.empty());
  EXPECT_TRUE(printer->Keys().empty());
  EXPECT_EQ(host.busy, 0);

  boxes.clear();
  Execute(" ~");
  EXPECT_EQ(host.ended, std::vector<int>{1});
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_TRUE(WaitFor([&] { return printer->Find(VKey(" ~")).has_value(); }));
}

TEST_F(KeyEntryTest, MissingPortKeepsWindowOpen) {
  Unplug();
  Execute("K1");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrPortOpenFailed)});
  EXPECT_TRUE(host.ended.empty());
  EXPECT_EQ(host.busy, 0);
}

TEST_F(KeyEntryTest, CommandFileHoldsOnlyTheDefinitionOfTheSameLogo) {
  LogoSession& s = cs.session();
  TempDir out;
  // An older, longer file of that name is replaced, not overwritten in part.
  s.save_path = out.Write("logo file.bin", std::string(100000, '\x1b')).string();
  s.save_as_command_file = 1;
  Store("AB");  // in the printer, which a command file never asks
  Execute("AB");
  EXPECT_EQ(host.ended, std::vector<int>{1});
  EXPECT_TRUE(boxes.boxes().empty());

  std::string file = ReadFileText(s.save_path);
  std::vector<vprinter::Command> commands = DecodeStream(Bytes(file.begin(), file.end()));
  ASSERT_EQ(commands.size(), 1u);
  ASSERT_EQ(commands[0].kind, vprinter::CommandKind::kDefine);
  EXPECT_EQ(commands[0].key, VKey("AB"));
  auto picture = vprinter::RenderGraphics(commands[0].graphics);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->inks, Expected().inks);
  EXPECT_EQ(printer->Find(VKey("AB"))->height, 1) << "the printer was addressed";
}

TEST_F(KeyEntryTest, StopAndCloseBoxEndWithoutRegistering) {
  view.UserClick(kKeyEntryStop);
  view.UserCloseBox();
  EXPECT_EQ(host.ended, (std::vector<int>{0, 0}));
  EXPECT_TRUE(printer->Keys().empty());
}

}  // namespace
}  // namespace inkmark::testing

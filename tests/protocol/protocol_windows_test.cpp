// The key-entry and NV manager windows over the fake view, against the
// virtual printer behind the pseudo-terminal that the session's COM1 reaches.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "compose_fixture.h"
#include "fake_view.h"
#include "image/compose.h"
#include "platform/string_table.h"
#include "protocol/key_entry_template.h"
#include "protocol/key_entry_window.h"
#include "protocol/nv_manager_template.h"
#include "protocol/nv_manager_window.h"
#include "protocol_fixtures.h"

namespace inkmark::testing {
namespace {

class RecordingDialogHost final : public DialogHost {
 public:
  void BeginBusy() override { ++busy; }
  void EndBusy() override { --busy; }
  void EndDialog(int result) override { ended.push_back(result); }
  WindowHandle Owner() const override { return this; }

  int busy = 0;
  std::vector<int> ended;
};

// A multiple-selection list; the user's toggles report as the widget's do.
class FakeListBox final : public ListBoxView {
 public:
  void UserToggle(int index) {
    selected.at(index) = !selected.at(index);
    events->OnControl(kNvKeyList, Notification::kSelectionChanged);
  }

  void Clear() override {
    items.clear();
    selected.clear();
  }
  int Append(std::string_view text) override {
    items.emplace_back(text);
    selected.push_back(false);
    return Count() - 1;
  }
  void Remove(int index) override {
    items.erase(items.begin() + index);
    selected.erase(selected.begin() + index);
  }
  int Count() const override { return int(items.size()); }
  std::string Item(int index) const override { return items.at(index); }
  bool IsSelected(int index) const override { return selected.at(index); }
  void SetSelected(int first, int last, bool on) override {
    for (int i = std::max(0, first); i <= last && i < Count(); ++i) selected[i] = on;
  }

  Texts items;
  std::vector<bool> selected;
  ControlEvents* events = nullptr;
};

// Waits up to two seconds for the printer thread to have done something.
bool WaitFor(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(5)))
    if (std::chrono::steady_clock::now() > end) return false;
  return true;
}

vprinter::NvKey VKey(const std::string& text) {
  return {std::uint8_t(text[0]), std::uint8_t(text[1])};
}

// A two-ink printer at COM1, two keys to a block, and a picture as the
// session's source.
class PrinterWindowTest : public PtyPrinterTest {
 protected:
  void SetUp() override {
    vprinter::PrinterOptions options;
    options.keys_per_block = 2;
    StartPrinter(options);
    cs.UsePicture(SplitBitmap(60, 20, kBlack24, kRed24));
    UseProfile(cs.session(), ProfileFor("QP-80"));
  }

  // Takes the printer away: the port's device link then leads nowhere.
  void Unplug() {
    server->Stop();
    std::filesystem::create_symlink(home.folder() / "no printer", Link());
  }
  // Graphics of `height` rows, so that prints can be told apart.
  void Store(const std::string& key, int height = 1) {
    vprinter::Graphics g{vprinter::GraphicsForm::kRaster, 8, std::uint16_t(height), {}};
    g.blocks = {{vprinter::kFirstInkCode, Bytes(height, 0xFF)}};
    printer->Define(VKey(key), g);
  }
  void TearDown() override { EXPECT_EQ(host.busy, 0) << "each busy spell ends"; }
  bool Has(const std::string& key) const { return printer->Find(VKey(key)).has_value(); }

  ComposeSession cs{96};
  RecordingDialogHost host;
};

class KeyEntryTest : public PrinterWindowTest {
 protected:
  void SetUp() override {
    PrinterWindowTest::SetUp();
    window.Open();
    view.SetEvents(&window);
  }
  void Execute(const std::string& key) {
    view.UserType(kKeyEntryEdit, key);
    view.UserClick(kKeyEntryExecute);
  }
  // What the logo built from the session's source prints as.
  std::vector<std::uint8_t> Expected() {
    auto raster = BuildLogoRaster(cs.session());
    return raster ? ExpectedInks(*raster, 64, 20, *raster->FindInk(kColorBlack),
                                 *raster->FindInk(kColorRed))
                  : Bytes{};
  }

  FakeView view{KeyEntryTemplate()};
  KeyEntryWindow window{cs.session(), view, host};
};

TEST_F(KeyEntryTest, RegistersUnderTheProposedKeyAndCloses) {
  EXPECT_EQ(view.Text(kKeyEntryEdit), "00");
  EXPECT_EQ(view.control(kKeyEntryEdit).limit, 2);
  view.UserClick(kKeyEntryExecute);
  EXPECT_EQ(host.ended, std::vector<int>{1});
  ASSERT_TRUE(WaitFor([&] { return Has("00"); }));
  EXPECT_EQ(StoredInks(*printer, "00"), Expected());
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(KeyEntryTest, RefusesStoredKeyButTakesOtherLetterCase) {
  Store("AB");
  Execute("AB");
  EXPECT_EQ(boxes.texts(), Texts{LoadString(kStrKeyExists)});
  EXPECT_TRUE(host.ended.empty()) << "the window stays open for another key";
  Execute("ab");
  EXPECT_EQ(host.ended, std::vector<int>{1});
  ASSERT_TRUE(WaitFor([&] { return printer->Keys().size() == 2; }));
  EXPECT_EQ(printer->Find(VKey("AB"))->height, 1) << "the stored graphics were overwritten";
}

TEST_F(KeyEntryTest, RefusesMalformedKeysBeforeOpeningThePort) {
  for (const std::string key : {"A", "", "A\x7f", "\x80!", "\x1f!"}) {
    boxes.clear();
    Execute(key);
    EXPECT_EQ(boxes.texts(), Texts{LoadString(kStrBadKey)}) << key;
  }
  EXPECT_TRUE(host.ended.empty());
  EXPECT_TRUE(printer->Keys().empty());
  boxes.clear();
  Execute(" ~");  // the lowest and highest key bytes
  EXPECT_EQ(host.ended, std::vector<int>{1});
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_TRUE(WaitFor([&] { return Has(" ~"); }));
}

TEST_F(KeyEntryTest, MissingPortKeepsTheWindowOpenUntilStopOrCloseBox) {
  Unplug();
  Execute("K1");
  EXPECT_EQ(boxes.texts(), Texts{LoadString(kStrPortOpenFailed)});
  EXPECT_TRUE(host.ended.empty());
  view.UserClick(kKeyEntryStop);
  view.UserCloseBox();
  EXPECT_EQ(host.ended, (std::vector<int>{0, 0}));
}

TEST_F(KeyEntryTest, CommandFileHoldsOnlyTheDefinitionOfTheSameLogo) {
  LogoSession& s = cs.session();
  // An older, longer file of that name is replaced, not overwritten in part.
  s.save_path = cs.dir().Write("logo file.bin", std::string(100000, '\x1b')).string();
  s.save_as_command_file = 1;
  Store("AB");  // in the printer, which a command file never asks
  Execute("AB");
  EXPECT_EQ(host.ended, std::vector<int>{1});
  EXPECT_TRUE(boxes.boxes().empty());
  const auto commands = DecodeStream(B(ReadFileText(s.save_path)));
  ASSERT_EQ(commands.size(), 1u);
  ASSERT_EQ(commands[0].kind, vprinter::CommandKind::kDefine);
  EXPECT_EQ(commands[0].key, VKey("AB"));
  EXPECT_EQ(vprinter::RenderGraphics(commands[0].graphics)->inks, Expected());
  EXPECT_EQ(printer->Find(VKey("AB"))->height, 1) << "the printer was addressed";
}

constexpr int kSelectionButtons[] = {kNvDelete, kNvPrint, kNvRemoveSelect};

class NvManagerTest : public PrinterWindowTest {
 protected:
  void SetUp() override {
    PrinterWindowTest::SetUp();
    window.Open();
    view.SetEvents(&window);
    keys.events = &window;
  }
  // Stores five keys, of 1 to 5 rows, and lists them over three blocks.
  void ListFive() {
    for (int i = 0; i < 5; ++i) Store(std::string{'K', char('1' + i)}, i + 1);
    view.UserClick(kNvGetKeys);
    ASSERT_EQ(keys.Count(), 5);
  }
  bool ButtonsEnabled() const {
    bool all = true, any = false;
    for (int id : kSelectionButtons) {
      all = all && view.IsEnabled(id);
      any = any || view.IsEnabled(id);
    }
    EXPECT_EQ(all, any) << "the three buttons go together";
    return all;
  }
  std::string Text(int id, const std::string& key) { return FormatMessageText(id, key.c_str()); }

  FakeView view{NvManagerTemplate()};
  FakeListBox keys;
  NvManagerWindow window{cs.session(), view, keys, host};
};

TEST_F(NvManagerTest, ListsKeysOverSeveralBlocksAndTheSelectionDrivesTheButtons) {
  EXPECT_FALSE(view.IsEnabled(kNvSelectAll));
  EXPECT_FALSE(ButtonsEnabled());
  ListFive();
  EXPECT_EQ(keys.items, (Texts{"K1", "K2", "K3", "K4", "K5"}));
  EXPECT_TRUE(view.IsEnabled(kNvSelectAll));
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_TRUE(boxes.boxes().empty());

  view.UserClick(kNvSelectAll);
  EXPECT_TRUE(keys.IsSelected(4));
  EXPECT_TRUE(ButtonsEnabled());
  view.UserClick(kNvRemoveSelect);
  EXPECT_FALSE(keys.IsSelected(4));
  EXPECT_FALSE(ButtonsEnabled());
  keys.UserToggle(0);
  EXPECT_TRUE(ButtonsEnabled());
  // A second listing replaces the items rather than adding to them.
  Store("ZZ");
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(keys.Count(), 6);
}

TEST_F(NvManagerTest, EmptyPrinterKeepsTheListAsItWas) {
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(boxes.texts(), Texts{LoadString(kStrNoKeys)});
  EXPECT_FALSE(view.IsEnabled(kNvSelectAll));
  ListFive();
  keys.UserToggle(2);
  for (const vprinter::NvKey& key : printer->Keys()) printer->Delete(key);
  boxes.clear();
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(boxes.texts(), Texts{LoadString(kStrNoKeys)});
  EXPECT_EQ(keys.Count(), 5);
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(NvManagerTest, DeleteAsksForEachSelectedKeyInListOrder) {
  ListFive();
  for (int i : {1, 2, 3}) keys.UserToggle(i);
  boxes.Answer({kIdYes, kIdNo, kIdYes});
  view.UserClick(kNvDelete);
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrAskDelete, "K2"), Text(kStrAskDelete, "K3"),
                                  Text(kStrAskDelete, "K4")}));
  EXPECT_EQ(boxes.boxes()[0].style & kMbButtonMask, unsigned(kMbYesNo));
  // Answering No keeps the key, still selected.
  EXPECT_EQ(keys.items, (Texts{"K1", "K3", "K5"}));
  EXPECT_TRUE(keys.IsSelected(1));
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_TRUE(WaitFor([&] { return printer->Keys().size() == 3; }));
  EXPECT_TRUE(Has("K3"));
  EXPECT_FALSE(Has("K2") || Has("K4"));

  // With the remaining selection answered Yes, nothing is left selected.
  boxes.Answer({kIdYes});
  view.UserClick(kNvDelete);
  EXPECT_EQ(keys.items, (Texts{"K1", "K5"}));
  EXPECT_FALSE(ButtonsEnabled());
}

TEST_F(NvManagerTest, PrintsEachSelectedKeyThroughItsOwnPort) {
  ListFive();
  for (int i : {0, 2, 4}) keys.UserToggle(i);
  view.UserClick(kNvPrint);
  ASSERT_TRUE(WaitFor([&] { return printer->Printed().size() == 3; }));
  std::vector<int> heights;
  for (const vprinter::Picture& p : printer->Printed()) heights.push_back(p.height);
  EXPECT_EQ(heights, (std::vector<int>{1, 3, 5}));
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_TRUE(keys.IsSelected(2)) << "printing leaves the selection";
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(NvManagerTest, FailedKeysAreReportedAndTheRestStillProcessed) {
  ListFive();
  keys.UserToggle(0);
  keys.UserToggle(1);
  Unplug();
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(boxes.texts(), Texts{LoadString(kStrPortOpenFailed)});
  boxes.clear();
  view.UserClick(kNvPrint);
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrPrintFailed, "K1"), Text(kStrPrintFailed, "K2")}));

  boxes.clear();
  boxes.Answer({kIdYes, kIdOk, kIdYes});  // each failure box takes an answer too
  view.UserClick(kNvDelete);
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrAskDelete, "K1"), Text(kStrDeleteFailed, "K1"),
                                  Text(kStrAskDelete, "K2"), Text(kStrDeleteFailed, "K2")}));
  EXPECT_EQ(keys.Count(), 5) << "a key leaves the list only once its delete went out";
  EXPECT_TRUE(ButtonsEnabled());
  view.UserClick(kNvClose);
  EXPECT_EQ(host.ended, std::vector<int>{1});
}

}  // namespace
}  // namespace inkmark::testing

// The NV manager window over the fake view against the virtual printer:
// listing, selection, printing and deleting with the user's answers.
#include "protocol/nv_manager_window.h"

#include "fake_view.h"
#include "platform/string_table.h"
#include "protocol/nv_manager_template.h"
#include "window_fixtures.h"

namespace inkmark::testing {
namespace {

constexpr int kSelectionButtons[] = {kNvDelete, kNvPrint, kNvRemoveSelect};

class NvManagerTest : public PrinterWindowTest {
 protected:
  // Two keys to a block, so that five keys take three blocks.
  NvManagerTest() : PrinterWindowTest(2) {}

  void SetUp() override {
    PrinterWindowTest::SetUp();
    window.Open();
    view.SetEvents(&window);
    keys.SetEvents(&window, kNvKeyList);
  }

  // Stores five keys, of 1 to 5 rows, and lists them.
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

TEST_F(NvManagerTest, ListsKeysOverSeveralBlocksInPrinterOrder) {
  EXPECT_FALSE(view.IsEnabled(kNvSelectAll));
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_TRUE(view.IsEnabled(kNvGetKeys));
  ListFive();
  EXPECT_EQ(keys.Items(), (std::vector<std::string>{"K1", "K2", "K3", "K4", "K5"}));
  EXPECT_TRUE(view.IsEnabled(kNvSelectAll));
  EXPECT_FALSE(ButtonsEnabled());
  EXPECT_EQ(host.busy, 0);
  EXPECT_TRUE(boxes.boxes().empty());

  // A second listing replaces the items rather than adding to them.
  Store("ZZ");
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(keys.Count(), 6);
}

TEST_F(NvManagerTest, EmptyPrinterKeepsTheListAsItWas) {
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrNoKeys)});
  EXPECT_FALSE(view.IsEnabled(kNvSelectAll));

  ListFive();
  keys.UserToggle(2);
  for (const vprinter::NvKey& key : printer->Keys()) printer->Delete(key);
  boxes.clear();
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrNoKeys)});
  EXPECT_EQ(keys.Count(), 5);
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(NvManagerTest, SelectionDrivesTheButtons) {
  Store("AA");
  view.UserClick(kNvGetKeys);
  view.UserClick(kNvSelectAll);
  EXPECT_TRUE(keys.IsSelected(0));
  EXPECT_TRUE(ButtonsEnabled());
  view.UserClick(kNvRemoveSelect);
  EXPECT_FALSE(keys.IsSelected(0));
  EXPECT_FALSE(ButtonsEnabled());
  keys.UserToggle(0);
  EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(NvManagerTest, DeleteAsksForEachSelectedKeyInListOrder) {
  ListFive();
  for (int i : {1, 2, 3}) keys.UserToggle(i);
  boxes.Answer({kIdYes, kIdNo, kIdYes});
  view.UserClick(kNvDelete);
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{Text(kStrAskDelete, "K2"), Text(kStrAskDelete, "K3"),
                                      Text(kStrAskDelete, "K4")}));
  EXPECT_EQ(boxes.boxes()[0].style & kMbButtonMask, unsigned(kMbYesNo));
  // Answering No keeps the key, still selected.
  EXPECT_EQ(keys.Items(), (std::vector<std::string>{"K1", "K3", "K5"}));
  EXPECT_TRUE(keys.IsSelected(1));
  EXPECT_FALSE(keys.IsSelected(0));
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(host.busy, 0);
  EXPECT_TRUE(WaitFor([&] { return printer->Keys().size() == 3; }));
  EXPECT_FALSE(printer->Find(VKey("K2")));
  EXPECT_TRUE(printer->Find(VKey("K3")));
  EXPECT_FALSE(printer->Find(VKey("K4")));

  // With the remaining selection answered Yes, nothing is left selected.
  boxes.Answer({kIdYes});
  view.UserClick(kNvDelete);
  EXPECT_EQ(keys.Items(), (std::vector<std::string>{"K1", "K5"}));
  EXPECT_FALSE(ButtonsEnabled());
}

TEST_F(NvManagerTest, PrintsEachSelectedKeyThroughItsOwnPort) {
  ListFive();
  keys.UserToggle(0);
  keys.UserToggle(2);
  keys.UserToggle(4);
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
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{LoadString(kStrPortOpenFailed)});
  boxes.clear();
  view.UserClick(kNvPrint);
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{Text(kStrPrintFailed, "K1"), Text(kStrPrintFailed, "K2")}));

  boxes.clear();
  boxes.Answer({kIdYes, kIdOk, kIdYes});  // each failure box takes an answer too
  view.UserClick(kNvDelete);
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{Text(kStrAskDelete, "K1"), Text(kStrDeleteFailed, "K1"),
                                      Text(kStrAskDelete, "K2"), Text(kStrDeleteFailed, "K2")}));
  EXPECT_EQ(keys.Count(), 5) << "a key leaves the list only once its delete went out";
  EXPECT_TRUE(ButtonsEnabled());
  EXPECT_EQ(host.busy, 0);
  view.UserClick(kNvClose);
  EXPECT_EQ(host.ended, std::vector<int>{1});
}

}  // namespace
}  // namespace inkmark::testing

// The key-entry and NV manager windows over the fake view, against the
// virtual printer behind the pseudo-terminal that the session's COM1 reaches.
#include <gtest/gtest.h>

#include "document/compose.h"
#include "ledger/ledger.h"
#include "platform/string_table.h"
#include "support/compose_fixture.h"
#include "support/fake_view.h"
#include "support/protocol_fixtures.h"
#include "support/temp_dir.h"
#include "windows/key_entry_template.h"
#include "windows/key_entry_window.h"
#include "windows/nv_manager_template.h"
#include "windows/nv_manager_window.h"

namespace inkmark::testing {
namespace {

struct RecordingDialogHost final : DialogHost {
  void BeginBusy() override { ++busy; }
  void EndBusy() override { --busy; }
  void EndDialog(int result) override { ended.push_back(result); }
  WindowHandle Owner() const override { return this; }

  int busy = 0;
  std::vector<int> ended;
};

// A multiple-selection list; the user's toggles report as the widget's do.
struct FakeListBox final : ListBoxView {
  void UserToggle(int index) {
    selected.at(index) = !selected.at(index);
    events->OnControl(kNvKeyList, Notification::kSelectionChanged);
  }
  void Clear() override { items.clear(), selected.clear(); }
  int Append(std::string_view text) override {
    return items.emplace_back(text), selected.push_back(false), Count() - 1;
  }
  void Remove(int i) override {
    items.erase(items.begin() + i), selected.erase(selected.begin() + i);
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

// Both windows open over their views, on a two-ink printer at COM1 with a
// picture as the session's source.
class PrinterWindowTest : public PtyPrinterTest {
 protected:
  void SetUp() override {
    PtyPrinterTest::SetUp();
    cs.UsePicture(SplitBitmap(60, 20, kBlack24, kRed24));
    UseProfile(cs.session(), ProfileFor("QP-80"));
    entry.Open();
    entry_view.SetEvents(&entry);
    manager.Open();
    view.SetEvents(&manager);
    keys.events = &manager;
  }
  void TearDown() override { EXPECT_EQ(host.busy, 0) << "each busy spell ends"; }

  // Takes the printer away: the port's device link then leads nowhere.
  void Unplug() {
    server->Stop();
    std::filesystem::create_symlink(home.folder() / "no printer", Link());
  }
  // Graphics of `height` rows, so that prints can be told apart.
  void Store(const std::string& key, int height = 1) {
    printer->Define(VKey(key), {vprinter::GraphicsForm::kRaster,
                                8,
                                std::uint16_t(height),
                                {{vprinter::kFirstInkCode, Bytes(height, 0xFF)}}});
  }
  bool Has(const std::string& key) const { return printer->Find(VKey(key)).has_value(); }
  void Execute(const std::string& key) {
    entry_view.UserType(kKeyEntryEdit, key);
    entry_view.UserClick(kKeyEntryExecute);
  }
  // What the logo built from the session's source prints as.
  Bytes Expected() { return ExpectedInks(BuildLogoRaster(cs.session()).value(), 64, 20); }
  // Stores five keys, of 1 to 5 rows, and lists them over three blocks.
  void ListFive() {
    for (int i = 0; i < 5; ++i) Store(std::string{'K', char('1' + i)}, i + 1);
    view.UserClick(kNvGetKeys);
    ASSERT_EQ(keys.Count(), 5);
  }
  // Select All, the selection buttons, which go together ("on:" or "off:"),
  // and the selected keys.
  std::string State() const {
    const int on =
        view.IsEnabled(kNvDelete) + view.IsEnabled(kNvPrint) + view.IsEnabled(kNvRemoveSelect);
    std::string state = view.IsEnabled(kNvSelectAll) ? "all, " : "";
    state += on == 3 ? "on:" : on == 0 ? "off:" : "mixed:";
    for (int i = 0; i < keys.Count(); ++i) state += keys.IsSelected(i) ? " " + keys.Item(i) : "";
    return state;
  }
  std::string Text(int id, const std::string& key) { return FormatMessageText(id, key.c_str()); }

  ComposeSession cs{96};
  RecordingDialogHost host;
  FakeView entry_view{KeyEntryTemplate()}, view{NvManagerTemplate()};
  KeyEntryWindow entry{cs.session(), entry_view, host};
  FakeListBox keys;
  NvManagerWindow manager{cs.session(), view, keys, host};
};

TEST_F(PrinterWindowTest, KeyEntryRegistersUnderNewWellFormedKeysOnly) {
  for (const std::string key : {"A", "A\x7f", "\x1f!"}) Execute(key);
  Store("AB");
  Execute("AB");
  EXPECT_EQ(boxes.texts(), (Texts{LoadString(kStrBadKey), LoadString(kStrBadKey),
                                  LoadString(kStrBadKey), LoadString(kStrKeyExists)}));
  // After each refusal the key is selected again, so that typing replaces it.
  const std::vector<int> refused(4, kKeyEntryEdit);
  EXPECT_EQ(entry_view.selected(), refused);
  boxes.clear();
  Execute("ab");  // another key than "AB"; the window stayed open for it
  Execute(" ~");  // the lowest and highest key bytes
  EXPECT_EQ(host.ended, (std::vector<int>{1, 1}));
  EXPECT_EQ(entry_view.selected(), refused) << "an accepted key was selected again";
  ASSERT_TRUE(WaitFor([&] { return Has("ab") && Has(" ~"); }));
  EXPECT_EQ(Stored("ab"), Expected());
  EXPECT_EQ(printer->Find(VKey("AB"))->height, 1) << "the stored graphics were overwritten";

  // Without the printer the window stays open until Stop or the close box.
  Unplug();
  Execute("K1");
  // The standard text, then which device is missing.
  const std::string no_port =
      LoadString(kStrPortOpenFailed) + "\n" + Link().string() + ": No such file or directory";
  EXPECT_EQ(boxes.texts(), Texts{no_port});
  entry_view.UserClick(kKeyEntryStop);
  entry_view.UserCloseBox();
  EXPECT_EQ(host.ended, (std::vector<int>{1, 1, 0, 0}));

  // A command file needs no printer and takes any key. An older, longer file
  // of that name is replaced, not overwritten in part.
  LogoSession& s = cs.session();
  s.save_path = cs.dir().Write("logo file.bin", std::string(100000, '\x1b')).string();
  s.save_as_command_file = 1;
  Execute("AB");
  EXPECT_EQ(host.ended, (std::vector<int>{1, 1, 0, 0, 1}));
  EXPECT_EQ(boxes.boxes().size(), 1u);
  const auto commands = DecodeStream(B(ReadFileText(s.save_path)));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].key, VKey("AB"));
  EXPECT_EQ(vprinter::RenderGraphics(commands[0].graphics)->inks, Expected());
}

TEST_F(PrinterWindowTest, AFailedOrRefusedCommandFileLeavesWhatTheUserHadUnderThatName) {
  LogoSession& s = cs.session();
  s.save_as_command_file = 1;
  cs.UsePicture(SolidBitmap(8, 2400, kBlack24));  // taller than a logo may be
  s.save_path = cs.dir().Write("keep.bin", "precious").string();
  Execute("AB");
  EXPECT_EQ(boxes.texts(), Texts{Text(kStrNvSizeLimit, "2304")});
  EXPECT_EQ(ReadFileText(s.save_path), "precious");
  boxes.clear();
  std::filesystem::create_directory(cs.dir().path() / "folder");
  s.save_path = (cs.dir().path() / "folder").string();
  Execute("AB");
  EXPECT_EQ(boxes.texts(), Texts{Text(kStrNotRegularFile, s.save_path)});
  EXPECT_TRUE(std::filesystem::is_empty(s.save_path));
  EXPECT_TRUE(host.ended.empty()) << "the window stays open for another name";
  for (const auto& entry : std::filesystem::directory_iterator(cs.dir().path()))
    EXPECT_NE(entry.path().filename().string().rfind(".~", 0), 0u) << entry.path();
}

TEST_F(PrinterWindowTest, NvManagerListsPrintsAndDeletesTheSelectionAndReportsEachFailedKey) {
  view.UserClick(kNvGetKeys);  // nothing stored yet
  EXPECT_EQ(boxes.texts(), Texts{LoadString(kStrNoKeys)});
  EXPECT_EQ(State(), "off:");
  boxes.clear();
  ListFive();
  EXPECT_EQ(keys.items, (Texts{"K1", "K2", "K3", "K4", "K5"}));
  EXPECT_EQ(State(), "all, off:");
  view.UserClick(kNvSelectAll);
  EXPECT_EQ(State(), "all, on: K1 K2 K3 K4 K5");
  view.UserClick(kNvRemoveSelect);
  EXPECT_EQ(State(), "all, off:");

  for (int i : {0, 2, 4}) keys.UserToggle(i);
  EXPECT_EQ(State(), "all, on: K1 K3 K5");
  view.UserClick(kNvPrint);  // each key through its own port
  ASSERT_TRUE(WaitFor([&] { return printer->Printed().size() == 3; }));
  std::vector<int> heights;
  for (const vprinter::Picture& p : printer->Printed()) heights.push_back(p.height);
  EXPECT_EQ(heights, (std::vector<int>{1, 3, 5}));
  EXPECT_TRUE(boxes.boxes().empty());

  // Delete asks for each selected key in list order.
  ListFive();  // a second listing replaces the items rather than adding to them
  for (int i : {1, 2, 3}) keys.UserToggle(i);
  boxes.Answer({kIdYes, kIdNo, kIdYes});
  view.UserClick(kNvDelete);
  EXPECT_EQ(boxes.texts(), (Texts{Text(kStrAskDelete, "K2"), Text(kStrAskDelete, "K3"),
                                  Text(kStrAskDelete, "K4")}));
  // Answering No keeps the key, still selected.
  EXPECT_EQ(keys.items, (Texts{"K1", "K3", "K5"}));
  EXPECT_EQ(State(), "all, on: K3");
  EXPECT_TRUE(WaitFor([&] { return printer->Keys().size() == 3; }));
  EXPECT_FALSE(Has("K2") || Has("K4") || !Has("K3"));
  // With the remaining selection answered Yes, nothing is left selected.
  boxes.Answer({kIdYes});
  view.UserClick(kNvDelete);
  EXPECT_EQ(keys.items, (Texts{"K1", "K5"}));
  EXPECT_EQ(State(), "all, off:");

  // Without the printer every selected key fails on its own.
  keys.UserToggle(0);
  keys.UserToggle(1);
  Unplug();
  boxes.clear();
  view.UserClick(kNvGetKeys);
  view.UserClick(kNvPrint);
  boxes.Answer({kIdYes, kIdOk, kIdYes});  // each failure box takes an answer too
  view.UserClick(kNvDelete);
  EXPECT_EQ(boxes.texts(), (Texts{LoadString(kStrPortOpenFailed) + "\n" + Link().string() +
                                      ": No such file or directory",
                                  Text(kStrPrintFailed, "K1"), Text(kStrPrintFailed, "K5"),
                                  Text(kStrAskDelete, "K1"), Text(kStrDeleteFailed, "K1"),
                                  Text(kStrAskDelete, "K5"), Text(kStrDeleteFailed, "K5")}));
  // A key leaves the list only once its delete went out.
  EXPECT_EQ(keys.items, (Texts{"K1", "K5"}));
  EXPECT_EQ(State(), "all, on: K1 K5");
  view.UserClick(kNvClose);
  EXPECT_EQ(host.ended, std::vector<int>{1});
}

// The ledger learns what the windows register and delete, and the manager
// shows what it knows beside each key; the keys stay what the buttons act on.
TEST_F(PrinterWindowTest, WhatTheWindowsRegisterAndDeleteIsInTheLedgerTheManagerShows) {
  TempDir data;
  const std::filesystem::path path = data.path() / "ledger.sqlite";
  entry.SetLedger(path);
  manager.SetLedger(path);
  Store("K1");  // put there by another tool: the ledger does not know it
  Execute("AB");
  ASSERT_TRUE(WaitFor([&] { return Has("AB"); }));
  auto ledger = Ledger::Open(path, LedgerMode::kRead);
  ASSERT_TRUE(ledger) << ledger.detail();
  auto last = ledger->Last("COM1", "AB");
  ASSERT_TRUE(last && *last);
  const LedgerEntry registered = **last;
  EXPECT_EQ(registered.action, LedgerAction::kRegister);
  EXPECT_EQ(registered.raster_sha256, Sha256Hex(BuildLogoRaster(cs.session())->bytes()));
  EXPECT_EQ(registered.source_name, "src.bmp");
  EXPECT_EQ(registered.source_sha256, FileSha256Hex(cs.session().source_path).value());
  // The date is the day it was recorded, in UTC, as the ledger shows it.
  const std::string day = LedgerTimeText(registered.time).substr(0, 10);
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(keys.items, (Texts{"AB  src.bmp  " + day, "K1"}));

  keys.UserToggle(0);
  boxes.Answer({kIdYes});
  view.UserClick(kNvDelete);
  EXPECT_EQ(boxes.texts(), Texts{Text(kStrAskDelete, "AB")});
  ASSERT_TRUE(WaitFor([&] { return !Has("AB"); }));
  last = ledger->Last("COM1", "AB");
  ASSERT_TRUE(last && *last);
  EXPECT_EQ((*last)->action, LedgerAction::kDelete);
  EXPECT_EQ(keys.items, Texts{"K1"});
}

// A key list that breaks off: the manager shows the keys that came and says
// the list could not be read; the key entry registers nothing, so the key the
// list did not show is not overwritten.
TEST_F(PrinterWindowTest, AKeyListThatBreaksOffShowsWhatCameAndRegistersNothing) {
  server->Stop();
  vprinter::PrinterOptions options;
  options.keys_per_block = 2;
  options.faults.bad_blocks = true;  // the block with K5
  printer = std::make_unique<vprinter::VirtualPrinter>(options);
  std::string error;
  server = vprinter::PtyServer::Start(*printer, Link(), &error);
  ASSERT_TRUE(server) << error;
  for (int i = 0; i < 5; ++i) Store(std::string{'K', char('1' + i)}, i + 1);
  view.UserClick(kNvGetKeys);
  EXPECT_EQ(keys.items, (Texts{"K1", "K2", "K3", "K4"}));
  EXPECT_EQ(State(), "all, off:");
  Execute("K5");
  EXPECT_EQ(boxes.texts(),
            Texts(2, LoadString(kStrKeyListFailed) +
                         "\nthe printer's reply: key list block 3: a wrong identifier"));
  EXPECT_TRUE(host.ended.empty());
  EXPECT_EQ(printer->Find(VKey("K5"))->height, 5);
}

}  // namespace
}  // namespace inkmark::testing

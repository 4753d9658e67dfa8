#include <sys/stat.h>

#include "document/logo_raster.h"
#include "main_window_fixture.h"
#include "picture/picture.h"
#include "ports/network_port.h"
#include "ports/open_port.h"
#include "settings/saved_settings.h"

namespace inkmark::testing {
namespace {

using Names = std::vector<std::string>;
const std::vector<int> kSerial = {kIdBaudRate, kIdDataLength, kIdParity, kIdHandshake,
                                  kIdBaudRateLabel};
const std::vector<int> kCommands = {kIdPreview, kIdPrintToFile, kIdTestPrint, kIdRegister};
const std::vector<int> kPictureControls = {kIdMonochrome, kIdFitToWidth, kIdAttachGroup};

TEST_F(MainWindowTest, OpensFilledAndPanelRulesFollowTheChoices) {
  session_.profiles[0].resolutions.sel = 1;
  Open();
  EXPECT_EQ(view_.Items(kIdPrinterName), (Names{"DT-300", "DT-200"}));
  EXPECT_EQ(view_.Items(kIdResolution), (Names{"180 x 180dpi", "360 x 360dpi"}));
  EXPECT_EQ(view_.Selection(kIdResolution), 1);
  EXPECT_EQ(view_.Items(kIdBaudRate), (Names{"9600bps", "19200bps"}));
  EXPECT_EQ(session_.print_width_dots, 720);
  ExpectEnabled(kCommands, false);
  ExpectEnabled({kIdEdit, kIdNew, kIdMonoColor}, false);  // no editor beside the program
  ExpectShown(kPictureControls, false);

  // Choosing what is chosen does no work; resolution converts without the busy cursor.
  view_.UserSelect(kIdPrinterName, 0);
  view_.UserSelect(kIdResolution, 1);
  session_.profiles[0].paper_widths.sel = 1;
  view_.UserSelect(kIdPaperWidth, 1);  // already 1 in the profile
  EXPECT_TRUE(recorder_.calls.empty());
  view_.UserSelect(kIdPaperWidth, 0);
  view_.UserSelect(kIdResolution, 0);
  EXPECT_EQ(session_.print_width_dots, 360);
  EXPECT_EQ(recorder_.calls, (std::vector<std::pair<char, bool>>{
                                 {'S', true}, {'C', true}, {'S', false}, {'C', false}}));

  // The serial settings and the driver show as the port's text says.
  ExpectShown(kSerial, true);
  EXPECT_FALSE(view_.IsShown(kIdDriver));
  view_.UserSelect(kIdPort, 1);  // LPT1
  ExpectShown(kSerial, false);
  view_.UserSelect(kIdPort, 2);
  ExpectShown({kIdDriver, kIdDriverLabel}, true);
  // The other printer's "com2" is a serial port too; its "FILE" is not.
  view_.UserSelect(kIdPrinterName, 1);
  ExpectShown(kSerial, true);
  EXPECT_FALSE(view_.IsShown(kIdDriver));
  view_.UserSelect(kIdPort, 1);
  ExpectShown(kSerial, false);
}

TEST_F(MainWindowTest, PanelChoicesAreStoredOnPaperChangeAndExitButNotOnCloseBox) {
  Open();
  view_.UserSelect(kIdBaudRate, 1);
  view_.UserSelect(kIdPrinterName, 1);
  EXPECT_EQ(session_.profiles[0].baud_rates.sel, 0) << "leaving the printer does not store";
  view_.UserSelect(kIdParity, 1);
  view_.UserSelect(kIdPaperWidth, 1);  // stores everything of the current printer
  EXPECT_EQ(session_.profiles[1].parities.sel, 1);

  view_.UserSelect(kIdPrinterName, 0);
  view_.UserSelect(kIdBaudRate, 1);
  session_.source_path = (dir_.path() / "pic.bmp").string();
  std::string folder;
  std::vector<PrinterProfile> saved = {MakeProfile("DT-300", "COM1")};
  for (int exit : {0, 1}) {
    exit ? view_.UserClick(kIdExit) : view_.UserCloseBox();
    LoadSettings(1, saved, folder);
    EXPECT_EQ(saved[0].baud_rates.sel, exit) << "saved by exit only";
  }
  EXPECT_EQ(recorder_.closed, 2);
  EXPECT_EQ(folder.rfind(dir_.path().string(), 0), 0u) << folder;
}

TEST_F(MainWindowTest, NetworkEntryAsksForAnAddressThatIsSavedAndReachesTheNetworkPort) {
  Open();
  EXPECT_EQ(view_.Items(kIdPort), (Names{"COM1", "LPT1", "Corlane Printer Driver", "Network..."}));
  // Cancelled: the port stays as it was.
  view_.UserSelect(kIdPort, 3);
  EXPECT_EQ(view_.Selection(kIdPort), 0);
  ExpectShown(kSerial, true);
  // A wrong address is explained and asked again, offering what was typed.
  recorder_.network_answers = {"printer:99999", "tcp://[::1]:9101"};
  view_.UserSelect(kIdPort, 3);
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_NE(boxes_.boxes()[0].text.find("tcp://HOST:PORT"), std::string::npos);
  EXPECT_EQ(recorder_.network_offered,
            (std::vector<std::string>{"tcp://", "tcp://", "printer:99999"}));
  EXPECT_EQ(view_.Items(kIdPort),
            (Names{"COM1", "LPT1", "Corlane Printer Driver", "tcp://[::1]:9101", "Network..."}));
  EXPECT_EQ(view_.Selection(kIdPort), 3);
  ExpectShown(kSerial, false);
  ExpectShown({kIdDriver, kIdDriverLabel}, false);
  // Asked again, the address in use is offered; the same address is not added twice.
  recorder_.network_answers = {"TCP://[::1]:9101"};
  view_.UserSelect(kIdPort, 4);
  EXPECT_EQ(recorder_.network_offered.back(), "tcp://[::1]:9101");
  EXPECT_EQ(view_.Items(kIdPort).size(), 5u);

  view_.UserClick(kIdExit);
  std::string folder;
  std::vector<PrinterProfile> saved = {MakeProfile("DT-300", "COM1,LPT1")};
  ASSERT_EQ(LoadSettings(1, saved, folder), 0);
  EXPECT_EQ(saved[0].ports.Selected(), "tcp://[::1]:9101");
  auto port = ChoosePrinterPort(session_);
  auto* network = dynamic_cast<NetworkPort*>(port.get());
  ASSERT_NE(network, nullptr);
  EXPECT_EQ(network->address.host, "::1");
  EXPECT_EQ(network->address.port, 9101);
}

TEST_F(MainWindowTest, NetworkAddressesStayAcrossRunsMostRecentFirstAndCanBeRemoved) {
  Open();
  const Names own = {"COM1", "LPT1", "Corlane Printer Driver"};
  auto ports = [&](std::vector<std::string> addresses) {
    Names names = own;
    names.insert(names.end(), addresses.begin(), addresses.end());
    names.push_back("Network...");
    return names;
  };
  recorder_.network_answers = {"tcp://127.0.0.1:9100"};
  view_.UserSelect(kIdPort, 3);
  // Another port chosen, then Network... cancelled: that port stays, not the address.
  view_.UserSelect(kIdPort, 1);
  view_.UserSelect(kIdPort, 4);
  EXPECT_EQ(view_.Selection(kIdPort), 1);
  EXPECT_EQ(view_.Text(kIdPort), "LPT1");
  EXPECT_EQ(recorder_.network_offered.back(), "tcp://127.0.0.1:9100") << "the last one used";
  recorder_.network_answers = {"tcp://[::1]:9101"};
  view_.UserSelect(kIdPort, 4);
  EXPECT_EQ(view_.Items(kIdPort), ports({"tcp://[::1]:9101", "tcp://127.0.0.1:9100"}));
  EXPECT_EQ(view_.Text(kIdPort), "tcp://[::1]:9101");

  // The next run, ended by the close box before: both are offered, by every printer.
  window_->OnCloseBox();
  session_.profiles = {MakeProfile("DT-300", "COM1,LPT1,Corlane Printer Driver"),
                       MakeProfile("DT-200", "com2,FILE", "None")};
  session_.profile_index = 0;
  Open();
  EXPECT_EQ(view_.Items(kIdPort), ports({"tcp://[::1]:9101", "tcp://127.0.0.1:9100"}));
  view_.UserSelect(kIdPrinterName, 1);
  EXPECT_EQ(view_.Items(kIdPort),
            (Names{"com2", "FILE", "tcp://[::1]:9101", "tcp://127.0.0.1:9100", "Network..."}));
  view_.UserSelect(kIdPrinterName, 0);

  // Removed in the address question: gone from the list now and in the next run.
  view_.UserSelect(kIdPort, 0);
  recorder_.network_answers = {"-tcp://127.0.0.1:9100", std::nullopt};
  view_.UserSelect(kIdPort, 5);
  EXPECT_EQ(recorder_.network_used.back(), (Names{"tcp://[::1]:9101"}));
  EXPECT_EQ(view_.Items(kIdPort), ports({"tcp://[::1]:9101"}));
  EXPECT_EQ(view_.Text(kIdPort), "COM1");
  session_.profiles = {MakeProfile("DT-300", "COM1,LPT1,Corlane Printer Driver")};
  Open();
  EXPECT_EQ(view_.Items(kIdPort), ports({"tcp://[::1]:9101"}));

  // Eight are kept: the ninth address used drops the oldest.
  for (int i = 1; i <= 8; ++i) {
    recorder_.network_answers = {"tcp://127.0.0." + std::to_string(i) + ":9100"};
    view_.UserSelect(kIdPort, int(view_.Items(kIdPort).size()) - 1);
  }
  std::vector<std::string> eight;
  for (int i = 8; i >= 1; --i) eight.push_back("tcp://127.0.0." + std::to_string(i) + ":9100");
  EXPECT_EQ(view_.Items(kIdPort), ports(eight));
  EXPECT_EQ(LoadNetworkPorts(), eight);
}

TEST_F(MainWindowTest, EditAsksBeforeDroppingTextChangedInTheWindow) {
  recorder_.items = {{.is_text = true, .text = "Hello"}};
  Open(/*with_editor=*/true);
  const std::string logo = File("logo.qlf");
  view_.UserType(kIdSourceEdit, logo);
  // Nothing changed: the editor opens at once.
  view_.UserClick(kIdEdit);
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(recorder_.edited, (Names{logo}));

  view_.UserType(kIdItemText, "Bye");
  boxes_.Answer({kIdNo});
  view_.UserClick(kIdEdit);
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].style & kMbButtonMask, unsigned(kMbYesNo));
  EXPECT_EQ(recorder_.edited.size(), 1u) << "No started the editor";
  EXPECT_EQ(recorder_.items[0].text, "Bye");
  boxes_.Answer({kIdYes});
  view_.UserClick(kIdEdit);
  EXPECT_EQ(recorder_.edited.size(), 2u);
  // The file read again after the editor is as saved: no question now.
  boxes_.clear();
  view_.UserClick(kIdEdit);
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(recorder_.edited.size(), 3u);
}

TEST_F(MainWindowTest, TypedOrBrowsedPathsLoadOnlyWhenTheyExist) {
  Open();
  view_.UserType(kIdSourceEdit, (dir_.path() / "missi").string());
  EXPECT_TRUE(recorder_.calls.empty());
  std::string picture = File("logo.Bmp");
  view_.UserType(kIdSourceEdit, picture);
  EXPECT_EQ(session_.source_kind, kSourceBitmap);
  EXPECT_EQ(recorder_.calls, (std::vector<std::pair<char, bool>>{{'S', true}, {'C', true}}));
  ExpectEnabled(kCommands, true);
  EXPECT_FALSE(view_.IsEnabled(kIdEdit));
  ExpectShown(kPictureControls, true);
  EXPECT_EQ(view_.control(kIdRightPreview).picture, session_.converted);
  EXPECT_EQ(view_.control(kIdLeftPreview).picture, session_.fit_image);

  // A folder exists but is no source: controls hidden, commands off.
  view_.UserType(kIdSourceEdit, dir_.path().string());
  EXPECT_EQ(session_.source_kind, kSourceNone);
  ExpectEnabled(kCommands, false);
  EXPECT_FALSE(view_.IsShown(kIdMonochrome));

  recorder_.open_answer = File("a.jpg");
  view_.UserClick(kIdBrowse);
  EXPECT_EQ(view_.Text(kIdSourceEdit), *recorder_.open_answer);
  EXPECT_EQ(session_.source_kind, kSourceJpeg);
}

TEST_F(MainWindowTest, SlidersConvertFollowGradeManualAndMonochromeAndResetForANewPicture) {
  Open();
  view_.UserType(kIdSourceEdit, File("a.bmp"));
  EXPECT_TRUE(view_.IsChecked(kIdAutomatic));
  EXPECT_FALSE(view_.IsEnabled(kLevelSliderIds[3]));
  // Each scroll converts again, but not when nothing changes.
  const std::size_t before = recorder_.calls.size();
  view_.UserScroll(kIdAdjustR, 4);
  view_.UserScroll(kIdAdjustR, 4);     // the end of the drag, same value
  view_.UserScroll(kIdProcessing, 0);  // same grade
  view_.UserClick(kIdManual);
  view_.UserScroll(kLevelSliderIds[0], 0);  // same level
  EXPECT_EQ(recorder_.calls.size(), before + 3);
  EXPECT_EQ(session_.params.attach_manual, 1u);
  ExpectEnabled({kLevelSliderIds[3], kIdAttachWhiteLabel}, true);
  EXPECT_EQ(view_.Position(kLevelSliderIds[1]), 1);
  EXPECT_EQ(view_.control(kLevelSliderIds[1]).max, 2);
  view_.UserScroll(kIdProcessing, 1);
  ExpectEnabled({kIdAutomatic, kIdManual, kLevelSliderIds[3]}, false);
  view_.UserScroll(kIdProcessing, 0);
  EXPECT_TRUE(view_.IsChecked(kIdManual));
  EXPECT_TRUE(view_.IsEnabled(kLevelSliderIds[3]));

  // In Monochrome a level on the 2nd colour shows as ink; two positions only.
  view_.UserClick(kIdMonochrome);
  EXPECT_TRUE(view_.IsEnabled(kIdMonoColor));
  EXPECT_EQ(view_.control(kLevelSliderIds[1]).max, 1);
  EXPECT_EQ(view_.Position(kLevelSliderIds[1]), 0);
  EXPECT_EQ(view_.Position(kLevelSliderIds[7]), 1);
  view_.UserScroll(kLevelSliderIds[1], 1);
  EXPECT_EQ(session_.params.level_attach[1], kAttachWhite);

  // A new picture resets the attach but keeps the grade and the adjustments.
  view_.UserScroll(kIdProcessing, 2);
  view_.UserType(kIdSourceEdit, File("b.rle"));
  EXPECT_EQ(session_.params.attach_manual, 0u);
  EXPECT_EQ(session_.params.level_attach[1], kAttachSecond);
  EXPECT_EQ(session_.params.level_attach[7], kAttachWhite);
  EXPECT_EQ((std::array{session_.params.adjust_r, session_.params.processing}),
            (std::array<std::uint32_t, 2>{4, 2}));
  // The first conversion of the new picture already used the reset values.
  EXPECT_EQ(recorder_.converted_params.back().level_attach[1], kAttachSecond);
}

TEST_F(MainWindowTest, InkRuleSecondColorNoneAndPrintToFile) {
  Open();
  EXPECT_EQ(view_.Items(kIdMonoColor), (Names{"Black", "Red"}));
  EXPECT_EQ(session_.params.color_count, 2u);
  view_.UserType(kIdSourceEdit, File("a.bmp"));
  view_.UserClick(kIdMonochrome);
  view_.UserSelect(kIdMonoColor, 1);
  EXPECT_EQ((std::array{session_.params.color_table, session_.params.color_count,
                        session_.params.palette_size}),
            (std::array<std::uint32_t, 3>{1, 1, 2}));
  view_.UserSelect(kIdSecondColor, 1);  // None
  EXPECT_EQ(session_.second_color, kNoInk);
  EXPECT_EQ(view_.Items(kIdMonoColor), (Names{"Black"}));
  EXPECT_EQ(view_.Selection(kIdMonoColor), 0);
  EXPECT_EQ(session_.params.color_table, 0u);
  view_.UserClick(kIdMonochrome);  // off: still one ink
  EXPECT_EQ((std::array{session_.params.color_count, session_.params.palette_size}),
            (std::array<std::uint32_t, 2>{1, 2}));

  // Print to File writes what the chosen type says, and nothing without a raster.
  recorder_.save_path = (dir_.path() / "out.BIN").string();
  recorder_.save_answer = SaveChoice{SaveType::kBitmap, true};
  view_.UserClick(kIdPrintToFile);
  EXPECT_EQ(boxes_.texts(),
            (Names{"Insufficient Memory.  Please increase Virtual Memory.\nno raster"}));
  EXPECT_FALSE(std::filesystem::exists(recorder_.save_path));

  BitmapFile page(58, 0);  // a 1 x 1 black page, as a one-ink raster
  WriteRgb24Header(page, 1, 1);
  recorder_.raster = RasterFromComposite(page, 0, kNoInk)->bytes();
  view_.UserClick(kIdPrintToFile);
  EXPECT_EQ(ReadFileText(recorder_.save_path),
            std::string(recorder_.raster.begin(), recorder_.raster.end()))
      << "a bitmap, whatever the name";
  // A FIFO is no file to replace: refused with a word, and nothing waits on it.
  boxes_.clear();
  recorder_.save_path = (dir_.path() / "pipe").string();
  ASSERT_EQ(::mkfifo(recorder_.save_path.c_str(), 0600), 0);
  view_.UserClick(kIdPrintToFile);
  EXPECT_EQ(boxes_.texts(), (Names{"\"" + recorder_.save_path +
                                   "\" is not a regular file and cannot be replaced. Choose "
                                   "another name."}));
  EXPECT_TRUE(std::filesystem::is_fifo(recorder_.save_path));

  recorder_.save_answer = SaveChoice{SaveType::kCommandFile, true};
  view_.UserClick(kIdPrintToFile);
  view_.UserClick(kIdRegister);
  EXPECT_EQ(recorder_.key_entry_flags, (std::vector<int>{1, 0}));
  EXPECT_EQ(session_.save_as_command_file, 0);
}

TEST_F(MainWindowTest, DocumentListsItemsShowsEachWithItsOwnSettingsAndNeedsItems) {
  // An image item with its own settings and two text items.
  ConversionParams params = StartupConversionParams();
  params.adjust_b = 5;
  recorder_.items = {{.text = "", .params = params, .monochrome = 1, .color_index = 1},
                     {.is_text = true, .text = "Hello", .color_index = 1},
                     {.is_text = true, .text = "World", .color_index = 0}};
  Open(/*with_editor=*/true);
  view_.UserType(kIdSourceEdit, File("logo.qlf"));
  EXPECT_EQ(view_.Items(kIdItemList), (Names{"Image 1", "Text 2", "Text 3"}));
  ExpectShown({kIdItemList, kIdMonochrome}, true);
  EXPECT_FALSE(view_.IsShown(kIdItemText));
  ExpectEnabled({kIdEdit, kIdNew}, true);
  // The first item's own settings are on the controls before it is converted.
  EXPECT_TRUE(view_.IsChecked(kIdMonochrome));
  EXPECT_EQ(view_.Selection(kIdMonoColor), 1);
  EXPECT_EQ(view_.Position(kIdAdjustB), 5);
  EXPECT_EQ(recorder_.converted_params.back().adjust_b, 5u);

  const std::size_t before = recorder_.calls.size();
  view_.UserSelect(kIdItemList, 1);
  EXPECT_TRUE(view_.IsShown(kIdItemText));
  ExpectShown({kIdMonochrome, kIdAttachGroup}, false);
  EXPECT_EQ(view_.Text(kIdItemText), "Hello");
  EXPECT_EQ(view_.Selection(kIdTextColor), 1);
  EXPECT_EQ(recorder_.calls.size(), before) << "selecting a text item converts nothing";
  view_.UserSelect(kIdItemList, 2);
  view_.UserType(kIdItemText, "Bye");
  EXPECT_EQ(recorder_.items[2].text, "Bye");
  EXPECT_EQ(recorder_.calls.size(), before + 2) << "a text change refreshes both previews";
  EXPECT_TRUE(recorder_.calls.back().second);
  // Forty bytes are stored; whatever the edit lets past them is refused whole,
  // never cut: a two-byte character at bytes 40-41 leaves the text as it was.
  const std::string forty(40, 'x');
  view_.UserType(kIdItemText, forty);
  EXPECT_EQ(recorder_.items[2].text, forty);
  view_.SetText(kIdItemText, std::string(39, 'x') + "\x8C\xEA");
  EXPECT_EQ(recorder_.items[2].text, forty);
  EXPECT_EQ(view_.Text(kIdItemText), forty) << "the field shows the stored text again";

  view_.UserSelect(kIdSecondColor, 1);  // None: every item moves to the 1st colour
  EXPECT_EQ(recorder_.resets, 1);
  EXPECT_EQ(view_.Selection(kIdMonoColor), 0);

  // An unreadable or empty document disables the commands.
  recorder_.document_ok = false;
  view_.UserType(kIdSourceEdit, File("bad.qlf"));
  EXPECT_EQ(session_.source_kind, kSourceNone);
  ExpectEnabled(kCommands, false);
  recorder_.document_ok = true;
  recorder_.items.clear();
  view_.UserType(kIdSourceEdit, File("empty.qlf"));
  EXPECT_EQ(session_.source_kind, kSourceDocument);
  ExpectEnabled(kCommands, false);
  EXPECT_FALSE(view_.IsEnabled(kIdEdit));
  EXPECT_FALSE(view_.IsShown(kIdMonochrome));
}

}  // namespace
}  // namespace inkmark::testing

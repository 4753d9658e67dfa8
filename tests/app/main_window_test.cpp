#include <QFile>

#include "main_window_fixture.h"
#include "settings/saved_settings.h"

namespace inkmark::testing {
namespace {

constexpr int kSerial[] = {kIdBaudRate, kIdDataLength, kIdParity, kIdHandshake, kIdBaudRateLabel};
constexpr int kCommands[] = {kIdPreview, kIdPrintToFile, kIdTestPrint, kIdRegister};

TEST_F(MainWindowTest, OpensWithPanelFilledAndNothingLoaded) {
  session_.profiles[0].resolution_sel = 1;
  Open();
  EXPECT_EQ(view_.Items(kIdPrinterName), (std::vector<std::string>{"DT-300", "DT-200"}));
  EXPECT_EQ(view_.Items(kIdResolution), (std::vector<std::string>{"180 x 180dpi", "360 x 360dpi"}));
  EXPECT_EQ(view_.Selection(kIdResolution), 1);
  EXPECT_EQ(view_.Items(kIdBaudRate), (std::vector<std::string>{"9600bps", "19200bps"}));
  EXPECT_EQ(view_.Items(kIdDataLength), (std::vector<std::string>{"7bit", "8bit"}));
  EXPECT_EQ(session_.print_width_dots, 720);
  for (int id : kCommands) EXPECT_FALSE(view_.IsEnabled(id)) << id;
  EXPECT_FALSE(view_.IsEnabled(kIdEdit));
  EXPECT_FALSE(view_.IsEnabled(kIdNew)) << "no editor beside the program";
  EXPECT_TRUE(view_.IsEnabled(kIdExit));
  EXPECT_FALSE(view_.IsShown(kIdMonochrome));
  EXPECT_FALSE(view_.IsShown(kIdFitToWidth));
  EXPECT_FALSE(view_.IsShown(kIdAttachGroup));
  EXPECT_FALSE(view_.IsEnabled(kIdMonoColor));
  EXPECT_EQ(view_.control(kIdSourceEdit).limit, 260);
  EXPECT_EQ(view_.control(kIdItemText).limit, 40);
  EXPECT_EQ(view_.control(kIdAdjustR).max, 5);
  EXPECT_EQ(view_.control(kIdProcessing).max, 2);
  EXPECT_TRUE(pipeline_.calls.empty());
  EXPECT_EQ(view_.control(kIdLeftPreview).pictures_set, 0);
}

TEST_F(MainWindowTest, EditorBesideProgramEnablesNew) {
  Open(/*with_editor=*/true);
  EXPECT_TRUE(view_.IsEnabled(kIdNew));
  EXPECT_FALSE(window_->editor_path().empty());
}

TEST_F(MainWindowTest, PortRuleFollowsPortText) {
  Open();
  for (int id : kSerial) EXPECT_TRUE(view_.IsShown(id));
  EXPECT_FALSE(view_.IsShown(kIdDriver));
  view_.UserSelect(kIdPort, 1);  // LPT1
  for (int id : kSerial) EXPECT_FALSE(view_.IsShown(id));
  EXPECT_FALSE(view_.IsShown(kIdDriver));
  view_.UserSelect(kIdPort, 2);
  EXPECT_TRUE(view_.IsShown(kIdDriver));
  EXPECT_TRUE(view_.IsShown(kIdDriverLabel));
  // The other printer's "com2" is a serial port too; its "FILE" is not.
  view_.UserSelect(kIdPrinterName, 1);
  for (int id : kSerial) EXPECT_TRUE(view_.IsShown(id));
  view_.UserSelect(kIdPort, 1);
  for (int id : kSerial) EXPECT_FALSE(view_.IsShown(id));
  EXPECT_FALSE(view_.IsShown(kIdDriver));
}

TEST_F(MainWindowTest, SameSelectionDoesNoWork) {
  Open();
  view_.UserSelect(kIdPrinterName, 0);
  view_.UserSelect(kIdPaperWidth, session_.profiles[0].paper_width_sel);
  view_.UserSelect(kIdResolution, session_.profiles[0].resolution_sel);
  EXPECT_TRUE(pipeline_.calls.empty());
}

TEST_F(MainWindowTest, PrintWidthFollowsResolutionWithoutBusyCursor) {
  Open();
  session_.profiles[0].paper_width_sel = 1;
  view_.UserSelect(kIdPaperWidth, 1);  // already 1 in the profile: nothing
  EXPECT_TRUE(pipeline_.calls.empty());
  view_.UserSelect(kIdPaperWidth, 0);
  ASSERT_EQ(pipeline_.calls.size(), 2u);
  EXPECT_TRUE(pipeline_.calls[0].busy);
  session_.profiles[0].paper_width_sel = 1;
  view_.SetSelection(kIdPaperWidth, 1);
  view_.UserSelect(kIdResolution, 1);
  EXPECT_EQ(session_.print_width_dots, 1024);
  ASSERT_EQ(pipeline_.calls.size(), 4u);
  EXPECT_FALSE(pipeline_.calls[2].busy);
  EXPECT_FALSE(pipeline_.calls[3].busy);
}

TEST_F(MainWindowTest, InterfaceChoicesAreKeptOnlyOnceStored) {
  Open();
  view_.UserSelect(kIdBaudRate, 1);
  view_.UserSelect(kIdPrinterName, 1);
  EXPECT_EQ(session_.profile_index, 1);
  EXPECT_EQ(session_.profiles[0].baud_sel, 0) << "leaving the printer does not store";
  view_.UserSelect(kIdParity, 1);
  view_.UserSelect(kIdPaperWidth, 1);  // stores everything of the current printer
  EXPECT_EQ(session_.profiles[1].parity_sel, 1);
  EXPECT_EQ(session_.profiles[1].paper_width_sel, 1);
}

TEST_F(MainWindowTest, ExitSavesAndCloseBoxDoesNot) {
  Open();
  view_.UserSelect(kIdBaudRate, 1);
  view_.UserCloseBox();
  EXPECT_EQ(host_.closed, 1);
  std::string folder;
  std::vector<PrinterProfile> loaded = {MakeProfile("DT-300", {"COM1"})};
  EXPECT_EQ(LoadSettings(1, loaded, folder), 0);
  EXPECT_EQ(loaded[0].baud_sel, 0) << "the close box saved settings";

  session_.source_path = (dir_.path() / "pic.bmp").string();
  view_.UserClick(kIdExit);
  EXPECT_EQ(host_.closed, 2);
  EXPECT_EQ(session_.profiles[0].baud_sel, 1);
  EXPECT_EQ(session_.source_path, (dir_.path() / "pic.bmp").string());
  LoadSettings(1, loaded, folder);
  EXPECT_EQ(loaded[0].baud_sel, 1);
  EXPECT_EQ(folder.rfind(dir_.path().string(), 0), 0u) << folder;
}

TEST_F(MainWindowTest, TypingLoadsOnlyExistingPaths) {
  Open();
  view_.UserType(kIdSourceEdit, (dir_.path() / "missi").string());
  EXPECT_TRUE(pipeline_.calls.empty());
  EXPECT_EQ(session_.source_kind, kSourceNone);
  std::string picture = File("logo.Bmp");
  view_.UserType(kIdSourceEdit, picture);
  EXPECT_EQ(session_.source_kind, kSourceBitmap);
  EXPECT_EQ(session_.source_path, picture);
  ASSERT_EQ(pipeline_.calls.size(), 2u);
  EXPECT_TRUE(pipeline_.calls[0].busy);
  for (int id : kCommands) EXPECT_TRUE(view_.IsEnabled(id));
  EXPECT_FALSE(view_.IsEnabled(kIdEdit));
  EXPECT_TRUE(view_.IsShown(kIdMonochrome));
  EXPECT_TRUE(view_.IsShown(kIdAttachGroup));
  EXPECT_TRUE(view_.IsShown(kIdFitToWidth));
  EXPECT_FALSE(view_.IsShown(kIdItemList));
  EXPECT_FALSE(view_.IsShown(kIdItemText));
  EXPECT_EQ(view_.control(kIdRightPreview).picture, session_.converted);

  // A folder exists but is no source: previews empty, controls hidden, commands off.
  view_.UserType(kIdSourceEdit, dir_.path().string());
  EXPECT_EQ(session_.source_kind, kSourceNone);
  for (int id : kCommands) EXPECT_FALSE(view_.IsEnabled(id));
  EXPECT_FALSE(view_.IsShown(kIdMonochrome));
}

TEST_F(MainWindowTest, BrowsePutsChosenPathInSourceEdit) {
  Open();
  host_.open_answer = File("a.jpg");
  view_.UserClick(kIdBrowse);
  EXPECT_EQ(view_.Text(kIdSourceEdit), *host_.open_answer);
  EXPECT_EQ(session_.source_kind, kSourceJpeg);
}

TEST_F(MainWindowTest, NewPictureResetsAttachButKeepsGradeAndAdjustments) {
  Open();
  view_.UserType(kIdSourceEdit, File("a.bmp"));
  view_.UserClick(kIdManual);
  view_.UserScroll(kLevelSliderIds[0], 2);
  view_.UserScroll(kIdAdjustG, 5);
  view_.UserScroll(kIdProcessing, 2);
  view_.UserType(kIdSourceEdit, File("b.rle"));
  EXPECT_EQ(session_.params.attach_manual, 0u);
  EXPECT_EQ(session_.params.level_attach[0], kAttachFirst);
  EXPECT_EQ(session_.params.level_attach[7], kAttachWhite);
  EXPECT_EQ(session_.params.adjust_g, 5u);
  EXPECT_EQ(session_.params.processing, 2u);
  // The first conversion of the new picture already used the reset values.
  EXPECT_EQ(pipeline_.converted_params.back().level_attach[0], kAttachFirst);
}

TEST_F(MainWindowTest, LevelSlidersFollowGradeManualAndMonochrome) {
  Open();
  view_.UserType(kIdSourceEdit, File("a.bmp"));
  EXPECT_TRUE(view_.IsChecked(kIdAutomatic));
  EXPECT_FALSE(view_.IsEnabled(kLevelSliderIds[3]));
  view_.UserClick(kIdManual);
  EXPECT_EQ(session_.params.attach_manual, 1u);
  EXPECT_FALSE(view_.IsChecked(kIdAutomatic));
  EXPECT_TRUE(view_.IsEnabled(kLevelSliderIds[3]));
  EXPECT_TRUE(view_.IsEnabled(kIdAttachWhiteLabel));
  EXPECT_EQ(view_.Position(kLevelSliderIds[1]), 1);
  EXPECT_EQ(view_.control(kLevelSliderIds[1]).max, 2);

  view_.UserScroll(kIdProcessing, 1);
  EXPECT_FALSE(view_.IsEnabled(kIdAutomatic));
  EXPECT_FALSE(view_.IsEnabled(kIdManual));
  EXPECT_FALSE(view_.IsEnabled(kLevelSliderIds[3]));
  EXPECT_TRUE(view_.IsEnabled(kIdAttachGroup));
  view_.UserScroll(kIdProcessing, 0);
  EXPECT_TRUE(view_.IsChecked(kIdManual));
  EXPECT_TRUE(view_.IsEnabled(kLevelSliderIds[3]));

  // In Monochrome a level on the 2nd colour shows as ink; two positions only.
  view_.UserClick(kIdMonochrome);
  EXPECT_EQ(session_.monochrome, 1);
  EXPECT_TRUE(view_.IsEnabled(kIdMonoColor));
  EXPECT_EQ(view_.control(kLevelSliderIds[1]).max, 1);
  EXPECT_EQ(view_.Position(kLevelSliderIds[1]), 0);
  EXPECT_EQ(view_.Position(kLevelSliderIds[7]), 1);
  view_.UserScroll(kLevelSliderIds[1], 1);
  EXPECT_EQ(session_.params.level_attach[1], kAttachWhite);
}

TEST_F(MainWindowTest, LevelAttachEncodingAndChangeDetection) {
  EXPECT_EQ(LevelAttachFor(0, false), kAttachFirst);
  EXPECT_EQ(LevelAttachFor(1, false), kAttachSecond);
  EXPECT_EQ(LevelAttachFor(2, false), kAttachWhite);
  EXPECT_EQ(LevelAttachFor(0, true), kAttachFirst);
  EXPECT_EQ(LevelAttachFor(1, true), kAttachWhite);
  Open();
  EXPECT_EQ(window_->StoreLevelAttach(kLevelSliderIds[1], 1), 0) << "already the 2nd colour";
  EXPECT_EQ(window_->StoreLevelAttach(kLevelSliderIds[1], 0), 1);
  EXPECT_EQ(session_.params.level_attach[1], kAttachFirst);
  EXPECT_EQ(window_->StoreLevelAttach(kIdAdjustR, 0), 0);
}

TEST_F(MainWindowTest, SlidersConvertOnEveryScroll) {
  Open();
  view_.UserType(kIdSourceEdit, File("a.bmp"));
  std::size_t before = pipeline_.calls.size();
  view_.UserScroll(kIdAdjustR, 4);
  view_.UserScroll(kIdAdjustR, 4);  // the end of the drag, same value
  EXPECT_EQ(pipeline_.calls.size(), before + 2);
  EXPECT_EQ(session_.params.adjust_r, 4u);
  view_.UserScroll(kIdProcessing, 0);  // same grade: nothing
  view_.UserScroll(kLevelSliderIds[0], 0);
  EXPECT_EQ(pipeline_.calls.size(), before + 2);
}

TEST_F(MainWindowTest, InkRuleAndSecondColorNone) {
  Open();
  EXPECT_EQ(view_.Items(kIdMonoColor), (std::vector<std::string>{"Black", "Red"}));
  EXPECT_EQ(session_.params.color_count, 2u);
  EXPECT_EQ(session_.params.palette_size, 256u);
  view_.UserType(kIdSourceEdit, File("a.bmp"));
  view_.UserClick(kIdMonochrome);
  view_.UserSelect(kIdMonoColor, 1);
  EXPECT_EQ(session_.params.color_table, 1u);
  EXPECT_EQ(session_.params.color_count, 1u);
  EXPECT_EQ(session_.params.palette_size, 2u);

  view_.UserSelect(kIdSecondColor, 1);  // None
  EXPECT_EQ(session_.second_color, kNoInk);
  EXPECT_EQ(session_.profiles[0].second_color_sel, 1);
  EXPECT_EQ(view_.Items(kIdMonoColor), (std::vector<std::string>{"Black"}));
  EXPECT_EQ(view_.Selection(kIdMonoColor), 0);
  EXPECT_EQ(session_.params.color_table, 0u);

  view_.UserClick(kIdMonochrome);  // off: still one ink
  EXPECT_EQ(session_.params.color_count, 1u);
  EXPECT_EQ(session_.params.palette_size, 2u);
}

TEST_F(MainWindowTest, ColorListsLookByName) {
  EXPECT_EQ(ColorItemLookFor("red", false).swatch, 105);
  EXPECT_EQ(ColorItemLookFor("Red", false).text_color, kColorRed);
  EXPECT_EQ(ColorItemLookFor("BLUE", false).swatch, 107);
  EXPECT_EQ(ColorItemLookFor("None", false).swatch, 108);
  EXPECT_EQ(ColorItemLookFor("None", false).text_color, kColorBlack);
  EXPECT_EQ(ColorItemLookFor("Green", true).swatch, 108);
}

class DocumentTest : public MainWindowTest {
 protected:
  void SetUp() override {
    ItemState image;
    image.params = StartupConversionParams();
    image.params.adjust_b = 5;
    image.monochrome = 1;
    image.color_index = 1;
    ItemState text;
    text.is_text = true;
    text.text = "Hello";
    text.color_index = 1;
    ItemState text2 = text;
    text2.text = "World";
    text2.color_index = 0;
    pipeline_.items = {image, text, text2};
    Open(/*with_editor=*/true);
    view_.UserType(kIdSourceEdit, File("logo.qlf"));
  }
};

TEST_F(DocumentTest, ListsItemsAndShowsTheFirst) {
  EXPECT_EQ(session_.source_kind, kSourceDocument);
  EXPECT_EQ(view_.Items(kIdItemList), (std::vector<std::string>{"Image 1", "Text 2", "Text 3"}));
  EXPECT_TRUE(view_.IsShown(kIdItemList));
  EXPECT_TRUE(view_.IsShown(kIdMonochrome));
  EXPECT_FALSE(view_.IsShown(kIdItemText));
  EXPECT_TRUE(view_.IsEnabled(kIdEdit));
  // The first item's own settings are on the controls before it is converted.
  EXPECT_TRUE(view_.IsChecked(kIdMonochrome));
  EXPECT_EQ(view_.Selection(kIdMonoColor), 1);
  EXPECT_EQ(view_.Position(kIdAdjustB), 5);
  EXPECT_EQ(pipeline_.converted_params.back().adjust_b, 5u);
}

TEST_F(DocumentTest, SelectingTextItemShowsTextControls) {
  std::size_t before = pipeline_.calls.size();
  view_.UserSelect(kIdItemList, 1);
  EXPECT_TRUE(view_.IsShown(kIdItemText));
  EXPECT_FALSE(view_.IsShown(kIdMonochrome));
  EXPECT_FALSE(view_.IsShown(kIdAttachGroup));
  EXPECT_EQ(view_.Text(kIdItemText), "Hello");
  EXPECT_EQ(view_.Selection(kIdTextColor), 1);
  EXPECT_EQ(pipeline_.calls.size(), before) << "selecting a text item converts nothing";

  view_.UserSelect(kIdItemList, 2);
  EXPECT_EQ(view_.Text(kIdItemText), "World");
  EXPECT_EQ(view_.Selection(kIdTextColor), 0);

  view_.UserType(kIdItemText, "Bye");
  EXPECT_EQ(pipeline_.items[2].text, "Bye");
  EXPECT_EQ(Count('S'), 2) << "a text change refreshes all";
  EXPECT_TRUE(pipeline_.calls.back().busy);
}

TEST_F(DocumentTest, SecondColorNoneMovesItemsToFirst) {
  view_.UserSelect(kIdSecondColor, 1);
  EXPECT_EQ(pipeline_.resets, 1);
  EXPECT_EQ(view_.Selection(kIdMonoColor), 0);
}

TEST_F(DocumentTest, UnreadableOrEmptyDocumentDisablesCommands) {
  pipeline_.document_ok = false;
  view_.UserType(kIdSourceEdit, File("bad.qlf"));
  EXPECT_EQ(session_.source_kind, kSourceNone);
  for (int id : kCommands) EXPECT_FALSE(view_.IsEnabled(id));
  pipeline_.document_ok = true;
  pipeline_.items.clear();
  view_.UserType(kIdSourceEdit, File("empty.qlf"));
  EXPECT_EQ(session_.source_kind, kSourceDocument);
  for (int id : kCommands) EXPECT_FALSE(view_.IsEnabled(id));
  EXPECT_FALSE(view_.IsEnabled(kIdEdit));
  EXPECT_FALSE(view_.IsShown(kIdMonochrome));
}

TEST_F(MainWindowTest, PrintToFileFollowsChosenType) {
  Open();
  view_.UserType(kIdSourceEdit, File("a.bmp"));
  host_.save_path = (dir_.path() / "out.BIN").string();
  host_.save_answer = SaveChoice{SaveType::kBitmap, true};
  view_.UserClick(kIdPrintToFile);
  ASSERT_EQ(boxes_.texts(),
            (std::vector<std::string>{"Insufficient Memory.  Please increase Virtual Memory."}));

  // A 1 x 1 raster with one palette entry.
  BitmapFile raster(62, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) raster[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  };
  raster[0] = 'B';
  raster[1] = 'M';
  put32(2, 62);
  put32(10, 58);
  put32(14, 40);
  put32(18, 1);
  put32(22, 1);
  raster[26] = 1;
  raster[28] = 1;
  put32(46, 1);
  pipeline_.raster = raster;
  view_.UserClick(kIdPrintToFile);
  EXPECT_EQ(ReadFileText(host_.save_path).size(), raster.size()) << "a bitmap, whatever the name";

  host_.save_answer = SaveChoice{SaveType::kCommandFile, true};
  view_.UserClick(kIdPrintToFile);
  view_.UserClick(kIdRegister);
  EXPECT_EQ(host_.key_entry_flags, (std::vector<int>{1, 0}));
  EXPECT_EQ(session_.save_as_command_file, 0);
}

}  // namespace
}  // namespace inkmark::testing

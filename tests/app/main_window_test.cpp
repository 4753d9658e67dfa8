#include <QFile>

#include "image/logo_raster.h"
#include "image/picture.h"
#include "main_window_fixture.h"
#include "settings/saved_settings.h"

namespace inkmark::testing {
namespace {

const std::vector<int> kSerial = {kIdBaudRate, kIdDataLength, kIdParity, kIdHandshake,
                                  kIdBaudRateLabel};
const std::vector<int> kCommands = {kIdPreview, kIdPrintToFile, kIdTestPrint, kIdRegister};
const std::vector<int> kPictureControls = {kIdMonochrome, kIdFitToWidth, kIdAttachGroup};

TEST_F(MainWindowTest, OpensWithPanelFilledAndNothingLoaded) {
  session_.profiles[0].resolution_sel = 1;
  Open();
  EXPECT_EQ(view_.Items(kIdPrinterName), (std::vector<std::string>{"DT-300", "DT-200"}));
  EXPECT_EQ(view_.Items(kIdResolution), (std::vector<std::string>{"180 x 180dpi", "360 x 360dpi"}));
  EXPECT_EQ(view_.Selection(kIdResolution), 1);
  EXPECT_EQ(view_.Items(kIdBaudRate), (std::vector<std::string>{"9600bps", "19200bps"}));
  EXPECT_EQ(view_.Items(kIdDataLength), (std::vector<std::string>{"7bit", "8bit"}));
  EXPECT_EQ(session_.print_width_dots, 720);
  ExpectEnabled(kCommands, false);
  ExpectEnabled({kIdEdit, kIdNew, kIdMonoColor}, false);  // no editor beside the program
  EXPECT_TRUE(view_.IsEnabled(kIdExit));
  ExpectShown(kPictureControls, false);
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
  ExpectShown(kSerial, true);
  EXPECT_FALSE(view_.IsShown(kIdDriver));
  view_.UserSelect(kIdPort, 1);  // LPT1
  ExpectShown(kSerial, false);
  EXPECT_FALSE(view_.IsShown(kIdDriver));
  view_.UserSelect(kIdPort, 2);
  ExpectShown({kIdDriver, kIdDriverLabel}, true);
  // The other printer's "com2" is a serial port too; its "FILE" is not.
  view_.UserSelect(kIdPrinterName, 1);
  ExpectShown(kSerial, true);
  view_.UserSelect(kIdPort, 1);
  ExpectShown(kSerial, false);
  EXPECT_FALSE(view_.IsShown(kIdDriver));
}

TEST_F(MainWindowTest, SameSelectionDoesNoWorkAndPrintWidthSkipsBusyCursor) {
  Open();
  view_.UserSelect(kIdPrinterName, 0);
  view_.UserSelect(kIdPaperWidth, session_.profiles[0].paper_width_sel);
  view_.UserSelect(kIdResolution, session_.profiles[0].resolution_sel);
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
  ExpectEnabled(kCommands, true);
  EXPECT_FALSE(view_.IsEnabled(kIdEdit));
  ExpectShown(kPictureControls, true);
  ExpectShown({kIdItemList, kIdItemText}, false);
  EXPECT_EQ(view_.control(kIdRightPreview).picture, session_.converted);

  // A folder exists but is no source: previews empty, controls hidden, commands off.
  view_.UserType(kIdSourceEdit, dir_.path().string());
  EXPECT_EQ(session_.source_kind, kSourceNone);
  ExpectEnabled(kCommands, false);
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
  ExpectEnabled({kLevelSliderIds[3], kIdAttachWhiteLabel}, true);
  EXPECT_EQ(view_.Position(kLevelSliderIds[1]), 1);
  EXPECT_EQ(view_.control(kLevelSliderIds[1]).max, 2);

  view_.UserScroll(kIdProcessing, 1);
  ExpectEnabled({kIdAutomatic, kIdManual, kLevelSliderIds[3]}, false);
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
  const struct {
    int position;
    bool monochrome;
    std::uint16_t attach;
  } kCases[] = {{0, false, kAttachFirst},
                {1, false, kAttachSecond},
                {2, false, kAttachWhite},
                {0, true, kAttachFirst},
                {1, true, kAttachWhite}};
  for (const auto& c : kCases)
    EXPECT_EQ(LevelAttachFor(c.position, c.monochrome), c.attach) << c.position << c.monochrome;
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

TEST(ColorItemLook, SwatchAndTextColourByName) {
  const struct {
    const char* name;
    bool disabled;
    int swatch;
  } kCases[] = {
      {"red", false, 105}, {"BLUE", false, 107}, {"None", false, 108}, {"Green", true, 108}};
  for (const auto& c : kCases) EXPECT_EQ(ColorItemLookFor(c.name, c.disabled).swatch, c.swatch);
  EXPECT_EQ(ColorItemLookFor("Red", false).text_color, kColorRed);
  EXPECT_EQ(ColorItemLookFor("None", false).text_color, kColorBlack);
}

class DocumentTest : public MainWindowTest {
 protected:
  void SetUp() override {
    ConversionParams params = StartupConversionParams();
    params.adjust_b = 5;
    pipeline_.items = {{.text = "", .params = params, .monochrome = 1, .color_index = 1},
                       {.is_text = true, .text = "Hello", .color_index = 1},
                       {.is_text = true, .text = "World", .color_index = 0}};
    Open(/*with_editor=*/true);
    view_.UserType(kIdSourceEdit, File("logo.qlf"));
  }
};

TEST_F(DocumentTest, ListsItemsAndShowsTheFirst) {
  EXPECT_EQ(session_.source_kind, kSourceDocument);
  EXPECT_EQ(view_.Items(kIdItemList), (std::vector<std::string>{"Image 1", "Text 2", "Text 3"}));
  ExpectShown({kIdItemList, kIdMonochrome}, true);
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
  ExpectShown({kIdMonochrome, kIdAttachGroup}, false);
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
  ExpectEnabled(kCommands, false);
  pipeline_.document_ok = true;
  pipeline_.items.clear();
  view_.UserType(kIdSourceEdit, File("empty.qlf"));
  EXPECT_EQ(session_.source_kind, kSourceDocument);
  ExpectEnabled(kCommands, false);
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

  // A 1 x 1 black page, classified into a one-ink raster.
  BitmapFile page(58, 0);
  WriteRgb24Header(page, 1, 1);
  pipeline_.raster = RasterFromComposite(page, 0, kNoInk)->bytes();
  view_.UserClick(kIdPrintToFile);
  EXPECT_EQ(ReadFileText(host_.save_path).size(), pipeline_.raster.size())
      << "a bitmap, whatever the name";

  host_.save_answer = SaveChoice{SaveType::kCommandFile, true};
  view_.UserClick(kIdPrintToFile);
  view_.UserClick(kIdRegister);
  EXPECT_EQ(host_.key_entry_flags, (std::vector<int>{1, 0}));
  EXPECT_EQ(session_.save_as_command_file, 0);
}

}  // namespace
}  // namespace inkmark::testing

// The real main window, offscreen, over the real pipeline: text items in
// their own code page from the document to the printed page, the previews of
// pictures good and bad, and what the window takes while it waits.
#include "windows/main_window_qt.h"

#include <sys/stat.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdlib>

#include "document/document_reader.h"
#include "document/document_writer.h"
#include "picture/picture.h"
#include "platform/program_icons.h"
#include "platform/string_table.h"
#include "platform/translation.h"
#include "qt_environment.h"
#include "settings/printer_files.h"
#include "support/bitmap_fixture.h"
#include "support/compose_fixture.h"
#include "support/fifo_watchdog.h"
#include "support/protocol_fixtures.h"
#include "support/recording_message_boxes.h"
#include "windows/main_ids.h"

namespace inkmark::testing {
namespace {

const std::string kBin = INKMARK_BIN_DIR;
const char kModel[] = "DT-500/510";

// A key press that types `text`, as an input method delivers characters that
// no key of the keyboard has.
void Type(QWidget* widget, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
}

// Equal bytes, or where they first differ.
::testing::AssertionResult SameBytes(const std::vector<std::uint8_t>& got,
                                     const std::vector<std::uint8_t>& want) {
  if (got == want) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  return ::testing::AssertionFailure()
         << "sizes " << got.size() << " and " << want.size() << ", first difference at byte " << at;
}

class MainWindowQtTest : public PtyPrinterTest {
 protected:
  void SetUp() override {
    PtyPrinterTest::SetUp();
    // The window's temporary files and settings stay in this test's folder.
    setenv("TMPDIR", work.path().c_str(), 1);
    for (auto scope : {QSettings::SystemScope, QSettings::UserScope})
      QSettings::setPath(QSettings::NativeFormat, scope,
                         QString::fromStdString((work.path() / std::to_string(scope)).string()));
    PrinterProfile profile;
    ASSERT_TRUE(LoadPrinterProfile(
        ProfileFile::Parse(ReadFileText(std::filesystem::path(kBin) / "DT500.DEF")), profile));
    ASSERT_EQ(profile.model_name, kModel);
    session.profiles = {profile};
    window.emplace(session, work.path());
    window->Open();
    window->view().dialog().show();
  }
  void TearDown() override { unsetenv("TMPDIR"); }

  QWidget* W(int id) { return window->view().widget(id); }
  QLineEdit* Edit(int id) { return static_cast<QLineEdit*>(W(id)); }
  void Click(int id) { static_cast<QPushButton*>(W(id))->click(); }
  void Load(const std::filesystem::path& path) {
    Edit(kIdSourceEdit)->clear();
    Type(Edit(kIdSourceEdit), QString::fromStdString(path.string()));
  }
  void SelectItem(int index) {
    auto* list = static_cast<QComboBox*>(W(kIdItemList));
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  // The stored bytes of the item's text.
  std::string ItemBytes(int index) {
    auto record = ReadTextRecord(session.document, session.items.at(std::size_t(index)).payload);
    return std::string(reinterpret_cast<const char*>(record->text.data()), record->text_length);
  }
  // The preview frame as painted: ink (not white) pixels inside its border.
  QImage Painted(int id) {
    return W(id)->grab().toImage().copy(W(id)->rect().adjusted(2, 2, -2, -2));
  }
  static bool AllWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
  }
  // The print raster that `inkmark raster` makes of the same file for the same printer.
  LogoRaster ToolRaster(const std::filesystem::path& source, const std::string& options = "") {
    const auto out = work.path() / "tool.bmp";
    const std::string line = "cd '" + work.path().string() + "' && TMPDIR='" +
                             work.path().string() + "' INKMARK_SETTINGS_DIR='" +
                             work.path().string() + "/cli' '" + kBin + "/inkmark' --printer '" +
                             kModel + "' raster " + options + " '" + source.string() + "' -o '" +
                             out.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(line.c_str()), 0);
    auto bytes = ReadFileText(out);
    return LogoRaster::FromFile(std::vector<std::uint8_t>(bytes.begin(), bytes.end())).value();
  }

  // Clicks `button`, answering the file dialog it opens with `path`.
  void ChooseFile(int button, const std::filesystem::path& path) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->selectFile(QString::fromStdString(path.string()));
      static_cast<QDialog*>(dialog)->accept();
    });
    Click(button);
  }
  // Print to file as a bitmap, the Save dialog answered with `path`.
  std::vector<std::uint8_t> PrintToFile(const std::filesystem::path& path) {
    ChooseFile(kIdPrintToFile, path);
    const std::string bytes = ReadFileText(path);
    return {bytes.begin(), bytes.end()};
  }
  int Slider(int id) { return static_cast<QSlider*>(W(id))->value(); }

  TempDir work;
  LogoSession session;
  std::optional<QtMainWindow> window;
};

DocumentObject Text(std::int32_t left, std::int32_t bottom, const std::string& bytes,
                    const char* face, std::uint8_t char_set) {
  DocumentObject text = TextObject(left, bottom, bytes, face, -26, 0);
  text.font.char_set = char_set;
  return text;
}

TEST_F(MainWindowQtTest, TextItemsShowInTheirCodePageAndPrintAsTheToolRastersThem) {
  const std::string deja =
      "D\xE9j\xE0 vu \xA3"
      "2";                                                                  // 1252
  const std::string japanese = "\x93\xfa\x96\x7b\x8c\xea\x83\x8d\x83\x53";  // 日本語ロゴ, 932
  const struct {
    std::string name;
    std::vector<DocumentObject> items;
    std::vector<QString> shown;
  } documents[] = {
      {"déjà vu.QLF",  // a file name beyond ASCII opens too
       {Text(8, 34, deja, "Arial", 0), Text(200, 34, "Today", "Liberation Serif", 0)},
       {QString::fromUtf8("Déjà vu £2"), "Today"}},
      {"japanese.QLF",
       {Text(8, 34, japanese, "IPAGothic", 128), Text(220, 34, "AVAVAV", "Arial", 0)},
       {QString::fromUtf8("日本語ロゴ"), "AVAVAV"}},
  };
  for (const auto& d : documents) {
    const auto bytes = WriteLogoDocument(384, 48, d.items).value();
    const auto path = work.Write(d.name, bytes);
    Load(path);
    ASSERT_EQ(session.source_kind, kSourceDocument) << d.name;
    ASSERT_EQ(session.item_count(), 2);
    for (int i : {1, 0}) {
      SelectItem(i);
      EXPECT_EQ(Edit(kIdItemText)->text(), d.shown[std::size_t(i)]) << d.name << " item " << i;
    }
    EXPECT_EQ(ItemBytes(0), d.items[0].text) << "showing an item changed it";
    EXPECT_EQ(ItemBytes(1), d.items[1].text);

    const std::size_t before = printer->Printed().size();
    Click(kIdTestPrint);
    ASSERT_TRUE(WaitFor([&] { return printer->Printed().size() == before + 1; })) << d.name;
    const vprinter::Picture page = printer->Printed().back();
    const Bytes want = ExpectedInks(ToolRaster(path), page.width, page.height);
    EXPECT_EQ(page.inks, want) << d.name;
    EXPECT_GT(std::count(want.begin(), want.end(), 1), 100) << "nothing printed";
  }

  // Typing into the Japanese item: at most 40 bytes, never half a character.
  SelectItem(0);
  Edit(kIdItemText)->selectAll();
  for (int i = 0; i < 25; ++i) Type(Edit(kIdItemText), QString::fromUtf8("語"));
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += "\x8c\xea";
  EXPECT_EQ(ItemBytes(0), twenty);
  EXPECT_EQ(Edit(kIdItemText)->text().size(), 20);

  // Accents into a Western item are stored in its code page; a character the
  // page lacks is not stored, and the field shows the item's text again.
  Load(work.path() / "déjà vu.QLF");
  SelectItem(1);
  Edit(kIdItemText)->selectAll();
  for (QChar c : QString::fromUtf8("Crème brûlée £2")) Type(Edit(kIdItemText), c);
  const std::string creme =
      "Cr\xE8me br\xFBl\xE9"
      "e \xA3"
      "2";
  EXPECT_EQ(ItemBytes(1), creme);
  Type(Edit(kIdItemText), QString::fromUtf8("語"));
  EXPECT_EQ(ItemBytes(1), creme);
  EXPECT_EQ(Edit(kIdItemText)->text(), QString::fromUtf8("Crème brûlée £2"));
}

TEST_F(MainWindowQtTest, UnreadablePictureAfterAGoodOneLeavesBothPreviewsWhite) {
  // A picture with every shade, so that each slider position converts differently.
  std::vector<std::uint8_t> ramp = SolidBitmap(64, 32, kWhite24);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x)
      for (int c = 0; c < 3; ++c)
        ramp[54 + std::size_t(y) * 192 + std::size_t(x) * 3 + c] = std::uint8_t(x * 4 + c * y);
  const auto good = work.Write("ramp.bmp", ramp);
  const auto bad = work.Write("broken.bmp", "BM this is no picture");
  Load(good);
  const QImage left = Painted(kIdLeftPreview), right = Painted(kIdRightPreview);
  ASSERT_FALSE(AllWhite(left));
  ASSERT_FALSE(AllWhite(right));

  // A slider moved by the user converts the picture again.
  auto* red = static_cast<QSlider*>(W(kIdAdjustR));
  red->setFocus();
  QTest::keyClick(red, Qt::Key_End);
  const QImage moved = Painted(kIdRightPreview);
  EXPECT_FALSE(AllWhite(moved));
  EXPECT_NE(moved, right);

  Load(bad);
  EXPECT_TRUE(AllWhite(Painted(kIdLeftPreview)));
  EXPECT_TRUE(AllWhite(Painted(kIdRightPreview))) << "the earlier picture's logo is still shown";
}

// A picture opened after a text item of a document converts with the grade
// and levels kept from before; the sliders show those, whatever the text item
// showed, and what is printed is what they show.
TEST_F(MainWindowQtTest, SlidersShowTheLevelsThatAreThenPrinted) {
  const auto photo = work.Write("photo.jpg", EncodePhotoJpeg({120, 80, 3, 2, 2, 0, false}));
  const auto bmp = SolidBitmap(16, 8, kBlack24);
  const auto document =
      WriteLogoDocument(
          384, 48, {ImageObject(0, 0, 16, 8, bmp), TextObject(40, 34, "Text", "Arial", -26, 0)})
          .value();
  const auto logo = work.Write("logo.QLF", document);
  Load(logo);
  ASSERT_EQ(session.item_count(), 2);
  SelectItem(1);
  Load(photo);
  ASSERT_EQ(session.source_kind, kSourceJpeg);
  EXPECT_EQ(Slider(kIdAdjustR), int(session.params.adjust_r));
  EXPECT_EQ(Slider(kIdAdjustG), int(session.params.adjust_g));
  EXPECT_EQ(Slider(kIdAdjustB), int(session.params.adjust_b));
  EXPECT_EQ(Slider(kIdProcessing), int(session.params.processing));

  auto* red = static_cast<QSlider*>(W(kIdAdjustR));
  red->setFocus();
  QTest::keyClick(red, Qt::Key_Right);
  const std::string rgb = std::to_string(Slider(kIdAdjustR)) + "," +
                          std::to_string(Slider(kIdAdjustG)) + "," +
                          std::to_string(Slider(kIdAdjustB));
  ASSERT_EQ(rgb, "4,3,3") << "the sliders did not start from the levels kept";
  const auto printed = PrintToFile(work.path() / "printed.bmp");
  EXPECT_TRUE(SameBytes(printed, ToolRaster(photo, "--rgb " + rgb).bytes()));
  // Another step down: the file follows the sliders again.
  QTest::keyClick(red, Qt::Key_Left);
  QTest::keyClick(red, Qt::Key_Left);
  EXPECT_TRUE(SameBytes(PrintToFile(work.path() / "printed2.bmp"),
                        ToolRaster(photo, "--rgb 2,3,3").bytes()));
}

// Every command on a picture that cannot be read says so, with the reason,
// and nothing reaches the printer or the file.
TEST_F(MainWindowQtTest, CommandsOnAnUnreadablePictureSayItCannotBeRead) {
  RecordingMessageBoxes boxes;
  const auto bad = work.Write("broken.bmp", "BM this is no picture");
  Load(bad);
  ASSERT_EQ(session.source_kind, kSourceBitmap);
  const std::string cannot_read = LoadString(kStrCannotReadImage);
  auto expect_cannot_read = [&](const char* command) {
    ASSERT_EQ(boxes.boxes().size(), 1u) << command;
    const std::string& text = boxes.boxes()[0].text;
    EXPECT_EQ(text.rfind(cannot_read + "\n", 0), 0u) << command << ": " << text;
    EXPECT_GT(text.size(), cannot_read.size() + 1) << command << ": no reason given";
    boxes.clear();
  };
  Click(kIdPreview);
  expect_cannot_read("Preview");
  const std::size_t printed = printer->Printed().size();
  Click(kIdTestPrint);
  expect_cannot_read("Test Print");
  QTimer::singleShot(0, [&] {
    QWidget* key_entry = QApplication::activeModalWidget();
    ASSERT_NE(key_entry, nullptr);
    for (auto* b : key_entry->findChildren<QPushButton*>())
      if (b->text() == "&Execute") b->click();
    key_entry->close();
  });
  Click(kIdRegister);
  expect_cannot_read("Register to printer");
  const auto out = work.path() / "out.bmp";
  ChooseFile(kIdPrintToFile, out);
  expect_cannot_read("Print to file");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(printer->Printed().size(), printed);
  EXPECT_TRUE(printer->Keys().empty());
}

// A FIFO under a picture's name, chosen in the Open dialog, is never waited
// on: like any picture that cannot be read it leaves the previews empty, and
// Preview refuses it at once with the reason. The window goes on answering: a
// good picture chosen next is shown.
TEST_F(MainWindowQtTest, AFifoNamedAsAPictureIsRefusedAtOnceAndTheWindowGoesOn) {
  RecordingMessageBoxes boxes;
  const auto fifo = work.path() / "x.bmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  {
    FifoWatchdog watchdog(fifo, std::chrono::seconds(5));
    ChooseFile(kIdBrowse, fifo);
    EXPECT_EQ(Edit(kIdSourceEdit)->text().toStdString(), fifo.string());
    EXPECT_TRUE(AllWhite(Painted(kIdLeftPreview)));
    EXPECT_TRUE(AllWhite(Painted(kIdRightPreview)));
    EXPECT_TRUE(boxes.boxes().empty());
    Click(kIdPreview);
    EXPECT_FALSE(watchdog.Fired()) << "the window waited on the FIFO";
  }
  ASSERT_EQ(boxes.boxes().size(), 1u);
  const std::string& text = boxes.boxes()[0].text;
  EXPECT_EQ(text.rfind(LoadString(kStrCannotReadImage) + "\n", 0), 0u) << text;
  EXPECT_NE(text.find("not a regular file"), std::string::npos) << text;

  boxes.clear();
  const auto picture = work.Write("logo.bmp", SolidBitmap(16, 8, kBlack24));
  ChooseFile(kIdBrowse, picture);
  EXPECT_EQ(session.source_path, picture.string());
  EXPECT_FALSE(AllWhite(Painted(kIdRightPreview)));
  EXPECT_TRUE(boxes.boxes().empty());
}

// A camera-like JPEG (chroma at half size both ways): the window shows the
// picture cut at the paper's edge, and both previews come from the one load, so
// "Fit to paper's width" still shows the whole picture once the file is gone.
TEST_F(MainWindowQtTest, JpegPreviewsAreTheWholePictureCutAndFitEvenAfterTheFileIsGone) {
  const auto path = work.Write("photo.jpg", EncodePhotoJpeg({1601, 641, 3, 2, 2, 0, false}));
  Load(path);
  auto whole = LoadPicture(path.string());
  ASSERT_TRUE(whole);
  const std::int32_t a = session.fit_size[0];  // the preview's usable width
  ASSERT_GT(a, 100);
  std::array<std::int32_t, 2> size{};
  EXPECT_EQ(session.cut_image, ScaleCropToFile(std::max(1601 * a / session.print_width_dots, 1), a,
                                               "", &*whole, "", size));
  EXPECT_EQ(session.fit_image, ScaleCropToFile(a, a, "", &*whole, "", size));
  const QImage cut_left = Painted(kIdLeftPreview), cut_right = Painted(kIdRightPreview);
  ASSERT_FALSE(AllWhite(cut_left));
  ASSERT_FALSE(AllWhite(cut_right));

  std::filesystem::remove(path);
  static_cast<QAbstractButton*>(W(kIdFitToWidth))->click();
  ASSERT_EQ(session.fit_to_width, 1);
  const QImage fit_left = Painted(kIdLeftPreview), fit_right = Painted(kIdRightPreview);
  EXPECT_FALSE(AllWhite(fit_left));
  EXPECT_FALSE(AllWhite(fit_right));
  EXPECT_NE(fit_left, cut_left);
  EXPECT_NE(fit_right, cut_right);
  // The logo shown is the fitted picture converted.
  EXPECT_EQ(session.converted, LoadPicture(session.temp_dest_path));
  EXPECT_EQ(session.params.target_width, std::uint32_t(session.fit_size[0]));
}

TEST_F(MainWindowQtTest, WindowHasItsIconIgnoresEscapeAndTakesNoCloseWhileDisabled) {
  QDialog& dialog = window->view().dialog();
  EXPECT_FALSE(dialog.windowIcon().isNull());
  EXPECT_FALSE(LoadProgramIcon(ProgramIcon::kEditor).isNull());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  // As while the editor runs.
  dialog.setEnabled(false);
  dialog.close();
  EXPECT_TRUE(dialog.isVisible()) << "closed while the editor runs";
  dialog.setEnabled(true);
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
}

// Drops `urls` onto `target` as a file manager would.
bool Drop(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

TEST_F(MainWindowQtTest, ADroppedFileLoadsAsIfBrowsedAndOtherTypesAreRefusedAsThere) {
  RecordingMessageBoxes boxes;
  const auto bmp = SolidBitmap(16, 8, kBlack24);
  const auto picture = work.Write("Grüße ロゴ.bmp", bmp);
  QDialog& dialog = window->view().dialog();
  ASSERT_TRUE(Drop(&dialog, {QUrl::fromLocalFile(QString::fromStdString(picture.string()))}));
  EXPECT_EQ(Edit(kIdSourceEdit)->text().toStdString(), picture.string());
  EXPECT_EQ(session.source_path, picture.string());
  EXPECT_EQ(session.source_kind, kSourceBitmap);
  EXPECT_FALSE(AllWhite(Painted(kIdRightPreview)));
  EXPECT_TRUE(boxes.boxes().empty());

  // The extension check of the Open dialog, with its message; nothing changes.
  for (const char* name : {"logo.jpeg", "notes.txt", "noextension"}) {
    const auto other = work.Write(name, bmp);
    boxes.clear();
    Drop(&dialog, {QUrl::fromLocalFile(QString::fromStdString(other.string()))});
    ASSERT_EQ(boxes.boxes().size(), 1u) << name;
    EXPECT_EQ(boxes.boxes()[0].caption, Translate("MAIN", "File"));
    EXPECT_EQ(boxes.boxes()[0].text, LoadString(kStrBadFileName, 63));
    EXPECT_EQ(session.source_path, picture.string()) << name;
  }
  // Neither a web address nor a folder is a file; a drop onto the name's edit
  // is the window's, not text typed into it.
  boxes.clear();
  EXPECT_FALSE(Drop(&dialog, {QUrl("https://example.com/logo.bmp")}));
  Drop(&dialog, {QUrl::fromLocalFile(QString::fromStdString(work.path().string()))});
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_FALSE(Edit(kIdSourceEdit)->acceptDrops());
  // While another program works for the window, it takes no drop.
  const auto second = work.Write("second.bmp", bmp);
  dialog.setEnabled(false);
  Drop(&dialog, {QUrl::fromLocalFile(QString::fromStdString(second.string()))});
  dialog.setEnabled(true);
  EXPECT_EQ(session.source_path, picture.string());
}

}  // namespace
}  // namespace inkmark::testing

#include "support/compose_fixture.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "document/document_reader.h"
#include "picture/picture.h"
#include "picture/picture_io.h"

namespace inkmark::testing {
namespace {

// Fonts need a running Qt application; one for the whole test program.
struct QtEnvironment : ::testing::Environment {
  void SetUp() override {
    static int argc = 1;
    static char name[] = "compose_tests", *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app.reset(); }
  std::unique_ptr<QGuiApplication> app;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

std::vector<std::uint8_t> SplitBitmap(std::int32_t width, std::int32_t height, Bgr24 left,
                                      Bgr24 right) {
  const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> file(54 + stride * static_cast<std::size_t>(height), 0);
  WriteRgb24Header(file, width, height);
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t x = 0; x < width; ++x) {
      const Bgr24& c = x < width / 2 ? left : right;
      std::copy(c.begin(), c.end(), file.begin() + 54 + r * stride + 3 * x);
    }
  }
  return file;
}

ComposeSession::ComposeSession(std::int32_t paper_dots) {
  session_.first_color = kColorBlack;
  session_.second_color = kColorRed;
  session_.params.color_count = 2;
  session_.params.palette_size = 256;
  session_.print_width_dots = paper_dots;
  session_.temp_fit_path = (dir_.path() / "~$$$lfit.bmp").string();
  session_.temp_cut_path = (dir_.path() / "~$$$lcut.bmp").string();
  session_.temp_dest_path = (dir_.path() / "~$$$ldst.bmp").string();
}

void ComposeSession::UseOneInk() {
  session_.second_color = kNoInk;
  session_.params.color_count = 1;
  session_.params.palette_size = 2;
  session_.params.color_table = 0;
}

void ComposeSession::UsePicture(const std::vector<std::uint8_t>& bitmap, const std::string& name) {
  session_.source_path = (dir_.path() / name).string();
  WriteWholeFile(session_.source_path, bitmap);
  session_.source_kind = SourceKindFromPath(session_.source_path);
}

bool ComposeSession::UseDocument(std::uint16_t width, std::uint16_t height,
                                 const std::vector<DocumentObject>& objects) {
  session_.source_path = (dir_.path() / "doc.qlf").string();
  if (!SaveLogoDocument(session_.source_path, width, height, objects)) return false;
  session_.source_kind = kSourceDocument;
  return LoadLogoDocument(nullptr, session_) == 1;
}

}  // namespace inkmark::testing

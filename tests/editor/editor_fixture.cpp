#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "image/document_reader.h"
#include "image/picture.h"

namespace inkmark::testing {
namespace {

// Fonts need a running Qt application; one for the whole test program.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QGuiApplication::instance() == nullptr) {
      app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "editor_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

std::vector<std::uint8_t> SolidBmp(std::int32_t width, std::int32_t height, std::uint8_t b,
                                   std::uint8_t g, std::uint8_t r) {
  const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> file(54 + stride * static_cast<std::size_t>(height), 0);
  WriteRgb24Header(file, width, height);
  for (std::int32_t row = 0; row < height; ++row) {
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = 54 + row * stride + 3 * static_cast<std::size_t>(x);
      file[at] = b;
      file[at + 1] = g;
      file[at + 2] = r;
    }
  }
  return file;
}

std::vector<ReadBack> ReadWithTool(const std::string& path, std::uint16_t* width,
                                   std::uint16_t* height) {
  DocumentHeaderBytes header{};
  const std::int32_t count = CountDocumentObjects(path, header);
  std::vector<LayoutItem> items;
  std::vector<std::uint8_t> data;
  if (count == 0 || BuildLayoutItems(path, count, items, data) != 1) return {};
  const DocumentHeader fields = *ReadDocumentHeader(header);
  if (width) *width = fields.page_width;
  if (height) *height = fields.page_height;
  std::vector<ReadBack> out;
  for (const LayoutItem& item : items) {
    ReadBack back;
    back.header = *ReadObjectHeader(data, item.object);
    if (back.header.kind == kTextObject) {
      back.text = *ReadTextRecord(data, item.payload);
    } else {
      back.bitmap.assign(
          data.begin() + static_cast<std::ptrdiff_t>(item.bitmap),
          data.begin() + static_cast<std::ptrdiff_t>(item.bitmap + item.bitmap_size));
    }
    out.push_back(std::move(back));
  }
  return out;
}

}  // namespace inkmark::testing

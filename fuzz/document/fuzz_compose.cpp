// The whole road after the parsers: a picture or a logo document, chosen and
// set up by the first two bytes, goes through both previews of the main window,
// the Preview window's picture, the print raster and the command-file stream
// of its registration, on paper a few dozen dots wide so that a run is quick.
//
// Byte 0: bits 0-1 the source kind (document, bitmap, RLE, JPEG), bit 2 "Fit to
// paper's width", bit 3 a one-ink printer, bit 4 Monochrome, bit 5 a special
// model (column form), bit 6 the 2nd ink for the selected item.
// Byte 1: the paper width, 8 to 71 dots; the rest is the file.
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "document/compose.h"
#include "document/document_format.h"
#include "document/document_reader.h"
#include "picture/picture_header.h"
#include "picture/picture_io.h"
#include "platform/message_box.h"
#include "ports/port_driver.h"
#include "protocol/nv_column.h"
#include "protocol/nv_dispatch.h"

namespace {

using namespace inkmark;

// Boxes go nowhere: a refusal is an expected outcome here.
class SilentBoxes final : public MessageBoxes {
 public:
  int Show(WindowHandle, const std::string&, const std::string&, unsigned) override {
    return kIdOk;
  }
};

// The command-file stream, kept in memory; a file answers nothing.
class StreamPort final : public PortDriver {
 public:
  StreamPort() : PortDriver("FILE:") {}
  Status open() override { return Status(); }
  Status close() override { return Status(); }
  Status read(std::uint8_t*, std::uint32_t, std::uint32_t& got) override {
    got = 0;
    return {FailureCode::kUnsupported, "a file gives no replies"};
  }
  Status readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override {
    return read(buffer, length, got);
  }
  Status write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
               std::uint32_t&) override {
    bytes.insert(bytes.end(), buffer, buffer + length);
    written = length;
    return Status();
  }
  std::vector<std::uint8_t> bytes;
};

class Controls final : public PreviewControls {
 public:
  explicit Controls(int ink) : ink_(ink) {}
  int ListSelection(int) const override { return ink_; }
  int ClientWidth(int) const override { return 40; }

 private:
  int ink_;
};

struct Environment {
  // Kept until the process ends: the fuzzer leaves through exit(), and Qt's own
  // statics are gone by the time an application object would be destroyed.
  QGuiApplication* app = nullptr;
  std::filesystem::path dir;
  SilentBoxes boxes;
};

Environment& Env() {
  static Environment env;
  return env;
}

// Pictures and pages beyond a million pixels only make a run slow: the size
// limits themselves are the parsers' own fuzzers' business.
// The same holds for image items: each is converted at its rectangle's size,
// at most `paper` / page width times the page's scale.
bool SmallEnough(int kind, std::span<const std::uint8_t> file, std::int32_t paper) {
  if (kind == kSourceDocument) {
    auto header = ReadDocumentHeader(file);
    if (!header || std::uint64_t{header->page_width} * header->page_height > (1u << 20))
      return false;
    auto doc = ParseLogoDocument(file);
    if (!doc) return true;  // refused at once
    const double scale = std::max(1.0, double(paper) / std::max<int>(1, header->page_width));
    double pixels = 0;
    for (const LayoutItem& item : doc->items) {
      auto object = ReadObjectHeader(doc->data, item.object);
      if (object && object->kind == kImageObject) {
        pixels += std::abs(double(object->right) - object->left) * scale *
                  std::abs(double(object->bottom) - object->top) * scale;
      }
    }
    return pixels <= double(1u << 20);
  }
  if (kind == kSourceJpeg) return file.size() < 20000;
  auto header = ReadBitmapHeader(file);
  return header && std::int64_t{header->width} * header->height <= (1 << 20);
}

PrinterProfile Profile(bool special) {
  PrinterProfile p;
  p.model_name = special ? std::string(kSpecialModels[0].model_name) : "DT-500/510";
  p.resolutions.values = {180, 0};
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  Environment& env = Env();
  env.app = std::make_unique<QGuiApplication>(*argc, *argv).release();
  std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_compose-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  env.dir = pattern;
  SetMessageBoxes(&env.boxes);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t choice = data[0];
  const int kind = choice & 3;  // kSourceDocument .. kSourceJpeg
  const std::span<const std::uint8_t> file(data + 2, size - 2);
  const std::int32_t paper = 8 + (data[1] & 63);
  if (!SmallEnough(kind, file, paper)) return 0;

  Environment& env = Env();
  static const char* const kNames[] = {"source.qlf", "source.bmp", "source.rle", "source.jpg"};
  LogoSession session;
  session.profiles.push_back(Profile((choice & 0x20) != 0));
  session.source_path = (env.dir / kNames[kind]).string();
  session.source_kind = SourceKindFromPath(session.source_path);
  session.temp_fit_path = (env.dir / "fit.bmp").string();
  session.temp_cut_path = (env.dir / "cut.bmp").string();
  session.temp_dest_path = (env.dir / "dest.bmp").string();
  session.print_width_dots = paper;
  session.fit_to_width = (choice >> 2) & 1;
  session.first_color = kColorBlack;
  session.second_color = (choice & 8) ? kNoInk : kColorRed;
  session.params = StartupConversionParams();
  session.monochrome = (choice >> 4) & 1;
  if (session.second_color != kNoInk && session.monochrome == 0) {
    session.params.color_count = 2;
    session.params.palette_size = 256;
  }
  if (!WriteWholeFile(session.source_path, file)) return 0;
  if (kind == kSourceDocument) {
    if (LoadLogoDocument(nullptr, session) != 1) return 0;
    session.item_index = static_cast<std::int32_t>(data[1] % session.items.size());
  }

  const Controls controls(session.second_color != kNoInk && (choice & 0x40) ? 1 : 0);
  if (MakeSourcePreviews(controls, session) == 1) MakeConvertedPreview(controls, session);
  BuildPreviewImage(session);
  std::optional<LogoRaster> raster = BuildLogoRaster(session).ToOptional();
  if (!raster) return 0;
  if (raster->width() <= 0 || raster->height() <= 0) __builtin_trap();
  session.save_as_command_file = 1;
  StreamPort port;
  const std::int32_t registered =
      RegisterNvGraphics(port, nullptr, session, MakeNvKey('A', 'B'), std::move(raster));
  if (registered == 1 && port.bytes.empty()) __builtin_trap();  // success that wrote nothing
  return 0;
}

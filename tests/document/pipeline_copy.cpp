// One copy of the program's picture pipeline in a process of its own, for the
// test that runs copies side by side: it makes the source previews of the
// picture it is given, says "ready", waits for a line on its input, then
// converts the preview as a slider move would and prints the colour of the
// converted preview's first pixel ("blue green red"). It ends as the program
// does, deleting its temporary files.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "document/compose.h"
#include "picture/picture_header.h"
#include "session/temp_files.h"

namespace {

struct Controls final : inkmark::PreviewControls {
  int ListSelection(int) const override { return 0; }
  int ClientWidth(int) const override { return 34; }
};

}  // namespace

int main(int argc, char** argv) {
  using namespace inkmark;
  if (argc != 2) return 2;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  LogoSession session;
  session.first_color = kColorBlack;
  session.second_color = kColorRed;
  session.params.color_count = 2;
  session.params.palette_size = 256;
  session.print_width_dots = 64;
  session.source_path = argv[1];
  session.source_kind = SourceKindFromPath(session.source_path);
  if (!PrepareTempFiles(session)) return 3;
  const Controls controls;
  const bool previewed = MakeSourcePreviews(controls, session) == 1;
  std::cout << (previewed ? "ready" : "failed") << std::endl;
  std::string line;
  std::getline(std::cin, line);
  if (previewed && MakeConvertedPreview(controls, session) == 1) {
    auto header = ReadBitmapHeader(session.converted);
    if (header && header->pixel_offset + 3 <= session.converted.size()) {
      const std::uint8_t* p = session.converted.data() + header->pixel_offset;
      std::cout << int(p[0]) << ' ' << int(p[1]) << ' ' << int(p[2]) << std::endl;
    }
  }
  DeleteTempFiles(session);
  return 0;
}

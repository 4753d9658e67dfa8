#include "session/session.h"

#include "platform/string_table.h"
#include "platform/text.h"

namespace inkmark {

ConversionParams StartupConversionParams() {
  ConversionParams p{};
  p.color_count = 1;
  p.color_table = 0;
  p.adjust_r = p.adjust_g = p.adjust_b = 3;
  p.palette_size = 256;
  p.level_attach[0] = kAttachFirst;
  for (int i = 1; i < 7; ++i) p.level_attach[i] = kAttachSecond;
  p.level_attach[7] = kAttachWhite;
  return p;
}

std::int32_t ColorFromName(std::string_view name) {
  struct Ink {
    int id;
    std::int32_t value;
  };
  static constexpr Ink kInks[] = {{kStrBlack, kColorBlack},
                                  {kStrRed, kColorRed},
                                  {kStrGreen, kColorGreen},
                                  {kStrBlue, kColorBlue}};
  // Printer files and saved settings name the inks in English, whatever
  // language the lists show them in.
  for (const auto& ink : kInks) {
    if (EqualsNoCase(name, EnglishString(ink.id))) return ink.value;
  }
  return kNoInk;
}

SourceKind SourceKindFromPath(std::string_view path) {
  auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return kSourceNone;
  std::string_view ext = path.substr(dot + 1);
  if (EqualsNoCase(ext, "QLF")) return kSourceDocument;
  if (EqualsNoCase(ext, "BMP")) return kSourceBitmap;
  if (EqualsNoCase(ext, "RLE")) return kSourceRle;
  if (EqualsNoCase(ext, "JPG")) return kSourceJpeg;
  if (EqualsNoCase(ext, "PNG") || EqualsNoCase(ext, "GIF") || EqualsNoCase(ext, "SVG"))
    return kSourceOtherPicture;
  return kSourceNone;
}

PrinterProfile* LogoSession::CurrentProfile() {
  if (profile_index < 0 || std::size_t(profile_index) >= profiles.size()) return nullptr;
  return &profiles[std::size_t(profile_index)];
}

const PrinterProfile* LogoSession::CurrentProfile() const {
  return const_cast<LogoSession*>(this)->CurrentProfile();
}

}  // namespace inkmark

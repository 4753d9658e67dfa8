// LogoSession, the one record of a run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "session/conversion_params.h"
#include "session/layout_item.h"
#include "session/printer_profile.h"

namespace inkmark {

// Ink colour values, 0x00BBGGRR; kNoInk for a name outside the four.
inline constexpr std::int32_t kColorBlack = 0x000000;
inline constexpr std::int32_t kColorRed = 0x0000FF;
inline constexpr std::int32_t kColorGreen = 0x00FF00;
inline constexpr std::int32_t kColorBlue = 0xFF0000;
inline constexpr std::int32_t kNoInk = -1;

// Maps "Black", "Red", "Green" or "Blue" (any letter case) to its colour value.
std::int32_t ColorFromName(std::string_view name);

enum SourceKind : std::int32_t {
  kSourceNone = -1,
  kSourceDocument = 0,
  kSourceBitmap = 1,
  kSourceRle = 2,
  kSourceJpeg = 3,
  kSourceOtherPicture = 4,  // PNG, GIF or SVG
};

// The kind of a source file by its extension alone (QLF, BMP, RLE, JPG, and
// PNG, GIF, SVG as other pictures).
SourceKind SourceKindFromPath(std::string_view path);

// A bitmap file image held by the session; empty means none.
using BitmapFile = std::vector<std::uint8_t>;

// Which picture the left-hand preview shows.
enum class ShownSource { kNone, kFit, kCut };

struct LogoSession {
  LogoSession() = default;
  LogoSession(const LogoSession&) = delete;
  LogoSession& operator=(const LogoSession&) = delete;

  ConversionParams params = StartupConversionParams();
  std::int32_t first_color = 0;
  std::int32_t second_color = 0;
  std::int32_t save_as_command_file = 0;
  std::int32_t monochrome = 0;
  std::int32_t fit_to_width = 0;
  std::int32_t profile_index = 0;
  std::vector<PrinterProfile> profiles;
  BitmapFile converted;
  BitmapFile fit_image;
  BitmapFile cut_image;
  ShownSource source_shown = ShownSource::kNone;
  std::int32_t source_kind = kSourceNone;
  std::array<std::int32_t, 2> fit_size{};
  std::array<std::int32_t, 2> cut_size{};
  std::uint32_t source_width = 0;
  std::uint32_t source_height = 0;
  std::string source_path;
  std::string temp_fit_path;
  std::string temp_cut_path;
  std::string temp_dest_path;
  std::string save_path;
  std::int32_t print_width_dots = 0;
  std::vector<LayoutItem> items;       // one per object of the loaded logo document
  std::vector<std::uint8_t> document;  // the document's objects, which the items locate
  std::array<std::uint8_t, 64> document_header{};
  std::int32_t item_index = 0;

  std::int32_t profile_count() const { return std::int32_t(profiles.size()); }
  std::int32_t item_count() const { return std::int32_t(items.size()); }

  // The current profile, or nullptr when there is none.
  PrinterProfile* CurrentProfile();
  const PrinterProfile* CurrentProfile() const;
};

}  // namespace inkmark

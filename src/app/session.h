// LogoSession, the one record of a run, and ConversionParams, the block handed
// to the converter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/printer_profile.h"

namespace inkmark {

// The converter reads this block as stored bytes: its layout is fixed.
struct ConversionParams {
  std::uint32_t target_width;
  std::uint32_t target_height;
  std::uint32_t color_count;  // 2 = two inks, 1 = one ink
  std::uint32_t
      color_table;           // index (0 or 1) of the first ink named in {first_color, second_color}
  std::uint32_t processing;  // 0 Coarse, 1 middle, 2 Fine
  std::uint32_t adjust_r;    // 1-5
  std::uint32_t adjust_g;    // 1-5
  std::uint32_t adjust_b;    // 1-5
  std::uint32_t palette_size;   // 256 with two inks, 2 with one
  std::uint32_t attach_manual;  // 0 Automatic, 1 Manual
  // Level 1 (darkest) first; low byte: 0 1st ink, 1 2nd ink, 2 white;
  // high byte (Monochrome): 0 the ink, 1 white.
  std::uint16_t level_attach[8];
  std::uint32_t reserved;
};
static_assert(sizeof(ConversionParams) == 60);
static_assert(offsetof(ConversionParams, target_width) == 0);
static_assert(offsetof(ConversionParams, target_height) == 4);
static_assert(offsetof(ConversionParams, color_count) == 8);
static_assert(offsetof(ConversionParams, color_table) == 12);
static_assert(offsetof(ConversionParams, processing) == 16);
static_assert(offsetof(ConversionParams, adjust_r) == 20);
static_assert(offsetof(ConversionParams, adjust_g) == 24);
static_assert(offsetof(ConversionParams, adjust_b) == 28);
static_assert(offsetof(ConversionParams, palette_size) == 32);
static_assert(offsetof(ConversionParams, attach_manual) == 36);
static_assert(offsetof(ConversionParams, level_attach) == 40);
static_assert(offsetof(ConversionParams, reserved) == 56);

inline constexpr std::uint16_t kAttachFirst = 0x0000;
inline constexpr std::uint16_t kAttachSecond = 0x0001;
inline constexpr std::uint16_t kAttachWhite = 0x0102;

// The values a run starts with.
ConversionParams StartupConversionParams();

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
};

// The kind of a source file by its extension alone (QLF, BMP, RLE, JPG).
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
  std::int32_t profile_count = 0;
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
  std::vector<std::uint8_t> document;
  std::array<std::uint8_t, 64> document_header{};
  std::int32_t item_count = 0;
  std::int32_t item_index = 0;

  // The current profile, or nullptr when there is none.
  PrinterProfile* CurrentProfile();
  const PrinterProfile* CurrentProfile() const;
};

}  // namespace inkmark

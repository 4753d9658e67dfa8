// ConversionParams, the block handed to the converter; each image item of a
// logo document keeps its own copy.
#pragma once

#include <cstddef>
#include <cstdint>

namespace inkmark {

// The converter reads this block as stored bytes: its layout is fixed.
struct ConversionParams {
  std::uint32_t target_width;
  std::uint32_t target_height;
  std::uint32_t color_count;  // 2 = two inks, 1 = one ink
  // Index (0 or 1) of the first ink it names in the pair {first_color, second_color}.
  std::uint32_t color_table;
  std::uint32_t processing;     // 0 Coarse, 1 middle, 2 Fine
  std::uint32_t adjust_r;       // 1-5
  std::uint32_t adjust_g;       // 1-5
  std::uint32_t adjust_b;       // 1-5
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

}  // namespace inkmark

// The two-colour converter: a picture file in, a bitmap in the printer's inks
// and white out, at the size and with the settings of a ConversionParams
// block.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "session/session.h"

extern "C" {

// Converts the bitmap file at `source_path` (any depth) and writes the result
// to `dest_path`, which may be the same file. `inks` is the session's pair
// {first_color, second_color}; the block's color_table indexes it. Returns 1
// when the destination was written whole; 0 when the parameters are refused or
// the source cannot be read or decoded, and then the destination is untouched.
int QrvConvertLogo(const char* source_path, const inkmark::ConversionParams* params,
                   const std::int32_t inks[2], const char* dest_path);

}  // extern "C"

namespace inkmark {

// The converter's work without the files: bitmap file bytes (any depth) in,
// the result's file image out; nullopt when the block or the bytes are refused.
std::optional<BitmapFile> ConvertBitmapFile(std::span<const std::uint8_t> source,
                                            const ConversionParams& params,
                                            const std::int32_t inks[2]);

}  // namespace inkmark

// Printed pictures as PNG files: the inks on white.
#pragma once

#include <cstdint>
#include <filesystem>

#include "graphics.h"

namespace inkmark::vprinter {

bool SavePicturePng(const Picture& picture, const std::filesystem::path& path,
                    std::uint32_t first_ink_rgb, std::uint32_t second_ink_rgb);

}  // namespace inkmark::vprinter

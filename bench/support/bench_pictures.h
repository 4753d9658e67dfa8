// Test pictures for the image benchmarks: a photograph-like gradient with
// real detail, as a 24-bit bitmap file or as a JPEG.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/picture.h"

namespace inkmark {

BitmapFile MakeRgb24(int w, int h);
std::vector<std::uint8_t> MakeJpeg(int w, int h);

// A photograph as a camera saves it: smooth shading with sensor noise, quality
// 90, chroma sampled at half the width and half the height.
std::vector<std::uint8_t> MakePhotoJpeg(int w, int h);

}  // namespace inkmark

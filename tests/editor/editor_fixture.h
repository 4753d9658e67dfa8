// Shared set-up of the editor tests: a Qt application for the fonts, pictures
// built in memory, and reading a saved document back with the tool's reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_document.h"
#include "image/document_format.h"

namespace inkmark::testing {

// A 24-bit bitmap file of one colour (blue, green, red bytes).
std::vector<std::uint8_t> SolidBmp(std::int32_t width, std::int32_t height, std::uint8_t b,
                                   std::uint8_t g, std::uint8_t r);

// One object of a document as the tool reads it back.
struct ReadBack {
  ObjectHeader header;
  TextRecord text;                   // text objects
  std::vector<std::uint8_t> bitmap;  // image objects
};

// The document at `path` loaded with the tool's CountDocumentObjects and
// BuildLayoutItems; empty when the tool refuses it.
std::vector<ReadBack> ReadWithTool(const std::string& path, std::uint16_t* width = nullptr,
                                   std::uint16_t* height = nullptr);

}  // namespace inkmark::testing

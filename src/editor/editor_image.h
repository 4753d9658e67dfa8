// Image items made from picture files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "document/document_writer.h"
#include "platform/paths.h"

namespace inkmark {

// An image object holding the picture at `path` (any type the tool reads),
// decoded as the tool decodes it and embedded as a 24-bit bitmap, so that
// every picture the editor accepts is one the tool can draw. Its top-left
// corner is (left, top); it keeps its own size (a drawing's at
// `dots_per_inch`) unless it is wider than the page, when it is scaled down
// to the page's width (a drawing drawn at it). nullopt when the file cannot be
// read or decoded.
std::optional<DocumentObject> ImageFromFile(const std::string& path, std::int32_t left,
                                            std::int32_t top, std::int32_t page_width,
                                            bool transparent, std::int32_t dots_per_inch);

// The resolution the tool prints at: that of the printer chosen in its saved
// settings, among the printer files of `folder`; 96 when none is known.
std::int32_t PrinterDotsPerInch(const std::filesystem::path& folder = ProgramFolder());

}  // namespace inkmark

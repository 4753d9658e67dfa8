// Image items made from picture files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/document_writer.h"

namespace inkmark {

// An image object holding the picture at `path` (any type the tool reads),
// decoded as the tool decodes it and embedded as a 24-bit bitmap, so that
// every picture the editor accepts is one the tool can draw. Its top-left
// corner is (left, top); it keeps its own size unless it is wider than the
// page, when it is scaled down to the page's width. nullopt when the file
// cannot be read or decoded.
std::optional<DocumentObject> ImageFromFile(const std::string& path, std::int32_t left,
                                            std::int32_t top, std::int32_t page_width,
                                            bool transparent);

}  // namespace inkmark

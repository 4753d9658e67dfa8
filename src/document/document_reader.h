// Reading logo documents: the file is checked whole (length, magic) and its
// objects walked with the header's two byte budgets; one LayoutItem per object.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/message_box.h"
#include "session/session.h"

namespace inkmark {

using DocumentHeaderBytes = std::array<std::uint8_t, 64>;

struct ParsedDocument {
  DocumentHeaderBytes header{};
  std::vector<std::uint8_t> data;  // everything after the header: the objects
  std::vector<LayoutItem> items;   // in file order, locating their objects in `data`
};

// The whole document file checked and walked. Refused, with where and why,
// unless the length is
// exactly 64 + text bytes + image bytes, the magic is spelled exactly, and the
// objects, walked in order, are all text or image objects that lie inside the
// data, spend both budgets exactly and hold texts within the text limit, and
// unless the image items' pixels together stay within the one-picture limit.
Result<ParsedDocument> ParseLogoDocument(std::span<const std::uint8_t> file);

// The document file at `path` read and parsed.
Result<ParsedDocument> ReadLogoDocument(const std::string& path);

// The number of objects of the document at `path`, 0 when it is unusable. The
// first 64 bytes go to `header_out` whenever the file has them.
std::int32_t CountDocumentObjects(const std::string& path, DocumentHeaderBytes& header_out);

// Reads the document again and fills `items` and `data_out`. 1, or 0 (both
// left empty) when it is unusable or does not hold exactly `count` objects.
int BuildLayoutItems(const std::string& path, std::int32_t count, std::vector<LayoutItem>& items,
                     std::vector<std::uint8_t>& data_out);

// Loads the session's source_path as its document: header, data and items,
// each image item with a copy of the session's params and monochrome flag,
// every item on the 1st ink. A file that cannot be used is reported with
// string 28 and its reason, and gives 0; the session then holds no document.
int LoadLogoDocument(WindowHandle owner, LogoSession& session);

}  // namespace inkmark

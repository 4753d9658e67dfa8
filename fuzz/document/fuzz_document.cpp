// Feeds arbitrary bytes to the logo-document reader, then reads every object
// the walk accepted, as the composition would.
#include <cstddef>
#include <cstdint>
#include <span>

#include "document/document_format.h"
#include "document/document_reader.h"
#include "document/text_item_font.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace inkmark;
  auto doc = ParseLogoDocument(std::span<const std::uint8_t>(data, size));
  if (!doc) return 0;
  for (const LayoutItem& item : doc->items) {
    auto object = ReadObjectHeader(doc->data, item.object);
    if (!object) __builtin_trap();  // the walk vouched for every object
    if (item.kind == kTextObject) {
      auto text = ReadTextRecord(doc->data, item.payload);
      if (!text || text->text_length > kMaxTextBytes) __builtin_trap();
      SplitTextCharacters(std::span(text->text).first(text->text_length),
                          CodePageOfCharset(text->font.char_set));
    } else if (item.bitmap + item.bitmap_size > doc->data.size()) {
      __builtin_trap();
    }
  }
  return 0;
}

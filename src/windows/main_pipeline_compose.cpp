#include "windows/main_pipeline_compose.h"

#include <algorithm>
#include <cstring>

#include "document/document_format.h"
#include "document/document_reader.h"
#include "document/text_item_font.h"
#include "document/text_limit.h"

namespace inkmark {

void ComposePipeline::MakeSourcePreviews(LogoSession& session) {
  inkmark::MakeSourcePreviews(controls_, session);
}

void ComposePipeline::MakeConvertedPreview(LogoSession& session) {
  inkmark::MakeConvertedPreview(controls_, session);
}

int ComposePipeline::LoadLogoDocument(LogoSession& session) {
  return inkmark::LoadLogoDocument(owner_, session);
}

void ComposePipeline::ResetSecondColorItems(LogoSession& session) {
  inkmark::ResetSecondColorItems(session);
}

ItemState ComposePipeline::Item(const LogoSession& session, int index) const {
  ItemState state;
  if (index < 0 || std::size_t(index) >= session.items.size()) return state;
  const LayoutItem& item = session.items[std::size_t(index)];
  state.is_text = item.kind == kTextObject;
  state.params = item.params;
  state.monochrome = item.monochrome;
  state.color_index = item.color_index;
  if (state.is_text) {
    if (auto record = ReadTextRecord(session.document, item.payload)) {
      const char* text = reinterpret_cast<const char*>(record->text.data());
      std::size_t length = std::min<std::size_t>(record->text_length, kMaxTextBytes);
      state.text.assign(text, strnlen(text, length));
      state.code_page = CodePageOfCharset(record->font.char_set);
    }
  }
  return state;
}

void ComposePipeline::SetItemText(LogoSession& session, int index, const std::string& text) {
  if (index < 0 || std::size_t(index) >= session.items.size()) return;
  const LayoutItem& item = session.items[std::size_t(index)];
  if (item.kind != kTextObject) return;
  std::vector<std::uint8_t>& data = session.document;
  if (item.payload > data.size() || data.size() - item.payload < kTextRecordSize) return;
  // A text past the limit is refused by the window before it comes here; it
  // is never cut to fit.
  if (!CheckTextLength(text.size())) return;
  const std::size_t length = text.size();
  std::uint8_t* field = data.data() + item.payload + kTextOffText;
  std::memset(field, 0, kTextFieldSize);
  std::memcpy(field, text.data(), length);
  data[item.payload + kTextOffLength] = std::uint8_t(length & 0xFF);
  data[item.payload + kTextOffLength + 1] = std::uint8_t(length >> 8);
}

Result<LogoRaster> ComposePipeline::BuildLogoRaster(LogoSession& session) {
  return inkmark::BuildLogoRaster(session);
}

}  // namespace inkmark

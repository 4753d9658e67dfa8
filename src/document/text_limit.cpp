#include "document/text_limit.h"

#include "platform/code_page.h"

namespace inkmark {

Status CheckTextLength(std::size_t length) {
  if (length <= kMaxTextBytes) return Status::Ok();
  return Status(FailureCode::kTextTooLong,
                std::to_string(length) + " bytes, at most " + std::to_string(kMaxTextBytes));
}

Result<std::string> EncodeTextItem(const QString& text, int code_page) {
  std::optional<std::string> bytes = EncodeCodePage(text, code_page);
  if (!bytes) return Failure{FailureCode::kUnsupported, "a character has no code in the page"};
  if (Status fits = CheckTextLength(bytes->size()); !fits) return fits.failure();
  return std::move(*bytes);
}

}  // namespace inkmark

// The one rule of a text item's length: at most kMaxTextBytes bytes in the
// code page of its font's character set, whole characters only. The document
// reader and writer, the main window's Text field and the editor all ask here;
// none of them cuts a text to make it fit.
#pragma once

#include <QString>
#include <cstddef>
#include <string>

#include "platform/failure.h"

namespace inkmark {

inline constexpr std::size_t kMaxTextBytes = 40;

// kTextTooLong when a text item cannot hold `length` bytes.
Status CheckTextLength(std::size_t length);

// `text` in `code_page` as a text item holds it: kUnsupported when a character
// has no code in the page (NUL included), kTextTooLong when it takes more than
// kMaxTextBytes bytes. A text that does not fit is refused whole, so a two-byte
// character is never split.
Result<std::string> EncodeTextItem(const QString& text, int code_page);

}  // namespace inkmark

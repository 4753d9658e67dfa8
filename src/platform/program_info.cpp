#include "platform/program_info.h"

#include <string>

#include "platform/version.h"

namespace inkmark {

std::optional<int> AnswerInfoRequest(int argc, const char* const* argv, std::string_view program,
                                     std::string_view usage, std::FILE* out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string text;
    if (arg == "--version") {
      text = std::string(program) + ' ' + kVersion + '\n';
    } else if (arg == "--help") {
      text = usage;
    } else {
      continue;
    }
    // A full disk or a closed pipe is a failure, not an answer.
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fflush(out) == 0 && written ? 0 : 1;
  }
  return std::nullopt;
}

}  // namespace inkmark

#include "cli/progress_port.h"

#include <algorithm>

namespace inkmark::cli {

std::int32_t ProgressPort::write(const std::uint8_t* buffer, std::uint32_t length,
                                 std::uint32_t& written, std::uint32_t& errors) {
  if (length < kProgressStep) return port_.write(buffer, length, written, errors);
  written = 0;
  std::int32_t result = 1;
  while (written < length && result == 1) {
    const std::uint32_t piece = std::min(kProgressStep, length - written);
    std::uint32_t sent = 0;
    result = port_.write(buffer + written, piece, sent, errors);
    written += sent;
    std::fprintf(err_, "\rinkmark: sent %u of %u bytes", written, length);
    std::fflush(err_);
  }
  std::fprintf(err_, "\n");
  return result;
}

}  // namespace inkmark::cli

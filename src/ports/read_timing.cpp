#include "ports/read_timing.h"

namespace inkmark {

std::uint32_t read_constant_ms = kReadConstantStartMs;

}  // namespace inkmark

// The adaptive per-read time-out that every port of a run shares.
#pragma once

#include <cstdint>

namespace inkmark {

// Milliseconds one read waits for the first byte. It grows while a printer is
// slow to answer, falls back to 1 only when a timed read gives up, and is
// carried from port to port for the whole run.
extern std::uint32_t read_constant_ms;

inline constexpr std::uint32_t kReadConstantStartMs = 1;
// Every 12th pass of a timed read that has not completed, the read waits 10 ms longer.
inline constexpr std::uint32_t kReadBackoffPasses = 12;
inline constexpr std::uint32_t kReadBackoffStepMs = 10;

}  // namespace inkmark

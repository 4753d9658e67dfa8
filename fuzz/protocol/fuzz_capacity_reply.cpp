// The remaining capacity reply on both routes, from whatever the printer sends.
#include <cstdlib>

#include "fuzz_port.h"
#include "protocol/capacity_reply.h"

using namespace inkmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  FuzzPort direct(bytes);
  // Eight digits at most: never more than 99999999, never negative but -1.
  auto read = ReadCapacityDirect(direct);
  if (read && (*read < 0 || *read > 99999999)) abort();
  if (!read && read.detail().empty()) abort();
  FuzzPort driver(bytes);
  read = ReadCapacityDriver(driver.Exchange());
  if (read && (*read < 0 || *read > 99999999)) abort();
  const std::int32_t capacity = ParseCapacityReply(bytes);
  if (capacity < -1 || capacity > 99999999) abort();
  return 0;
}

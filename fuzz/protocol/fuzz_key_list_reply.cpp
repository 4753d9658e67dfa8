// The key code list reply on both routes, from whatever the printer sends.
#include <cstdlib>
#include <vector>

#include "fuzz_port.h"
#include "protocol/key_list_reply.h"

using namespace inkmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  std::vector<NvKey> keys;

  FuzzPort direct(bytes);
  auto count = ReadKeyListDirect(direct, keys);
  // A list read whole counts its keys; a refusal always says why.
  if (count ? *count != std::int32_t(keys.size()) : count.detail().empty()) abort();
  if (keys.size() > kMaxNvKeys) abort();

  FuzzPort driver(bytes);
  count = ReadKeyListDriver(driver, driver.Exchange(), keys);
  if (count ? std::size_t(*count) != keys.size() : count.detail().empty()) abort();
  for (const NvKey& key : keys) {
    if (key[2] != '\0') abort();
  }
  ParseKeyListBlock(bytes);
  return 0;
}

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
  std::int32_t count = ReadKeyListDirect(direct, keys);
  if (count != (count < 0 ? -1 : std::int32_t(keys.size())) || keys.size() > kMaxNvKeys) abort();

  FuzzPort driver(bytes);
  count = ReadKeyListDriver(driver, driver.Exchange(), keys);
  if (count >= 0 && std::size_t(count) != keys.size()) abort();
  for (const NvKey& key : keys) {
    if (key[2] != '\0') abort();
  }
  ParseKeyListBlock(bytes);
  return 0;
}

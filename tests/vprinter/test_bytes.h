// Command bytes for the virtual printer tests, laid out field by field as the
// host sends them, and descriptors read and written with a time limit, so a
// printer that fails to answer fails the test instead of hanging it.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/unique_fd.h"

namespace inkmark::vprinter::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
// `value` as `size` little-endian bytes.
inline Bytes Le(std::size_t value, int size) {
  Bytes out;
  for (int i = 0; i < size; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
  return out;
}
// 1D 28 4C pL pH 30 fn, then `rest`.
inline Bytes Gs(std::uint8_t fn, const Bytes& rest) {
  return Cat({{0x1D, 0x28, 0x4C}, Le(rest.size() + 2, 2), {0x30, fn}, rest});
}

inline const Bytes kInitialise = {0x1B, 0x40};
inline const Bytes kAck = {0x06};
inline const Bytes kKeyListRequest = Gs(0x40, {0x4B, 0x43});
inline const Bytes kCapacityRequest = Gs(0x33, {});
inline const Bytes kPrintBuffer = Gs(0x32, {});
inline Bytes PrintNv(char k1, char k2) {
  return Gs(0x45, {std::uint8_t(k1), std::uint8_t(k2), 1, 1});
}
inline Bytes DeleteNv(char k1, char k2) { return Gs(0x42, {std::uint8_t(k1), std::uint8_t(k2)}); }
inline Bytes Density(std::uint8_t xy) { return Gs(0x31, {xy, xy}); }
// Store in the print buffer: 30 70|71 30 01 01 c xL xH yL yH data.
inline Bytes Store(bool column, std::uint8_t ink, int width, int height, const Bytes& data) {
  return Gs(column ? 0x71 : 0x70, Cat({{0x30, 1, 1, ink}, Le(width, 2), Le(height, 2), data}));
}
// Define: 1D 38 4C p1..p4 30 fn 30 kc1 kc2 b xL xH yL yH, then each block's
// ink code and data; fn 0x43 in raster form, kColumnForm in column form.
constexpr std::uint8_t kColumnForm = 0x44;
inline Bytes Define(char k1, char k2, int width, int height,
                    std::initializer_list<std::pair<std::uint8_t, Bytes>> blocks,
                    std::uint8_t fn = 0x43) {
  Bytes body =
      Cat({{0x30, fn, 0x30, std::uint8_t(k1), std::uint8_t(k2), std::uint8_t(blocks.size())},
           Le(width, 2),
           Le(height, 2)});
  for (const auto& [ink, data] : blocks) body = Cat({body, {ink}, data});
  return Cat({{0x1D, 0x38, 0x4C}, Le(body.size(), 4), body});
}
// A reply: 37 id text 00.
inline Bytes Reply(std::uint8_t id, const std::string& text) {
  return Cat({{0x37, id}, Bytes(text.begin(), text.end()), {0x00}});
}

// A blocking descriptor takes all of a write or fails.
inline bool WriteAllTo(int fd, const Bytes& bytes) {
  return ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
}
// Reads until `count` bytes came or nothing came for three seconds.
inline Bytes ReadFrom(int fd, std::size_t count) {
  Bytes out(count);
  std::size_t got = 0;
  for (pollfd p{fd, POLLIN, 0}; got < count && ::poll(&p, 1, 3000) == 1;) {
    const ssize_t n = ::read(fd, out.data() + got, count - got);
    if (n <= 0) break;
    got += std::size_t(n);
  }
  out.resize(got);
  return out;
}
// A connection to `port` on the loopback address; invalid if refused.
inline UniqueFd ConnectTo(std::uint16_t port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in a{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return {};
  return fd;
}

}  // namespace inkmark::vprinter::testing

#include "protocol_fixtures.h"

#include <algorithm>
#include <stdexcept>

namespace inkmark::testing {

Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

namespace {

void Put(Bytes& f, std::size_t at, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

constexpr std::int32_t kWhite = 0xFFFFFF;

void PutColor(Bytes& f, std::size_t at, std::int32_t color) {
  const PaletteEntry e =
      color == kWhite ? PaletteEntry{0xFF, 0xFF, 0xFF} : PaletteEntryFromColor(color);
  f[at] = e.blue;
  f[at + 1] = e.green;
  f[at + 2] = e.red;
}

// A bitmap file with the given palette whose dot values come from `value_at`.
LogoRaster Build(int width, int height, int bits, const std::vector<std::int32_t>& palette,
                 const std::function<int(int, int)>& value_at) {
  const std::size_t stride =
      bits == 1 ? ((std::size_t(width) + 31) / 32) * 4 : ((std::size_t(width) + 3) / 4) * 4;
  const std::size_t offset = 54 + 4 * palette.size();
  Bytes f(offset + stride * std::size_t(height), 0);
  f[0] = 'B';
  f[1] = 'M';
  Put(f, 2, std::uint32_t(f.size()), 4);
  Put(f, 10, std::uint32_t(offset), 4);
  Put(f, 14, 40, 4);
  Put(f, 18, std::uint32_t(width), 4);
  Put(f, 22, std::uint32_t(height), 4);
  Put(f, 26, 1, 2);
  Put(f, 28, std::uint32_t(bits), 2);
  Put(f, 46, std::uint32_t(palette.size()), 4);
  for (std::size_t i = 0; i < palette.size(); ++i) PutColor(f, 54 + 4 * i, palette[i]);
  for (int y = 0; y < height; ++y) {
    // Rows are stored bottom-up.
    std::uint8_t* row = f.data() + offset + stride * std::size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const int v = value_at(x, y);
      if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(v);
      } else if (v) {
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  auto raster = LogoRaster::FromFile(std::move(f));
  if (!raster) throw std::runtime_error("test raster refused");
  return std::move(*raster);
}

}  // namespace

LogoRaster MakeRaster(int width, int height, std::int32_t first_color, std::int32_t second_color,
                      const InkAt& ink_at) {
  if (second_color == kNoInk) {
    return Build(width, height, 1, {first_color, kWhite},
                 [&](int x, int y) { return ink_at(x, y) == 1 ? 0 : 1; });
  }
  return Build(width, height, 8, {first_color, second_color, kWhite}, [&](int x, int y) {
    const int ink = ink_at(x, y);
    return ink == 0 ? 2 : ink - 1;
  });
}

LogoRaster MakeInkOneRaster(int width, int height, std::int32_t ink, const InkAt& ink_at) {
  return Build(width, height, 1, {kWhite, ink}, [&](int x, int y) { return ink_at(x, y) ? 1 : 0; });
}

int Pattern(int x, int y) {
  if (x == 0 || y == 0) return 1;
  if ((x + 2 * y) % 7 == 0) return 2;
  if ((x * y) % 5 == 1) return 1;
  return 0;
}

PrinterProfile ProfileFor(const std::string& model, const std::string& second, int dpi,
                          const std::string& port) {
  PrinterProfile p;
  p.model_name = model;
  p.first_colors = {"Black", "0"};
  p.first_color_count = 1;
  p.second_colors = {second, "0"};
  p.second_color_count = 1;
  p.resolutions = {dpi, 0};
  p.resolution_count = 1;
  p.ports = {port, "0"};
  p.port_count = 1;
  p.baud_rates = {19200, 0};
  p.baud_count = 1;
  p.bit_lengths = {8, 0};
  p.bit_length_count = 1;
  p.parities = {"None", "0"};
  p.parity_count = 1;
  p.flows = {"DTR/DSR", "0"};
  p.flow_count = 1;
  return p;
}

void UseProfile(LogoSession& session, PrinterProfile profile) {
  session.first_color = kColorBlack;
  session.second_color = ColorFromName(profile.second_colors[0]);
  session.profiles = {std::move(profile)};
  session.profile_count = 1;
  session.profile_index = 0;
}

std::vector<std::string> KeyTexts(const std::vector<NvKey>& keys) {
  std::vector<std::string> out;
  for (const NvKey& k : keys) out.emplace_back(k.data());
  return out;
}

void ScriptPort::Reset() {
  replies.clear();
  sent.clear();
  writes.clear();
  fail_from_write = SIZE_MAX;
  begin_job_result = 1;
  jobs_begun = jobs_ended = 0;
  closed = false;
}

std::int32_t ScriptPort::read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  got = 0;
  while (got < length && !replies.empty()) {
    buffer[got++] = replies.front();
    replies.pop_front();
  }
  return got == length ? 1 : 0;
}

std::int32_t ScriptPort::write(const std::uint8_t* buffer, std::uint32_t length,
                               std::uint32_t& written, std::uint32_t& errors) {
  written = 0;
  if (writes.size() >= fail_from_write) {
    writes.emplace_back();
    errors = 1;
    return 0;
  }
  writes.emplace_back(buffer, buffer + length);
  sent.insert(sent.end(), buffer, buffer + length);
  written = length;
  return 1;
}

}  // namespace inkmark::testing

#include <gtest/gtest.h>

#include "command_parser.h"

namespace inkmark::testing {

std::vector<vprinter::Command> DecodeStream(const Bytes& stream) {
  vprinter::CommandParser parser;
  std::vector<vprinter::Command> commands;
  parser.Feed(stream, [&](const vprinter::Frame& f) { commands.push_back(DecodeFrame(f)); });
  EXPECT_TRUE(parser.idle()) << "stream ends inside a command";
  EXPECT_EQ(parser.skipped_bytes(), 0u);
  for (const auto& c : commands) {
    EXPECT_NE(c.kind, vprinter::CommandKind::kRefused) << c.reason;
  }
  return commands;
}

vprinter::Picture ExpectedPicture(const LogoRaster& raster, int picture_width, int picture_height,
                                  std::int32_t first_value, std::int32_t second_value) {
  vprinter::Picture p{picture_width, picture_height,
                      std::vector<std::uint8_t>(std::size_t(picture_width) * picture_height, 0)};
  for (int y = 0; y < raster.height() && y < picture_height; ++y) {
    for (int x = 0; x < raster.width() && x < picture_width; ++x) {
      // Storage rows are bottom-up.
      const int v = *raster.pixel(x, raster.height() - 1 - y);
      p.inks[std::size_t(y) * picture_width + x] = v == first_value ? 1 : v == second_value ? 2 : 0;
    }
  }
  return p;
}

}  // namespace inkmark::testing

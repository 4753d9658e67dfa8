#include "protocol_fixtures.h"

#include <stdexcept>
#include <tuple>

#include "command_parser.h"

namespace inkmark::testing {

Bytes B(std::initializer_list<int> bytes) { return Bytes(bytes.begin(), bytes.end()); }

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

namespace {

constexpr std::int32_t kWhite = 0xFFFFFF;

// A bitmap file of `bits` per dot with the given palette, rows bottom-up.
LogoRaster Build(int width, int height, int bits, const std::vector<std::int32_t>& palette,
                 const std::function<int(int, int)>& value_at) {
  const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
  const std::size_t offset = 54 + 4 * palette.size();
  Bytes f(offset + stride * std::size_t(height), 0);
  const auto put = [&](std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  for (auto [at, v, n] : {std::tuple{2, f.size(), 4},
                          {10, offset, 4},
                          {14, 40, 4},
                          {18, std::size_t(width), 4},
                          {22, std::size_t(height), 4},
                          {26, 1, 2},
                          {28, std::size_t(bits), 2},
                          {46, palette.size(), 4}})
    put(at, std::uint32_t(v), n);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const PaletteEntry e =
        palette[i] == kWhite ? PaletteEntry{0xFF, 0xFF, 0xFF} : PaletteEntryFromColor(palette[i]);
    put(54 + 4 * i, e.blue | e.green << 8 | e.red << 16, 3);
  }
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = f.data() + offset + stride * std::size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const int v = value_at(x, y);
      if (bits == 8)
        row[x] = static_cast<std::uint8_t>(v);
      else if (v)
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  auto raster = LogoRaster::FromFile(std::move(f));
  if (!raster) throw std::runtime_error("test raster refused");
  return std::move(*raster);
}

}  // namespace

LogoRaster MakeRaster(int width, int height, std::int32_t second, const InkAt& ink_at) {
  if (second == kNoInk) {
    return Build(width, height, 1, {kColorBlack, kWhite},
                 [&](int x, int y) { return ink_at(x, y) ? 0 : 1; });
  }
  return Build(width, height, 8, {kColorBlack, second, kWhite}, [&](int x, int y) {
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
  return (x * y) % 5 == 1 ? 1 : 0;
}

PrinterProfile ProfileFor(const std::string& model, const std::string& second, int dpi,
                          const std::string& port) {
  PrinterProfile p;
  p.model_name = model;
  p.first_colors = {"Black", "0"};
  p.second_colors = {second, "0"};
  p.resolutions = {dpi, 0};
  p.ports = {port, "0"};
  p.baud_rates = {19200, 0};
  p.bit_lengths = {8, 0};
  p.parities = {"None", "0"};
  p.flows = {"DTR/DSR", "0"};
  p.first_color_count = p.second_color_count = p.resolution_count = p.port_count = 1;
  p.baud_count = p.bit_length_count = p.parity_count = p.flow_count = 1;
  return p;
}

void UseProfile(LogoSession& session, PrinterProfile profile) {
  session.first_color = kColorBlack;
  session.second_color = ColorFromName(profile.second_colors[0]);
  session.profiles = {std::move(profile)};
  session.profile_count = 1;
  session.profile_index = 0;
}

Texts KeyTexts(const std::vector<NvKey>& keys) {
  Texts out;
  for (const NvKey& k : keys) out.emplace_back(k.data());
  return out;
}

std::vector<vprinter::Command> DecodeStream(const Bytes& stream) {
  vprinter::CommandParser parser;
  std::vector<vprinter::Command> commands;
  parser.Feed(stream, [&](const vprinter::Frame& f) { commands.push_back(DecodeFrame(f)); });
  EXPECT_TRUE(parser.idle()) << "stream ends inside a command";
  EXPECT_EQ(parser.skipped_bytes(), 0u);
  for (const auto& c : commands) EXPECT_NE(c.kind, vprinter::CommandKind::kRefused) << c.reason;
  return commands;
}

std::vector<std::uint8_t> ExpectedInks(const LogoRaster& raster, int width, int height,
                                       std::int32_t first_value, std::int32_t second_value) {
  std::vector<std::uint8_t> inks(std::size_t(width) * height, 0);
  for (int y = 0; y < raster.height() && y < height; ++y) {
    for (int x = 0; x < raster.width() && x < width; ++x) {
      const int v = *raster.pixel(x, raster.height() - 1 - y);  // storage rows are bottom-up
      inks[std::size_t(y) * width + x] = v == first_value ? 1 : v == second_value ? 2 : 0;
    }
  }
  return inks;
}

std::int32_t ScriptPort::read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  for (got = 0; got < length && !replies.empty(); replies.pop_front())
    buffer[got++] = replies.front();
  return got == length ? 1 : 0;
}

std::int32_t ScriptPort::write(const std::uint8_t* buffer, std::uint32_t length,
                               std::uint32_t& written, std::uint32_t& errors) {
  const bool fails = writes.size() >= fail_from_write;
  writes.emplace_back(buffer, fails ? buffer : buffer + length);
  written = fails ? 0 : length;
  errors = fails ? 1 : 0;
  return fails ? 0 : 1;
}

Bytes ScriptPort::Sent() const {
  Bytes all;
  for (const Bytes& w : writes) all = all + w;
  return all;
}

void ScriptPort::Reset() {
  replies.clear();
  writes.clear();
  fail_from_write = SIZE_MAX;
  begin_job_result = 1;
  jobs_begun = jobs_ended = 0;
}

}  // namespace inkmark::testing

#include "command_decode.h"

#include "byte_reader.h"

namespace inkmark::vprinter {

namespace {

constexpr std::uint8_t kM = 0x30;

Command Refused(std::string reason) {
  Command c;
  c.kind = CommandKind::kRefused;
  c.reason = std::move(reason);
  return c;
}

Command Simple(CommandKind kind) {
  Command c;
  c.kind = kind;
  return c;
}

bool ValidScale(std::uint8_t s) { return s == 1 || s == 2; }

std::optional<NvKey> ReadKey(ByteReader& r) {
  auto k1 = r.U8();
  auto k2 = r.U8();
  if (!k1 || !k2 || !IsValidKeyByte(*k1) || !IsValidKeyByte(*k2)) return std::nullopt;
  return NvKey{*k1, *k2};
}

// 30 43|44 30 kc1 kc2 b xL xH yL yH, then b × (colour code, block data).
Command DecodeDefine(ByteReader& r, GraphicsForm form) {
  Command c;
  c.kind = CommandKind::kDefine;
  if (r.U8() != kM) return Refused("define: bad parameter a");
  auto key = ReadKey(r);
  if (!key) return Refused("define: key outside 0x20..0x7E");
  c.key = *key;
  auto b = r.U8();
  auto w = r.U16();
  auto h = r.U16();
  if (!b || !w || !h) return Refused("define: header cut short");
  if (*b < 1 || *b > 2) return Refused("define: block count not 1 or 2");
  if (*w == 0 || *h == 0) return Refused("define: empty graphics");
  c.graphics.form = form;
  c.graphics.width = *w;
  c.graphics.height = *h;
  std::size_t block_bytes = c.graphics.BlockBytes();
  for (int i = 0; i < *b; ++i) {
    auto code = r.U8();
    if (!code || (*code != kFirstInkCode && *code != kSecondInkCode)) {
      return Refused("define: bad colour code");
    }
    auto data = r.Bytes(block_bytes);
    if (!data) return Refused("define: block data cut short");
    c.graphics.blocks.push_back(InkBlock{*code, {data->begin(), data->end()}});
  }
  if (r.remaining() != 0) return Refused("define: count does not match the graphics size");
  return c;
}

// 30 70|71 30 bx by c xL xH yL yH, then the data.
Command DecodeStore(ByteReader& r, GraphicsForm form) {
  Command c;
  c.kind = CommandKind::kStore;
  auto a = r.U8();
  auto bx = r.U8();
  auto by = r.U8();
  auto code = r.U8();
  auto w = r.U16();
  auto h = r.U16();
  if (!a || !bx || !by || !code || !w || !h) return Refused("store: header cut short");
  if (*a != kM) return Refused("store: bad parameter a");
  if (!ValidScale(*bx) || !ValidScale(*by)) return Refused("store: scale not 1 or 2");
  if (*code != kFirstInkCode && *code != kSecondInkCode) return Refused("store: bad colour code");
  if (*w == 0 || *h == 0) return Refused("store: empty graphics");
  c.graphics.form = form;
  c.graphics.width = *w;
  c.graphics.height = *h;
  c.scale_x = *bx;
  c.scale_y = *by;
  auto data = r.Bytes(c.graphics.BlockBytes());
  if (!data || r.remaining() != 0) return Refused("store: count does not match the graphics size");
  c.graphics.blocks.push_back(InkBlock{*code, {data->begin(), data->end()}});
  return c;
}

}  // namespace

Command DecodeFrame(const Frame& frame) {
  switch (frame.kind) {
    case FrameKind::kInitialise:
      return Simple(CommandKind::kInitialise);
    case FrameKind::kAcknowledge:
      return Simple(CommandKind::kAcknowledge);
    case FrameKind::kOversized:
      return Refused("command longer than the printer buffers");
    case FrameKind::kGraphics:
      break;
  }
  ByteReader r(frame.body);
  auto m = r.U8();
  auto fn = r.U8();
  if (!m || !fn || *m != kM) return Simple(CommandKind::kUnknown);
  std::size_t rest = r.remaining();
  switch (*fn) {
    case 0x40: {  // key code list: 30 40 4B 43
      auto d1 = r.U8();
      auto d2 = r.U8();
      if (rest != 2 || d1 != 0x4B || d2 != 0x43) return Refused("key list: bad parameters");
      return Simple(CommandKind::kKeyListRequest);
    }
    case 0x33:
      if (rest != 0) return Refused("capacity: unexpected parameters");
      return Simple(CommandKind::kCapacityRequest);
    case 0x32:
      if (rest != 0) return Refused("print buffer: unexpected parameters");
      return Simple(CommandKind::kPrintBuffer);
    case 0x31: {
      auto x = r.U8();
      auto y = r.U8();
      if (!x || !y || r.remaining() != 0) return Refused("density: bad length");
      if (*x != *y || (*x != 0x32 && *x != 0x33)) return Refused("density: unsupported value");
      Command c = Simple(CommandKind::kSetDensity);
      c.density = *x;
      return c;
    }
    case 0x42: {
      auto key = ReadKey(r);
      if (!key || r.remaining() != 0) return Refused("delete: bad key");
      Command c = Simple(CommandKind::kDelete);
      c.key = *key;
      return c;
    }
    case 0x45: {
      auto key = ReadKey(r);
      auto x = r.U8();
      auto y = r.U8();
      if (!key || !x || !y || r.remaining() != 0) return Refused("print: bad key or length");
      if (!ValidScale(*x) || !ValidScale(*y)) return Refused("print: scale not 1 or 2");
      Command c = Simple(CommandKind::kPrintNv);
      c.key = *key;
      c.scale_x = *x;
      c.scale_y = *y;
      return c;
    }
    case 0x43:
      return DecodeDefine(r, GraphicsForm::kRaster);
    case 0x44:
      return DecodeDefine(r, GraphicsForm::kColumn);
    case 0x70:
      return DecodeStore(r, GraphicsForm::kRaster);
    case 0x71:
      return DecodeStore(r, GraphicsForm::kColumn);
    default:
      return Simple(CommandKind::kUnknown);
  }
}

}  // namespace inkmark::vprinter

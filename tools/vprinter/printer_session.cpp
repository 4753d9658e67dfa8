#include "printer_session.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace inkmark::vprinter {

namespace {
constexpr std::uint8_t kReplyHeader = 0x37;
constexpr std::uint8_t kKeyListId = 0x72;
constexpr std::uint8_t kCapacityId = 0x31;
constexpr std::uint8_t kLastBlock = 0x40;
constexpr std::uint8_t kMoreBlocks = 0x41;
// Garbage that is neither a reply header nor a flow-control character.
constexpr std::uint8_t kGarbage[] = {0x00, 0xFF, 0x55, 0xAA};
}  // namespace

PrinterSession::PrinterSession(VirtualPrinter& printer, Writer writer, Waiter waiter)
    : printer_(printer), writer_(std::move(writer)), waiter_(std::move(waiter)) {}

bool PrinterSession::Wait(int ms) {
  if (waiter_) return waiter_(ms);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return true;
}

void PrinterSession::Feed(std::span<const std::uint8_t> bytes) {
  parser_.Feed(bytes, [this](const Frame& frame) { Handle(DecodeFrame(frame)); });
}

void PrinterSession::Handle(Command c) {
  // The host acknowledges every block; anything else means it gave up on the list.
  if (c.kind != CommandKind::kAcknowledge) key_list_.reset();
  switch (c.kind) {
    case CommandKind::kInitialise:
      print_buffer_.reset();
      density_ = kDefaultDensity;
      ++initialise_count_;
      break;
    case CommandKind::kAcknowledge:
      if (key_list_) SendNextKeyBlock();
      break;
    case CommandKind::kKeyListRequest:
      StartKeyList();
      break;
    case CommandKind::kCapacityRequest: {
      std::string digits = std::to_string(printer_.Remaining());
      std::vector<std::uint8_t> reply = {kReplyHeader, kCapacityId};
      reply.insert(reply.end(), digits.begin(), digits.end());
      reply.push_back(0x00);
      Reply(std::move(reply));
      break;
    }
    case CommandKind::kDefine: {
      std::string what = "define " + KeyText(c.key) + " " +
                         (c.graphics.form == GraphicsForm::kRaster ? "raster " : "column ") +
                         std::to_string(c.graphics.width) + "x" + std::to_string(c.graphics.height);
      if (printer_.options().render_defines) {
        if (auto picture = RenderGraphics(c.graphics)) printer_.Print(*picture, "nv");
      }
      bool stored = printer_.Define(c.key, std::move(c.graphics)) == DefineResult::kStored;
      printer_.Log(what + (stored ? ": stored" : ": refused, not enough NV memory"));
      break;
    }
    case CommandKind::kDelete:
      printer_.Log("delete " + KeyText(c.key) +
                   (printer_.Delete(c.key) ? ": deleted" : ": no such key"));
      break;
    case CommandKind::kPrintNv: {
      auto g = printer_.Find(c.key);
      if (!g) {
        printer_.Log("print " + KeyText(c.key) + ": no such key");
        break;
      }
      if (auto picture = RenderGraphics(*g, c.scale_x, c.scale_y)) {
        auto file = printer_.Print(*picture);
        printer_.Log("print " + KeyText(c.key) + ": " + file.string());
      }
      break;
    }
    case CommandKind::kStore:
      StorePrintBuffer(c);
      break;
    case CommandKind::kPrintBuffer:
      if (print_buffer_) {
        auto file = printer_.Print(*print_buffer_);
        printer_.Log("print buffer: " + file.string());
        print_buffer_.reset();
      }
      break;
    case CommandKind::kSetDensity:
      density_ = c.density;
      break;
    case CommandKind::kRefused:
      printer_.Log("refused: " + c.reason);
      break;
    case CommandKind::kUnknown:
      break;
  }
}

void PrinterSession::StorePrintBuffer(const Command& c) {
  auto picture = RenderGraphics(c.graphics, c.scale_x, c.scale_y);
  if (!picture) {
    printer_.Log("refused: print buffer graphics too large");
    return;
  }
  if (!print_buffer_) {
    print_buffer_ = std::move(*picture);
    return;
  }
  std::size_t w = std::size_t(std::max(print_buffer_->width, picture->width));
  std::size_t h = std::size_t(std::max(print_buffer_->height, picture->height));
  if (w * h > kMaxPictureDots) {
    printer_.Log("refused: print buffer full");
    return;
  }
  OverlayPicture(*print_buffer_, *picture);
}

void PrinterSession::StartKeyList() {
  key_list_ = KeyListInProgress{printer_.Keys(), 0};
  SendNextKeyBlock();
}

void PrinterSession::SendNextKeyBlock() {
  auto& list = *key_list_;
  std::size_t per_block = std::size_t(std::max(1, printer_.options().keys_per_block));
  std::size_t end = std::min(list.keys.size(), list.next + per_block);
  bool last = end == list.keys.size();
  std::vector<std::uint8_t> block = {kReplyHeader, kKeyListId, last ? kLastBlock : kMoreBlocks};
  if (last && printer_.options().faults.bad_blocks) block[1] = kKeyListId + 1;
  for (std::size_t i = list.next; i < end; ++i) {
    block.push_back(list.keys[i][0]);
    block.push_back(list.keys[i][1]);
  }
  block.push_back(0x00);
  list.next = end;
  // The host's acknowledgement of the last block needs no answer.
  const bool late = last && !first_list_done_;
  if (last) {
    key_list_.reset();
    first_list_done_ = true;
  }
  Reply(std::move(block), late);
}

void PrinterSession::Reply(std::vector<std::uint8_t> bytes, bool late) {
  const FaultOptions& faults = printer_.options().faults;
  if (faults.no_reply) return;
  if (faults.reply_delay_ms > 0 && !Wait(faults.reply_delay_ms)) return;
  if (late && faults.late_block_ms > 0) {
    printer_.Log("key list block held back " + std::to_string(faults.late_block_ms) + " ms");
    if (!Wait(faults.late_block_ms)) return;
  }
  if (faults.lose_byte && *faults.lose_byte < bytes.size())
    bytes.erase(bytes.begin() + std::ptrdiff_t(*faults.lose_byte));
  if (faults.break_after && *faults.break_after < bytes.size()) bytes.resize(*faults.break_after);
  if (faults.garbage > 0) {
    std::vector<std::uint8_t> noisy;
    noisy.reserve(std::size_t(faults.garbage) + bytes.size());
    for (int i = 0; i < faults.garbage; ++i) noisy.push_back(kGarbage[i % 4]);
    noisy.insert(noisy.end(), bytes.begin(), bytes.end());
    bytes = std::move(noisy);
  }
  if (faults.drip_ms <= 0) {
    writer_(bytes);
    return;
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if ((i > 0 && !Wait(faults.drip_ms)) || !writer_(std::span(bytes).subspan(i, 1))) return;
  }
}

}  // namespace inkmark::vprinter

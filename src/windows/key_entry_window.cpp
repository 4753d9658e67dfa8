#include "windows/key_entry_window.h"

#include <utility>
#include <vector>

#include "document/compose.h"
#include "platform/output_file.h"
#include "platform/string_table.h"
#include "ports/open_port.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "windows/key_entry_template.h"
#include "windows/ledger_record.h"
#include "windows/raster_failure.h"

namespace inkmark {
namespace {

// The edit is read into a 16-byte buffer.
constexpr std::size_t kKeyTextChars = 15;

}  // namespace

std::optional<NvKey> ParseNvKey(std::string_view text) {
  if (text.size() != 2) return std::nullopt;
  auto kc1 = static_cast<std::uint8_t>(text[0]);
  auto kc2 = static_cast<std::uint8_t>(text[1]);
  if (!IsNvKeyByte(kc1) || !IsNvKeyByte(kc2)) return std::nullopt;
  return MakeNvKey(text[0], text[1]);
}

void KeyEntryWindow::Open() {
  view_.SetTextLimit(kKeyEntryEdit, 2);
  view_.SetText(kKeyEntryEdit, "00");
}

void KeyEntryWindow::OnControl(int id, Notification notification) {
  if (notification != Notification::kClicked) return;
  if (id == kKeyEntryExecute) Execute();
  if (id == kKeyEntryStop) host_.EndDialog(0);
}

void KeyEntryWindow::OnCloseBox() { host_.EndDialog(0); }

std::optional<bool> KeyEntryWindow::KeyIsStored(PortDriver& port, const NvKey& key) {
  std::vector<NvKey> keys;
  if (ReadKeyCodeList(port, host_.Owner(), keys) < 0) return std::nullopt;
  for (const NvKey& stored : keys) {
    // Both bytes, exactly: "ab" is another key than "AB".
    if (stored[0] == key[0] && stored[1] == key[1]) return true;
  }
  return false;
}

void KeyEntryWindow::Execute() {
  std::string text = view_.Text(kKeyEntryEdit);
  if (text.size() > kKeyTextChars) text.resize(kKeyTextChars);
  std::optional<NvKey> key = ParseNvKey(text);
  if (!key) {
    ShowMessage(host_.Owner(), kStrBadKey);
    // The user corrects the key: typing replaces it instead of adding to it.
    view_.SelectText(kKeyEntryEdit);
    return;
  }

  // A command file goes to a new file that replaces the chosen one only when it
  // is complete: a failed attempt leaves whatever the user had under that name.
  std::optional<OutputFile> output;
  if (session_.save_as_command_file == 1) {
    OutputError error = OutputError::kNone;
    output = OutputFile::Create(session_.save_path, error);
    if (!output) {
      ShowOutputError(host_.Owner(), error, session_.save_path);
      return;
    }
  }
  WaitCursor wait(host_);
  // Built before the printer is addressed, so that a picture that cannot be
  // read is named as such and nothing is sent.
  Result<LogoRaster> raster = BuildLogoRaster(session_);
  if (!raster) {
    wait.Release();
    ShowRasterFailure(host_.Owner(), raster.failure());
    return;
  }
  // The file port takes its path when it is made.
  const std::string chosen =
      output ? std::exchange(session_.save_path, output->temp_path()) : session_.save_path;
  auto opened = OpenPrinterPort(session_);
  session_.save_path = chosen;
  if (!opened) {
    wait.Release();
    ShowFailure(host_.Owner(), kStrPortOpenFailed, opened.failure());
    return;
  }
  std::unique_ptr<PortDriver> port = std::move(*opened);
  // A command file is written, not asked: any key may go into it.
  if (session_.save_as_command_file != 1) {
    std::optional<bool> stored = KeyIsStored(*port, *key);
    if (!stored || *stored) {
      wait.Release();
      if (stored) ShowMessage(host_.Owner(), kStrKeyExists);
      ClosePrinterPort(std::move(port));
      if (stored) view_.SelectText(kKeyEntryEdit);
      return;
    }
  }
  // The define turns the raster's rows over: the ledger keeps it as built.
  const BitmapFile stored = output ? BitmapFile() : raster->bytes();
  std::int32_t result =
      RegisterNvGraphics(*port, host_.Owner(), std::as_const(session_), *key, std::move(*raster));
  result = CloseAfterRegistration(std::move(port), host_.Owner(), result);
  wait.Release();
  if (result == 1 && output && !output->Commit()) {
    ShowOutputError(host_.Owner(), OutputError::kWriteFailed, session_.save_path);
    return;
  }
  // The logo is stored whether or not the ledger takes the note of it.
  if (result == 1 && !output)
    (void)RecordInLedger(ledger_, session_, LedgerAction::kRegister, *key, stored);
  if (result == 1) host_.EndDialog(1);
}

}  // namespace inkmark

// An arbitrary command line applied to two fixed printer profiles. The current
// profile and every selection must stay inside their lists.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/profile_reader.h"
#include "settings/command_line.h"
#include "settings/printer_files.h"

namespace {

constexpr std::string_view kProfiles[] = {
    "[Spec]\nPrnName=DT-200/210\nPaperWidth=58mm,0\nPaperDot=360\n1stColor=Black,0\n"
    "2ndColor=None,0\nResolution=180,0\nPort=COM1,COM10,,0\nBaudRate=9600,0\nBitLength=8,0\n"
    "Parity=None,0\nFlow=XON/XOFF,0\n",
    "[Spec]\nPrnName=DT\nPaperWidth=58mm,80mm,58mmJP,1\nPaperDot=360,512,360\n"
    "1stColor=Black,Red,0\n2ndColor=Red,None,0\nResolution=180,360,0\n"
    "Port=COM1,COM2,LPT1,Corlane Printer Driver,0\nBaudRate=9600,19200,1\nBitLength=7,8,1\n"
    "Parity=None,Even,Odd,0\nFlow=DTR/DSR,XON/XOFF,0\n",
};

// Loaded once: the fuzzer is after the command line, not the printer files.
const std::vector<inkmark::PrinterProfile>& FixedProfiles() {
  static const std::vector<inkmark::PrinterProfile> profiles = [] {
    std::vector<inkmark::PrinterProfile> list;
    for (auto text : kProfiles) {
      inkmark::PrinterProfile p;
      if (!inkmark::LoadPrinterProfile(inkmark::ProfileFile::Parse(text), p)) std::abort();
      list.push_back(std::move(p));
    }
    return list;
  }();
  return profiles;
}

template <typename List>
bool Inside(const List& list) {
  return list.sel == 0 || (list.sel > 0 && list.sel < list.count());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  inkmark::LogoSession session;
  session.profiles = FixedProfiles();
  auto result = inkmark::ApplyCommandLine(
      session, std::string_view(reinterpret_cast<const char*>(data), size));
  if (result != 0 && result != 1) std::abort();
  const auto* p = session.CurrentProfile();
  if (p == nullptr) std::abort();
  if (!Inside(p->paper_widths) || !Inside(p->first_colors) || !Inside(p->second_colors) ||
      !Inside(p->resolutions) || !Inside(p->ports) || !Inside(p->baud_rates) ||
      !Inside(p->parities) || !Inside(p->flows)) {
    std::abort();
  }
  return 0;
}

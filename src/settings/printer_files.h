// Printer information files: the *.DEF files beside the program, one printer
// model each, read into PrinterProfile records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/failure.h"
#include "platform/paths.h"
#include "platform/profile_reader.h"
#include "platform/spooler.h"
#include "session/printer_profile.h"

namespace inkmark {

// The section every printer file keeps its keys in.
inline constexpr char kPrinterSection[] = "Spec";

// In place: "," ends a token, "$" becomes ",", "~" ends a part, a lead byte of `code_page` skips
// the next byte. Returns the number of tokens found; stores at most tokens.size() pointers.
int SplitList(char* text, std::span<char*> tokens, int code_page = kSystemCodePage);

// atoi each element; returns element count (at most values.size() stored).
int SplitNumbers(char* text, std::span<std::int32_t> values);

// A number as the C library's atoi reads it: leading white space, an optional
// sign, digits up to the first non-digit; no digits gives 0. Saturates at the
// int32 limits instead of overflowing.
std::int32_t ParseInt(std::string_view text);

// The number of printer files in `folder` that name a model.
int CountPrinterFiles(const std::filesystem::path& folder = ProgramFolder());

// A printer file that names a model whose values cannot work, and why.
struct RefusedPrinterFile {
  std::filesystem::path path;
  Failure failure;  // kInvalidArgument; the detail names the key
};

// Fills up to `count` profiles from the printer files of `folder`, in the order
// they are counted; `profiles` ends up holding exactly the ones filled. A file
// whose values cannot work is left out, and added to `refused` when given.
int LoadPrinterProfiles(int count, std::vector<PrinterProfile>& profiles,
                        const std::filesystem::path& folder = ProgramFolder(),
                        std::vector<RefusedPrinterFile>* refused = nullptr);

// Whether a profile's values can work: every paper width has a printable
// width, every resolution is above 0 and there is one when there are paper
// widths, and every colour name
// is Black, Red, Green, Blue or None. The failure's detail names the key.
Status CheckPrinterProfile(const PrinterProfile& profile);

// Fills `profile` from the `Spec` section of one file, all but its driver
// names. False (and the profile untouched) when the file names no model.
bool LoadPrinterProfile(const ProfileFile& file, PrinterProfile& profile);

// The driver names of `printers` that contain `model_name` (exact bytes).
int CollectDriverNames(std::string_view model_name, const std::vector<SpoolerPrinter>& printers,
                       std::vector<std::string>& driver_names);

}  // namespace inkmark

#include "settings/printer_files.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <system_error>

#include "platform/text.h"
#include "session/session.h"
#include "settings/profile_keys.h"

namespace inkmark {
namespace {

using namespace profile_keys;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), Lower);
  return text;
}

// The elements of one value, split as the printer files write their lists.
std::vector<std::string> SplitElements(std::string value) {
  if (value.size() > kMaxProfileText) value.resize(kMaxProfileText);
  std::vector<char*> tokens(value.size() + 1);
  int count = SplitList(value.data(), tokens);
  std::vector<std::string> elements;
  elements.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) elements.emplace_back(tokens[std::size_t(i)]);
  return elements;
}

std::vector<std::int32_t> ToNumbers(const std::vector<std::string>& elements) {
  std::vector<std::int32_t> numbers;
  numbers.reserve(elements.size());
  for (const auto& e : elements) numbers.push_back(ParseInt(e));
  return numbers;
}

// The record has room for 20 elements: a longer list keeps its first 19
// choices and still takes its default from the element the file put last.
template <typename T>
void KeepRoomForDefault(std::vector<T>& elements) {
  if (elements.size() <= std::size_t(kMaxListElements)) return;
  T last = std::move(elements.back());
  elements.resize(std::size_t(kMaxListElements) - 1);
  elements.push_back(std::move(last));
}

// Everything else expects a selection inside its list, so a default index
// outside the choices (or any index of an empty list) selects the first.
std::int32_t BoundedIndex(std::int32_t index, std::int32_t count) {
  return index >= 0 && index < count ? index : 0;
}

void ReadNames(const ProfileFile& file, const char* key, ChoiceList<std::string>& names) {
  names.values = SplitElements(file.Get(kPrinterSection, key));
  KeepRoomForDefault(names.values);
  names.sel = BoundedIndex(ParseInt(names.values.back()), names.count());
}

// The numbers and, when `default_from_extra`, the selection the extra element gives.
void ReadNumbers(const ProfileFile& file, const char* key, ChoiceList<std::int32_t>& numbers,
                 bool default_from_extra) {
  numbers.values = ToNumbers(SplitElements(file.Get(kPrinterSection, key)));
  KeepRoomForDefault(numbers.values);
  numbers.sel = default_from_extra ? BoundedIndex(numbers.values.back(), numbers.count()) : 0;
}

// The *.DEF files of a folder (extension in any case), in name order without
// regard to case; ties between names differing only in case go by bytes.
std::vector<std::filesystem::path> PrinterFilePaths(const std::filesystem::path& folder) {
  std::vector<std::pair<std::string, std::filesystem::path>> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.size() < 4 || !EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".DEF")) {
      continue;
    }
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    found.emplace_back(std::move(name), it->path());
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    std::string la = LowerCase(a.first), lb = LowerCase(b.first);
    return la != lb ? la < lb : a.first < b.first;
  });
  std::vector<std::filesystem::path> paths;
  for (auto& [name, path] : found) paths.push_back(std::move(path));
  return paths;
}

// The file at `path` when it can be read and names a model.
std::optional<ProfileFile> ReadPrinterFile(const std::filesystem::path& path) {
  auto file = ProfileFile::Read(path);
  if (!file || file->Get(kPrinterSection, kPrnName).empty()) return std::nullopt;
  return file;
}

}  // namespace

int SplitList(char* text, std::span<char*> tokens, int code_page) {
  if (text == nullptr) return 0;
  int count = 0;
  auto start_token = [&](char* token) {
    if (std::size_t(count) < tokens.size()) tokens[std::size_t(count)] = token;
    ++count;
  };
  start_token(text);
  for (char* p = text; *p != '\0'; ++p) {
    if (IsDbcsLeadByte(code_page, std::uint8_t(*p))) {
      // A lead byte right before the end has no second byte to skip; stepping
      // over the terminator would walk off the text.
      if (p[1] == '\0') break;
      ++p;
    } else if (*p == ',') {
      *p = '\0';
      start_token(p + 1);
    } else if (*p == '$') {
      *p = ',';
    } else if (*p == '~') {
      *p = '\0';
    }
  }
  return count;
}

int SplitNumbers(char* text, std::span<std::int32_t> values) {
  if (text == nullptr) return 0;
  std::vector<char*> tokens(std::strlen(text) + 1);
  int count = SplitList(text, tokens);
  std::size_t stored = std::min(std::size_t(count), values.size());
  for (std::size_t i = 0; i < stored; ++i) values[i] = ParseInt(tokens[i]);
  return count;
}

std::int32_t ParseInt(std::string_view text) {
  std::size_t i = 0;
  auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t(INT32_MAX) + 1) break;  // saturated either way
  }
  if (negative) value = -value;
  return std::int32_t(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

bool LoadPrinterProfile(const ProfileFile& file, PrinterProfile& out) {
  PrinterProfile p;
  p.model_name = file.Get(kPrinterSection, kPrnName);
  if (p.model_name.size() > kMaxProfileText) p.model_name.resize(kMaxProfileText);
  if (p.model_name.empty()) return false;

  ReadNames(file, kPaperWidth, p.paper_widths);
  // One number per paper width and no default: the first 20 are all there is room for.
  p.paper_dots = ToNumbers(SplitElements(file.Get(kPrinterSection, kPaperDot)));
  if (p.paper_dots.size() > std::size_t(kMaxListElements)) p.paper_dots.resize(kMaxListElements);
  ReadNames(file, kFirstColor, p.first_colors);
  ReadNames(file, kSecondColor, p.second_colors);
  // The resolution list's extra element selects nothing; the first resolution starts selected.
  ReadNumbers(file, kResolution, p.resolutions, false);
  ReadNames(file, kPort, p.ports);
  ReadNumbers(file, kBaudRate, p.baud_rates, true);
  ReadNumbers(file, kBitLength, p.bit_lengths, true);
  ReadNames(file, kParity, p.parities);
  ReadNames(file, kFlow, p.flows);
  out = std::move(p);
  return true;
}

int CountPrinterFiles(const std::filesystem::path& folder) {
  int count = 0;
  for (const auto& path : PrinterFilePaths(folder)) {
    if (ReadPrinterFile(path)) ++count;
  }
  return count;
}

Status CheckPrinterProfile(const PrinterProfile& p) {
  const auto paper = p.paper_widths.choices();
  for (std::size_t i = 0; i < paper.size(); ++i) {
    const std::int32_t dots = i < p.paper_dots.size() ? p.paper_dots[i] : 0;
    if (dots <= 0)
      return Status(FailureCode::kInvalidArgument, std::string(kPaperDot) + ": the paper width '" +
                                                       paper[i] + "' has " + std::to_string(dots) +
                                                       " dots");
  }
  // A paper width is sized through the resolution; a file that offers
  // neither (its keys absent) is taken as it is.
  if (p.resolutions.count() == 0 && !paper.empty())
    return Status(FailureCode::kInvalidArgument,
                  std::string(kResolution) + ": no resolution is given");
  for (std::int32_t dpi : p.resolutions.choices())
    if (dpi <= 0)
      return Status(FailureCode::kInvalidArgument,
                    std::string(kResolution) + ": " + std::to_string(dpi) + " is no resolution");
  for (auto [key, names] :
       {std::pair{kFirstColor, &p.first_colors}, {kSecondColor, &p.second_colors}}) {
    for (const std::string& name : names->choices())
      if (ColorFromName(name) == kNoInk && !EqualsNoCase(name, "None"))
        return Status(FailureCode::kInvalidArgument,
                      std::string(key) + ": '" + name + "' is not Black, Red, Green, Blue or None");
  }
  return Status::Ok();
}

int LoadPrinterProfiles(int count, std::vector<PrinterProfile>& profiles,
                        const std::filesystem::path& folder,
                        std::vector<RefusedPrinterFile>* refused) {
  profiles.clear();
  if (count <= 0) return 0;
  std::optional<std::vector<SpoolerPrinter>> printers;  // asked once, for every profile
  for (const auto& path : PrinterFilePaths(folder)) {
    if (profiles.size() >= std::size_t(count)) break;
    auto file = ReadPrinterFile(path);
    PrinterProfile profile;
    if (!file || !LoadPrinterProfile(*file, profile)) continue;
    if (Status usable = CheckPrinterProfile(profile); !usable) {
      if (refused) refused->push_back({path, usable.failure()});
      continue;
    }
    if (!printers) printers = ListSpoolerPrinters();
    CollectDriverNames(profile.model_name, *printers, profile.driver_names.values);
    profiles.push_back(std::move(profile));
  }
  return int(profiles.size());
}

int CollectDriverNames(std::string_view model_name, const std::vector<SpoolerPrinter>& printers,
                       std::vector<std::string>& driver_names) {
  driver_names.clear();
  for (const auto& printer : printers) {
    // The record has room for 20 names of 49 characters; further drivers are left out.
    if (driver_names.size() >= std::size_t(kMaxDriverNames)) break;
    if (printer.driver_name.find(model_name) == std::string::npos) continue;
    driver_names.push_back(printer.driver_name.substr(0, kMaxDriverNameChars));
  }
  return int(driver_names.size());
}

}  // namespace inkmark

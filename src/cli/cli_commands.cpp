#include "cli/cli_commands.h"

#include <sys/stat.h>

#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "cli/cli_boxes.h"
#include "cli/cli_json.h"
#include "cli/cli_ledger.h"
#include "cli/cli_many.h"
#include "cli/cli_options.h"
#include "cli/cli_printer.h"
#include "cli/cli_register.h"
#include "cli/terminal_progress.h"
#include "document/compose.h"
#include "document/document_format.h"
#include "document/document_reader.h"
#include "document/ink_rates.h"
#include "picture/picture_formats.h"
#include "platform/output_file.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "platform/translation.h"
#include "platform/version.h"
#include "ports/driver_port.h"
#include "ports/open_port.h"
#include "protocol/nv_commands.h"
#include "protocol/nv_dispatch.h"
#include "protocol/transaction.h"
#include "session/ink_rules.h"
#include "session/temp_files.h"

namespace inkmark::cli {
namespace {

// The boxes of one run, set for its length.
class BoxesScope {
 public:
  explicit BoxesScope(MessageBoxes& boxes) { SetMessageBoxes(&boxes); }
  ~BoxesScope() { SetMessageBoxes(nullptr); }
  BoxesScope(const BoxesScope&) = delete;
  BoxesScope& operator=(const BoxesScope&) = delete;
};

// The session's temporary files, removed however the run ends.
class TempFilesScope {
 public:
  explicit TempFilesScope(LogoSession& session) : session_(session) {}
  ~TempFilesScope() { DeleteTempFiles(session_); }
  TempFilesScope(const TempFilesScope&) = delete;
  TempFilesScope& operator=(const TempFilesScope&) = delete;

 private:
  LogoSession& session_;
};

// The preview's figures as one JSON document: sizes in dots and mm, the
// resolution, and each ink's share of the dots in percent.
std::string PreviewJson(std::int32_t width, std::int32_t height, std::int32_t dpi,
                        const InkCounts& counts) {
  const double mm_per_dot = dpi > 0 ? 25.4 / dpi : 0.0;
  const double total = double(std::int64_t(width) * height);
  // Whatever the locale, a JSON number has a decimal point.
  auto number = [](double value) {
    char text[64];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
  };
  auto rate = [&](std::uint64_t pixels) {
    return number(total > 0 ? double(pixels) * 100.0 / total : 0.0);
  };
  return "{\"width_dots\":" + std::to_string(width) + ",\"height_dots\":" + std::to_string(height) +
         ",\"width_mm\":" + number(width * mm_per_dot) +
         ",\"height_mm\":" + number(height * mm_per_dot) +
         ",\"resolution\":" + std::to_string(dpi) + ",\"first_ink_percent\":" + rate(counts.first) +
         ",\"second_ink_percent\":" + rate(counts.second) + "}";
}

// Whether two names lead to one file, through links of either kind too.
bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  if (a.empty() || b.empty() || ::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
    return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

class Run {
 public:
  Run(const CliOptions& options, Console& console, TerminalMessageBoxes& boxes)
      : o_(options), console_(console), boxes_(boxes) {}
  int Execute();

 private:
  int Usage(const std::string& message);
  int Failed(const std::string& message);
  int CannotWrite(OutputError error);
  std::string ApplyConversionChoices();
  int PrepareSource();
  int WithRaster();
  int Keys();
  int Capacity();
  int Print();
  int Delete();
  int Register(std::optional<LogoRaster> raster);
  int CommandFile(std::optional<LogoRaster> raster);

  const CliOptions& o_;
  Console& console_;
  TerminalMessageBoxes& boxes_;
  LogoSession session_;
  int mono_ink_ = 0;
};

int Run::Usage(const std::string& message) {
  std::fprintf(console_.err, "inkmark: %s\n%s\n", TerminalText(message, true).c_str(),
               Translate("inkmark", kUsageHint).c_str());
  return kExitUsage;
}

int Run::Failed(const std::string& message) {
  std::fprintf(console_.err, "inkmark: %s\n", TerminalText(message, true).c_str());
  return kExitFailed;
}

int Run::CannotWrite(OutputError error) {
  return Failed(Fill(Translate("inkmark", "cannot write '%1': %2"),
                     {o_.output, Translate("inkmark", OutputErrorText(error))}));
}

int Run::Execute() {
  // The ledger's history needs no printer files.
  if (o_.command == Command::kLedger) return RunLedgerCommand(o_, console_);
  const std::filesystem::path folder =
      o_.printers_dir ? std::filesystem::path(*o_.printers_dir) : console_.program_folder;
  if (!LoadPrinters(session_, folder)) return kExitFailed;
  if (std::string error = ApplyPrinterChoices(session_, o_.printer); !error.empty())
    return Usage(error);
  if (o_.command == Command::kPrinters) {
    if (o_.json)
      ListPrintersJson(session_, console_.out);
    else
      ListPrinters(session_, console_.out);
    return kExitOk;
  }
  SetInksFromProfile(session_);
  if (const PrinterProfile* p = session_.CurrentProfile())
    session_.print_width_dots = PrintWidthDots(*p);

  switch (o_.command) {
    case Command::kKeys:
      return Keys();
    case Command::kCapacity:
      return Capacity();
    case Command::kPrint:
      return Print();
    case Command::kDelete:
      return Delete();
    case Command::kStatus:
      return RunStatus(o_, session_, console_);
    default:
      break;
  }
  if (std::string error = ApplyConversionChoices(); !error.empty()) return Usage(error);
  if (int status = PrepareSource(); status != kExitOk) return status;
  if (IsSameFile(o_.output, o_.source))
    return Usage(
        Fill(Translate("inkmark", "the output '%1' is the source '%2'; choose another name"),
             {o_.output, o_.source}));
  TempFilesScope temp_files(session_);
  std::filesystem::path refused;
  if (!PrepareTempFiles(session_, &refused))
    return Failed(Fill(Translate("inkmark", "the temporary folder '%1' cannot be made safe"),
                       {refused.string()}));
  return WithRaster();
}

// The conversion options into the session's params, then the ink rule.
std::string Run::ApplyConversionChoices() {
  const ConversionChoices& c = o_.conversion;
  ConversionParams& params = session_.params;
  session_.fit_to_width = c.fit ? 1 : 0;
  if (c.mono) {
    if (*c.mono == 2 && session_.second_color == kNoInk)
      return Translate("inkmark", "--mono 2 needs a 2nd colour, but the 2nd colour is None");
    session_.monochrome = 1;
    mono_ink_ = *c.mono - 1;
  }
  if (c.grade) params.processing = std::uint32_t(*c.grade);
  if (c.rgb) {
    params.adjust_r = std::uint32_t((*c.rgb)[0]);
    params.adjust_g = std::uint32_t((*c.rgb)[1]);
    params.adjust_b = std::uint32_t((*c.rgb)[2]);
  }
  if (c.manual_levels) {
    if (session_.second_color == kNoInk && session_.monochrome == 0) {
      for (char level : *c.manual_levels)
        if (level == '2')
          return Translate("inkmark", "an --attach level of 2 needs a 2nd colour, but it is None");
    }
    params.attach_manual = 1;
    for (std::size_t i = 0; i < c.manual_levels->size(); ++i) {
      const char level = (*c.manual_levels)[i];
      // The same positions the level sliders take: 0 the 1st ink, 1 the 2nd, 2 white.
      const int position = level == '1' ? 0 : level == '2' ? 1 : 2;
      params.level_attach[i] = LevelAttachFor(position, session_.monochrome != 0);
    }
  }
  ApplyInkRule(session_, mono_ink_);
  return "";
}

int Run::PrepareSource() {
  // The session keeps paths in the limit of the windows' path buffers.
  if (o_.source.size() > kMaxPath)
    return Usage(Fill(Translate("inkmark", "SOURCE is longer than %1 characters"),
                      {std::to_string(kMaxPath)}));
  session_.source_path = o_.source;
  session_.source_kind = SourceKindFromPath(o_.source);
  if (session_.source_kind == kSourceNone)
    return Usage(Fill(Translate("inkmark", "SOURCE '%1' is not a %2 or .QLF file"),
                      {o_.source, PictureExtensionList()}));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(o_.source, ec))
    return Failed(Fill(Translate("inkmark", "SOURCE '%1' is not a readable file"), {o_.source}));
  // A logo document's text, and an SVG's, needs fonts.
  if (session_.source_kind == kSourceOtherPicture && console_.need_fonts) console_.need_fonts();
  if (session_.source_kind != kSourceDocument) return kExitOk;
  if (console_.need_fonts) console_.need_fonts();
  if (LoadLogoDocument(kAppInstance, session_) != 1) return kExitFailed;
  // Every image item takes the conversion options, and with Monochrome its ink.
  for (LayoutItem& item : session_.items) {
    if (item.kind == kTextObject) continue;
    item.params = session_.params;
    item.monochrome = session_.monochrome;
    item.color_index = session_.monochrome != 0 ? session_.params.color_table : 0;
  }
  return kExitOk;
}

int Run::WithRaster() {
  Result<LogoRaster> built = BuildLogoRaster(session_);
  if (!built) {
    // The picture is blamed only when nothing else is known to be at fault.
    const int text = built.code() == FailureCode::kNoSpace     ? kStrTempDiskFull
                     : built.code() == FailureCode::kCannotFit ? kStrPageCannotFit
                                                               : kStrCannotReadImage;
    ShowFailure(kAppInstance, text, built.failure());
    return kExitFailed;
  }
  std::optional<LogoRaster> raster = std::move(built).ToOptional();
  switch (o_.command) {
    case Command::kRaster:
      if (OutputError error = WriteOutputFile(o_.output, raster->bytes());
          error != OutputError::kNone)
        return CannotWrite(error);
      return kExitOk;
    case Command::kPreview: {
      const PrinterProfile* p = session_.CurrentProfile();
      const std::int32_t dpi = p->resolutions.Selected();
      const InkCounts counts = CountInkPixels(*raster, session_.first_color, session_.second_color);
      if (o_.json)
        console_.out << PreviewJson(raster->width(), raster->height(), dpi, counts) << '\n';
      else
        console_.out << PreviewCaption(raster->width(), raster->height(), dpi, counts) << '\n';
      return kExitOk;
    }
    case Command::kTestPrint:
      return TestPrint(kAppInstance, std::as_const(session_), std::move(raster)) == 1 ? kExitOk
                                                                                      : kExitFailed;
    case Command::kRegister:
      return Register(std::move(raster));
    case Command::kCommandFile:
      return CommandFile(std::move(raster));
    default:
      return kExitFailed;
  }
}

int Run::Register(std::optional<LogoRaster> raster) {
  if (!raster) return kExitFailed;
  return RegisterOnPrinter(o_, session_, console_, std::move(*raster));
}

// The registration written to a file instead of sent; nothing is read back.
// It goes to a new file that replaces the destination only when complete, so
// a failure leaves whatever the destination held as it was.
int Run::CommandFile(std::optional<LogoRaster> raster) {
  OutputError error = OutputError::kNone;
  std::optional<OutputFile> output = OutputFile::Create(o_.output, error);
  if (!output) return CannotWrite(error);
  session_.save_path = output->temp_path();
  session_.save_as_command_file = 1;
  auto opened = OpenPrinterPort(session_);
  std::int32_t result = 0;
  if (!opened) {
    ShowFailure(kAppInstance, kStrPortOpenFailed, opened.failure());
  } else {
    result = RegisterNvGraphics(**opened, kAppInstance, session_, *o_.key, std::move(raster));
    if (Status closed = ClosePortChecked(**opened); !closed && result == 1) {
      ShowFailure(kAppInstance, kStrRegisterFailed, closed.failure());
      result = 0;
    }
  }
  session_.save_as_command_file = 0;
  session_.save_path = o_.output;
  if (result != 1) return kExitFailed;
  if (!output->Commit()) return CannotWrite(OutputError::kWriteFailed);
  return kExitOk;
}

int Run::Keys() {
  auto opened = OpenPrinterPort(session_);
  if (!opened) {
    ShowFailure(kAppInstance, kStrPortOpenFailed, opened.failure());
    return kExitFailed;
  }
  std::unique_ptr<PortDriver> port = std::move(*opened);
  std::vector<NvKey> keys;
  auto listed = ListStoredKeys(*port, keys);
  ClosePrinterPort(std::move(port));
  const std::int32_t count = listed ? *listed : -1;
  if (count == 0) ShowMessage(kAppInstance, kStrNoKeys);
  if (o_.json) {
    std::vector<std::string> texts;
    for (const NvKey& k : keys) texts.emplace_back(k.data());
    console_.out << "{\"keys\":" << JsonStrings(texts)
                 << ",\"complete\":" << (count < 0 ? "false" : "true") << "}\n";
  } else {
    for (const NvKey& k : keys) console_.out << TerminalText(k.data()) << '\n';
  }
  // What came before the list broke off is shown, but is not all there is.
  if (!listed) {
    console_.out.flush();
    ShowFailure(kAppInstance, kStrKeyListFailed, listed.failure());
    return kExitFailed;
  }
  return kExitOk;
}

int Run::Capacity() {
  auto opened = OpenPrinterPort(session_);
  if (!opened) {
    ShowFailure(kAppInstance, kStrPortOpenFailed, opened.failure());
    return kExitFailed;
  }
  std::unique_ptr<PortDriver> port = std::move(*opened);
  auto read = QueryNvCapacity(*port);
  ClosePrinterPort(std::move(port));
  if (!read) {
    ShowFailure(kAppInstance, kStrCapacityFailed, read.failure());
    return kExitFailed;
  }
  const std::int32_t capacity = *read;
  if (o_.json)
    console_.out << "{\"capacity\":" << capacity << "}\n";
  else
    console_.out << capacity << '\n';
  return kExitOk;
}

// A failed key does not stop the others, as in the NV manager window.
int Run::Print() {
  int status = kExitOk;
  for (const NvKey& key : o_.keys) {
    if (Status sent = SendOnOwnPort(session_, PrintNvCommand(key)); !sent) {
      ShowFailure(kAppInstance, kStrPrintFailed, sent.failure(), key.data());
      status = kExitFailed;
    }
  }
  return status;
}

int Run::Delete() {
  int status = kExitOk;
  for (const NvKey& key : o_.keys) {
    if (!o_.yes && ShowMessage(kAppInstance, kStrAskDelete, key.data(), kMbYesNo) != kIdYes) {
      // Nobody could answer: the key stays, and the run says it did not do its work.
      if (boxes_.answered_unasked()) status = kExitFailed;
      continue;
    }
    if (Status sent = SendOnOwnPort(session_, DeleteNvCommand(key)); !sent) {
      ShowFailure(kAppInstance, kStrDeleteFailed, sent.failure(), key.data());
      status = kExitFailed;
      continue;
    }
    RecordOrSay(o_, EntryFor(o_, session_, LedgerAction::kDelete, key), {}, console_.err);
  }
  return status;
}

}  // namespace

int RunInkmark(std::span<const std::string> args, Console& console) {
  ParseOutcome parsed = ParseArguments(args);
  if (!parsed.options) {
    std::fprintf(console.err, "inkmark: %s\n%s\n", TerminalText(parsed.error, true).c_str(),
                 Translate("inkmark", kUsageHint).c_str());
    return kExitUsage;
  }
  if (parsed.options->help) {
    console.out << UsageText();
    return kExitOk;
  }
  if (parsed.options->version) {
    console.out << "inkmark " << kVersion << '\n';
    return kExitOk;
  }
  if (parsed.options->many_printers()) return RunOnManyPrinters(*parsed.options, console);
  TerminalMessageBoxes boxes(console.in, console.err, console.interactive);
  BoxesScope scope(boxes);
  // Always a progress: it is also how a transfer learns it is to stop.
  TerminalProgress progress(console.err, console.show_progress);
  ScopedTransferProgress reported(progress);
  Run run(*parsed.options, console, boxes);
  const int status = run.Execute();
  // A transfer stopped by a signal ends as the shell expects of that signal.
  if (status != kExitOk && TransferStopSignal() != 0) return 128 + TransferStopSignal();
  return status;
}

}  // namespace inkmark::cli

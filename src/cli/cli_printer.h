// The printer side of the command line: the models from the printer files,
// the saved settings, and the choices given as options.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "session/session.h"

namespace inkmark::cli {

// Loads the printer files of `folder` into the session and selects the saved
// model and its saved selections (the first model when none is saved). A file
// whose values cannot work is left out, and said so with the key at fault.
// False, after showing string 16, when the folder holds no usable printer file.
bool LoadPrinters(LogoSession& session, const std::filesystem::path& folder);

// Selects the given choices in the session's profiles: --printer first, the
// others in the chosen model. "" on success, else a usage error that names
// the choices the model offers.
std::string ApplyPrinterChoices(LogoSession& session, const PrinterChoices& choices);

// Writes every model with its lists; '*' marks each list's current choice.
void ListPrinters(const LogoSession& session, std::ostream& out);

// The same as one JSON document: {"printers":[{"model", "current", and per
// list {"choices":[...],"selected":...}}]}.
void ListPrintersJson(const LogoSession& session, std::ostream& out);

}  // namespace inkmark::cli

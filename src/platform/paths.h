// Where the program lives and where it keeps its temporary files.
#pragma once

#include <filesystem>
#include <optional>

namespace inkmark {

// Paths keep the 259-character limit of the stored path buffers.
inline constexpr std::size_t kMaxPath = 259;

// The folder of the running executable (printer files, the editor and the
// status-monitor library lie beside it).
std::filesystem::path ProgramFolder();

// Where the printer files are: beside the program when any *.DEF file lies
// there (a build folder, a copied folder), else the installed data folder.
std::filesystem::path PrinterFilesFolder();

// Where the translation files are: the "translations" folder beside the
// program, else the installed data folder.
std::filesystem::path TranslationsFolder();

// Where the status-monitor library is: beside the program when it lies there,
// else the installed private library folder.
std::filesystem::path StatusLibraryHome();

// The user's private temporary directory, $TMPDIR (else /tmp) + "/inkmark-<uid>",
// created with mode 0700. Refused (nullopt) when it exists but is not a directory
// owned by the user and closed to others.
std::optional<std::filesystem::path> PrivateTempDir();

}  // namespace inkmark

// Where the program lives and where it keeps its temporary files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

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
// created with mode 0700. When that folder cannot be made safe (it exists but is
// not a folder owned by the user and closed to others), a fresh folder of our
// own beside it ("inkmark-<uid>-XXXXXX", mode 0700), the same one for the rest
// of the run. nullopt only when neither can be had; `refused` then names the
// usual folder.
std::optional<std::filesystem::path> PrivateTempDir(std::filesystem::path* refused = nullptr);

// Removes the fresh folder that PrivateTempDir made for this run, if it made
// one and it is empty by now.
void ReleasePrivateTempDir();

// A tag of this run of the program (its process id and random letters), part
// of every temporary file name, so that any number of copies run side by side.
const std::string& ProcessTempTag();

}  // namespace inkmark

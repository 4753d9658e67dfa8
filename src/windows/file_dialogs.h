// The Open and Save dialogs' set-up and their extension check, apart from the
// widgets that show them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace inkmark {

// One file type of a dialog: its description and its patterns ("*.BMP;*.RLE").
struct FileType {
  std::string description;
  std::string patterns;
};

// The file types of a string-table list ("description~patterns~..."), split as
// the printer files' lists are.
std::vector<FileType> FileTypesFromText(std::string_view text);

// The extensions of a comma-separated list ("BMP,RLE,JPG,QLF,PNG,GIF,SVG").
std::vector<std::string> ExtensionsFromText(std::string_view text);

// True when the file name of `path` has an extension (the text after its last
// "."), and that extension is one of `allowed`, letter case aside.
bool HasAllowedExtension(std::string_view path, const std::vector<std::string>& allowed);

// True when the file name of `path` has a "." and so an extension.
bool HasExtension(std::string_view path);

// Where a dialog starts, from the source path: the folder and the proposed name.
struct DialogStart {
  std::string folder;
  std::string name;
};
DialogStart StartFromSourcePath(std::string_view source_path, std::string_view current_folder);

}  // namespace inkmark

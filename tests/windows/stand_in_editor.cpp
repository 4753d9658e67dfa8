// A stand-in for the companion editor: writes the argument vector it was
// started with, one argument a line, to "argv.txt" beside itself, appending,
// and ends. With "-f<path>" it also appends a line to that document, as an
// editor that saved it would have changed it.
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  const std::filesystem::path self(argv[0]);
  std::ofstream out(self.parent_path() / "argv.txt", std::ios::app);
  for (int i = 0; i < argc; ++i) {
    out << argv[i] << "\n";
    std::string arg = argv[i];
    if (i > 0 && arg.rfind("-f", 0) == 0) std::ofstream(arg.substr(2), std::ios::app) << "edited\n";
  }
  out << "--\n";
  return 0;
}

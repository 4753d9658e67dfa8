// inkmark-vprinter: a virtual two-colour receipt printer for tests, demos and
// users without the hardware.
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>

#include "platform/version.h"
#include "printer_session.h"
#include "program_options.h"
#include "servers.h"

namespace {

using namespace inkmark::vprinter;

constexpr std::uintmax_t kMaxCommandFileBytes = std::uintmax_t(1) << 30;

int Render(ProgramOptions& o) {
  std::error_code ec;
  auto size = std::filesystem::file_size(*o.render_file, ec);
  if (ec || size > kMaxCommandFileBytes) {
    std::cerr << "inkmark-vprinter: cannot read " << o.render_file->string() << "\n";
    return 1;
  }
  std::ifstream in(*o.render_file, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (o.printer.out_dir.empty()) o.printer.out_dir = ".";
  o.printer.render_defines = true;
  VirtualPrinter printer(o.printer);
  PrinterSession session(printer, [](std::span<const std::uint8_t>) { return true; });
  session.Feed(bytes);
  auto files = printer.PrintedFiles();
  for (const auto& file : files) std::cout << file.string() << "\n";
  if (files.empty()) {
    std::cerr << "inkmark-vprinter: " << o.render_file->string() << " defines no graphics\n";
    return 1;
  }
  return 0;
}

int Serve(ProgramOptions& o) {
  // Block the stop signals before any thread starts, so only sigwait sees them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  VirtualPrinter printer(o.printer);
  if (auto problem = printer.LoadNvFile()) {
    std::cerr << "inkmark-vprinter: " << o.printer.nv_file.string() << ": " << *problem << "\n";
  }
  std::string error;
  std::unique_ptr<PtyServer> pty;
  std::unique_ptr<TcpServer> tcp;
  if (o.pty_link) {
    pty = PtyServer::Start(printer, *o.pty_link, &error);
    if (!pty) {
      std::cerr << "inkmark-vprinter: " << error << "\n";
      return 1;
    }
    std::cout << "pty " << o.pty_link->string() << " -> " << pty->terminal_name() << std::endl;
  }
  if (o.tcp_host) {
    tcp = TcpServer::Start(printer, *o.tcp_host, o.tcp_port, &error);
    if (!tcp) {
      std::cerr << "inkmark-vprinter: " << error << "\n";
      return 1;
    }
    std::cout << "tcp " << *o.tcp_host << ":" << tcp->port() << std::endl;
  }
  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  if (tcp) tcp->Stop();
  if (pty) pty->Stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  ParsedCommandLine parsed = ParseCommandLine(args);
  if (!parsed.options) {
    std::cerr << "inkmark-vprinter: " << parsed.error << "\n\n" << kUsageText;
    return 2;
  }
  ProgramOptions& o = *parsed.options;
  if (o.help || o.version) {
    if (o.help)
      std::cout << kUsageText;
    else
      std::cout << "inkmark-vprinter " << inkmark::kVersion << '\n';
    // A text that could not be written is no answer.
    return std::cout.flush() ? 0 : 1;
  }
  signal(SIGPIPE, SIG_IGN);
  static std::mutex log_mutex;
  if (!o.quiet) {
    o.printer.log = [](const std::string& line) {
      std::lock_guard lock(log_mutex);
      std::cerr << line << std::endl;
    };
  }
  return o.render_file ? Render(o) : Serve(o);
}

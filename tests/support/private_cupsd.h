// A private CUPS scheduler for tests: its own folder, configuration and Unix
// socket, so that tests never touch the machine's spooler.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace inkmark::testing {

// Points this process's CUPS client (and the programs it starts) at `server`
// while it lives; the previous CUPS_SERVER comes back afterwards. libcups keeps
// its server per thread: use it on the thread that talks to CUPS.
class ScopedCupsServer {
 public:
  explicit ScopedCupsServer(const std::string& server);
  ~ScopedCupsServer();
  ScopedCupsServer(const ScopedCupsServer&) = delete;
  ScopedCupsServer& operator=(const ScopedCupsServer&) = delete;

 private:
  std::optional<std::string> previous_;
};

class PrivateCupsd {
 public:
  // Whether the scheduler is installed on this machine.
  static bool Installed();

  PrivateCupsd() = default;
  // Stops the scheduler, restores CUPS_SERVER and removes the folder.
  ~PrivateCupsd();
  PrivateCupsd(const PrivateCupsd&) = delete;
  PrivateCupsd& operator=(const PrivateCupsd&) = delete;

  // Writes the configuration, starts the scheduler and waits until its socket
  // answers; from then on CUPS_SERVER names that socket.
  ::testing::AssertionResult Start();

  // Creates an enabled queue on `device_uri` whose printer-make-and-model is
  // `make_and_model` (it comes from a generated PPD).
  ::testing::AssertionResult AddQueue(const std::string& name, const std::string& make_and_model,
                                      const std::string& device_uri);

  const std::string& SocketPath() const { return socket_path_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::string Diagnostics() const;
  void Stop();

  std::filesystem::path folder_;
  std::string socket_path_;
  pid_t pid_ = -1;
  std::optional<ScopedCupsServer> server_;
};

// A fixture whose tests run against a freshly started private scheduler; they
// are skipped only where CUPS is not installed at all.
class PrivateCupsdTest : public ::testing::Test {
 protected:
  void SetUp() override;
  PrivateCupsd cupsd_;
};

}  // namespace inkmark::testing

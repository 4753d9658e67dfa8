// DriverPort: a printer installed in the spooler with the maker's driver. Print
// jobs go to the spooler as raw documents; requests, replies and writes outside
// a job go through the status-monitor library, loaded at run time from beside
// the program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "ports/port_driver.h"
#include "statmon/stl_api.h"

namespace inkmark {

inline constexpr char kStatLinkMissingText[] = "StatLink is already used or not installed.";
inline constexpr char kStatLinkMissingCaption[] = "ERROR";
inline constexpr char kRawDocumentName[] = "logo tool document";
// Every library call may take this long.
inline constexpr std::uint32_t kDirectIoTimeoutMs = 3000;

// The folder the status-monitor library is loaded from: the program's own
// folder unless one has been set.
std::filesystem::path StatusLibraryFolder();
// Sets that folder (an empty path restores the program's folder).
void SetStatusLibraryFolder(std::filesystem::path folder);

class DriverPort final : public PortDriver {
 public:
  explicit DriverPort(std::string printer_name,
                      std::filesystem::path library_folder = StatusLibraryFolder());
  // Cancels a job that was never ended and closes the monitor still open.
  ~DriverPort() override;

  // Loads the library and opens the monitor on the printer; without the
  // library, tells the user so.
  Status open() override;
  // Closes the monitor and unloads the library; a running job is left alone.
  // `output_lost` is set when the library could not send all it was given.
  Status close() override;
  // Starts a raw document on the printer's spooler queue.
  std::int32_t beginJob() override;
  // Ends the document; a document whose data did not all reach the spooler is
  // cancelled rather than printed cut short.
  void endJob() override;
  Status read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  Status readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) override;
  // Inside a job, one spooler write; otherwise through the library in chunks
  // of at most 4096 bytes.
  Status write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
               std::uint32_t& errors) override;

  // Sends `write_length` bytes and receives at most `read_length` bytes of
  // reply in one library call; `read_length` then holds the count received.
  // With `flag` 1 the reply is one status block.
  std::int32_t transact(const std::uint8_t* write_buffer, std::uint32_t write_length,
                        std::uint8_t* read_buffer, std::uint32_t& read_length, std::int32_t flag);

  struct LibraryClose {
    void operator()(void* library) const;
  };
  struct SpoolerJob;

  std::int32_t monitor_handle = -1;
  std::unique_ptr<void, LibraryClose> library;
  StlOpenMonitorFn open_monitor = nullptr;
  StlCloseMonitorFn close_monitor = nullptr;
  StlDirectIoFn direct_io = nullptr;
  // The running print job; none outside a job.
  std::unique_ptr<SpoolerJob> spooler_handle;

 private:
  void unload();

  std::filesystem::path library_folder_;
};

}  // namespace inkmark

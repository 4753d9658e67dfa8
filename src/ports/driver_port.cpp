#include "ports/driver_port.h"

#include <dlfcn.h>

#include <algorithm>
#include <utility>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/spooler.h"
#include "ports/device_port.h"

namespace inkmark {

namespace {

std::filesystem::path& ChosenLibraryFolder() {
  static std::filesystem::path folder;
  return folder;
}

}  // namespace

struct DriverPort::SpoolerJob {
  SpoolerConnection http;
  std::string queue;
  int id = 0;
  // Set once a write did not reach the spooler: the document is incomplete.
  bool failed = false;
};

std::filesystem::path StatusLibraryFolder() {
  const std::filesystem::path& chosen = ChosenLibraryFolder();
  return chosen.empty() ? StatusLibraryHome() : chosen;
}

void SetStatusLibraryFolder(std::filesystem::path folder) {
  ChosenLibraryFolder() = std::move(folder);
}

void DriverPort::LibraryClose::operator()(void* library) const { ::dlclose(library); }

DriverPort::DriverPort(std::string printer_name, std::filesystem::path library_folder)
    : PortDriver(std::move(printer_name)), library_folder_(std::move(library_folder)) {}

namespace {

// Cancels the job on a fresh connection: the job's own may be broken.
void CancelJob(const DriverPort::SpoolerJob& job) {
  SpoolerConnection http = ConnectToSpooler();
  if (http) cupsCancelJob2(http.get(), job.queue.c_str(), job.id, 0);
}

}  // namespace

DriverPort::~DriverPort() {
  if (spooler_handle) CancelJob(*spooler_handle);
  if (library && monitor_handle >= 0) close_monitor(monitor_handle);
}

std::int32_t DriverPort::open() {
  if (library) return 0;  // a port is opened once
  const std::filesystem::path file = library_folder_ / kStatusLibraryFile;
  library.reset(::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!library) {
    CurrentMessageBoxes().Show(nullptr, kStatLinkMissingCaption, kStatLinkMissingText, kMbOk);
    return 0;
  }
  open_monitor = reinterpret_cast<StlOpenMonitorFn>(::dlsym(library.get(), kStlOpenMonitorName));
  close_monitor = reinterpret_cast<StlCloseMonitorFn>(::dlsym(library.get(), kStlCloseMonitorName));
  direct_io = reinterpret_cast<StlDirectIoFn>(::dlsym(library.get(), kStlDirectIoName));
  if (open_monitor == nullptr || close_monitor == nullptr || direct_io == nullptr) {
    unload();
    return 0;
  }
  monitor_handle = open_monitor(kStlAccessDirect, name.c_str());
  if (monitor_handle < 0) {
    unload();
    return 0;
  }
  return 1;
}

void DriverPort::unload() {
  open_monitor = nullptr;
  close_monitor = nullptr;
  direct_io = nullptr;
  monitor_handle = -1;
  library.reset();
}

void DriverPort::close() {
  if (!library) return;
  // The library reports a failed close when it had to drop output the printer
  // never took.
  if (monitor_handle >= 0 && close_monitor(monitor_handle) < 0) output_lost = true;
  unload();
}

std::int32_t DriverPort::beginJob() {
  if (spooler_handle) return 0;
  auto job = std::make_unique<SpoolerJob>();
  job->http = ConnectToSpooler();
  // The printer must exist before a document is started for it.
  auto queue = FindSpoolerPrinter(job->http.get(), name);
  if (!queue) return 0;
  job->queue = queue->name;
  job->id = cupsCreateJob(job->http.get(), job->queue.c_str(), kRawDocumentName, 0, nullptr);
  if (job->id <= 0) return 0;
  if (cupsStartDocument(job->http.get(), job->queue.c_str(), job->id, kRawDocumentName,
                        CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
    CancelJob(*job);
    return 0;
  }
  spooler_handle = std::move(job);
  return 1;
}

void DriverPort::endJob() {
  if (!spooler_handle) return;
  std::unique_ptr<SpoolerJob> job = std::move(spooler_handle);
  if (job->failed ||
      cupsFinishDocument(job->http.get(), job->queue.c_str()) > IPP_STATUS_OK_CONFLICTING)
    CancelJob(*job);
}

std::int32_t DriverPort::read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  got = 0;
  if (!library) return 0;
  got = length;
  return direct_io(monitor_handle, 0, nullptr, &got, buffer, kDirectIoTimeoutMs, kStlReplyRaw,
                   kStlCallVersion) >= 0;
}

std::int32_t DriverPort::readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  return read(buffer, length, got);
}

std::int32_t DriverPort::write(const std::uint8_t* buffer, std::uint32_t length,
                               std::uint32_t& written, std::uint32_t& errors) {
  (void)errors;
  written = 0;
  if (spooler_handle) {
    if (cupsWriteRequestData(spooler_handle->http.get(), reinterpret_cast<const char*>(buffer),
                             length) != HTTP_STATUS_CONTINUE) {
      spooler_handle->failed = true;
      return 0;
    }
    written = length;
    return 1;
  }
  if (!library) return 0;
  while (written < length) {
    std::uint32_t chunk = std::min(length - written, kWriteChunkBytes);
    std::uint32_t no_reply = 0;
    if (direct_io(monitor_handle, chunk, buffer + written, &no_reply, nullptr, kDirectIoTimeoutMs,
                  kStlReplyRaw, kStlCallVersion) < 0)
      return 0;
    written += chunk;
  }
  return 1;
}

std::int32_t DriverPort::transact(const std::uint8_t* write_buffer, std::uint32_t write_length,
                                  std::uint8_t* read_buffer, std::uint32_t& read_length,
                                  std::int32_t flag) {
  if (!library) {
    read_length = 0;
    return 0;
  }
  if (read_buffer == nullptr) read_length = 0;
  return direct_io(monitor_handle, write_length, write_buffer, &read_length, read_buffer,
                   kDirectIoTimeoutMs, flag, kStlCallVersion) >= 0;
}

}  // namespace inkmark

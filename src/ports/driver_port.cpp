#include "ports/driver_port.h"

#include <dlfcn.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/spooler.h"
#include "ports/device_port.h"

namespace inkmark {

namespace {

const Failure kNotOpen{FailureCode::kPortUnavailable, "the port is not open"};

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

Status DriverPort::open() {
  if (library) return {FailureCode::kInvalidArgument, "the port is open already"};
  const std::filesystem::path file = library_folder_ / kStatusLibraryFile;
  library.reset(::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!library) {
    const char* why = ::dlerror();
    CurrentMessageBoxes().Show(nullptr, kStatLinkMissingCaption, kStatLinkMissingText, kMbOk);
    return {FailureCode::kPortUnavailable, why != nullptr ? why : file.string()};
  }
  open_monitor = reinterpret_cast<StlOpenMonitorFn>(::dlsym(library.get(), kStlOpenMonitorName));
  close_monitor = reinterpret_cast<StlCloseMonitorFn>(::dlsym(library.get(), kStlCloseMonitorName));
  direct_io = reinterpret_cast<StlDirectIoFn>(::dlsym(library.get(), kStlDirectIoName));
  if (open_monitor == nullptr || close_monitor == nullptr || direct_io == nullptr) {
    unload();
    return {FailureCode::kPortUnavailable, file.string() + ": not the status-monitor library"};
  }
  monitor_handle = open_monitor(kStlAccessDirect, name.c_str());
  if (monitor_handle < 0) {
    unload();
    return {FailureCode::kPortUnavailable, "the status monitor cannot reach the printer '" + name +
                                               "' (" + std::to_string(monitor_handle) + ")"};
  }
  return Status();
}

void DriverPort::unload() {
  open_monitor = nullptr;
  close_monitor = nullptr;
  direct_io = nullptr;
  monitor_handle = -1;
  library.reset();
}

Status DriverPort::close() {
  if (!library) return Status();
  // The library reports a failed close when it had to drop output the printer
  // never took.
  if (monitor_handle >= 0 && close_monitor(monitor_handle) < 0) output_lost = true;
  unload();
  if (output_lost) {
    return {FailureCode::kOutputLost,
            "the status monitor could not send everything to the printer '" + name + "'"};
  }
  return Status();
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

Status DriverPort::read(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  got = 0;
  if (!library) return kNotOpen;
  got = length;
  const std::int32_t rc = direct_io(monitor_handle, 0, nullptr, &got, buffer, kDirectIoTimeoutMs,
                                    kStlReplyRaw, kStlCallVersion);
  if (rc < 0) {
    return {FailureCode::kTimedOut,
            "the status monitor had no reply from '" + name + "' (" + std::to_string(rc) + ")"};
  }
  return Status();
}

Status DriverPort::readExact(std::uint8_t* buffer, std::uint32_t length, std::uint32_t& got) {
  return read(buffer, length, got);
}

Status DriverPort::write(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t& written,
                         std::uint32_t& errors) {
  (void)errors;
  written = 0;
  if (spooler_handle) {
    if (cupsWriteRequestData(spooler_handle->http.get(), reinterpret_cast<const char*>(buffer),
                             length) != HTTP_STATUS_CONTINUE) {
      spooler_handle->failed = true;
      return {FailureCode::kWriteFailed,
              std::string("the spooler refused the data: ") + cupsLastErrorString()};
    }
    written = length;
    return Status();
  }
  if (!library) return kNotOpen;
  while (written < length) {
    std::uint32_t chunk = std::min(length - written, kWriteChunkBytes);
    std::uint32_t no_reply = 0;
    const std::int32_t rc = direct_io(monitor_handle, chunk, buffer + written, &no_reply, nullptr,
                                      kDirectIoTimeoutMs, kStlReplyRaw, kStlCallVersion);
    if (rc < 0) {
      return {FailureCode::kWriteFailed,
              "the status monitor could not send to '" + name + "' (" + std::to_string(rc) + ")"};
    }
    written += chunk;
  }
  return Status();
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

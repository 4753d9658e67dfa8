// The built status-monitor library, loaded as the driver port loads it.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "statmon/stl_api.h"

namespace inkmark::testing {

struct StatusLibrary {
  StatusLibrary() {
    const std::string file = std::string(INKMARK_STATMON_DIR) + "/" + kStatusLibraryFile;
    handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      ADD_FAILURE() << "cannot load " << file << ": " << ::dlerror();
      return;
    }
    open = reinterpret_cast<StlOpenMonitorFn>(::dlsym(handle, kStlOpenMonitorName));
    close = reinterpret_cast<StlCloseMonitorFn>(::dlsym(handle, kStlCloseMonitorName));
    direct_io = reinterpret_cast<StlDirectIoFn>(::dlsym(handle, kStlDirectIoName));
  }
  ~StatusLibrary() {
    if (handle) ::dlclose(handle);
  }
  StatusLibrary(const StatusLibrary&) = delete;
  StatusLibrary& operator=(const StatusLibrary&) = delete;

  bool loaded() const { return open && close && direct_io; }

  void* handle = nullptr;
  StlOpenMonitorFn open = nullptr;
  StlCloseMonitorFn close = nullptr;
  StlDirectIoFn direct_io = nullptr;
};

}  // namespace inkmark::testing

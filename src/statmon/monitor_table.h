// The open monitors: a small fixed table. A handle carries its slot and a
// count of the slot's uses, so that a handle closed once never reaches the
// monitor that later takes its slot.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

#include "device_link.h"

namespace inkmark {

inline constexpr std::int32_t kMonitorSlots = 8;

struct Monitor {
  // One exchange at a time on one printer line.
  std::mutex mutex;
  std::unique_ptr<DeviceLink> link;
};

class MonitorTable {
 public:
  // The handle of the added monitor, or kStlNoRoom when every slot is taken.
  std::int32_t Add(std::unique_ptr<DeviceLink> link);
  // The monitor, kept alive for the caller even if another thread closes it.
  std::shared_ptr<Monitor> Find(std::int32_t handle);
  // Takes the monitor out of the table and hands it over; null for an unknown handle.
  std::shared_ptr<Monitor> Remove(std::int32_t handle);

 private:
  struct Slot {
    std::shared_ptr<Monitor> monitor;
    std::int32_t uses = 0;
  };
  // Points at the slot `handle` names while it is current, else null. Call with the lock held.
  Slot* Lookup(std::int32_t handle);

  std::mutex mutex_;
  std::array<Slot, kMonitorSlots> slots_;
};

}  // namespace inkmark

#include "monitor_table.h"

#include <cstdint>

namespace inkmark {
namespace {

// Uses wrap before the handle would leave the non-negative int32 range.
constexpr std::int32_t kMaxUses = INT32_MAX / kMonitorSlots;

}  // namespace

std::int32_t MonitorTable::Add(std::unique_ptr<DeviceLink> link) {
  std::lock_guard lock(mutex_);
  for (std::int32_t i = 0; i < kMonitorSlots; ++i) {
    Slot& slot = slots_[i];
    if (slot.monitor) continue;
    slot.monitor = std::make_shared<Monitor>();
    slot.monitor->link = std::move(link);
    slot.uses = slot.uses % kMaxUses + 1;
    return slot.uses * kMonitorSlots + i;
  }
  return kStlNoRoom;
}

MonitorTable::Slot* MonitorTable::Lookup(std::int32_t handle) {
  if (handle < 0) return nullptr;
  Slot& slot = slots_[handle % kMonitorSlots];
  if (!slot.monitor || slot.uses != handle / kMonitorSlots) return nullptr;
  return &slot;
}

std::shared_ptr<Monitor> MonitorTable::Find(std::int32_t handle) {
  std::lock_guard lock(mutex_);
  Slot* slot = Lookup(handle);
  return slot ? slot->monitor : nullptr;
}

std::shared_ptr<Monitor> MonitorTable::Remove(std::int32_t handle) {
  std::lock_guard lock(mutex_);
  Slot* slot = Lookup(handle);
  if (slot == nullptr) return nullptr;
  // The line closes when the caller lets go, or when the last exchange still
  // using it ends.
  return std::move(slot->monitor);
}

}  // namespace inkmark

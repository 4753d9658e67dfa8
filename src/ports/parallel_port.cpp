#include "ports/parallel_port.h"

#include <linux/lp.h>
#include <sys/ioctl.h>

namespace inkmark {

std::int32_t ParallelPort::status() {
  if (!handle) return 0;
  int lines = 0;
  return ::ioctl(handle.get(), LPGETSTATUS, &lines) == 0 ? 1 : 0;
}

std::int32_t ParallelPort::reset() {
  if (!handle) return kResetFailed;
  return ::ioctl(handle.get(), LPRESET) == 0 ? 0 : kResetFailed;
}

}  // namespace inkmark

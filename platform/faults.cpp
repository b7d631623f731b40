#include "platform/faults.h"

#include <vector>

namespace platform {
namespace {

struct Armed {
  Fault operation;
  int calls_left;  // calls of the operation still to let through, then fail
  OSErr status;
  std::size_t bytes_first;
};

std::vector<Armed>& armed() {
  static std::vector<Armed> list;
  return list;
}

// Counts one call of the operation: the failure that fires on it, if any.
std::optional<Armed> fire(Fault operation) {
  std::optional<Armed> fired;
  auto& list = armed();
  for (auto it = list.begin(); it != list.end();) {
    if (it->operation != operation) {
      ++it;
    } else if (it->calls_left-- > 0) {
      ++it;
    } else {
      if (!fired) fired = *it;
      it = list.erase(it);
    }
  }
  return fired;
}

}  // namespace

void inject_fault(Fault operation, int nth, OSErr status, std::size_t bytes_first) {
  if (nth < 1) return;
  armed().push_back({operation, nth - 1, status, bytes_first});
}

void clear_faults() {
  armed().clear();
}

OSErr take_fault(Fault operation) {
  std::optional<Armed> fired = fire(operation);
  return fired ? fired->status : OSErr{noErr};
}

std::optional<WriteFault> take_write_fault() {
  std::optional<Armed> failing = fire(Fault::write);
  std::optional<Armed> ending = fire(Fault::write_ends_process);
  if (ending) return WriteFault{ending->status, ending->bytes_first, true};
  if (failing) return WriteFault{failing->status, failing->bytes_first, false};
  return std::nullopt;
}

}  // namespace platform

#include "platform/faults.h"

#include <vector>

namespace platform {
namespace {

struct Armed {
  Fault operation;
  int calls_left;  // calls of the operation still to let through, then fail
  OSErr status;
};

std::vector<Armed>& armed() {
  static std::vector<Armed> list;
  return list;
}

}  // namespace

void inject_fault(Fault operation, int nth, OSErr status) {
  if (nth < 1 || status == noErr) return;
  armed().push_back({operation, nth - 1, status});
}

void clear_faults() {
  armed().clear();
}

OSErr take_fault(Fault operation) {
  OSErr result = noErr;
  auto& list = armed();
  for (auto it = list.begin(); it != list.end();) {
    if (it->operation != operation) {
      ++it;
    } else if (it->calls_left-- > 0) {
      ++it;
    } else {
      if (result == noErr) result = it->status;
      it = list.erase(it);
    }
  }
  return result;
}

}  // namespace platform

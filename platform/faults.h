// Failure injection for tests. Some platform failures (no memory for a
// descriptor, an event manager that refuses a parameter, a disk that fills up
// in the middle of a write) cannot be brought about with real components, so
// a test can ask that the nth next call of one operation fail with a status
// of its choosing. Nothing is armed in normal runs, and an armed failure
// fires once. (Backings that tests replace are installed through
// platform/backings.h.)
#pragma once

#include <cstddef>
#include <optional>

#include "platform/types.h"

namespace platform {

enum class Fault {
  create_desc,         // AECreateDesc
  create_list,         // AECreateList
  create_apple_event,  // AECreateAppleEvent
  put_desc,            // AEPutDesc
  put_param_desc,      // AEPutParamDesc
  interact_with_user,  // AEInteractWithUser
  send,                // AESend, before anything is delivered
  new_alias,           // NewAlias
  write,               // a write of file data (FSWriteFork, write_state_file), part way
  write_ends_process,  // the same write, where the process then ends with _exit(75), as a
                       // kill in the middle of a save would (its status is not used)
};

// Makes the nth next call (1 = the very next one) of the operation return
// status without doing anything else. The two write faults first write the
// data's first `bytes_first` bytes, as a disk that fills up does; a write of
// no more bytes than that ends normally, and spends the fault all the same.
void inject_fault(Fault operation, int nth, OSErr status, std::size_t bytes_first = 0);
// Disarms every injected failure.
void clear_faults();
// Called at the start of each operation: the status to fail with, or noErr.
OSErr take_fault(Fault operation);

// Called at the start of each write of file data: the write fault that
// fires on it, if one does.
struct WriteFault {
  OSErr status;
  std::size_t bytes_first;
  bool ends_process;
};
std::optional<WriteFault> take_write_fault();

}  // namespace platform

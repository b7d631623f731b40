// Failure injection for tests. Some platform failures (no memory for a
// descriptor, an event manager that refuses a parameter) cannot be brought
// about with real components, so a test can ask that the nth next call of one
// operation fail with a status of its choosing. Nothing is armed in normal
// runs, and an armed failure fires once.
#pragma once

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
};

// Makes the nth next call (1 = the very next one) of the operation return
// status without doing anything else.
void inject_fault(Fault operation, int nth, OSErr status);
// Disarms every injected failure.
void clear_faults();
// Called at the start of each operation: the status to fail with, or noErr.
OSErr take_fault(Fault operation);

}  // namespace platform

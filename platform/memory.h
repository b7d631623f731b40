// The Memory Manager's relocatable blocks (handles). A handle is a pointer to
// a master pointer that points at the block's bytes. Every block is owned by
// a table here until it is disposed of, so that tests can see that every
// handle made was given back (live_handle_count). Backed by the C++ heap.
#pragma once

#include <cstddef>

#include "platform/types.h"

// A new block of `size` zero bytes, or nullptr when size is negative or the
// memory cannot be had.
Handle NewHandle(Size size);
// The block's size in bytes; 0 for nullptr or a handle that is not live.
Size GetHandleSize(Handle h);
// Gives the block back. nullptr and handles that are not live are ignored.
void DisposeHandle(Handle h);

namespace platform {

// Handles made and not yet disposed of.
std::size_t live_handle_count();

}  // namespace platform

#include "platform/memory.h"

#include <map>
#include <memory>
#include <new>
#include <vector>

namespace platform {
namespace {

// A block and the master pointer through which its handle reaches it. The
// block lives in a unique_ptr, so the master pointer's address never moves.
struct Block {
  std::vector<char> bytes;
  char* master = nullptr;
};

std::map<Handle, std::unique_ptr<Block>>& live() {
  static std::map<Handle, std::unique_ptr<Block>> table;
  return table;
}

}  // namespace

std::size_t live_handle_count() {
  return live().size();
}

}  // namespace platform

Handle NewHandle(Size size) {
  if (size < 0) return nullptr;
  try {
    auto block = std::make_unique<platform::Block>();
    block->bytes.assign(static_cast<std::size_t>(size), 0);
    block->master = block->bytes.data();
    Handle h = &block->master;
    platform::live().emplace(h, std::move(block));
    return h;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

Size GetHandleSize(Handle h) {
  auto it = platform::live().find(h);
  return it == platform::live().end() ? 0 : static_cast<Size>(it->second->bytes.size());
}

void DisposeHandle(Handle h) {
  platform::live().erase(h);
}

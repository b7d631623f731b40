// Owners for Xlib objects, so that every connection and every reply the
// backings take is given back on every path.
#pragma once

#include <X11/Xlib.h>

#include <memory>

namespace platform {

struct XDisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using XDisplayPtr = std::unique_ptr<Display, XDisplayCloser>;

template <typename T>
struct XFreeDeleter {
  void operator()(T* data) const { XFree(data); }
};
template <typename T>
using XDataPtr = std::unique_ptr<T, XFreeDeleter<T>>;

}  // namespace platform

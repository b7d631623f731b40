#include "platform/linux/cursor_x11.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdlib>

#include "platform/linux/x11_display.h"

namespace platform {

void store_argb_pixels(const unsigned long* pixels, int width, int height, CursorImage* image) {
  const int stored_width = std::clamp(width, 0, kMaxCursorWidth);
  const int rows = std::clamp(height, 0, 0x7FFF);
  const std::size_t row_length = static_cast<std::size_t>(stored_width) * 4;
  image->bounds = {0, 0, static_cast<SInt16>(rows), static_cast<SInt16>(stored_width)};
  image->rowBytes = static_cast<UInt16>(row_length | kPixMapFlag);
  image->pixelSize = 32;
  image->pixels.assign(row_length * rows, 0);
  std::uint8_t* out = image->pixels.data();
  for (int y = 0; y < rows; ++y) {
    const unsigned long* row = pixels + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < stored_width; ++x) {
      const auto argb = static_cast<std::uint32_t>(row[x] & 0xFFFFFFFFu);
      *out++ = static_cast<std::uint8_t>(argb >> 24);
      *out++ = static_cast<std::uint8_t>(argb >> 16);
      *out++ = static_cast<std::uint8_t>(argb >> 8);
      *out++ = static_cast<std::uint8_t>(argb);
    }
  }
}

void X11CursorSource::Closer::operator()(_XDisplay* display) const {
  XCloseDisplay(display);
}

bool X11CursorSource::connect() {
  if (m_display) return true;
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  std::unique_ptr<_XDisplay, Closer> display(XOpenDisplay(nullptr));
  if (!display) return false;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XFixesQueryExtension(display.get(), &event, &error)) return false;
  // The server answers XFixes requests only after the client named its version.
  if (!XFixesQueryVersion(display.get(), &major, &minor) || major < 1) return false;
  m_display = std::move(display);
  return true;
}

bool X11CursorSource::copy_current(CursorImage* image) {
  if (!connect()) return false;
  XDataPtr<XFixesCursorImage> cursor(XFixesGetCursorImage(m_display.get()));
  if (!cursor) return false;
  store_argb_pixels(cursor->pixels, cursor->width, cursor->height, image);
  image->hotSpot = {static_cast<SInt16>(cursor->yhot), static_cast<SInt16>(cursor->xhot)};
  return true;
}

X11CursorSource& x11_cursor_source() {
  static X11CursorSource source;
  return source;
}

}  // namespace platform

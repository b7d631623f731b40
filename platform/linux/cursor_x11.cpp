#include "platform/linux/cursor_x11.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdlib>

#include "platform/linux/x11_display.h"

namespace platform {

void store_xfixes_pixels(const unsigned long* pixels, int width, int height, CursorImage& image) {
  image.width = std::max(width, 0);
  image.height = std::max(height, 0);
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  image.argb.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    image.argb[i] = static_cast<std::uint32_t>(pixels[i] & 0xFFFFFFFFu);
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

bool X11CursorSource::current_cursor_image(CursorImage& image) {
  if (!connect()) return false;
  XDataPtr<XFixesCursorImage> cursor(XFixesGetCursorImage(m_display.get()));
  if (!cursor) return false;
  store_xfixes_pixels(cursor->pixels, cursor->width, cursor->height, image);
  image.hot_spot = {static_cast<SInt16>(cursor->yhot), static_cast<SInt16>(cursor->xhot)};
  return true;
}

CursorImageSource* default_cursor_image_source() {
  static X11CursorSource source;
  return &source;
}

}  // namespace platform

#include "tests/support/cursor_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

namespace testing_support {

struct CursorWindow::State {
  Display* display = nullptr;
  Window window = 0;
  ~State() {
    if (display) XCloseDisplay(display);  // takes the window and cursor with it
  }
};

ArgbCursor graded_cursor() {
  ArgbCursor cursor;
  cursor.hot_x = 3;
  cursor.hot_y = 5;
  for (std::uint32_t alpha = 0; alpha < 256; ++alpha)
    cursor.pixels.push_back(alpha << 24 | (alpha / 2) << 16 | (alpha / 3) << 8 | alpha / 4);
  return cursor;
}

CursorWindow::CursorWindow() : m_state(std::make_unique<State>()) {}
CursorWindow::~CursorWindow() = default;

namespace {

// Uploads the pixels into a 32-bit pixmap and makes a cursor of it.
Cursor make_cursor(Display* display, const ArgbCursor& cursor) {
  Window root = DefaultRootWindow(display);
  XRenderPictFormat* format = XRenderFindStandardFormat(display, PictStandardARGB32);
  if (format == nullptr) return 0;
  Pixmap pixmap = XCreatePixmap(display, root, cursor.width, cursor.height, 32);
  std::vector<std::uint32_t> data = cursor.pixels;
  XImage* image = XCreateImage(display, DefaultVisual(display, DefaultScreen(display)), 32, ZPixmap,
                               0, reinterpret_cast<char*>(data.data()), cursor.width, cursor.height,
                               32, cursor.width * 4);
  GC gc = XCreateGC(display, pixmap, 0, nullptr);
  XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, cursor.width, cursor.height);
  image->data = nullptr;  // the vector owns the pixels
  XDestroyImage(image);
  XFreeGC(display, gc);
  Picture picture = XRenderCreatePicture(display, pixmap, format, 0, nullptr);
  Cursor made = XRenderCreateCursor(display, picture, cursor.hot_x, cursor.hot_y);
  XRenderFreePicture(display, picture);
  XFreePixmap(display, pixmap);
  return made;
}

}  // namespace

bool CursorWindow::show(const ArgbCursor& cursor, int x, int y, int size) {
  State& s = *m_state;
  if (!s.display) s.display = XOpenDisplay(nullptr);
  if (!s.display) return false;
  int event = 0, error = 0;
  if (!XRenderQueryExtension(s.display, &event, &error)) return false;
  if (s.window) XDestroyWindow(s.display, s.window);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  s.window =
      XCreateWindow(s.display, DefaultRootWindow(s.display), x, y, size, size, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
  Cursor shown = make_cursor(s.display, cursor);
  if (shown == 0) return false;
  XDefineCursor(s.display, s.window, shown);
  XMapRaised(s.display, s.window);
  XSync(s.display, False);
  return true;
}

}  // namespace testing_support

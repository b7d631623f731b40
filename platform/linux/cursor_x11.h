// The current cursor's image, taken from the X server with XFixes: the
// platform's own cursor-image source (default_cursor_image_source()).
#pragma once

#include <memory>

#include "platform/quickdraw.h"

struct _XDisplay;  // Xlib's connection, kept out of this header

namespace platform {

// Fills image from XFixes pixels: width × height values, row by row, each an
// unsigned long whose low 32 bits hold premultiplied ARGB; on 64-bit systems
// the bits above are sign-filled from the alpha and are dropped. Negative
// sizes count as 0.
void store_xfixes_pixels(const unsigned long* pixels, int width, int height, CursorImage& image);

// The image of the cursor on the display named by DISPLAY, over a
// connection of its own that opens on first use and stays open.
class X11CursorSource final : public CursorImageSource {
 public:
  // Copies the image the X server shows now. Returns false, with image
  // untouched, when there is no display, the server has no XFixes, or it
  // gives no image.
  bool current_cursor_image(CursorImage& image) override;

 private:
  struct Closer {
    void operator()(_XDisplay* display) const;
  };

  bool connect();

  std::unique_ptr<_XDisplay, Closer> m_display;
};

}  // namespace platform

// The platform's own cursor-image source. The X11 backing replaces this one;
// without it there is no cursor image to be had.
#include "platform/quickdraw.h"

namespace platform {

CursorImageSource* default_cursor_image_source() {
  return nullptr;
}

}  // namespace platform

// Stand-ins for the trigger's tests: a scripting component that records the
// script texts it is given, and a cursor-image source that gives a made-up
// image.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/quickdraw_standin.h"

namespace trigger_test {

// One script text the runner compiled, with the trigger flag at that moment.
struct RecordedScript {
  std::string text;
  bool flag_when_run;
};

// Installs itself as the default scripting component for its lifetime.
class RecordingScripts {
 public:
  RecordingScripts();
  ~RecordingScripts();
  std::vector<RecordedScript> scripts;
  OSErr run_status = noErr;  // what running a script returns
};

// A cursor-image source with a fixed image (or none).
class MadeUpCursor : public platform::CursorImageSource {
 public:
  MadeUpCursor() { platform::set_cursor_image_source(this); }
  ~MadeUpCursor() override { platform::set_cursor_image_source(nullptr); }
  bool copy_current(platform::CursorImage* out) override;
  bool pixels_lockable() const override { return lockable; }

  std::optional<platform::CursorImage> image;
  bool lockable = true;
  int copies = 0;
};

// A 16 × 16 32-bit image whose pixels' first bytes are first_bytes (256 of
// them, row by row) and whose other bytes are filler.
platform::CursorImage cursor_image(const std::vector<std::uint8_t>& first_bytes,
                                   std::uint8_t filler = 0x5A);
// An image of any size and depth, all bytes zero.
platform::CursorImage zero_image(int width, int height, int pixel_size);

}  // namespace trigger_test

// Stand-ins for the trigger's tests: a scripting component that records the
// script texts it is given, and a cursor-image source that gives a made-up
// image.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/quickdraw.h"

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

// A cursor-image source with a fixed image (or none). The pixel maps made
// from it can be changed into ones the classic platform could give: adjust
// edits each new map, and lockable false makes LockPixels fail on it.
class MadeUpCursor : public platform::CursorImageSource {
 public:
  MadeUpCursor();
  ~MadeUpCursor() override;
  bool current_cursor_image(platform::CursorImage& out) override;

  std::optional<platform::CursorImage> image;
  std::function<void(PixMap&)> adjust;
  bool lockable = true;
  int copies = 0;
};

// A 16 × 16 image whose pixels' first bytes (alpha) are first_bytes (256 of
// them, row by row) and whose other bytes are made from filler.
platform::CursorImage cursor_image(const std::vector<std::uint8_t>& first_bytes,
                                   std::uint8_t filler = 0x5A);
// An image of any size, all pixels zero.
platform::CursorImage zero_image(int width, int height);

}  // namespace trigger_test

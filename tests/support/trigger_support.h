// Helpers for the trigger's tests: the real scripting component over a small
// window, recording the script texts it is given, and a cursor-image source
// that gives a made-up image.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scriptkit/model/model.h"

#include "platform/osa.h"
#include "platform/quickdraw.h"

namespace testing_support {

// One script text the runner compiled, with the trigger flag at that moment.
struct RecordedScript {
  std::string text;
  bool flag_when_run;
};

// Installs itself as the scripting component for its lifetime: the real
// component over a window "Main" with a button "Trigger", with every text it
// compiles written down.
class RecordingScripts final : public platform::ScriptingComponentFactory {
 public:
  RecordingScripts();
  std::unique_ptr<platform::ScriptingComponent> make_component() override;
  // The right edge of the button "Trigger".
  std::int32_t trigger_right() const;
  std::vector<RecordedScript> scripts;
  OSErr run_status = noErr;  // when not noErr, what running a script returns instead
  std::shared_ptr<scriptkit::model::Application> app;
  std::shared_ptr<scriptkit::model::Button> trigger;

 private:
  platform::ScopedBacking<platform::ScriptingComponentFactory> m_installed{this};
};

// A cursor-image source with a fixed image (or none), installed while it
// lives. The pixel maps made from it can be changed into ones the classic
// platform could give: adjust edits each new map, and lockable false makes
// LockPixels fail on it.
class MadeUpCursor : public platform::CursorImageSource {
 public:
  bool current_cursor_image(platform::CursorImage& out) override;
  bool adjust_pixmap(PixMap& map) override;

  std::optional<platform::CursorImage> image;
  std::function<void(PixMap&)> adjust;
  bool lockable = true;
  int copies = 0;

 private:
  platform::ScopedBacking<platform::CursorImageSource> m_installed{this};
};

// A 16 × 16 image whose pixels' first bytes (alpha) are first_bytes (256 of
// them, row by row) and whose other bytes are made from filler.
platform::CursorImage cursor_image(const std::vector<std::uint8_t>& first_bytes,
                                   std::uint8_t filler = 0x5A);
// An image of any size, all pixels zero.
platform::CursorImage zero_image(int width, int height);

}  // namespace testing_support

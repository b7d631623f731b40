#include "tests/trigger/trigger_support.h"

#include <memory>

#include "platform/osa.h"
#include "shell/records.h"

namespace trigger_test {
namespace {

RecordingScripts* s_recorder = nullptr;

class RecordingComponent final : public platform::ScriptingComponent {
 public:
  OSErr compile(std::string_view text, OSAID* id) override {
    s_recorder->scripts.push_back({std::string(text), G_TRIGGERBUTTONWASEXPANDED != 0});
    *id = ++m_last_id;
    return noErr;
  }
  OSErr execute(OSAID, OSAID* result) override {
    *result = kOSANullScript;
    return s_recorder->run_status;
  }
  OSErr dispose(OSAID) override { return noErr; }
  std::string last_error_message() const override { return {}; }

 private:
  OSAID m_last_id = 0;
};

}  // namespace

RecordingScripts::RecordingScripts() {
  s_recorder = this;
  platform::install_scripting_component(kOSAComponentType, kAppleScriptSubtype,
                                        [] { return std::make_unique<RecordingComponent>(); });
}

RecordingScripts::~RecordingScripts() {
  platform::install_scripting_component(kOSAComponentType, kAppleScriptSubtype, nullptr);
  s_recorder = nullptr;
}

bool MadeUpCursor::copy_current(platform::CursorImage* out) {
  ++copies;
  if (!image) return false;
  *out = *image;
  return true;
}

platform::CursorImage cursor_image(const std::vector<std::uint8_t>& first_bytes,
                                   std::uint8_t filler) {
  platform::CursorImage image = zero_image(16, 16, 32);
  for (std::size_t i = 0; i < first_bytes.size() && i < 256; ++i) {
    image.pixels[4 * i] = first_bytes[i];
    image.pixels[4 * i + 1] = filler;
    image.pixels[4 * i + 2] = static_cast<std::uint8_t>(filler + i);
    image.pixels[4 * i + 3] = static_cast<std::uint8_t>(~filler);
  }
  return image;
}

platform::CursorImage zero_image(int width, int height, int pixel_size) {
  platform::CursorImage image;
  const int row_length = width * pixel_size / 8;
  image.bounds = {0, 0, static_cast<SInt16>(height), static_cast<SInt16>(width)};
  image.rowBytes = static_cast<UInt16>(0x8000 | row_length);
  image.pixelSize = static_cast<SInt16>(pixel_size);
  image.pixels.assign(static_cast<std::size_t>(row_length) * height, 0);
  return image;
}

}  // namespace trigger_test

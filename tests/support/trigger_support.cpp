#include "tests/support/trigger_support.h"

#include <memory>

#include "platform/osa.h"
#include "scriptkit/app/osa_component.h"
#include "shell/records.h"

namespace testing_support {
namespace {

class RecordingComponent final : public platform::ScriptingComponent {
 public:
  explicit RecordingComponent(RecordingScripts& recorder)
      : m_recorder(recorder), m_inner({recorder.app, {}, scriptkit::lang::kDefaultStepBudget}) {}
  OSErr compile(std::string_view text, OSAID* id) override {
    m_recorder.scripts.push_back({std::string(text), G_TRIGGERBUTTONWASEXPANDED != 0});
    return m_inner.compile(text, id);
  }
  OSErr execute(OSAID script, OSAID* result) override {
    if (m_recorder.run_status != noErr) return m_recorder.run_status;
    return m_inner.execute(script, result);
  }
  OSErr dispose(OSAID id) override { return m_inner.dispose(id); }
  std::string last_error_message() const override { return m_inner.last_error_message(); }

 private:
  RecordingScripts& m_recorder;
  scriptkit::app::OsaComponent m_inner;
};

}  // namespace

RecordingScripts::RecordingScripts() : app(std::make_shared<scriptkit::model::Application>()) {
  trigger = app->add_window("Main")->add<scriptkit::model::Button>("Trigger");
  trigger->set_bounds({10, 40, 60, 10});
}

std::unique_ptr<platform::ScriptingComponent> RecordingScripts::make_component() {
  return std::make_unique<RecordingComponent>(*this);
}

std::int32_t RecordingScripts::trigger_right() const {
  return trigger->bounds().right;
}

bool MadeUpCursor::adjust_pixmap(PixMap& map) {
  if (adjust) adjust(map);
  return lockable;
}

bool MadeUpCursor::current_cursor_image(platform::CursorImage& out) {
  ++copies;
  if (!image) return false;
  out = *image;
  return true;
}

platform::CursorImage cursor_image(const std::vector<std::uint8_t>& first_bytes,
                                   std::uint8_t filler) {
  platform::CursorImage image = zero_image(16, 16);
  for (std::size_t i = 0; i < first_bytes.size() && i < 256; ++i) {
    const std::uint8_t red = filler;
    const auto green = static_cast<std::uint8_t>(filler + i);
    const auto blue = static_cast<std::uint8_t>(~filler);
    image.argb[i] = std::uint32_t{first_bytes[i]} << 24 | std::uint32_t{red} << 16 |
                    std::uint32_t{green} << 8 | blue;
  }
  return image;
}

platform::CursorImage zero_image(int width, int height) {
  platform::CursorImage image;
  image.width = width;
  image.height = height;
  image.argb.assign(static_cast<std::size_t>(width) * height, 0);
  return image;
}

}  // namespace testing_support

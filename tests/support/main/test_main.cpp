// The main function of every test program: GoogleTest's, with the bell kept
// quiet. A test that counts beeps or alerts installs its own backing over
// this one (RecordingAlerts), which puts this one back when it goes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/alerts.h"

namespace {

class QuietBell final : public platform::AlertBacking {
 public:
  void beep() override {}
  void alert(SInt16, const std::string& message, const std::string& explanation) override {
    std::fprintf(stderr, "alert: %s %s\n", message.c_str(), explanation.c_str());
  }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QuietBell bell;
  platform::ScopedBacking<platform::AlertBacking> installed(&bell);
  return RUN_ALL_TESTS();
}

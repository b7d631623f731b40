#include "platform/alerts.h"

#include <cstdio>
#include <utility>

#include "platform/text.h"

namespace platform {
namespace {

class StandardErrorAlerts final : public AlertBacking {
 public:
  void beep() override { std::fputc('\a', stderr); }
  void alert(SInt16, const std::string& message, const std::string& explanation) override {
    std::fprintf(stderr, "tavrine: %s%s%s\n", message.c_str(), explanation.empty() ? "" : " ",
                 explanation.c_str());
  }
};

StandardErrorAlerts s_standard_error;
AlertBacking* s_backing = nullptr;

AlertBacking& backing() {
  return s_backing ? *s_backing : s_standard_error;
}

}  // namespace

AlertBacking* install_backing(AlertBacking* backing) {
  return std::exchange(s_backing, backing);
}

}  // namespace platform

void SysBeep(short /*duration*/) {
  platform::backing().beep();
}

OSErr StandardAlert(SInt16 alertType, ConstStr255Param error, ConstStr255Param explanation,
                    const AlertStdAlertParamRec* /*param*/, SInt16* itemHit) {
  platform::backing().alert(alertType, platform::short_text_to_utf8(error),
                            platform::short_text_to_utf8(explanation));
  if (itemHit) *itemHit = kAlertStdAlertOKButton;
  return noErr;
}

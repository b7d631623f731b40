// The bell and the standard alert. The toolkit installs its backing at
// start-up (platform/backings.h); without one the bell is a BEL on standard
// error and an alert's message is written to standard error. Tests install a
// recording backing, and keep the bell quiet.
#pragma once

#include <string>

#include "platform/backings.h"
#include "platform/types.h"

enum : SInt16 {
  kAlertStopAlert = 0,
  kAlertNoteAlert = 1,
  kAlertCautionAlert = 2,
  kAlertPlainAlert = 3
};
enum : SInt16 { kAlertStdAlertOKButton = 1 };
// The system's standard OK title, given as a marker rather than a text.
inline const ConstStr255Param kAlertDefaultOKText = reinterpret_cast<ConstStr255Param>(-1);

struct AlertStdAlertParamRec {
  Boolean movable;
  Boolean helpButton;
  void* filterProc;
  ConstStr255Param defaultText;
  ConstStr255Param cancelText;
  ConstStr255Param otherText;
  SInt16 defaultButton;
  SInt16 cancelButton;
  UInt16 position;
};

// Sounds the desktop's bell once.
void SysBeep(short duration);

// Shows a modal alert with the message and explanation (short texts, Mac
// Roman) and returns when the user dismisses it; the button hit is stored in
// itemHit (1 for OK).
OSErr StandardAlert(SInt16 alertType, ConstStr255Param error, ConstStr255Param explanation,
                    const AlertStdAlertParamRec* param, SInt16* itemHit);

namespace platform {

class AlertBacking {
 public:
  virtual ~AlertBacking() = default;
  virtual void beep() = 0;
  // message and explanation in UTF-8.
  virtual void alert(SInt16 type, const std::string& message, const std::string& explanation) = 0;
};

}  // namespace platform

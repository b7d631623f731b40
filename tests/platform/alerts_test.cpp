// The bell and the standard alert reach the installed backing, and a backing
// installed over another puts that one back when it goes.
#include "platform/alerts.h"

#include <gtest/gtest.h>

#include "tests/support/file_sandbox.h"

namespace {

// Short texts: a length byte, then Mac Roman (octal escapes, so that no
// letter after one is taken into it).
const unsigned char kMessage[] = "\016Can't save \322A\323";
const unsigned char kExplanation[] = "\005Caf\216!";

TEST(Alerts, ReachTheInstalledBackingInUtf8) {
  testing_support::RecordingAlerts alerts;
  SysBeep(30);
  SInt16 hit = 0;
  EXPECT_EQ(StandardAlert(kAlertStopAlert, kMessage, kExplanation, nullptr, &hit), noErr);
  EXPECT_EQ(hit, kAlertStdAlertOKButton);
  EXPECT_EQ(alerts.beeps, 1);
  EXPECT_EQ(alerts.types, std::vector<SInt16>{kAlertStopAlert});
  EXPECT_EQ(alerts.messages, std::vector<std::string>{"Can't save “A”"});
  EXPECT_EQ(alerts.explanations, std::vector<std::string>{"Café!"});
  EXPECT_EQ(StandardAlert(kAlertNoteAlert, kMessage, nullptr, nullptr, nullptr), noErr);
  EXPECT_EQ(alerts.explanations.back(), "");
}

TEST(Alerts, ABackingInstalledOverAnotherPutsItBack) {
  testing_support::RecordingAlerts outer;
  {
    testing_support::RecordingAlerts inner;
    SysBeep(30);
    EXPECT_EQ(inner.beeps, 1);
  }
  SysBeep(30);
  EXPECT_EQ(outer.beeps, 1);
}

}  // namespace

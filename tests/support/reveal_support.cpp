#include "tests/support/reveal_support.h"

#include <sys/stat.h>

#include "platform/aliases.h"
#include "platform/appleevents.h"
#include "platform/memory.h"

namespace testing_support {

ProcessSerialNumber find_process(OSType signature) {
  ProcessSerialNumber psn{0, kNoProcess};
  while (GetNextProcess(&psn) == noErr) {
    ProcessInfoRec info{};
    info.processInfoLength = kProcessInfoRecLength;
    if (GetProcessInformation(&psn, &info) == noErr && info.processSignature == signature) break;
  }
  return psn;
}

std::string process_signatures() {
  std::string out;
  ProcessSerialNumber psn{0, kNoProcess};
  while (GetNextProcess(&psn) == noErr) {
    ProcessInfoRec info{};
    info.processInfoLength = kProcessInfoRecLength;
    if (GetProcessInformation(&psn, &info) != noErr) continue;
    for (int shift = 24; shift >= 0; shift -= 8)
      out += static_cast<char>(info.processSignature >> shift);
    out += ' ';
  }
  return out;
}

bool is_no_process(const ProcessSerialNumber& psn) {
  return psn.highLongOfPSN == 0 && psn.lowLongOfPSN == kNoProcess;
}

FSRef ref_of(const std::filesystem::path& item) {
  struct stat st {};
  stat(item.c_str(), &st);
  return FSRef{item.string(), st.st_dev, st.st_ino};
}

OSErr send_reveal(const ProcessSerialNumber& psn, const std::filesystem::path& item, bool wait) {
  AEAddressDesc address;
  AECreateDesc(typeProcessSerialNumber, &psn, sizeof psn, &address);
  AppleEvent event;
  AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address, kAutoGenerateReturnID,
                     kAnyTransactionID, &event);
  AEDisposeDesc(&address);
  AliasHandle alias = nullptr;
  platform::new_alias_for_ref(ref_of(item), &alias);
  AEDesc object;
  AECreateDesc(typeAlias, *alias, GetHandleSize(reinterpret_cast<Handle>(alias)), &object);
  AEPutParamDesc(&event, keyDirectObject, &object);
  AESendMode reply = wait ? kAEWaitReply : kAENoReply;
  OSErr err = AESend(&event, nullptr, reply | kAEAlwaysInteract | kAECanSwitchLayer,
                     kAENormalPriority, kAEDefaultTimeout, nullptr, nullptr);
  AEDisposeDesc(&object);
  AEDisposeDesc(&event);
  DisposeHandle(reinterpret_cast<Handle>(alias));
  return err;
}

std::string uri_of(const std::filesystem::path& path) {
  return "file://" + path.string();
}

}  // namespace testing_support

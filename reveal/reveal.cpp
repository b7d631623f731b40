#include "reveal/reveal.h"

#include "platform/aedesc.h"
#include "platform/alerts.h"
#include "platform/aliases.h"
#include "platform/appleevents.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "prefs/fileutils.h"
#include "shell/records.h"

namespace {

// The send mode of the reveal: no reply, the Finder may always interact with
// the user and may come forward to do so.
constexpr AESendMode kRevealSendMode = kAENoReply | kAEAlwaysInteract | kAECanSwitchLayer;

Handle AsHandle(AliasHandle alias) {
  return reinterpret_cast<Handle>(alias);
}

// Steps through the running processes to the first one with the Finder's
// signature. Leaves kNoProcess in psn when there is none.
void FindFinderProcess(ProcessSerialNumber* psn) {
  psn->highLongOfPSN = 0;
  psn->lowLongOfPSN = kNoProcess;
  while (GetNextProcess(psn) == noErr) {
    ProcessInfoRec info;
    FSSpec appSpec;
    info.processInfoLength = kProcessInfoRecLength;
    info.processName = nullptr;
    info.processAppSpec = &appSpec;
    if (GetProcessInformation(psn, &info) != noErr) continue;
    if (info.processSignature == FOUR_CHAR_CODE("MACS")) break;
  }
}

// The event 'misc'/'mvis' addressed to the process psn.
OSErr MakeRevealEvent(const ProcessSerialNumber* psn, AppleEvent* event) {
  AEAddressDesc address;
  OSErr err = AECreateDesc(typeProcessSerialNumber, psn, sizeof *psn, &address);
  if (err != noErr) return err;
  err = AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address, kAutoGenerateReturnID,
                           kAnyTransactionID, event);
  AEDisposeDesc(&address);
  return err;
}

// Two alias records of the folder. On failure disposes of any it made and
// leaves both handles null.
OSErr MakeFolderAliases(const FSSpec* folder, AliasHandle* alias1, AliasHandle* alias2) {
  *alias1 = nullptr;
  *alias2 = nullptr;
  OSErr err = NewAlias(nullptr, folder, alias1);
  if (err == noErr) err = NewAlias(nullptr, folder, alias2);
  if (err == noErr) return noErr;
  if (*alias1 != nullptr) DisposeHandle(AsHandle(*alias1));
  if (*alias2 != nullptr) DisposeHandle(AsHandle(*alias2));
  *alias1 = nullptr;
  *alias2 = nullptr;
  return err;
}

// Adds the folder to the event twice: the first alias record as the direct
// object, the second as the only item of the list given as 'fsel'. Disposes
// of every descriptor it makes, whatever happens.
OSErr AddFolderAliases(AppleEvent* event, AliasHandle alias1, AliasHandle alias2) {
  AEDesc aliasDesc;
  AEDescList list;
  AEInitializeDesc(&aliasDesc);
  AECreateList(nullptr, 0, false, &list);

  OSErr err = AECreateDesc(typeAlias, *alias1, GetHandleSize(AsHandle(alias1)), &aliasDesc);
  if (err == noErr) err = AEPutParamDesc(event, keyDirectObject, &aliasDesc);
  if (err == noErr) {
    AEDisposeDesc(&aliasDesc);
    err = AECreateDesc(typeAlias, *alias2, GetHandleSize(AsHandle(alias2)), &aliasDesc);
    if (err == noErr) err = AEPutDesc(&list, 0, &aliasDesc);
  }
  if (err == noErr) {
    AEDisposeDesc(&aliasDesc);
    err = AEPutParamDesc(event, keySelection, &list);
  }

  AEDisposeDesc(&aliasDesc);
  AEDisposeDesc(&list);
  return err;
}

}  // namespace

void HandleRevealFolder(SInt16 level, SInt32 count) {
  FSSpec folder;
  if (MyMakeFolderFSSpec(&folder, level, G_INFO.picturePath, count) != noErr) {
    SysBeep(5);
    return;
  }
  MyRevealFolder(&folder);
}

OSErr MyRevealFolder(const FSSpec* folder) {
  ProcessSerialNumber psn;
  FindFinderProcess(&psn);
  AppleEvent event;
  if (MakeRevealEvent(&psn, &event) != noErr) {
    SysBeep(5);
    return noErr;
  }
  AliasHandle alias1;
  AliasHandle alias2;
  if (MakeFolderAliases(folder, &alias1, &alias2) != noErr) {
    AEDisposeDesc(&event);
    SysBeep(5);
    return noErr;
  }

  // The Finder comes forward before the event is sent, so that the window
  // it opens is in front.
  if (AEInteractWithUser(kAEDefaultTimeout, nullptr, nullptr) == noErr) SetFrontProcess(&psn);

  OSErr err = AddFolderAliases(&event, alias1, alias2);
  if (err == noErr) {
    err = AESend(&event, nullptr, kRevealSendMode, kAENormalPriority, kAEDefaultTimeout, nullptr,
                 nullptr);
  }
  AEDisposeDesc(&event);
  if (err != noErr) SysBeep(5);

  DisposeHandle(AsHandle(alias1));
  DisposeHandle(AsHandle(alias2));
  return noErr;
}

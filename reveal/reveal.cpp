#include "reveal/reveal.h"

#include "platform/aedesc.h"
#include "platform/alerts.h"
#include "platform/aliases.h"
#include "platform/appleevents.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "prefs/fileutils.h"
#include "shell/records.h"

// The send mode of the reveal: no reply, the Finder may always interact with
// the user and may come forward to do so.
static const AESendMode kRevealSendMode = kAENoReply | kAEAlwaysInteract | kAECanSwitchLayer;

// Steps through the running processes to the first one with the Finder's
// signature. Leaves kNoProcess in psn when there is none.
static void FindFinderProcess(ProcessSerialNumber* psn) {
  ProcessInfoRec info;
  FSSpec appSpec;

  psn->highLongOfPSN = 0;
  psn->lowLongOfPSN = kNoProcess;
  while (GetNextProcess(psn) == noErr) {
    info.processInfoLength = kProcessInfoRecLength;
    info.processName = NULL;
    info.processAppSpec = &appSpec;
    if (GetProcessInformation(psn, &info) != noErr) continue;
    if (info.processSignature == FOUR_CHAR_CODE("MACS")) break;
  }
}

// Adds the folder to the event twice: the first alias record as the direct
// object, the second as the only item of the list given as 'fsel'. Disposes
// of every descriptor it makes, whatever happens.
static OSErr AddFolderAliases(AppleEvent* event, AliasHandle alias1, AliasHandle alias2) {
  AEDescList list;
  AEDesc aliasDesc;
  OSErr err;

  AEInitializeDesc(&aliasDesc);
  AECreateList(NULL, 0, false, &list);

  err = AECreateDesc(typeAlias, *alias1, GetHandleSize((Handle)alias1), &aliasDesc);
  if (err == noErr) err = AEPutParamDesc(event, keyDirectObject, &aliasDesc);
  if (err == noErr) {
    AEDisposeDesc(&aliasDesc);
    err = AECreateDesc(typeAlias, *alias2, GetHandleSize((Handle)alias2), &aliasDesc);
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
  AEAddressDesc address;
  AppleEvent event;
  AliasHandle alias1 = NULL;
  AliasHandle alias2 = NULL;
  OSErr err;

  FindFinderProcess(&psn);

  err = AECreateDesc(typeProcessSerialNumber, &psn, sizeof(psn), &address);
  if (err != noErr) {
    SysBeep(5);
    return noErr;
  }

  err = AECreateAppleEvent(kAEMiscStandards, kAEMakeObjectsVisible, &address, kAutoGenerateReturnID,
                           kAnyTransactionID, &event);
  AEDisposeDesc(&address);
  if (err != noErr) {
    SysBeep(5);
    return noErr;
  }

  err = NewAlias(NULL, folder, &alias1);
  if (err == noErr) err = NewAlias(NULL, folder, &alias2);
  if (err != noErr) {
    AEDisposeDesc(&event);
    if (alias1 != NULL) DisposeHandle((Handle)alias1);
    if (alias2 != NULL) DisposeHandle((Handle)alias2);
    SysBeep(5);
    return noErr;
  }

  // The Finder comes forward before the event is sent, so that the window
  // it opens is in front.
  if (AEInteractWithUser(kAEDefaultTimeout, NULL, NULL) == noErr) SetFrontProcess(&psn);

  err = AddFolderAliases(&event, alias1, alias2);
  if (err == noErr) {
    err = AESend(&event, NULL, kRevealSendMode, kAENormalPriority, kAEDefaultTimeout, NULL, NULL);
  }

  AEDisposeDesc(&event);
  if (err != noErr) SysBeep(5);

  DisposeHandle((Handle)alias1);
  DisposeHandle((Handle)alias2);
  return noErr;
}

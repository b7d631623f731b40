#include "openwith/lookup.h"

#include "platform/files.h"
#include "platform/launch.h"
#include "platform/memory.h"
#include "platform/nav.h"

OSErr FindApplicationFromDocument(const FSSpec* docSpec, FSSpec* appSpec, OSType* creator) {
  FInfo docInfo;
  OSErr err = FSpGetFInfo(docSpec, &docInfo);
  if (err != noErr) return err;
  *creator = docInfo.fdCreator;

  FSRef docRef;
  FSRef appRef;
  FSpMakeFSRef(docSpec, &docRef);
  OSStatus status = LSGetApplicationForItem(&docRef, kLSRolesAll, &appRef, nullptr);
  if (status != noErr) {
    status = LSGetApplicationForInfo(docInfo.fdType, docInfo.fdCreator, nullptr, kLSRolesAll,
                                     &appRef, nullptr);
  }
  if (status != noErr) {
    LSItemInfoRecord itemInfo = {};
    LSCopyItemInfoForRef(&docRef, kLSRequestExtension, &itemInfo);
    status = LSGetApplicationForInfo(0, 0, itemInfo.extension, kLSRolesAll, &appRef, nullptr);
    if (itemInfo.extension) CFRelease(itemInfo.extension);
  }
  if (status == noErr) {
    FSGetCatalogInfo(&appRef, kFSCatInfoNone, nullptr, nullptr, appSpec, nullptr);
  }
  return static_cast<OSErr>(status);
}

void myNavWindowEventProc(NavEventCallbackMessage, NavCBRec*, NavCallBackUserData) {}

namespace {

// The chooser's options: no type pop-up, no translation, packages open as
// applications; the message "Choose an application:" and the action "Choose".
void GetChooserOptions(NavDialogOptions* dialogOptions) {
  NavGetDefaultDialogOptions(dialogOptions);
  dialogOptions->version = 0;
  dialogOptions->dialogOptionFlags =
      kNavNoTypePopup | kNavDontAutoTranslate | kNavSelectAllReadableItem | kNavSupportPackages;
  dialogOptions->location = {-1, -1};
  CopyCStringToPascal("Choose an application:", dialogOptions->message);
  CopyCStringToPascal("Choose", dialogOptions->actionButtonLabel);
  dialogOptions->cancelButtonLabel[0] = 0;
  dialogOptions->preferenceKey = 0;
  dialogOptions->popupExtension = nullptr;
}

// The types the chooser offers: applications and application packages. The
// caller disposes of the handle; null when there is no memory for it.
NavTypeListHandle NewApplicationTypeList() {
  // Room for three types; two are used.
  auto typeList = reinterpret_cast<NavTypeListHandle>(NewHandle(20));
  if (typeList == nullptr) return nullptr;
  (*typeList)->componentSignature = FOUR_CHAR_CODE("dari");
  (*typeList)->reserved = 0;
  (*typeList)->osTypeCount = 2;
  OSType* types = (*typeList)->osType;
  types[0] = FOUR_CHAR_CODE("APPL");
  types[1] = FOUR_CHAR_CODE("adrp");
  return typeList;
}

// The first item of the reply as an FSSpec, and its Finder
// information.
OSErr GetChosenApplication(const NavReplyRecord* reply, FInfo* appInfo, FSSpec* appSpec) {
  FSRef appRef;
  OSErr err = AEGetNthPtr(&reply->selection, 1, typeFSRef, nullptr, nullptr, &appRef, sizeof(FSRef),
                          nullptr);
  if (err != noErr) return err;
  err = FSGetCatalogInfo(&appRef, kFSCatInfoNone, nullptr, nullptr, appSpec, nullptr);
  FSpGetFInfo(appSpec, appInfo);
  return err;
}

}  // namespace

OSErr NavPickApplication(FInfo* appInfo, FSSpec* appSpec) {
  NavDialogOptions dialogOptions;
  GetChooserOptions(&dialogOptions);
  NavEventUPP eventUPP = NewNavEventUPP(myNavWindowEventProc);
  NavTypeListHandle typeList = NewApplicationTypeList();

  NavReplyRecord reply;
  OSErr err =
      NavGetFile(nullptr, &reply, &dialogOptions, eventUPP, nullptr, nullptr, typeList, nullptr);
  if (!reply.validRecord) {
    err = userCanceledErr;
  } else if (err == noErr) {
    err = GetChosenApplication(&reply, appInfo, appSpec);
  }
  NavDisposeReply(&reply);
  if (typeList) DisposeHandle(reinterpret_cast<Handle>(typeList));
  DisposeNavEventUPP(eventUPP);
  return err;
}

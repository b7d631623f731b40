// Navigation Services' file-open dialog, for choosing an application. The
// toolkit installs the dialog (a modal "Choose an application:" window listing
// the installed applications with their icons and a filter field, with a way
// to pick any desktop entry or executable file); tests install an answering
// backing. With no backing installed the dialog is cancelled.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/aedesc.h"
#include "platform/files.h"
#include "platform/types.h"

using NavDialogOptionFlags = UInt32;
enum : NavDialogOptionFlags {
  kNavNoTypePopup = 0x1,
  kNavDontAutoTranslate = 0x2,
  kNavSelectAllReadableItem = 0x800,
  kNavSupportPackages = 0x1000,
};

struct NavDialogOptions {
  UInt16 version;
  NavDialogOptionFlags dialogOptionFlags;
  Point location;
  Str255 clientName;
  Str255 windowTitle;
  Str255 actionButtonLabel;
  Str255 cancelButtonLabel;
  Str255 savedFileName;
  Str255 message;
  UInt32 preferenceKey;
  void* popupExtension;
};

// The type list: signature, reserved, count, then the types (room for three
// in the 20-byte block the program allocates).
#pragma pack(push, 2)
struct NavTypeList {
  OSType componentSignature;
  SInt16 reserved;
  SInt16 osTypeCount;
  OSType osType[1];
};
#pragma pack(pop)
using NavTypeListPtr = NavTypeList*;
using NavTypeListHandle = NavTypeListPtr*;

struct NavReplyRecord {
  UInt16 version;
  Boolean validRecord;
  AEDescList selection;  // the chosen items, each a 'fsrf' item
};

using NavEventCallbackMessage = SInt32;
struct NavCBRec;
using NavCallBackUserData = void*;
using NavEventProcPtr = void (*)(NavEventCallbackMessage, NavCBRec*, NavCallBackUserData);
using NavEventUPP = NavEventProcPtr;
using NavPreviewUPP = void*;
using NavObjectFilterUPP = void*;

OSErr NavGetDefaultDialogOptions(NavDialogOptions* options);
NavEventUPP NewNavEventUPP(NavEventProcPtr proc);
void DisposeNavEventUPP(NavEventUPP upp);
// Runs the dialog. On a choice the reply is valid and its selection holds the
// chosen item; on cancel the reply is not valid. Returns noErr either way.
OSErr NavGetFile(AEDesc* defaultLocation, NavReplyRecord* reply, NavDialogOptions* dialogOptions,
                 NavEventUPP eventProc, NavPreviewUPP previewProc, NavObjectFilterUPP filterProc,
                 NavTypeListHandle typeList, NavCallBackUserData callBackUD);
OSErr NavDisposeReply(NavReplyRecord* reply);

// Reads item `index` (from 1) of a list. For typeFSRef, dataPtr must point to
// an FSRef (maximumSize at least sizeof(FSRef)) and receives the resolved item.
OSErr AEGetNthPtr(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize);
OSErr AECountItems(const AEDescList* list, long* count);

namespace platform {

// An installed application as the chooser lists it.
struct ApplicationEntry {
  std::string name;       // localized Name
  std::string icon;       // icon theme name or absolute icon path
  std::string path;       // the desktop entry's path
};

// Installed, shown desktop entries that are applications, sorted by name.
std::vector<ApplicationEntry> list_applications();

class ChooserBacking {
 public:
  virtual ~ChooserBacking() = default;
  // The chosen application's path (desktop entry or executable), or nothing
  // when the user cancelled. Texts in UTF-8; an empty cancel label means the
  // toolkit's own.
  virtual std::optional<std::string> choose_application(const std::string& message,
                                                        const std::string& action_label,
                                                        const std::string& cancel_label) = 0;
};

// Installs the dialog (not owned; nullptr removes it).
void set_chooser_backing(ChooserBacking* backing);

}  // namespace platform

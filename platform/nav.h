// Navigation Services' file-open dialog, for choosing an application. The
// toolkit installs the dialog (a modal "Choose an application:" window listing
// the installed applications with their icons and a filter field, with a way
// to pick any desktop entry or executable file); tests install an answering
// backing (platform/backings.h). With no backing installed the dialog is
// cancelled.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/aedesc.h"
#include "platform/backings.h"
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
  std::string name;          // localized Name
  std::string icon;          // icon theme name or absolute icon path
  std::string path;          // the desktop entry's path
  std::string search_text;   // Name, GenericName, Keywords and command, folded
  bool recommended = false;  // it handles the document's content type
};

// The desktop ID of tavrine's own entry. The program never answers with
// itself: it is no type's default application here, the chooser does not
// list it and a picture is never opened with it.
inline constexpr const char* kOwnDesktopId = "tavrine.desktop";

// The applications the chooser offers for a document of `content_type`:
// first the applications recommended for the type (the type's own handlers
// and those of its parent types, NoDisplay entries included, since a handler
// is often hidden from menus), then every other application shown in menus;
// each group sorted by Name in the collation order of the user's locale
// (LC_COLLATE, the root order for "C"). Hidden entries and tavrine's own entry
// are left out. An empty type gives no recommended group.
std::vector<ApplicationEntry> list_applications(const std::string& content_type);

// Text folded for the chooser's filter: case folded, accents and other
// combining marks removed ("Ärger" and "arger" fold alike).
std::string fold_for_search(std::string_view utf8);

// The content type of the document the program last looked up an
// application for (the picture in hand), for the chooser's recommendations;
// empty before the first lookup. Launch Services notes it.
const std::string& chooser_document_type();
void note_chooser_document_type(std::string content_type);

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

}  // namespace platform

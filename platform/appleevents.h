// The Apple Event Manager: lists, events with attributes and parameters, and
// sending an event to a process (platform/process.h). Descriptors are those
// of platform/aedesc.h and are disposed of with AEDisposeDesc.
//
// Delivery on Linux: the only process that takes events is the desktop's
// file manager (signature 'MACS'), and the only event it takes is
// misc/mvis ("make objects visible") with aliases of the items. It reaches
// the file manager through org.freedesktop.FileManager1.ShowItems on the
// session bus, or, where the desktop has no such service, by opening the
// item's parent folder in the default application for folders when that is
// a file manager (platform/linux/filemanager_dbus.cpp).
#pragma once

#include "platform/aedesc.h"
#include "platform/backings.h"
#include "platform/types.h"

using AEEventClass = FourCharCode;
using AEEventID = FourCharCode;
using AEReturnID = SInt16;
using AETransactionID = SInt32;
using AESendMode = SInt32;
using AESendPriority = SInt16;
using AEIdleUPP = void*;
using AEFilterUPP = void*;
using NMRecPtr = void*;

enum : DescType {
  typeType = FOUR_CHAR_CODE("type"),
  typeSInt16 = FOUR_CHAR_CODE("shor"),
  typeSInt32 = FOUR_CHAR_CODE("long"),
};

enum : AEKeyword {
  keyDirectObject = FOUR_CHAR_CODE("----"),
  keyEventClassAttr = FOUR_CHAR_CODE("evcl"),
  keyEventIDAttr = FOUR_CHAR_CODE("evid"),
  keyAddressAttr = FOUR_CHAR_CODE("addr"),
  keyReturnIDAttr = FOUR_CHAR_CODE("rtid"),
  keyTransactionIDAttr = FOUR_CHAR_CODE("tran"),
};

enum : AEEventClass { kAEMiscStandards = FOUR_CHAR_CODE("misc") };
enum : AEEventID { kAEMakeObjectsVisible = FOUR_CHAR_CODE("mvis") };
// The Finder's key for the items to select.
enum : AEKeyword { keySelection = FOUR_CHAR_CODE("fsel") };

enum : AEReturnID { kAutoGenerateReturnID = -1 };
enum : AETransactionID { kAnyTransactionID = 0 };

enum : AESendMode {
  kAENoReply = 0x00000001,
  kAEQueueReply = 0x00000002,
  kAEWaitReply = 0x00000003,
  kAENeverInteract = 0x00000010,
  kAECanInteract = 0x00000020,
  kAEAlwaysInteract = 0x00000030,
  kAECanSwitchLayer = 0x00000040,
};
enum : AESendPriority { kAENormalPriority = 0, kAEHighPriority = 1 };
// Time-outs in ticks (1/60 s).
enum : SInt32 { kAEDefaultTimeout = -1, kNoTimeOut = -2 };

// An empty list (isRecord false) or record (true) in *result. Factoring is
// not supported: factoringPtr must be null and factoredSize 0 (paramErr).
OSErr AECreateList(const void* factoringPtr, Size factoredSize, Boolean isRecord,
                   AEDescList* result);
// Puts a copy of desc into the list at index (1-based): index 0 or one past
// the end appends, an existing index replaces. errAEBadListItem for any other
// index, errAEWrongDataType when list is not a list.
OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc);
// A new event with the class, ID, a copy of the target address, a return ID
// (kAutoGenerateReturnID draws a fresh one) and a transaction ID. paramErr
// for a null target or result.
OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc* target,
                         AEReturnID returnID, AETransactionID transactionID, AppleEvent* result);
// Puts a copy of desc into the event under the key, replacing one already
// there. errAEWrongDataType when event is not an event.
OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc);
// Whether this program may involve the user now. A program on the desktop
// may always, so this gives noErr (errAENoUserInteraction only when a test
// injects it).
OSErr AEInteractWithUser(SInt32 timeOutInTicks, NMRecPtr nmReqPtr, AEIdleUPP idleProc);
// Sends the event to the process of its address. No reply is ever made:
// *reply (which may be null) becomes a null descriptor. With kAEWaitReply it
// returns once the receiver has taken the event, or the time-out
// (kAEDefaultTimeout: the bus's default of 25 s; kNoTimeOut: none) has
// passed. Any other mode returns as soon as the event is on its way, never
// waiting for the receiver; a refusal that arrives later sounds the bell once
// (platform/process.h). Statuses: procNotFound when
// the address names no running process (kNoProcess included);
// errAEEventNotHandled for an event the receiver does not take;
// errAEDescNotFound when the direct object is missing; errAEWrongDataType when
// it holds no aliases; fnfErr when an alias no longer leads to its item;
// connectionInvalid when the receiver cannot be reached or refuses (waiting);
// errAETimeout when it does not answer in time (waiting).
OSErr AESend(const AppleEvent* event, AppleEvent* reply, AESendMode sendMode,
             AESendPriority sendPriority, SInt32 timeOutInTicks, AEIdleUPP idleProc,
             AEFilterUPP filterProc);

namespace platform {

// What AESend was given, for tests that check an event's make-up.
struct SentEvent {
  DescType type;
  DescData data;
  AESendMode mode;
  AESendPriority priority;
  SInt32 timeout;
};
// What tests install to see every event that reaches AESend, before
// delivery (platform/backings.h).
class SendObserver {
 public:
  virtual ~SendObserver() = default;
  virtual void sent(const SentEvent& event) = 0;
};

// The attribute or parameter of an event (or field of a record) under key,
// or nullptr.
const DescItem* find_item(const std::vector<DescItem>& items, AEKeyword key);

}  // namespace platform

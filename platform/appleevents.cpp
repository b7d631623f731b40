#include "platform/appleevents.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "platform/aliases.h"
#include "platform/faults.h"
#include "platform/process.h"

namespace platform {
namespace {

SendObserver* s_observer = nullptr;

std::vector<std::uint8_t> code_bytes(FourCharCode code) {
  return {static_cast<std::uint8_t>(code >> 24), static_cast<std::uint8_t>(code >> 16),
          static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code)};
}

FourCharCode code_of(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() != 4) return 0;
  return (FourCharCode{bytes[0]} << 24) | (FourCharCode{bytes[1]} << 16) |
         (FourCharCode{bytes[2]} << 8) | FourCharCode{bytes[3]};
}

template <typename T>
std::vector<std::uint8_t> host_bytes(T value) {
  std::vector<std::uint8_t> out(sizeof value);
  std::memcpy(out.data(), &value, sizeof value);
  return out;
}

// A copy of a descriptor as an item under key, or nullopt for a descriptor
// that is not live (a null descriptor copies as type 'null' with no data).
std::optional<DescItem> item_of(AEKeyword key, const AEDesc& desc) {
  if (desc.dataHandle == nullptr) return DescItem{key, desc.descriptorType, {}, {}};
  const DescData* data = descriptor_data(desc);
  if (data == nullptr) return std::nullopt;
  return DescItem{key, desc.descriptorType, data->bytes, data->items};
}

void put_keyed(std::vector<DescItem>& items, DescItem item) {
  for (auto& existing : items) {
    if (existing.key == item.key) {
      existing = std::move(item);
      return;
    }
  }
  items.push_back(std::move(item));
}

AEReturnID next_return_id() {
  static AEReturnID last = 0;
  last = last == SHRT_MAX ? 1 : static_cast<AEReturnID>(last + 1);
  return last;
}

}  // namespace

const DescItem* find_item(const std::vector<DescItem>& items, AEKeyword key) {
  auto it =
      std::find_if(items.begin(), items.end(), [key](const DescItem& i) { return i.key == key; });
  return it == items.end() ? nullptr : &*it;
}

SendObserver* install_backing(SendObserver* backing) {
  return std::exchange(s_observer, backing);
}

}  // namespace platform

OSErr AECreateList(const void* factoringPtr, Size factoredSize, Boolean isRecord,
                   AEDescList* result) {
  if (result == nullptr || factoringPtr != nullptr || factoredSize != 0) return paramErr;
  AEInitializeDesc(result);
  if (OSErr err = platform::take_fault(platform::Fault::create_list)) return err;
  *result = platform::make_descriptor(isRecord ? typeAERecord : typeAEList, {});
  return noErr;
}

OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc) {
  if (list == nullptr || desc == nullptr) return paramErr;
  platform::DescData* data = platform::descriptor_data(*list);
  if (data == nullptr || list->descriptorType != typeAEList) return errAEWrongDataType;
  if (OSErr err = platform::take_fault(platform::Fault::put_desc)) return err;
  auto item = platform::item_of(0, *desc);
  if (!item) return errAENotAEDesc;
  auto count = static_cast<long>(data->items.size());
  if (index == 0 || index == count + 1) {
    data->items.push_back(std::move(*item));
  } else if (index >= 1 && index <= count) {
    data->items[static_cast<std::size_t>(index - 1)] = std::move(*item);
  } else {
    return errAEBadListItem;
  }
  return noErr;
}

OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc* target,
                         AEReturnID returnID, AETransactionID transactionID, AppleEvent* result) {
  if (target == nullptr || result == nullptr) return paramErr;
  AEInitializeDesc(result);
  if (OSErr err = platform::take_fault(platform::Fault::create_apple_event)) return err;
  auto address = platform::item_of(keyAddressAttr, *target);
  if (!address) return errAENotAEDesc;
  if (returnID == kAutoGenerateReturnID) returnID = platform::next_return_id();
  platform::DescData data;
  data.attributes = {
      {keyEventClassAttr, typeType, platform::code_bytes(eventClass), {}},
      {keyEventIDAttr, typeType, platform::code_bytes(eventID), {}},
      std::move(*address),
      {keyReturnIDAttr, typeSInt16, platform::host_bytes(returnID), {}},
      {keyTransactionIDAttr, typeSInt32, platform::host_bytes(transactionID), {}},
  };
  *result = platform::make_descriptor(typeAppleEvent, std::move(data));
  return noErr;
}

OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc) {
  if (event == nullptr || desc == nullptr) return paramErr;
  platform::DescData* data = platform::descriptor_data(*event);
  if (data == nullptr || event->descriptorType != typeAppleEvent) return errAEWrongDataType;
  if (OSErr err = platform::take_fault(platform::Fault::put_param_desc)) return err;
  auto item = platform::item_of(keyword, *desc);
  if (!item) return errAENotAEDesc;
  platform::put_keyed(data->items, std::move(*item));
  return noErr;
}

OSErr AEInteractWithUser(SInt32 /*timeOutInTicks*/, NMRecPtr /*nmReqPtr*/, AEIdleUPP /*idleProc*/) {
  return platform::take_fault(platform::Fault::interact_with_user);
}

namespace platform {
namespace {

// The items of the direct object: one alias, or a list of aliases.
OSErr direct_object_paths(const DescData& event, std::vector<std::string>* paths) {
  const DescItem* object = find_item(event.items, keyDirectObject);
  if (object == nullptr) return errAEDescNotFound;
  std::vector<const DescItem*> aliases;
  if (object->type == typeAlias) aliases.push_back(object);
  if (object->type == typeAEList) {
    for (const auto& item : object->items) aliases.push_back(&item);
  }
  if (aliases.empty()) return errAEWrongDataType;
  for (const DescItem* alias : aliases) {
    if (alias->type != typeAlias) return errAEWrongDataType;
    std::string path;
    OSErr err = resolve_alias(alias->bytes, &path);
    if (err == paramErr) return errAEWrongDataType;
    if (err != noErr) return err;
    if (std::find(paths->begin(), paths->end(), path) == paths->end()) paths->push_back(path);
  }
  return noErr;
}

OSErr address_of(const DescData& event, ProcessSerialNumber* psn) {
  const DescItem* address = find_item(event.attributes, keyAddressAttr);
  if (address == nullptr || address->type != typeProcessSerialNumber ||
      address->bytes.size() != sizeof *psn) {
    return procNotFound;
  }
  std::memcpy(psn, address->bytes.data(), sizeof *psn);
  return noErr;
}

bool is_reveal(const DescData& event) {
  const DescItem* event_class = find_item(event.attributes, keyEventClassAttr);
  const DescItem* event_id = find_item(event.attributes, keyEventIDAttr);
  return event_class && event_id && code_of(event_class->bytes) == kAEMiscStandards &&
         code_of(event_id->bytes) == kAEMakeObjectsVisible;
}

int timeout_ms(SInt32 ticks) {
  if (ticks == kNoTimeOut) return INT_MAX;
  if (ticks < 0) return -1;
  return static_cast<int>(std::min<long long>(ticks * 1000LL / 60, INT_MAX));
}

}  // namespace
}  // namespace platform

OSErr AESend(const AppleEvent* event, AppleEvent* reply, AESendMode sendMode,
             AESendPriority sendPriority, SInt32 timeOutInTicks, AEIdleUPP /*idleProc*/,
             AEFilterUPP /*filterProc*/) {
  using namespace platform;
  if (reply) AEInitializeDesc(reply);
  if (event == nullptr) return paramErr;
  const DescData* data = descriptor_data(*event);
  if (data == nullptr || event->descriptorType != typeAppleEvent) return errAEWrongDataType;
  if (OSErr err = take_fault(Fault::send)) return err;
  if (s_observer)
    s_observer->sent({event->descriptorType, *data, sendMode, sendPriority, timeOutInTicks});
  ProcessSerialNumber psn{};
  if (OSErr err = address_of(*data, &psn)) return err;
  Receiver who = receiver_of(psn);
  if (who == Receiver::none) return procNotFound;
  if (who == Receiver::self || !is_reveal(*data)) return errAEEventNotHandled;
  std::vector<std::string> paths;
  if (OSErr err = direct_object_paths(*data, &paths)) return err;
  const bool wait = (sendMode & kAEWaitReply) == kAEWaitReply;
  return show_items_in_file_manager(psn, paths, timeout_ms(timeOutInTicks), wait);
}

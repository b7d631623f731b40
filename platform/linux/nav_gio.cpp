// The application chooser's plumbing: options and the reply.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/nav.h"
#include "platform/text.h"

namespace platform {
namespace {

ChooserBacking* s_chooser = nullptr;

}  // namespace

ChooserBacking* install_backing(ChooserBacking* backing) {
  return std::exchange(s_chooser, backing);
}

}  // namespace platform

OSErr NavGetDefaultDialogOptions(NavDialogOptions* options) {
  if (options == nullptr) return paramErr;
  std::memset(options, 0, sizeof *options);
  options->location = {-1, -1};
  return noErr;
}

NavEventUPP NewNavEventUPP(NavEventProcPtr proc) {
  return proc;
}

void DisposeNavEventUPP(NavEventUPP) {}

OSErr NavGetFile(AEDesc*, NavReplyRecord* reply, NavDialogOptions* dialogOptions, NavEventUPP,
                 NavPreviewUPP, NavObjectFilterUPP, NavTypeListHandle, NavCallBackUserData) {
  if (reply == nullptr || dialogOptions == nullptr) return paramErr;
  reply->version = 0;
  reply->validRecord = false;
  AEInitializeDesc(&reply->selection);
  if (platform::s_chooser == nullptr) return noErr;
  std::optional<std::string> chosen = platform::s_chooser->choose_application(
      platform::short_text_to_utf8(dialogOptions->message),
      platform::short_text_to_utf8(dialogOptions->actionButtonLabel),
      platform::short_text_to_utf8(dialogOptions->cancelButtonLabel));
  if (!chosen) return noErr;
  platform::DescData list;
  list.items.push_back(
      {0, typeFSRef, std::vector<std::uint8_t>(chosen->begin(), chosen->end()), {}});
  reply->selection = platform::make_descriptor(typeAEList, std::move(list));
  reply->validRecord = true;
  return noErr;
}

OSErr NavDisposeReply(NavReplyRecord* reply) {
  if (reply == nullptr) return paramErr;
  AEDisposeDesc(&reply->selection);
  reply->validRecord = false;
  return noErr;
}

OSErr AECountItems(const AEDescList* list, long* count) {
  platform::DescData* data = list ? platform::descriptor_data(*list) : nullptr;
  if (data == nullptr || count == nullptr) return errAENotAEDesc;
  *count = static_cast<long>(data->items.size());
  return noErr;
}

OSErr AEGetNthPtr(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* dataPtr, Size maximumSize, Size* actualSize) {
  platform::DescData* data = list ? platform::descriptor_data(*list) : nullptr;
  if (data == nullptr) return errAENotAEDesc;
  if (index < 1 || index > static_cast<long>(data->items.size())) return errAEBadListItem;
  const platform::DescItem& item = data->items[static_cast<std::size_t>(index - 1)];
  if (keyword) *keyword = item.key;
  if (typeCode) *typeCode = item.type;
  if (desiredType == typeFSRef) {
    if (item.type != typeFSRef) return errAECoercionFail;
    if (dataPtr == nullptr || maximumSize < static_cast<Size>(sizeof(FSRef))) return paramErr;
    std::string path(item.bytes.begin(), item.bytes.end());
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return fnfErr;
    *static_cast<FSRef*>(dataPtr) = FSRef{path, st.st_dev, st.st_ino};
    if (actualSize) *actualSize = sizeof(FSRef);
    return noErr;
  }
  if (desiredType != typeWildCard && desiredType != item.type) return errAECoercionFail;
  Size size = static_cast<Size>(item.bytes.size());
  if (dataPtr)
    std::memcpy(dataPtr, item.bytes.data(), static_cast<std::size_t>(std::min(size, maximumSize)));
  if (actualSize) *actualSize = size;
  return noErr;
}

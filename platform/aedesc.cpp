#include "platform/aedesc.h"

#include <map>
#include <memory>

#include "platform/faults.h"

namespace platform {

// Every descriptor's data, owned here until it is disposed of.
static std::map<DescData*, std::unique_ptr<DescData>>& live() {
  static std::map<DescData*, std::unique_ptr<DescData>> table;
  return table;
}

std::size_t live_descriptor_count() {
  return live().size();
}

AEDesc make_descriptor(DescType type, DescData data) {
  auto owned = std::make_unique<DescData>(std::move(data));
  DescData* raw = owned.get();
  live().emplace(raw, std::move(owned));
  return AEDesc{type, raw};
}

DescData* descriptor_data(const AEDesc& desc) {
  if (desc.dataHandle == nullptr) return nullptr;
  auto it = live().find(desc.dataHandle);
  return it == live().end() ? nullptr : it->second.get();
}

}  // namespace platform

void AEInitializeDesc(AEDesc* desc) {
  desc->descriptorType = typeNull;
  desc->dataHandle = nullptr;
}

OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result) {
  if (result == nullptr || dataSize < 0 || (dataSize > 0 && dataPtr == nullptr)) return paramErr;
  if (OSErr err = platform::take_fault(platform::Fault::create_desc)) {
    AEInitializeDesc(result);
    return err;
  }
  platform::DescData data;
  const auto* bytes = static_cast<const std::uint8_t*>(dataPtr);
  data.bytes.assign(bytes, bytes + dataSize);
  *result = platform::make_descriptor(typeCode, std::move(data));
  return noErr;
}

OSErr AEDisposeDesc(AEDesc* desc) {
  if (desc == nullptr) return paramErr;
  if (desc->dataHandle != nullptr) platform::live().erase(desc->dataHandle);
  AEInitializeDesc(desc);
  return noErr;
}

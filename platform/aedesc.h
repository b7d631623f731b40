// Apple event descriptors: typed bytes, and lists of descriptors. Every
// descriptor's data lives in a table owned here, so that tests can see that
// every descriptor made was disposed of (live_descriptor_count).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

enum : DescType {
  typeNull = FOUR_CHAR_CODE("null"),
  typeChar = FOUR_CHAR_CODE("TEXT"),
  typeAEList = FOUR_CHAR_CODE("list"),
  typeAERecord = FOUR_CHAR_CODE("reco"),
  typeAppleEvent = FOUR_CHAR_CODE("aevt"),
  typeAlias = FOUR_CHAR_CODE("alis"),
  typeProcessSerialNumber = FOUR_CHAR_CODE("psn "),
  typeFSRef = FOUR_CHAR_CODE("fsrf"),
  typeWildCard = FOUR_CHAR_CODE("****"),
};

namespace platform {
struct DescData;
}

// A descriptor: its type and its data, or no data for a null descriptor.
struct AEDesc {
  DescType descriptorType;
  platform::DescData* dataHandle;
};
using AEDescList = AEDesc;
using AERecord = AEDesc;
using AppleEvent = AEDesc;
using AEAddressDesc = AEDesc;

namespace platform {

// One item of a list or one parameter of an event or record.
struct DescItem {
  AEKeyword key;  // 0 for a list item
  DescType type;
  std::vector<std::uint8_t> bytes;
  std::vector<DescItem> items;  // when the item is itself a list
};

struct DescData {
  std::vector<std::uint8_t> bytes;
  std::vector<DescItem> items;       // list items, record fields, event parameters
  std::vector<DescItem> attributes;  // event attributes (class, ID, target, …)
};

// Descriptors made and not yet disposed of.
std::size_t live_descriptor_count();

// Makes a descriptor with fresh data (type and bytes copied); internal use.
AEDesc make_descriptor(DescType type, DescData data);
// The data of a descriptor, or nullptr for a null descriptor or one that was
// disposed of.
DescData* descriptor_data(const AEDesc& desc);

}  // namespace platform

// A null descriptor (type 'null', no data).
void AEInitializeDesc(AEDesc* desc);
// Copies the bytes into a new descriptor of the type.
OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result);
// Frees the descriptor's data and makes it a null descriptor. Disposing of a
// null descriptor is harmless.
OSErr AEDisposeDesc(AEDesc* desc);

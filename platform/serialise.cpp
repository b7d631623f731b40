#include "platform/serialise.h"

#include <cstring>

namespace platform {

void encode_fsspec(const FSSpec& spec, std::span<std::uint8_t, kFSSpecBytes> out) {
  put_le16(out.data(), static_cast<std::uint16_t>(spec.vRefNum));
  put_le32(out.data() + 2, static_cast<std::uint32_t>(spec.parID));
  std::memcpy(out.data() + 6, spec.name, sizeof spec.name);
}

void encode_finfo(const FInfo& info, std::span<std::uint8_t, kFInfoBytes> out) {
  put_le32(out.data(), info.fdType);
  put_le32(out.data() + 4, info.fdCreator);
  put_le16(out.data() + 8, info.fdFlags);
  put_le16(out.data() + 10, static_cast<std::uint16_t>(info.fdLocation.v));
  put_le16(out.data() + 12, static_cast<std::uint16_t>(info.fdLocation.h));
  put_le16(out.data() + 14, static_cast<std::uint16_t>(info.fdFldr));
}

FSSpec decode_fsspec(std::span<const std::uint8_t, kFSSpecBytes> in) {
  FSSpec spec{};
  spec.vRefNum = static_cast<SInt16>(get_le16(in.data()));
  spec.parID = static_cast<SInt32>(get_le32(in.data() + 2));
  std::memcpy(spec.name, in.data() + 6, sizeof spec.name);
  return spec;
}

FInfo decode_finfo(std::span<const std::uint8_t, kFInfoBytes> in) {
  FInfo info{};
  info.fdType = get_le32(in.data());
  info.fdCreator = get_le32(in.data() + 4);
  info.fdFlags = get_le16(in.data() + 8);
  info.fdLocation.v = static_cast<SInt16>(get_le16(in.data() + 10));
  info.fdLocation.h = static_cast<SInt16>(get_le16(in.data() + 12));
  info.fdFldr = static_cast<SInt16>(get_le16(in.data() + 14));
  return info;
}

}  // namespace platform

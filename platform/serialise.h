// Little-endian encoding of the stored structures. Readers never read past the
// bytes they are given.
#pragma once

#include <cstdint>
#include <span>

#include "platform/types.h"

namespace platform {

inline void put_le16(std::uint8_t* at, std::uint16_t v) {
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void put_le32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint16_t get_le16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline std::uint32_t get_le32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

constexpr std::size_t kFSSpecBytes = 70;
constexpr std::size_t kFInfoBytes = 16;

// Writes exactly kFSSpecBytes / kFInfoBytes bytes.
void encode_fsspec(const FSSpec& spec, std::span<std::uint8_t, kFSSpecBytes> out);
void encode_finfo(const FInfo& info, std::span<std::uint8_t, kFInfoBytes> out);
FSSpec decode_fsspec(std::span<const std::uint8_t, kFSSpecBytes> in);
FInfo decode_finfo(std::span<const std::uint8_t, kFInfoBytes> in);

}  // namespace platform

#include "prefs/userprefs.h"

#include <cstring>
#include <span>

#include "platform/serialise.h"

UserPrefs G_USERPREFS;

namespace {

constexpr std::size_t kInfoAt = 70;
constexpr std::size_t kListAt = 86;
constexpr std::size_t kReserved1At = 3586;
constexpr std::size_t kCountAt = 3656;
constexpr std::size_t kReserved2At = 3658;
constexpr std::size_t kUnitsAt = 3660;
constexpr std::size_t kReserved3At = 3664;

std::span<UInt8, platform::kFSSpecBytes> spec_at(UInt8* bytes, std::size_t at) {
  return std::span<UInt8, platform::kFSSpecBytes>(bytes + at, platform::kFSSpecBytes);
}

std::span<const UInt8, platform::kFSSpecBytes> spec_at(const UInt8* bytes, std::size_t at) {
  return std::span<const UInt8, platform::kFSSpecBytes>(bytes + at, platform::kFSSpecBytes);
}

}  // namespace

void EncodeUserPrefs(const UserPrefs& prefs, UInt8 (&bytes)[kUserPrefsBytes]) {
  platform::encode_fsspec(prefs.openWithAppSpec, spec_at(bytes, 0));
  platform::encode_finfo(prefs.openWithAppInfo,
                         std::span<UInt8, platform::kFInfoBytes>(bytes + kInfoAt, 16));
  for (int i = 0; i < kPostAppListSlots; ++i)
    platform::encode_fsspec(prefs.postAppList[i], spec_at(bytes, kListAt + 70 * i));
  std::memcpy(bytes + kReserved1At, prefs.reserved1, sizeof prefs.reserved1);
  platform::put_le16(bytes + kCountAt, static_cast<std::uint16_t>(prefs.postAppCount));
  std::memcpy(bytes + kReserved2At, prefs.reserved2, sizeof prefs.reserved2);
  platform::put_le32(bytes + kUnitsAt, static_cast<std::uint32_t>(prefs.dimensionUnits));
  std::memcpy(bytes + kReserved3At, prefs.reserved3, sizeof prefs.reserved3);
}

void DecodeUserPrefs(const UInt8 (&bytes)[kUserPrefsBytes], UserPrefs& prefs) {
  prefs.openWithAppSpec = platform::decode_fsspec(spec_at(bytes, 0));
  prefs.openWithAppInfo =
      platform::decode_finfo(std::span<const UInt8, platform::kFInfoBytes>(bytes + kInfoAt, 16));
  for (int i = 0; i < kPostAppListSlots; ++i)
    prefs.postAppList[i] = platform::decode_fsspec(spec_at(bytes, kListAt + 70 * i));
  std::memcpy(prefs.reserved1, bytes + kReserved1At, sizeof prefs.reserved1);
  prefs.postAppCount = static_cast<SInt16>(platform::get_le16(bytes + kCountAt));
  std::memcpy(prefs.reserved2, bytes + kReserved2At, sizeof prefs.reserved2);
  prefs.dimensionUnits = static_cast<SInt32>(platform::get_le32(bytes + kUnitsAt));
  std::memcpy(prefs.reserved3, bytes + kReserved3At, sizeof prefs.reserved3);
}

// The user's preferences record. Its layout is the preferences file: 3696
// bytes, every integer little-endian, written and read field by field.
#pragma once

#include <cstddef>

#include "platform/types.h"

constexpr int kPostAppListSlots = 50;
constexpr std::size_t kUserPrefsBytes = 3696;

#pragma pack(push, 2)
struct UserPrefs {
  FSSpec openWithAppSpec;                 // 0: the application pictures open with
  FInfo openWithAppInfo;                  // 70: its Finder information
  FSSpec postAppList[kPostAppListSlots];  // 86: applications picked with "Other…"
  UInt8 reserved1[70];                    // 3586: never read or written
  SInt16 postAppCount;                    // 3656: valid entries of postAppList
  UInt8 reserved2[2];                     // 3658
  SInt32 dimensionUnits;                  // 3660: units of the dimensions text
  UInt8 reserved3[32];                    // 3664: zeroed by the defaults
};
#pragma pack(pop)

static_assert(sizeof(UserPrefs) == kUserPrefsBytes);
static_assert(offsetof(UserPrefs, openWithAppInfo) == 70);
static_assert(offsetof(UserPrefs, postAppList) == 86);
static_assert(offsetof(UserPrefs, reserved1) == 3586);
static_assert(offsetof(UserPrefs, postAppCount) == 3656);
static_assert(offsetof(UserPrefs, dimensionUnits) == 3660);
static_assert(offsetof(UserPrefs, reserved3) == 3664);

extern UserPrefs G_USERPREFS;

// The record as the file holds it, and back, field by field.
void EncodeUserPrefs(const UserPrefs& prefs, UInt8 (&bytes)[kUserPrefsBytes]);
void DecodeUserPrefs(const UInt8 (&bytes)[kUserPrefsBytes], UserPrefs& prefs);

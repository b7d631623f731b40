// The Alias Manager: records that find a file or folder again. An alias
// record lives in a handle (platform/memory.h) and holds the item's absolute
// path (UTF-8) with its device and inode, so that whoever resolves it can
// tell whether the path still leads to the same item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/types.h"

struct AliasRecord;  // opaque: read it only through the operations below
using AliasPtr = AliasRecord*;
using AliasHandle = AliasPtr*;

// Makes an absolute alias record of the target in a new handle, which the
// caller disposes of with DisposeHandle. fromFile (the base of a relative
// alias) is accepted and not used: every record is absolute. Returns fnfErr
// when the target does not lead to an existing item, paramErr for null
// arguments; on failure *alias is nullptr.
OSErr NewAlias(const FSSpec* fromFile, const FSSpec* target, AliasHandle* alias);

namespace platform {

// What an alias record holds.
struct AliasTarget {
  std::string path;  // absolute, UTF-8
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// The record's bytes, little-endian:
//   0  userType (4, always 0)     4  record size (2)      6  version (2, 1)
//   8  device (8)                16  inode (8)           24  path length (2)
//  26  path bytes (UTF-8, absolute, no NUL)
constexpr std::size_t kAliasHeadBytes = 26;
constexpr std::uint16_t kAliasVersion = 1;

std::vector<std::uint8_t> encode_alias(const AliasTarget& target);
// Reads a record made by encode_alias; nullopt for anything else (short,
// long, another version, a path that is not absolute or holds a NUL).
std::optional<AliasTarget> decode_alias(std::span<const std::uint8_t> bytes);

// Makes an alias record of a resolved item in a new handle.
OSErr new_alias_for_ref(const FSRef& ref, AliasHandle* alias);
// The path of the item the record leads to: the stored path when it still
// names the same device and inode. fnfErr when the item is gone or another
// item now has its path; paramErr for bytes that are not an alias record.
OSErr resolve_alias(std::span<const std::uint8_t> bytes, std::string* path);

}  // namespace platform

#include "platform/aliases.h"

#include <cstring>

#include "platform/faults.h"
#include "platform/memory.h"
#include "platform/serialise.h"

namespace platform {
namespace {

constexpr std::size_t kMaxAliasBytes = 0xFFFF;  // the size field has 16 bits

void put_le64(std::uint8_t* at, std::uint64_t v) {
  put_le32(at, static_cast<std::uint32_t>(v));
  put_le32(at + 4, static_cast<std::uint32_t>(v >> 32));
}

std::uint64_t get_le64(const std::uint8_t* at) {
  return get_le32(at) | (static_cast<std::uint64_t>(get_le32(at + 4)) << 32);
}

}  // namespace

std::vector<std::uint8_t> encode_alias(const AliasTarget& target) {
  std::vector<std::uint8_t> out(kAliasHeadBytes + target.path.size());
  put_le32(out.data(), 0);
  put_le16(out.data() + 4, static_cast<std::uint16_t>(out.size()));
  put_le16(out.data() + 6, kAliasVersion);
  put_le64(out.data() + 8, target.device);
  put_le64(out.data() + 16, target.inode);
  put_le16(out.data() + 24, static_cast<std::uint16_t>(target.path.size()));
  std::memcpy(out.data() + kAliasHeadBytes, target.path.data(), target.path.size());
  return out;
}

std::optional<AliasTarget> decode_alias(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kAliasHeadBytes || bytes.size() > kMaxAliasBytes) return std::nullopt;
  const std::uint8_t* at = bytes.data();
  if (get_le16(at + 4) != bytes.size() || get_le16(at + 6) != kAliasVersion) return std::nullopt;
  std::size_t length = get_le16(at + 24);
  if (kAliasHeadBytes + length != bytes.size()) return std::nullopt;
  AliasTarget target;
  target.device = get_le64(at + 8);
  target.inode = get_le64(at + 16);
  target.path.assign(reinterpret_cast<const char*>(at + kAliasHeadBytes), length);
  if (target.path.empty() || target.path.front() != '/') return std::nullopt;
  if (target.path.find('\0') != std::string::npos) return std::nullopt;
  return target;
}

OSErr new_alias_for_ref(const FSRef& ref, AliasHandle* alias) {
  if (alias == nullptr) return paramErr;
  *alias = nullptr;
  if (ref.path.empty() || ref.path.front() != '/') return paramErr;
  if (kAliasHeadBytes + ref.path.size() > kMaxAliasBytes) return bdNamErr;
  auto bytes = encode_alias(
      {ref.path, static_cast<std::uint64_t>(ref.device), static_cast<std::uint64_t>(ref.inode)});
  Handle h = NewHandle(static_cast<Size>(bytes.size()));
  if (h == nullptr) return memFullErr;
  std::memcpy(*h, bytes.data(), bytes.size());
  *alias = reinterpret_cast<AliasHandle>(h);
  return noErr;
}

}  // namespace platform

OSErr NewAlias(const FSSpec* /*fromFile*/, const FSSpec* target, AliasHandle* alias) {
  if (alias == nullptr) return paramErr;
  *alias = nullptr;
  if (target == nullptr) return paramErr;
  if (OSErr err = platform::take_fault(platform::Fault::new_alias)) return err;
  FSRef ref;
  if (OSErr err = FSpMakeFSRef(target, &ref)) return err;
  return platform::new_alias_for_ref(ref, alias);
}

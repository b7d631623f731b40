// The platform's shared types: statuses, four-character codes, Booleans, short
// texts and the two on-disk structures that the program stores byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>

using SInt8 = std::int8_t;
using UInt8 = std::uint8_t;
using SInt16 = std::int16_t;
using UInt16 = std::uint16_t;
using SInt32 = std::int32_t;
using UInt32 = std::uint32_t;
using OSErr = std::int16_t;
using OSStatus = std::int32_t;
using OSType = std::uint32_t;
using FourCharCode = std::uint32_t;
using ResType = std::uint32_t;
using DescType = std::uint32_t;
using AEKeyword = std::uint32_t;
using Boolean = unsigned char;
using Size = long;
using Ptr = char*;
using Handle = char**;

// A short text: [0] holds the length, [1..length] the Mac Roman characters.
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using StringPtr = unsigned char*;
using ConstStr255Param = const unsigned char*;

// Statuses the system's code names.
enum : OSErr {
  noErr = 0,
  paramErr = -50,
  eofErr = -39,
  fnfErr = -43,
  nsvErr = -35,
  ioErr = -36,
  bdNamErr = -37,
  fnOpnErr = -38,
  dskFulErr = -34,
  dirNFErr = -120,
  dupFNErr = -48,
  permErr = -54,
  wrPermErr = -61,
  afpAccessDenied = -5000,
  memFullErr = -108,
  nilHandleErr = -109,
  userCanceledErr = -128,
  procNotFound = -600,
  errAEEventNotHandled = -1708,
  errAECoercionFail = -1700,
  errAEDescNotFound = -1701,
  errAENotAEDesc = -1704,
  errAEWrongDataType = -1703,
  errAENoSuchObject = -1728,
  errAEBadListItem = -1705,
  errAENoUserInteraction = -1713,
  errAETimeout = -1712,
  connectionInvalid = -609,
  badComponentInstance = -2147,
  errOSASyntaxError = -2740,
  errOSASyntaxTypeError = -2741,
  errOSAScriptError = -2700,
  errOSAInvalidID = -1751,
  errOSAVariableNotDefined = -2753,
  errOSAStackOverflow = -2706,
  errOSATooLate = -2709,
  kLSApplicationNotFoundErr = -10814,
  kLSLaunchInProgressErr = -10818,
  kLSNoLaunchPermissionErr = -10826,
  kLSUnknownErr = -10810,
  kLSDataErr = -10817,
};

// Four-character code whose most significant byte is the first character.
constexpr OSType FOUR_CHAR_CODE(const char (&s)[5]) {
  return (static_cast<OSType>(static_cast<unsigned char>(s[0])) << 24) |
         (static_cast<OSType>(static_cast<unsigned char>(s[1])) << 16) |
         (static_cast<OSType>(static_cast<unsigned char>(s[2])) << 8) |
         static_cast<OSType>(static_cast<unsigned char>(s[3]));
}

// The classic structures are packed at two-byte alignment, so that their sizes
// match the stored bytes. Storage still goes field by field (see serialise.h).
#pragma pack(push, 2)

struct Point {
  SInt16 v;
  SInt16 h;
};

// A file's FSSpec: volume, parent directory and name (at most 63
// characters, Mac Roman). All zero is "no file".
struct FSSpec {
  SInt16 vRefNum;
  SInt32 parID;
  Str63 name;
};

// Finder information of a file.
struct FInfo {
  OSType fdType;
  OSType fdCreator;
  UInt16 fdFlags;
  Point fdLocation;
  SInt16 fdFldr;
};

#pragma pack(pop)

static_assert(sizeof(FSSpec) == 70);
static_assert(offsetof(FSSpec, parID) == 2);
static_assert(offsetof(FSSpec, name) == 6);
static_assert(sizeof(FInfo) == 16);
static_assert(offsetof(FInfo, fdFlags) == 8);
static_assert(offsetof(FInfo, fdLocation) == 10);
static_assert(offsetof(FInfo, fdFldr) == 14);

// A short-text literal: PSTR("Main") is the length byte 4 and "Main".
template <std::size_t N>
struct PascalLiteral {
  static_assert(N <= 256, "a short text holds at most 255 characters");
  unsigned char text[N];
  constexpr PascalLiteral(const char (&s)[N]) : text{} {
    text[0] = static_cast<unsigned char>(N - 1);
    for (std::size_t i = 0; i + 1 < N; ++i) text[i + 1] = static_cast<unsigned char>(s[i]);
  }
  constexpr operator ConstStr255Param() const { return text; }
};
#define PSTR(literal) (PascalLiteral(literal))

// Short texts.
void CopyCStringToPascal(const char* src, Str255 dst);      // cuts at 255 bytes
void CopyPascalStringToC(ConstStr255Param src, char* dst);  // dst holds 256 bytes
// Turns a short text into a NUL-ended text in place (the buffer holds 256 bytes).
char* p2cstrcpy(char* dst, ConstStr255Param src);
void NumToString(long number, Str255 out);
// 0 when both texts are equal, negative or positive for their order. Case and
// diacritical marks count, like the classic comparison without a sort table.
short CompareString(ConstStr255Param a, ConstStr255Param b, Handle itl2);
void BlockMove(const void* src, void* dst, Size count);

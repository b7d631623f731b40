// Appending to the short texts of G_INFO: a piece that would take a text past
// 255 characters is cut so that the text ends at exactly 255, and nothing is
// appended to a full text.
#pragma once

#include <cstring>

#include "platform/cf.h"
#include "platform/types.h"

inline void AppendToShortText(StringPtr text, const unsigned char* bytes, int count) {
  int room = 255 - text[0];
  if (count > room) count = room;
  if (count <= 0) return;
  std::memcpy(text + 1 + text[0], bytes, static_cast<std::size_t>(count));
  text[0] = static_cast<unsigned char>(text[0] + count);
}

inline void AppendCStringToShortText(StringPtr text, const char* piece) {
  AppendToShortText(text, reinterpret_cast<const unsigned char*>(piece),
                    static_cast<int>(std::strlen(piece)));
}

// A string as Mac Roman short text, cut at 255 characters. A character
// without a Mac Roman form becomes its nearest one ("\u0174" gives "W", the
// narrow no-break space a no-break space), or "?" when there is none. Null
// gives the empty text.
inline void CopyCFStringToShortText(CFStringRef string, StringPtr out) {
  CFIndex used = 0;
  out[0] = 0;
  if (string == nullptr) return;
  CFStringGetBytes(string, CFRangeMake(0, CFStringGetLength(string)), kCFStringEncodingMacRoman,
                   '?', false, out + 1, 255, &used);
  out[0] = static_cast<unsigned char>(used);
}

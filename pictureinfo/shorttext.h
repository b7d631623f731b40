// Platform strings into the short texts of G_INFO.
#pragma once

#include "platform/cf.h"
#include "platform/types.h"

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

// Platform strings into the short texts of G_INFO.
#pragma once

#include "platform/cf.h"
#include "platform/files.h"
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

// A path as Mac Roman short text: as it is when it fits, else with the
// components that keep it from fitting shortened so that it still leads to
// its item (and reads back as the real path on its way to the window). Null
// gives the empty text.
inline void CopyPathToShortText(CFStringRef path, StringPtr out) {
  out[0] = 0;
  if (path == nullptr) return;
  std::string text = platform::short_text_of(path->utf8);
  if (text.size() > 255) text.resize(255);
  out[0] = static_cast<unsigned char>(text.size());
  BlockMove(text.data(), out + 1, static_cast<Size>(text.size()));
}

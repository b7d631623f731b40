// Appending to the short texts of G_INFO: a piece that would take a text past
// 255 characters is cut so that the text ends at exactly 255, and nothing is
// appended to a full text.
#pragma once

#include <cstring>

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

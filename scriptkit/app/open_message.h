// The message with which a second launch hands its files to the running
// instance: a header, then each absolute path ended by a NUL byte, then one
// more NUL to end the list.
//
//   "tavrine-open\0/home/me/a.tif\0/home/me/b.jpg\0\0"
//
// No paths at all ("tavrine-open\0\0") asks the running instance to come
// forward.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scriptkit::app {

// The longest message taken: far more paths than a desktop hands over at once.
constexpr std::size_t kMaxOpenMessage = 1 << 20;

std::string encode_open_message(const std::vector<std::string>& paths);

struct OpenMessage {
  enum class State { Incomplete, Complete, Malformed };
  State state = State::Incomplete;
  std::vector<std::string> paths;  // when Complete
};

// Reads the bytes received so far. Incomplete: wait for more. Malformed: a
// wrong header, a path that is not absolute, bytes after the end, or more
// than kMaxOpenMessage bytes.
OpenMessage decode_open_message(std::string_view bytes);

}  // namespace scriptkit::app

// The message with which a second launch hands its files to the running
// instance: a header, then each absolute path ended by a NUL byte, then one
// more NUL to end the list.
//
//   "tavrine-open\0/home/me/a.tif\0/home/me/b.jpg\0\0"
//
// No paths at all ("tavrine-open\0\0") asks the running instance to come
// forward. A launch that the desktop gave a startup id (for its busy cursor
// and the right to bring a window forward) sends it first, as "id:<id>":
//
//   "tavrine-open\0id:host-1234-5_TIME678\0/home/me/a.tif\0\0"
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scriptkit::app {

// The longest message taken: far more paths than a desktop hands over at once.
constexpr std::size_t kMaxOpenMessage = 1 << 20;

// The startup id may be empty: then none is sent. It holds no NUL.
std::string encode_open_message(const std::vector<std::string>& paths,
                                const std::string& startup_id = {});

struct OpenMessage {
  enum class State { Incomplete, Complete, Malformed };
  State state = State::Incomplete;
  std::vector<std::string> paths;  // when Complete
  std::string startup_id;          // when Complete; empty when none came
};

// Reads the bytes received so far. Incomplete: wait for more. Malformed: a
// wrong header, a path that is not absolute, a startup id that is empty or
// anywhere but first,
// bytes after the end, or more than kMaxOpenMessage bytes.
OpenMessage decode_open_message(std::string_view bytes);

}  // namespace scriptkit::app

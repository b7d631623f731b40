// The message a second launch sends, as the running instance reads it: any
// bytes, in any pieces, give a verdict, and a complete message is exactly the
// one its paths and startup id make.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scriptkit/app/open_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  using scriptkit::app::OpenMessage;
  OpenMessage message = scriptkit::app::decode_open_message(bytes);
  if (message.state == OpenMessage::State::Complete) {
    if (scriptkit::app::encode_open_message(message.paths, message.startup_id) != bytes)
      __builtin_trap();
  }
  return 0;
}

#include "scriptkit/app/open_message.h"

namespace scriptkit::app {
namespace {

constexpr std::string_view kHeader("tavrine-open\0", 13);

OpenMessage malformed() {
  return {OpenMessage::State::Malformed, {}};
}

}  // namespace

std::string encode_open_message(const std::vector<std::string>& paths) {
  std::string message(kHeader);
  for (const std::string& path : paths) {
    message += path;
    message += '\0';
  }
  message += '\0';
  return message;
}

OpenMessage decode_open_message(std::string_view bytes) {
  if (bytes.size() > kMaxOpenMessage) return malformed();
  std::string_view head = bytes.substr(0, kHeader.size());
  if (head != kHeader.substr(0, head.size())) return malformed();
  if (head.size() < kHeader.size()) return {};
  OpenMessage message;
  std::size_t at = kHeader.size();
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\0', at);
    if (end == std::string_view::npos) return {};
    if (end == at) {
      if (end + 1 != bytes.size()) return malformed();
      message.state = OpenMessage::State::Complete;
      return message;
    }
    if (bytes[at] != '/') return malformed();
    message.paths.emplace_back(bytes.substr(at, end - at));
    at = end + 1;
  }
  return {};
}

}  // namespace scriptkit::app

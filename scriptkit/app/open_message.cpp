#include "scriptkit/app/open_message.h"

namespace scriptkit::app {
namespace {

constexpr std::string_view kHeader("tavrine-open\0", 13);
constexpr std::string_view kStartupId("id:");

OpenMessage malformed() {
  return {OpenMessage::State::Malformed, {}, {}};
}

}  // namespace

std::string encode_open_message(const std::vector<std::string>& paths,
                                const std::string& startup_id) {
  std::string message(kHeader);
  if (!startup_id.empty()) {
    message += kStartupId;
    message += startup_id;
    message += '\0';
  }
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
    std::string_view entry = bytes.substr(at, end - at);
    if (at == kHeader.size() && entry.starts_with(kStartupId) && entry.size() > kStartupId.size()) {
      message.startup_id = entry.substr(kStartupId.size());
    } else if (entry[0] == '/') {
      message.paths.emplace_back(entry);
    } else {
      return malformed();
    }
    at = end + 1;
  }
  return {};
}

}  // namespace scriptkit::app

// The preferences store of platform/preferences.h on GLib's GKeyFile.
#include <glib.h>

#include <cstdio>
#include <memory>

#include "platform/preferences.h"

namespace platform {
namespace {

struct KeyFileFree {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileFree>;

struct GFree {
  void operator()(void* p) const { g_free(p); }
};

bool needs_escape(std::string_view name, std::size_t at, bool utf8) {
  auto c = static_cast<unsigned char>(name[at]);
  if (c >= 0x80) return !utf8;
  if (c < 0x20 || c == 0x7F || c == '=' || c == '[' || c == ']' || c == '%') return true;
  if (at == 0 && c == '#') return true;
  return c == ' ' && (at == 0 || at + 1 == name.size());
}

std::string escaped_name(std::string_view name) {
  std::string out;
  bool utf8 = g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr);
  for (std::size_t at = 0; at < name.size(); ++at) {
    if (!needs_escape(name, at, utf8)) {
      out += name[at];
      continue;
    }
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(name[at]));
    out += hex;
  }
  return out;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string unescaped_name(std::string_view name) {
  std::string out;
  for (std::size_t at = 0; at < name.size(); ++at) {
    int high = at + 2 < name.size() && name[at] == '%' ? hex_digit(name[at + 1]) : -1;
    int low = high >= 0 ? hex_digit(name[at + 2]) : -1;
    if (low < 0) {
      out += name[at];
      continue;
    }
    out += static_cast<char>(high * 16 + low);
    at += 2;
  }
  return out;
}

}  // namespace

std::optional<PreferenceEntries> read_preferences(std::string_view bytes, std::string_view group) {
  KeyFile file(g_key_file_new());
  if (!g_key_file_load_from_data(file.get(), bytes.data(), bytes.size(), G_KEY_FILE_NONE, nullptr))
    return std::nullopt;
  PreferenceEntries entries;
  std::string group_name(group);
  gsize count = 0;
  gchar** keys = g_key_file_get_keys(file.get(), group_name.c_str(), &count, nullptr);
  for (gsize i = 0; i < count; ++i) {
    std::unique_ptr<gchar, GFree> text(
        g_key_file_get_string(file.get(), group_name.c_str(), keys[i], nullptr));
    if (text) entries.emplace_back(unescaped_name(keys[i]), text.get());
  }
  g_strfreev(keys);
  return entries;
}

std::string preferences_text(std::string_view comment, std::string_view group,
                             const PreferenceEntries& entries) {
  KeyFile file(g_key_file_new());
  std::string group_name(group);
  for (const auto& [name, text] : entries) {
    std::unique_ptr<gchar, GFree> valid(
        g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())));
    g_key_file_set_string(file.get(), group_name.c_str(), escaped_name(name).c_str(), valid.get());
  }
  gsize length = 0;
  std::unique_ptr<gchar, GFree> data(g_key_file_to_data(file.get(), &length, nullptr));
  std::string out = "# " + std::string(comment) + "\n";
  if (!entries.empty()) out += "\n";
  return out + std::string(data.get(), length);
}

}  // namespace platform

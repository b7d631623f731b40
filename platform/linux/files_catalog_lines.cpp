// The lines of the catalog file: how each kind is written and read back.
#include <charconv>

#include "platform/linux/files_internal.h"

namespace platform::files {
namespace {

std::string escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

bool unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    if (text[i] == '\\')
      out += '\\';
    else if (text[i] == 'n')
      out += '\n';
    else
      return false;
  }
  return true;
}

// Takes one space-ended number off the front of text.
template <typename T>
bool take_number(std::string_view& text, T& value) {
  std::size_t space = text.find(' ');
  if (space == std::string_view::npos) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + space, value);
  if (error != std::errc() || end != text.data() + space) return false;
  text.remove_prefix(space + 1);
  return true;
}

std::string format_witness(const Witness& witness) {
  if (witness.kind != 'b' && witness.kind != 'g') return "-";
  return witness.kind + std::to_string(witness.value);
}

// "b<number>", "g<number>" or "-", followed by a space.
bool take_witness(std::string_view& text, Witness& witness) {
  if (text.starts_with("- ")) {
    witness = {};
    text.remove_prefix(2);
    return true;
  }
  if (text.empty() || (text[0] != 'b' && text[0] != 'g')) return false;
  witness.kind = text[0];
  text.remove_prefix(1);
  return take_number(text, witness.value);
}

bool takes_folder(char kind) {
  return kind == 'F' || kind == 'D' || kind == 'N' || kind == 'R';
}

// The last number of a line: all that is left of it.
bool take_last_number(std::string_view text, std::int64_t& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string format_catalog_line(const CatalogLine& line) {
  // A folder whose witness is not recorded yet keeps the older form.
  char kind = line.kind == 'F' && line.witness.kind == '?' ? 'D' : line.kind;
  std::string head = std::string(1, kind) + " " + std::to_string(line.volume) + " ";
  if (kind == 'V') return head + escape(line.path) + "\n";
  head += std::to_string(line.dir_id) + " " + std::to_string(line.inode) + " ";
  if (kind == 'R')
    return head + format_witness(line.witness) + " " + std::to_string(line.used) + "\n";
  if (kind == 'F') head += format_witness(line.witness) + " " + std::to_string(line.used) + " ";
  return head + escape(line.path) + "\n";
}

bool parse_catalog_line(std::string_view text, CatalogLine& line) {
  line = CatalogLine{};
  if (text.size() < 2 || text[1] != ' ' || (text[0] != 'V' && !takes_folder(text[0]))) return false;
  line.kind = text[0];
  text.remove_prefix(2);
  if (!take_number(text, line.volume) || line.volume == 0) return false;
  if (takes_folder(line.kind) &&
      (!take_number(text, line.dir_id) || !take_number(text, line.inode)))
    return false;
  if (line.kind == 'R')
    return take_witness(text, line.witness) && take_last_number(text, line.used);
  if (line.kind == 'F' && (!take_witness(text, line.witness) || !take_number(text, line.used)))
    return false;
  if (line.kind == 'D') line.witness.kind = '?';
  if (!unescape(text, line.path)) return false;
  if (line.kind == 'N') return valid_item_name(line.path);
  return !line.path.empty() && line.path[0] == '/';
}

}  // namespace platform::files

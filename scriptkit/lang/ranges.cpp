// The interpreter's pieces of texts (characters, words, paragraphs, text items
// cut at the text item delimiters), ranges of pieces, items and elements
// (`items 2 thru 3 of`, `text 2 thru -1 of`), and the delimiters themselves.
#include <algorithm>

#include "scriptkit/lang/interpreter.h"
#include "scriptkit/lang/terms.h"
#include "scriptkit/model/coerce.h"

namespace scriptkit::lang::detail {
namespace {

bool is_start_byte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// The byte offset of the character at a 0-based position; the text's size
// past its last character.
std::size_t character_offset(std::string_view text, std::size_t position) {
  std::size_t seen = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (is_start_byte(text[at]) && seen++ == position) return at;
  }
  return text.size();
}

// A text cut wherever one of the delimiters stands; its characters when no
// delimiter has any.
ValueList text_items(const std::string& text, const ValueList& delimiters) {
  std::vector<std::string_view> marks;
  for (const Value& d : delimiters) {
    if (d.is_text() && !d.as_text().empty()) marks.push_back(d.as_text());
  }
  if (marks.empty()) return text_pieces(text, "character", delimiters);
  ValueList items;
  if (text.empty()) return items;
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size() && items.size() + 1 < kMaxListItems;) {
    auto mark = std::find_if(marks.begin(), marks.end(), [&](std::string_view m) {
      return text.compare(at, m.size(), m) == 0;
    });
    if (mark == marks.end()) {
      ++at;
      continue;
    }
    items.emplace_back(text.substr(start, at - start));
    at += mark->size();
    start = at;
  }
  items.emplace_back(text.substr(start));
  return items;
}

}  // namespace

std::int64_t character_count(std::string_view text) {
  return std::count_if(text.begin(), text.end(), is_start_byte);
}

bool is_text_class(std::string_view cls) {
  return cls == "character" || cls == "word" || cls == "paragraph" || cls == "item" ||
         cls == "text" || cls == "text item";
}

ValueList text_pieces(const std::string& text, std::string_view cls, const ValueList& delimiters) {
  if (cls == "text item") return text_items(text, delimiters);
  ValueList pieces;
  std::string piece;
  auto flush = [&](bool keep_empty) {
    if (keep_empty || !piece.empty()) pieces.emplace_back(std::move(piece));
    piece.clear();
  };
  bool characters = cls == "character" || cls == "item" || cls == "text";
  for (std::size_t i = 0; i < text.size() && pieces.size() < kMaxListItems; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (characters) {
      if (is_start_byte(text[i]) && !piece.empty()) flush(true);
      piece += text[i];
    } else if (cls == "paragraph") {
      if (c == '\r' || c == '\n') {
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        flush(true);
      } else {
        piece += text[i];
      }
    } else if (std::isalnum(c) || c >= 0x80 || c == '\'') {
      piece += text[i];
    } else {
      flush(false);
    }
  }
  if (!piece.empty()) flush(false);
  return pieces;
}

bool resolve_range(std::int64_t from, std::int64_t to, std::size_t count, std::size_t& first,
                   std::size_t& last) {
  auto n = static_cast<std::int64_t>(count);
  auto position = [n](std::int64_t index) { return index < 0 ? n + index : index - 1; };
  if (from == 0 || to == 0) return false;
  std::int64_t p = position(from), q = position(to);
  if (p > q) std::swap(p, q);
  if (p < 0 || q >= n) return false;
  first = static_cast<std::size_t>(p);
  last = static_cast<std::size_t>(q);
  return true;
}

// `text i thru j of t`: the text between, in one piece.
Value Interpreter::text_range(const std::string& text, std::int64_t from, std::int64_t to) {
  std::size_t first = 0, last = 0;
  if (!resolve_range(from, to, static_cast<std::size_t>(character_count(text)), first, last)) {
    return Value();
  }
  std::size_t begin = character_offset(text, first);
  std::size_t end = character_offset(std::string_view(text).substr(begin), last - first + 1);
  charge_size(end);
  return Value(text.substr(begin, end));
}

Value Interpreter::eval_range(const Expr& e) {
  std::int64_t from = take(model::to_integer(eval(*e.from())));
  std::int64_t to = take(model::to_integer(eval(*e.thru())));
  Value c = element_container(e);
  Value found;
  if (c.is_text() && e.name == "text") {
    found = text_range(c.as_text(), from, to);
  } else {
    ValueList pieces;
    const ValueList* all = &pieces;  // a list's own items are sliced where they are
    if (c.is_element() && c.as_element()) {
      model::ElementList elements = c.as_element()->elements(e.name);
      pieces.assign(elements.begin(), elements.end());
    } else if (c.is_list() && e.name == "item") {
      all = &c.as_list();
    } else if (c.is_text() && is_text_class(e.name)) {
      charge_pieces(c.as_text());
      pieces = text_pieces(c.as_text(), e.name, m_state.delimiters);
    }
    std::size_t first = 0, last = 0;
    if (resolve_range(from, to, all->size(), first, last)) {
      charge_size(last - first + 1);
      found = Value(ValueList(all->begin() + static_cast<std::ptrdiff_t>(first),
                              all->begin() + static_cast<std::ptrdiff_t>(last) + 1));
    }
  }
  if (found.is_missing()) {
    // A range of a text is written `text 2 thru 3`, in the singular.
    std::string what = e.name == "text" ? e.name : plural_of(e.name);
    fail(kErrCantGet, "Can't get " + what + " " + std::to_string(from) + " thru " +
                          std::to_string(to) + " of " + model::describe_value(c) + ".");
  }
  return found;
}

// ---- text item delimiters --------------------------------------------------

// Cutting a text looks for every delimiter at every byte.
void Interpreter::charge_pieces(const std::string& text) {
  charge_size(text.size() * std::max<std::size_t>(1, m_state.delimiters.size()));
}

void Interpreter::assign_delimiters(const Value& value) {
  ValueList delimiters;
  for (const Value& d : model::to_list(value)) {
    delimiters.emplace_back(take(model::to_text(d)));
    charge_size(delimiters.back().as_text().size());
  }
  if (delimiters.empty()) delimiters.emplace_back("");
  m_state.delimiters = std::move(delimiters);
}

std::string Interpreter::text_of(const Value& v) {
  const ValueList& delimiters = m_state.delimiters;
  if (!v.is_list() || delimiters.empty() || delimiters.front().as_text().empty()) {
    return take(model::to_text(v));
  }
  std::string joined;
  join_items(v.as_list(), delimiters.front().as_text(), joined, 0);
  return joined;
}

// A list's items as text with a delimiter between them; lists inside lists
// are joined the same way.
void Interpreter::join_items(const ValueList& items, const std::string& delimiter, std::string& out,
                             std::size_t depth) {
  if (depth > kMaxValueDepth) fail(kErrOutOfMemory, "Out of memory.");
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) out += delimiter;
    if (items[i].is_list()) {
      join_items(items[i].as_list(), delimiter, out, depth + 1);
    } else {
      out += take(model::to_text(items[i]));
    }
    if (out.size() > kMaxTextBytes) fail(kErrOutOfMemory, "Out of memory.");
  }
  charge_size(items.size());
}

}  // namespace scriptkit::lang::detail

#include "scriptkit/app/window_text.h"

#include <algorithm>
#include <cstdio>

#include "platform/utf.h"
#include "scriptkit/model/model.h"

namespace scriptkit::app {
namespace {

using namespace scriptkit::model;

// Characters a terminal would act on rather than show: the C0 and C1
// controls, DEL, and the marks that turn the direction of text around.
bool acts_on_terminal(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// " (hidden)", " (disabled)", " (hidden, disabled)" or nothing.
std::string marks(const View& view) {
  std::string m;
  if (!view.visible()) m = "hidden";
  if (!view.enabled()) m += m.empty() ? "disabled" : ", disabled";
  return m.empty() ? m : " (" + m + ")";
}

std::string image_text(const Image& image) {
  switch (image.source) {
    case Image::Source::None:
      return "no image";
    case Image::Source::IconName:
      return "icon " + image.name;
    case Image::Source::FilePath:
      return "file " + image.name;
    case Image::Source::Bytes:
      return "image of " + std::to_string(image.bytes.size()) + " bytes";
  }
  return {};
}

std::string check_mark(std::int32_t state) {
  if (state == Button::kOff) return "[ ]";
  if (state == Button::kMixed) return "[-]";
  return "[x]";
}

bool is_check_box(const View& v) {
  return v.kind() == Kind::Button &&
         static_cast<const Button&>(v).style() == Button::Style::CheckBox;
}

// The class a line names: the script's, or the word for what the view looks
// like (a check box, a label, a table view in its scroll view).
std::string_view shown_class(const View& v) {
  if (is_check_box(v)) return shown::kCheckBox;
  if (v.kind() == Kind::TextField && v.name().empty() &&
      !static_cast<const TextField&>(v).editable()) {
    return shown::kLabel;
  }
  if (v.kind() == Kind::ScrollView && static_cast<const ScrollView&>(v).table_view()) {
    return cls::kTableView;
  }
  return v.class_name();
}

// What a line shows after the class and the name.
std::string shown_value(const View& v) {
  switch (v.kind()) {
    case Kind::Box:
      return static_cast<const Box&>(v).title();
    case Kind::Button: {
      const auto& b = static_cast<const Button&>(v);
      return is_check_box(v) ? check_mark(b.state()) + " " + b.title() : b.title();
    }
    case Kind::TextField:
      return static_cast<const TextField&>(v).contents();
    case Kind::ImageView:
      return image_text(static_cast<const ImageView&>(v).image());
    case Kind::ProgressIndicator:
      return static_cast<const ProgressIndicator&>(v).animating() ? "running" : "stopped";
    default:
      return {};
  }
}

class Printer {
 public:
  std::string take() { return std::move(m_out); }
  void window(const Window& w);

 private:
  void views(const Element& container, int depth);
  void view(const View& v, int depth);
  void popup_rows(const PopUpButton& popup, int depth);
  void table_rows(const TableView& table, int depth);
  // Names and contents come from files and from the script: a line never
  // carries a control character to the terminal.
  void line(int depth, const std::string& text) {
    m_out.append(std::size_t(depth) * 2, ' ');
    m_out += visible_text(text);
    m_out += '\n';
  }
  // `class "name":`, then the value when there is one, then the marks.
  std::string entry(const View& v, std::string_view class_name, const std::string& value) const {
    std::string h(class_name);
    if (!v.name().empty()) h += " " + quoted(v.name());
    h += ":";
    if (!value.empty()) h += " " + value;
    return h + marks(v);
  }

  std::string m_out;
};

void Printer::window(const Window& w) {
  line(0, std::string(cls::kWindow) + " " + quoted(w.name()) + ": " + w.title() +
              (w.visible() ? "" : " (hidden)"));
  views(w, 1);
}

void Printer::views(const Element& container, int depth) {
  for (const ElementPtr& child : container.children()) {
    if (auto* v = dynamic_cast<const View*>(child.get())) view(*v, depth);
  }
}

void Printer::view(const View& v, int depth) {
  line(depth, entry(v, shown_class(v), shown_value(v)));
  if (v.kind() == Kind::Box) views(v, depth + 1);
  if (v.kind() == Kind::PopUpButton) popup_rows(static_cast<const PopUpButton&>(v), depth + 1);
  if (v.kind() != Kind::ScrollView) return;
  if (auto table = static_cast<const ScrollView&>(v).table_view()) table_rows(*table, depth + 1);
}

void Printer::popup_rows(const PopUpButton& popup, int depth) {
  const auto current = popup.current_item();
  for (std::size_t i = 0; i < popup.menu()->item_count(); ++i) {
    auto item = popup.menu()->item(i);
    if (item->separator()) {
      line(depth, "    ----");
      continue;
    }
    std::string row = (item == current ? "  * " : "    ") + item->title();
    line(depth, row + (item->enabled() ? "" : " (disabled)"));
  }
}

void Printer::table_rows(const TableView& table, int depth) {
  std::string header = "    |";
  for (std::size_t c = 1; c <= table.column_count(); ++c) {
    header += " " + table.column(c)->header_cell()->title() + " |";
  }
  line(depth, header);
  const auto& selected = table.selected_rows();
  for (std::size_t r = 1; r <= table.data_source()->row_count(); ++r) {
    auto row = table.data_source()->row(r);
    bool on = std::find(selected.begin(), selected.end(), std::int64_t(r)) != selected.end();
    std::string text = on ? "  * |" : "    |";
    for (std::size_t c = 1; c <= table.column_count(); ++c) {
      auto cell = row->cell(table.column(c)->name());
      text += " " + (cell ? cell->contents() : std::string()) + " |";
    }
    line(depth, text);
  }
}

}  // namespace

std::string visible_text(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char32_t c = 0;
  char escape[16];
  for (std::size_t at = 0, n = 0; (n = platform::decode_utf8(text, at, c)) != 0; at += n) {
    unsigned byte = static_cast<unsigned char>(text[at]);
    if (n == 1 && byte >= 0x80) {
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
    } else if (acts_on_terminal(c)) {
      std::snprintf(escape, sizeof escape, c < 0x80 ? "\\x%02x" : "\\u%04x",
                    static_cast<unsigned>(c));
    } else {
      out.append(text.substr(at, n));
      continue;
    }
    out += escape;
  }
  return out;
}

std::string window_text(const model::Window& window) {
  Printer printer;
  printer.window(window);
  return printer.take();
}

}  // namespace scriptkit::app

#include "scriptkit/app/layout.h"

#include <array>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "scriptkit/app/layout_line.h"
#include "scriptkit/model/model.h"

namespace scriptkit::app {
namespace {

using layout_detail::Line;
using layout_detail::Token;
using namespace scriptkit::model;

enum class Cls {
  Window,
  Box,
  Button,
  CheckBox,
  PopUpButton,
  MenuItem,
  Separator,
  TextField,
  Label,
  ImageView,
  ProgressIndicator,
  TableView,
  TableColumn,
};

// What the quoted text after the class means.
enum class NameRule { Name, OptionalName, Title, None };

struct ClassInfo {
  std::string_view words;
  Cls cls;
  NameRule name;
  std::string_view properties;  // the properties the class takes, each between spaces
};

constexpr std::string_view kViewProperties = " frame visible enabled ";

constexpr ClassInfo kClasses[] = {
    {"window", Cls::Window, NameRule::Name, " title size "},
    {"box", Cls::Box, NameRule::OptionalName, " title "},
    {"button", Cls::Button, NameRule::OptionalName, " title "},
    {"check box", Cls::CheckBox, NameRule::OptionalName, " title state "},
    {"popup button", Cls::PopUpButton, NameRule::OptionalName, " "},
    {"menu item", Cls::MenuItem, NameRule::Title, " enabled "},
    {"separator", Cls::Separator, NameRule::None, " "},
    {"text field", Cls::TextField, NameRule::OptionalName, " contents editable "},
    {"label", Cls::Label, NameRule::Title, " "},
    {"image view", Cls::ImageView, NameRule::OptionalName, " image "},
    {"progress indicator", Cls::ProgressIndicator, NameRule::OptionalName, " "},
    {"table view", Cls::TableView, NameRule::Name, " "},
    {"table column", Cls::TableColumn, NameRule::Name, " title width "},
};

bool is_view(Cls c) {
  return c != Cls::Window && c != Cls::MenuItem && c != Cls::Separator && c != Cls::TableColumn;
}

bool takes(const ClassInfo& info, std::string_view property) {
  std::string key = " " + std::string(property) + " ";
  return info.properties.find(key) != std::string_view::npos ||
         (is_view(info.cls) && kViewProperties.find(key) != std::string_view::npos);
}

// The properties given on one line.
struct Props {
  std::optional<std::array<std::int64_t, 4>> frame;
  std::optional<std::array<std::int64_t, 2>> size;
  std::optional<std::string> title, contents, image;
  std::optional<bool> visible, enabled, editable;
  std::optional<std::int32_t> state;
  std::optional<std::int64_t> width;
};

struct Failure {
  std::string message;
};

// An element on the stack of open elements while lines are read.
struct Open {
  int indent;
  const ClassInfo* info;
  ElementPtr element;  // for a table view: the table view inside its scroll view
};

class Builder {
 public:
  explicit Builder(Application& app) : m_app(app) {}
  std::vector<std::shared_ptr<Window>>& windows() { return m_windows; }
  void line(const Line& line);

 private:
  const ClassInfo& class_of(const Line& line, std::size_t& at) const;
  std::string name_of(const Line& line, const ClassInfo& info, std::size_t& at) const;
  Props properties(const Line& line, const ClassInfo& info, std::size_t at) const;
  const Open* parent_for(const Line& line, const ClassInfo& info);
  ElementPtr make(const ClassInfo& info, std::string name, const Props& props, const Open* parent);
  void add_view(const Open& parent, std::shared_ptr<View> view);
  void check_unique(const Open* parent, const ClassInfo& info, std::string_view name) const;

  Application& m_app;
  std::vector<std::shared_ptr<Window>> m_windows;
  std::vector<Open> m_open;
};

[[noreturn]] void fail(std::string message) {
  throw Failure{std::move(message)};
}

std::string quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

const ClassInfo& Builder::class_of(const Line& line, std::size_t& at) const {
  const Token& first = line.tokens[0];
  if (first.kind != Token::Kind::Word)
    fail("expected a class name but found " + describe_token(first));
  if (line.tokens.size() > 1 && line.tokens[1].kind == Token::Kind::Word) {
    std::string two = first.text + " " + line.tokens[1].text;
    for (const ClassInfo& info : kClasses) {
      if (info.words == two) {
        at = 2;
        return info;
      }
    }
  }
  for (const ClassInfo& info : kClasses) {
    if (info.words == first.text) {
      at = 1;
      return info;
    }
  }
  fail("unknown class " + quoted(first.text));
}

std::string Builder::name_of(const Line& line, const ClassInfo& info, std::size_t& at) const {
  bool has_text = at < line.tokens.size() && line.tokens[at].kind == Token::Kind::Text;
  if (info.name == NameRule::None) return {};
  if (!has_text) {
    if (info.name == NameRule::OptionalName) return {};
    fail("a " + std::string(info.words) + " needs its " +
         (info.name == NameRule::Title ? "text" : "name") + " in quotes");
  }
  return line.tokens[at++].text;
}

Props Builder::properties(const Line& line, const ClassInfo& info, std::size_t at) const {
  Props props;
  const auto& tokens = line.tokens;
  auto next = [&](Token::Kind kind, std::string_view key, std::string_view what) -> const Token& {
    if (at >= tokens.size() || tokens[at].kind != kind) {
      fail("expected " + std::string(what) + " after " + quoted(key) + " but found " +
           (at < tokens.size() ? describe_token(tokens[at]) : std::string("the end of the line")));
    }
    return tokens[at++];
  };
  auto number = [&](std::string_view key, std::int64_t low) {
    const Token& t = next(Token::Kind::Number, key, "a number");
    if (t.number < low || t.number > std::numeric_limits<std::int32_t>::max() / 4) {
      fail("number " + t.text + " is out of range for " + quoted(key));
    }
    return t.number;
  };
  auto boolean = [&](std::string_view key) {
    const Token& t = next(Token::Kind::Word, key, "true or false");
    if (t.text != "true" && t.text != "false") {
      fail("expected true or false after " + quoted(key) + " but found " + describe_token(t));
    }
    return t.text == "true";
  };
  auto once = [&](auto& slot, std::string_view key, auto value) {
    if (slot) fail(quoted(key) + " is given twice");
    slot = value;
  };
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min() / 4;
  while (at < tokens.size()) {
    const Token& key_token = next(Token::Kind::Word, "", "");
    const std::string key = key_token.text;
    if (!takes(info, key)) {
      fail("a " + std::string(info.words) + " has no property " + quoted(key));
    }
    if (key == "frame") {
      std::array<std::int64_t, 4> f{number(key, kMin), number(key, kMin), number(key, 0),
                                    number(key, 0)};
      once(props.frame, key, f);
    } else if (key == "size") {
      std::array<std::int64_t, 2> s{number(key, 0), number(key, 0)};
      once(props.size, key, s);
    } else if (key == "width") {
      once(props.width, key, number(key, 0));
    } else if (key == "title" || key == "contents" || key == "image") {
      auto& slot = key == "title" ? props.title : key == "contents" ? props.contents : props.image;
      once(slot, key, next(Token::Kind::Text, key, "a text in quotes").text);
    } else if (key == "state") {
      const Token& t = next(Token::Kind::Word, key, "on, off or mixed");
      std::int32_t state = t.text == "on" ? Button::kOn : t.text == "off" ? Button::kOff : -2;
      if (t.text == "mixed") state = Button::kMixed;
      if (state == -2)
        fail("expected on, off or mixed after \"state\" but found " + describe_token(t));
      once(props.state, key, state);
    } else {
      auto& slot = key == "visible"   ? props.visible
                   : key == "enabled" ? props.enabled
                                      : props.editable;
      once(slot, key, boolean(key));
    }
  }
  return props;
}

bool fits_in(Cls child, const ClassInfo* parent) {
  if (child == Cls::Window) return parent == nullptr;
  if (!parent) return false;
  if (child == Cls::MenuItem || child == Cls::Separator) return parent->cls == Cls::PopUpButton;
  if (child == Cls::TableColumn) return parent->cls == Cls::TableView;
  return parent->cls == Cls::Window || parent->cls == Cls::Box;
}

const Open* Builder::parent_for(const Line& line, const ClassInfo& info) {
  while (!m_open.empty() && m_open.back().indent >= line.indent) m_open.pop_back();
  const Open* parent = m_open.empty() ? nullptr : &m_open.back();
  if (fits_in(info.cls, parent ? parent->info : nullptr)) return parent;
  if (info.cls == Cls::Window) fail("a window stands at the start of a line, inside nothing");
  if (!parent) fail("a " + std::string(info.words) + " must be indented inside a window");
  std::string where = parent->element->describe();
  if (info.cls == Cls::MenuItem || info.cls == Cls::Separator) {
    fail("a " + std::string(info.words) + " belongs in a popup button, not in " + where);
  }
  if (info.cls == Cls::TableColumn) fail("a table column belongs in a table view, not in " + where);
  fail("a " + std::string(info.words) + " cannot stand inside " + where);
}

void Builder::check_unique(const Open* parent, const ClassInfo& info, std::string_view name) const {
  if (name.empty()) return;
  if (!parent) {
    for (const auto& w : m_windows) {
      if (w->name() == name) fail("a second window named " + quoted(name));
    }
    return;
  }
  std::string_view script_class = info.cls == Cls::CheckBox    ? "button"
                                  : info.cls == Cls::TableView ? "scroll view"
                                                               : info.words;
  for (const ElementPtr& sibling : parent->element->children()) {
    if (sibling->name() == name && sibling->is_a(script_class)) {
      fail("a second " + std::string(script_class) + " named " + quoted(name) + " in " +
           parent->element->describe());
    }
  }
}

void Builder::add_view(const Open& parent, std::shared_ptr<View> view) {
  if (parent.info->cls == Cls::Window) {
    std::static_pointer_cast<Window>(parent.element)->add(std::move(view));
  } else {
    std::static_pointer_cast<Box>(parent.element)->add(std::move(view));
  }
}

template <typename T>
std::shared_ptr<T> new_view(std::string name, const Props& p) {
  auto view = std::make_shared<T>(std::move(name));
  if (p.frame) {
    const auto& f = *p.frame;
    view->set_bounds(bounds_from_frame(int(f[0]), int(f[1]), int(f[2]), int(f[3])));
  }
  if (p.visible) view->set_visible(*p.visible);
  if (p.enabled) view->set_enabled(*p.enabled);
  return view;
}

std::shared_ptr<View> make_view(Cls cls, std::string name, const Props& p) {
  switch (cls) {
    case Cls::Box: {
      auto box = new_view<Box>(std::move(name), p);
      if (p.title) box->set_title(*p.title);
      return box;
    }
    case Cls::Button:
    case Cls::CheckBox: {
      auto button = new_view<Button>(std::move(name), p);
      if (cls == Cls::CheckBox) button->set_style(Button::Style::CheckBox);
      if (p.title) button->set_title(*p.title);
      if (p.state) button->set_state(*p.state);
      return button;
    }
    case Cls::PopUpButton:
      return new_view<PopUpButton>(std::move(name), p);
    case Cls::TextField:
    case Cls::Label: {
      auto field = new_view<TextField>(cls == Cls::Label ? std::string() : name, p);
      field->set_contents(cls == Cls::Label ? std::move(name) : p.contents.value_or(""));
      field->set_editable(p.editable.value_or(false));
      return field;
    }
    case Cls::ImageView: {
      auto view = new_view<ImageView>(std::move(name), p);
      if (p.image) view->set("image", Value(*p.image));
      return view;
    }
    case Cls::ProgressIndicator:
      return new_view<ProgressIndicator>(std::move(name), p);
    default:
      return new_view<ScrollView>(std::move(name), p);  // Cls::TableView
  }
}

ElementPtr Builder::make(const ClassInfo& info, std::string name, const Props& p,
                         const Open* parent) {
  switch (info.cls) {
    case Cls::Window: {
      auto window = m_app.add_window(std::move(name));
      if (p.title) window->set_title(*p.title);
      if (p.size) window->set_bounds({0, int((*p.size)[1]), int((*p.size)[0]), 0});
      m_windows.push_back(window);
      return window;
    }
    case Cls::MenuItem:
    case Cls::Separator: {
      auto menu = std::static_pointer_cast<PopUpButton>(parent->element)->menu();
      if (info.cls == Cls::Separator) return menu->add_separator();
      return menu->add_item(std::move(name), p.enabled.value_or(true));
    }
    case Cls::TableColumn: {
      auto column = std::static_pointer_cast<TableView>(parent->element)
                        ->add_column(std::move(name), p.title.value_or(""));
      if (p.width) column->set_width(int(*p.width));
      return column;
    }
    default:
      break;
  }
  std::shared_ptr<View> view = make_view(info.cls, std::move(name), p);
  add_view(*parent, view);
  if (info.cls == Cls::TableView)
    return std::static_pointer_cast<ScrollView>(view)->add_table_view();
  return view;
}

void Builder::line(const Line& line) {
  std::size_t at = 0;
  const ClassInfo& info = class_of(line, at);
  std::string name = name_of(line, info, at);
  Props props = properties(line, info, at);
  const Open* parent = parent_for(line, info);
  check_unique(parent, info, info.cls == Cls::Label ? std::string_view() : name);
  ElementPtr element = make(info, std::move(name), props, parent);
  m_open.push_back({line.indent, &info, std::move(element)});
}

std::optional<LayoutError> build(std::string_view text, Application& app) {
  Builder builder(app);
  int number = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    start = end + 1;
    ++number;
    std::string error;
    std::optional<Line> line = layout_detail::split_line(raw, number, error);
    if (!line) return LayoutError{number, error};
    if (line->tokens.empty()) continue;
    try {
      builder.line(*line);
    } catch (const Failure& failure) {
      return LayoutError{number, failure.message};
    }
  }
  if (builder.windows().empty()) return LayoutError{number, "the layout holds no window"};
  return std::nullopt;
}

}  // namespace

model::Bounds bounds_from_frame(int x, int y, int width, int height) {
  return {x, y + height, x + width, y};
}

std::optional<LayoutError> load_layout(std::string_view text, Application& app) {
  // A first pass into a scratch application finds any error, so that a bad
  // layout leaves the application untouched.
  Application scratch;
  if (auto error = build(text, scratch)) return error;
  return build(text, app);
}

std::string describe_layout_error(const LayoutError& error, std::string_view file_name) {
  return std::string(file_name) + ":" + std::to_string(error.line) + ": " + error.message;
}

}  // namespace scriptkit::app

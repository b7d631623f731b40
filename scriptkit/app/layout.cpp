#include "scriptkit/app/layout.h"

#include <algorithm>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "scriptkit/app/layout_line.h"
#include "scriptkit/model/model.h"

namespace scriptkit::app {
namespace {

using layout_detail::fail;
using layout_detail::Failure;
using layout_detail::Line;
using layout_detail::quoted;
using layout_detail::Token;
using layout_detail::TokenReader;
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
enum class NameRule { Name, Optional, Title, None };

// The layout's own words for a frame: `frame x y width height` for a view,
// `size width height` for a window. Every other key is a model property.
constexpr std::string_view kFrame = "frame";
constexpr std::string_view kSize = "size";

constexpr std::string_view kViewKeys[] = {kFrame, prop::kVisible, prop::kEnabled};
constexpr std::string_view kWindowKeys[] = {prop::kTitle, kSize};
constexpr std::string_view kTitleKeys[] = {prop::kTitle};
constexpr std::string_view kCheckBoxKeys[] = {prop::kTitle, prop::kState};
constexpr std::string_view kMenuItemKeys[] = {prop::kEnabled};
constexpr std::string_view kTextFieldKeys[] = {prop::kContents, prop::kEditable};
constexpr std::string_view kImageViewKeys[] = {prop::kImage};
constexpr std::string_view kColumnKeys[] = {prop::kTitle, prop::kWidth};

struct ClassInfo {
  std::string_view words;
  Cls cls;
  NameRule name;
  std::span<const std::string_view> keys;  // besides a view's kViewKeys
  const PropertyTable* table;              // where the keys' types are found
};

constexpr ClassInfo kClasses[] = {
    {cls::kWindow, Cls::Window, NameRule::Name, kWindowKeys, &Window::kProperties},
    {cls::kBox, Cls::Box, NameRule::Optional, kTitleKeys, &Box::kProperties},
    {cls::kButton, Cls::Button, NameRule::Optional, kTitleKeys, &Button::kProperties},
    {shown::kCheckBox, Cls::CheckBox, NameRule::Optional, kCheckBoxKeys, &Button::kProperties},
    {cls::kPopUpButton, Cls::PopUpButton, NameRule::Optional, {}, &View::kProperties},
    {cls::kMenuItem, Cls::MenuItem, NameRule::Title, kMenuItemKeys, &MenuItem::kProperties},
    {shown::kSeparator, Cls::Separator, NameRule::None, {}, nullptr},
    {cls::kTextField, Cls::TextField, NameRule::Optional, kTextFieldKeys, &TextField::kProperties},
    {shown::kLabel, Cls::Label, NameRule::Title, {}, &View::kProperties},
    {cls::kImageView, Cls::ImageView, NameRule::Optional, kImageViewKeys, &ImageView::kProperties},
    {cls::kProgressIndicator, Cls::ProgressIndicator, NameRule::Optional, {}, &View::kProperties},
    {cls::kTableView, Cls::TableView, NameRule::Name, {}, &View::kProperties},
    {cls::kTableColumn, Cls::TableColumn, NameRule::Name, kColumnKeys, &TableColumn::kProperties},
};

bool is_view(Cls c) {
  return c != Cls::Window && c != Cls::MenuItem && c != Cls::Separator && c != Cls::TableColumn;
}

// The key as the class spells it, or an empty view when the class takes no such key.
std::string_view key_of(const ClassInfo& info, std::string_view word) {
  for (std::string_view key : info.keys) {
    if (key == word) return key;
  }
  if (!is_view(info.cls)) return {};
  for (std::string_view key : kViewKeys) {
    if (key == word) return key;
  }
  return {};
}

// A table column's title is its header cell's.
bool is_header_title(const ClassInfo& info, std::string_view key) {
  return info.cls == Cls::TableColumn && key == prop::kTitle;
}

// The properties given on one line: the frame as bounds, then the model's
// properties in the order given, each read in the type of its property.
struct Props {
  std::optional<Bounds> bounds;
  std::vector<std::pair<std::string_view, Value>> model;
};

// Reads the properties after a line's class and name.
Props read_properties(TokenReader& reader, const ClassInfo& info) {
  Props props;
  std::vector<std::string_view> given;
  while (!reader.done()) {
    const std::string& word = reader.next(Token::Kind::Word, "", "").text;
    std::string_view key = key_of(info, word);
    if (key.empty()) fail("a " + std::string(info.words) + " has no property " + quoted(word));
    if (key == kFrame) {
      auto [x, y, width, height] = reader.frame(key);
      props.bounds = bounds_from_frame(x, y, width, height);
    } else if (key == kSize) {
      auto [width, height] = reader.size(key);
      props.bounds = Bounds{0, height, width, 0};
    } else if (key == prop::kState) {
      props.model.emplace_back(key, Value(reader.state(key)));
    } else {
      const PropertyTable& table =
          is_header_title(info, key) ? HeaderCell::kProperties : *info.table;
      props.model.emplace_back(key, reader.value(table.find(key)->type, key));
    }
    if (std::find(given.begin(), given.end(), key) != given.end()) {
      fail(quoted(key) + " is given twice");
    }
    given.push_back(key);
  }
  return props;
}

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
  const Open* parent_for(const Line& line, const ClassInfo& info);
  ElementPtr make(const ClassInfo& info, std::string name, const Open* parent);
  void add_view(const Open& parent, std::shared_ptr<View> view);
  void check_unique(const Open* parent, const ClassInfo& info, std::string_view name) const;

  Application& m_app;
  std::vector<std::shared_ptr<Window>> m_windows;
  std::vector<Open> m_open;
};

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
    if (info.name == NameRule::Optional) return {};
    fail("a " + std::string(info.words) + " needs its " +
         (info.name == NameRule::Title ? "text" : "name") + " in quotes");
  }
  return line.tokens[at++].text;
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
  std::string_view script_class = info.cls == Cls::CheckBox    ? cls::kButton
                                  : info.cls == Cls::TableView ? cls::kScrollView
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

// A new view of a class, not yet placed; a label shows its text.
std::shared_ptr<View> new_view(Cls cls, std::string name) {
  switch (cls) {
    case Cls::Box:
      return std::make_shared<Box>(std::move(name));
    case Cls::Button:
      return std::make_shared<Button>(std::move(name));
    case Cls::CheckBox:
      return std::make_shared<Button>(std::move(name), Button::Style::CheckBox);
    case Cls::PopUpButton:
      return std::make_shared<PopUpButton>(std::move(name));
    case Cls::TextField:
      return std::make_shared<TextField>(std::move(name));
    case Cls::Label: {
      auto label = std::make_shared<TextField>();
      label->set_contents(std::move(name));
      return label;
    }
    case Cls::ImageView:
      return std::make_shared<ImageView>(std::move(name));
    case Cls::ProgressIndicator:
      return std::make_shared<ProgressIndicator>(std::move(name));
    default:
      return std::make_shared<ScrollView>(std::move(name));  // Cls::TableView
  }
}

// Gives a new element the properties of its line; each value was read in its
// property's type, so none fails.
void give_properties(Element& element, const Props& props) {
  if (props.bounds) static_cast<Framed&>(element).set_bounds(*props.bounds);
  for (const auto& [key, value] : props.model) {
    if (element.kind() == Kind::TableColumn && key == prop::kTitle) {
      static_cast<TableColumn&>(element).header_cell()->set(key, value);
    } else {
      element.set(key, value);
    }
  }
}

ElementPtr Builder::make(const ClassInfo& info, std::string name, const Open* parent) {
  switch (info.cls) {
    case Cls::Window:
      return m_windows.emplace_back(m_app.add_window(std::move(name)));
    case Cls::MenuItem:
      return std::static_pointer_cast<PopUpButton>(parent->element)
          ->menu()
          ->add_item(std::move(name));
    case Cls::Separator:
      return std::static_pointer_cast<PopUpButton>(parent->element)->menu()->add_separator();
    case Cls::TableColumn:
      return std::static_pointer_cast<TableView>(parent->element)->add_column(std::move(name));
    default: {
      std::shared_ptr<View> view = new_view(info.cls, std::move(name));
      add_view(*parent, view);
      return view;
    }
  }
}

void Builder::line(const Line& line) {
  std::size_t at = 0;
  const ClassInfo& info = class_of(line, at);
  std::string name = name_of(line, info, at);
  TokenReader reader(line, at);
  Props props = read_properties(reader, info);
  const Open* parent = parent_for(line, info);
  check_unique(parent, info, info.cls == Cls::Label ? std::string_view() : name);
  ElementPtr element = make(info, std::move(name), parent);
  give_properties(*element, props);
  if (info.cls == Cls::TableView) {
    element = std::static_pointer_cast<ScrollView>(element)->add_table_view();
  }
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

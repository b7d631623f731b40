#include "scriptkit/model/element.h"

#include <algorithm>

#include "scriptkit/model/names.h"

namespace scriptkit::model {
namespace {

ObserverId next_observer_id() {
  static ObserverId next = 0;
  return ++next;
}

// The script's class names, in the order of Kind.
constexpr std::string_view kClassNames[] = {
    cls::kApplication, cls::kWindow,
    cls::kBox,         cls::kButton,
    cls::kPopUpButton, cls::kMenu,
    cls::kMenuItem,    cls::kTextField,
    cls::kImageView,   cls::kProgressIndicator,
    cls::kScrollView,  cls::kTableView,
    cls::kTableColumn, cls::kHeaderCell,
    cls::kDataSource,  cls::kDataRow,
    cls::kDataCell,
};
static_assert(std::size(kClassNames) == std::size_t(Kind::DataCell) + 1);

constexpr Property kElementProperties[] = {
    plain_property<&Element::name, &Element::set_name>(prop::kName),
    {prop::kClass, PropertyType::Class,
     [](const Element& e) { return Value(std::string(e.class_name())); }},
    {prop::kIndex, PropertyType::Integer,
     [](const Element& e) { return Value(static_cast<std::int64_t>(e.index())); }},
};

}  // namespace

constinit const PropertyTable Element::kProperties{nullptr, kElementProperties};

Element::Element(std::string name) : m_name(std::move(name)) {}

Element::~Element() {
  for (const ElementPtr& child : m_children) child->m_parent = nullptr;
}

std::string_view class_name_of(Kind kind) {
  return kClassNames[static_cast<std::size_t>(kind)];
}

std::string_view Element::class_name() const {
  return class_name_of(kind());
}

bool Element::is_a(std::string_view class_name) const {
  return class_name == this->class_name();
}

void Element::set_name(std::string name) {
  assign(m_name, std::move(name), prop::kName);
}

std::string Element::describe() const {
  std::string text(class_name());
  if (kind() == Kind::Application) return text;
  if (is_singleton()) {
    // nothing between the class and its parent
  } else if (!m_name.empty() || kind() == Kind::Window) {
    text += " \"" + m_name + "\"";
  } else {
    text += " " + std::to_string(index());
  }
  if (m_parent && m_parent->kind() != Kind::Application) text += " of " + m_parent->describe();
  return text;
}

std::size_t Element::index() const {
  if (!m_parent) return 0;
  std::size_t position = 0;
  for (const ElementPtr& sibling : m_parent->m_children) {
    if (sibling->class_name() == class_name()) ++position;
    if (sibling.get() == this) return position;
  }
  return 0;
}

Result<Value> Element::get(std::string_view property) const {
  const Property* found = properties().find(property);
  if (!found) return cant_get(property);
  return found->get(*this);
}

MaybeError Element::set(std::string_view property, const Value& value) {
  const Property* found = properties().find(property);
  if (!found || !found->set) return cant_set(property, value);
  return found->set(*this, value);
}

ElementList Element::elements(std::string_view class_name) {
  ElementList found;
  for (const ElementPtr& child : m_children) {
    if (child->is_a(class_name)) found.push_back(child);
  }
  return found;
}

Result<ElementPtr> Element::make(std::string_view class_name, Position, const ValueRecord&) {
  return ScriptError{kErrCantMake,
                     "Can't make a new " + std::string(class_name) + " in " + describe() + "."};
}

MaybeError Element::remove(Element& child) {
  return ScriptError{kErrCantGet, "Can't delete " + child.describe() + "."};
}

Result<Value> Element::perform(std::string_view command) {
  if (command == "update") {
    notify(Change{ChangeKind::Update, *this, "update"});
    return Value();
  }
  return doesnt_understand(command);
}

Result<Value> Element::call_method(std::string_view selector, std::span<const Value>) {
  return doesnt_understand("\"" + std::string(selector) + "\" message");
}

ObserverId Element::observe(Observer observer) {
  ObserverId id = next_observer_id();
  m_observers.emplace_back(id, std::make_shared<Observer>(std::move(observer)));
  return id;
}

void Element::unobserve(ObserverId id) {
  std::erase_if(m_observers, [id](const auto& entry) { return entry.first == id; });
}

void Element::notify(const Change& change) {
  for (Element* e = this; e; e = e->m_parent) {
    if (e->m_observers.empty()) continue;
    // A copy, so that an observer may add or remove observers while it is told.
    auto observers = e->m_observers;
    for (const auto& entry : observers) (*entry.second)(change);
  }
}

void Element::changed(std::string_view property) {
  notify(Change{ChangeKind::Property, *this, property});
}

void Element::adopt(ElementPtr child, std::size_t at) {
  at = std::min(at, m_children.size());
  child->m_parent = this;
  Element* raw = child.get();
  m_children.insert(m_children.begin() + static_cast<std::ptrdiff_t>(at), std::move(child));
  notify(Change{ChangeKind::ElementAdded, *this, raw->class_name(), raw});
}

bool Element::drop(Element& child) {
  auto it = std::find_if(m_children.begin(), m_children.end(),
                         [&](const ElementPtr& c) { return c.get() == &child; });
  if (it == m_children.end()) return false;
  ElementPtr keep = *it;  // alive while the observers are told
  m_children.erase(it);
  notify(Change{ChangeKind::ElementRemoved, *this, keep->class_name(), keep.get()});
  keep->m_parent = nullptr;
  return true;
}

ScriptError Element::cant_get(std::string_view what) const {
  return ScriptError{kErrCantGet, "Can't get " + std::string(what) + " of " + describe() + "."};
}

ScriptError Element::cant_set(std::string_view property, const Value& value) const {
  return ScriptError{kErrCantSet, "Can't set " + std::string(property) + " of " + describe() +
                                      " to " + describe_value(value) + "."};
}

ScriptError Element::doesnt_understand(std::string_view what) const {
  return ScriptError{kErrDoesNotUnderstand,
                     describe() + " doesn't understand the " + std::string(what) + "."};
}

Result<ElementPtr> element_named(Element& container, std::string_view class_name,
                                 std::string_view name) {
  for (const ElementPtr& e : container.elements(class_name)) {
    if (e->answers_to(name)) return e;
  }
  std::string where = container.kind() == Kind::Application ? "" : " of " + container.describe();
  return ScriptError{kErrCantGet, "Can't get " + std::string(class_name) + " \"" +
                                      std::string(name) + "\"" + where + "."};
}

Result<ElementPtr> element_at(Element& container, std::string_view class_name, std::int64_t index) {
  ElementList all = container.elements(class_name);
  auto count = static_cast<std::int64_t>(all.size());
  std::int64_t position = index < 0 ? count + index : index - 1;
  if (index != 0 && position >= 0 && position < count)
    return all[static_cast<std::size_t>(position)];
  std::string where = container.kind() == Kind::Application ? "" : " of " + container.describe();
  return ScriptError{kErrCantGet, "Can't get " + std::string(class_name) + " " +
                                      std::to_string(index) + where + "."};
}

namespace detail {

MaybeError apply_properties(Element& element, const ValueRecord& properties) {
  for (const auto& [key, value] : properties) {
    if (MaybeError error = element.set(key, value)) return error;
  }
  return std::nullopt;
}

}  // namespace detail

}  // namespace scriptkit::model

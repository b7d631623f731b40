#include "scriptkit/model/popup.h"

#include "scriptkit/model/property_helpers.h"

namespace scriptkit::model {

using detail::apply_properties;
using detail::set_boolean;
using detail::set_text;

bool MenuItem::answers_to(std::string_view name) const {
  return name == this->name() || (this->name().empty() && name == m_title);
}

void MenuItem::set_title(std::string title) {
  if (title == m_title) return;
  m_title = std::move(title);
  changed("title");
}

void MenuItem::set_enabled(bool enabled) {
  enabled = enabled && !m_separator;
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  changed("enabled");
}

void MenuItem::set_separator(bool separator) {
  if (separator == m_separator) return;
  m_separator = separator;
  if (separator) {
    m_title.clear();
    m_enabled = false;
  }
  changed("separator item");
}

Result<Value> MenuItem::get(std::string_view property) {
  if (property == "title") return Value(m_title);
  if (property == "enabled") return Value(m_enabled);
  if (property == "separator item") return Value(m_separator);
  return Element::get(property);
}

MaybeError MenuItem::set(std::string_view property, const Value& value) {
  if (property == "title") return set_text(value, [&](std::string t) { set_title(std::move(t)); });
  if (property == "enabled") return set_boolean(value, [&](bool b) { set_enabled(b); });
  if (property == "separator item") return set_boolean(value, [&](bool b) { set_separator(b); });
  return Element::set(property, value);
}

std::shared_ptr<MenuItem> Menu::item(std::size_t position) const {
  if (position >= children().size()) return nullptr;
  return std::static_pointer_cast<MenuItem>(children()[position]);
}

void Menu::insert(std::shared_ptr<MenuItem> item, Position at) {
  adopt(item, at == Position::Beginning ? 0 : children().size());
  if (auto* popup = dynamic_cast<PopUpButton*>(parent())) popup->item_added(item);
}

std::shared_ptr<MenuItem> Menu::add_item(std::string title, bool enabled, Position at) {
  auto item = std::make_shared<MenuItem>(std::move(title), enabled);
  insert(item, at);
  return item;
}

std::shared_ptr<MenuItem> Menu::add_separator(Position at) {
  auto item = std::make_shared<MenuItem>(std::string(), false, true);
  insert(item, at);
  return item;
}

void Menu::remove_item(MenuItem& item) {
  if (!drop(item)) return;
  if (auto* popup = dynamic_cast<PopUpButton*>(parent())) popup->item_removed(item);
}

void Menu::remove_all() {
  while (!children().empty()) remove_item(static_cast<MenuItem&>(*children().back()));
}

Result<Value> Menu::get(std::string_view property) {
  if (property == "title") return Value(name());
  return Element::get(property);
}

Result<ElementPtr> Menu::make(std::string_view class_name, Position at,
                              const ValueRecord& properties) {
  if (class_name != "menu item") return Element::make(class_name, at, properties);
  auto item = std::make_shared<MenuItem>();
  if (MaybeError error = apply_properties(*item, properties)) return *error;
  insert(item, at);
  return ElementPtr(item);
}

MaybeError Menu::remove(Element& child) {
  if (child.parent() != this) return Element::remove(child);
  remove_item(static_cast<MenuItem&>(child));
  return std::nullopt;
}

PopUpButton::PopUpButton(std::string name)
    : Control(std::move(name)), m_menu(std::make_shared<Menu>()) {
  adopt(m_menu);
}

std::shared_ptr<MenuItem> PopUpButton::current_item() const {
  return m_current.lock();
}

std::size_t PopUpButton::current_index() const {
  auto current = m_current.lock();
  for (std::size_t i = 0; current && i < m_menu->item_count(); ++i) {
    if (m_menu->item(i) == current) return i + 1;
  }
  return 0;
}

bool PopUpButton::set_current_item(const std::shared_ptr<MenuItem>& item) {
  if (!item || item->parent() != m_menu.get()) return false;
  if (m_current.lock() == item) return true;
  m_current = item;
  changed("current menu item");
  return true;
}

void PopUpButton::item_added(const std::shared_ptr<MenuItem>& item) {
  // A pop-up that had no rows shows its first real row.
  if (!m_current.lock() && !item->separator()) set_current_item(item);
}

void PopUpButton::item_removed(MenuItem& item) {
  if (m_current.lock().get() != &item) return;
  m_current.reset();
  for (std::size_t i = 0; i < m_menu->item_count(); ++i) {
    if (!m_menu->item(i)->separator()) {
      m_current = m_menu->item(i);
      break;
    }
  }
  changed("current menu item");
}

ElementList PopUpButton::elements(std::string_view class_name) {
  if (class_name == "menu item") return m_menu->elements(class_name);
  return Control::elements(class_name);
}

Result<Value> PopUpButton::get(std::string_view property) {
  if (property == "menu") return Value(ElementPtr(m_menu));
  if (property == "current menu item") {
    auto current = current_item();
    return current ? Value(ElementPtr(current)) : Value();
  }
  if (property == "title") {
    auto current = current_item();
    return Value(current ? current->title() : std::string());
  }
  return Control::get(property);
}

MaybeError PopUpButton::set(std::string_view property, const Value& value) {
  if (property == "current menu item") {
    if (value.is_element() && value.as_element() && value.as_element()->kind() == Kind::MenuItem &&
        set_current_item(std::static_pointer_cast<MenuItem>(value.as_element()))) {
      return std::nullopt;
    }
    return cant_set(property, value);
  }
  return Control::set(property, value);
}

Result<ElementPtr> PopUpButton::make(std::string_view class_name, Position at,
                                     const ValueRecord& properties) {
  return m_menu->make(class_name, at, properties);
}

MaybeError PopUpButton::remove(Element& child) {
  return m_menu->remove(child);
}

}  // namespace scriptkit::model

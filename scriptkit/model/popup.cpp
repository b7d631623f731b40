#include "scriptkit/model/popup.h"

namespace scriptkit::model {
namespace {

constexpr Property kMenuItemProperties[] = {
    plain_property<&MenuItem::title, &MenuItem::set_title>(prop::kTitle),
    plain_property<&MenuItem::enabled, &MenuItem::set_enabled>(prop::kEnabled),
    plain_property<&MenuItem::separator, &MenuItem::set_separator>(prop::kSeparatorItem),
};

constexpr Property kMenuProperties[] = {
    plain_property<&Menu::name>(prop::kTitle),
};

MaybeError set_current_item(Element& e, const Value& value) {
  auto& popup = static_cast<PopUpButton&>(e);
  ElementPtr item = value.is_element() ? value.as_element() : nullptr;
  if (item && item->kind() == Kind::MenuItem &&
      popup.set_current_item(std::static_pointer_cast<MenuItem>(item))) {
    return std::nullopt;
  }
  return popup.cant_set(prop::kCurrentMenuItem, value);
}

constexpr Property kPopUpProperties[] = {
    {prop::kMenu, PropertyType::Element,
     [](const Element& e) { return Value(ElementPtr(static_cast<const PopUpButton&>(e).menu())); }},
    {prop::kCurrentMenuItem, PropertyType::Element,
     [](const Element& e) {
       auto current = static_cast<const PopUpButton&>(e).current_item();
       return current ? Value(ElementPtr(current)) : Value();
     },
     set_current_item},
    {prop::kTitle, PropertyType::Text,
     [](const Element& e) {
       auto current = static_cast<const PopUpButton&>(e).current_item();
       return Value(current ? current->title() : std::string());
     }},
};

}  // namespace

using detail::apply_properties;

constinit const PropertyTable MenuItem::kProperties{&Element::kProperties, kMenuItemProperties};
constinit const PropertyTable Menu::kProperties{&Element::kProperties, kMenuProperties};
constinit const PropertyTable PopUpButton::kProperties{&View::kProperties, kPopUpProperties};

bool MenuItem::answers_to(std::string_view name) const {
  return name == this->name() || (this->name().empty() && name == m_title);
}

void MenuItem::set_separator(bool separator) {
  if (separator == m_separator) return;
  m_separator = separator;
  if (separator) {
    m_title.clear();
    m_enabled = false;
  }
  changed(prop::kSeparatorItem);
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

Result<ElementPtr> Menu::make(std::string_view class_name, Position at,
                              const ValueRecord& properties) {
  if (class_name != cls::kMenuItem) return Element::make(class_name, at, properties);
  auto item = std::make_shared<MenuItem>();
  if (MaybeError error = apply_properties(*item, properties)) return *error;
  insert(item, at);
  return ElementPtr(item);
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
  changed(prop::kCurrentMenuItem);
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
  changed(prop::kCurrentMenuItem);
}

ElementList PopUpButton::elements(std::string_view class_name) {
  if (class_name == cls::kMenuItem) return m_menu->elements(class_name);
  return Control::elements(class_name);
}

Result<ElementPtr> PopUpButton::make(std::string_view class_name, Position at,
                                     const ValueRecord& properties) {
  return m_menu->make(class_name, at, properties);
}

MaybeError PopUpButton::remove(Element& child) {
  return m_menu->remove(child);
}

}  // namespace scriptkit::model

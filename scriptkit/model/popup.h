// Pop-up buttons: a control with a menu of menu items and a current item.
// A script reaches the rows as `menu item n of menu of popup button "x"` or
// `menu item n of popup button "x"`; both mean the same rows.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "scriptkit/model/names.h"
#include "scriptkit/model/view.h"

namespace scriptkit::model {

class MenuItem : public Element {
 public:
  explicit MenuItem(std::string title = {}, bool enabled = true, bool separator = false)
      : m_title(std::move(title)), m_enabled(enabled && !separator), m_separator(separator) {}
  Kind kind() const override { return Kind::MenuItem; }
  bool answers_to(std::string_view name) const override;

  const std::string& title() const { return m_title; }
  void set_title(std::string title) { assign(m_title, std::move(title), prop::kTitle); }
  bool enabled() const { return m_enabled; }
  void set_enabled(bool enabled) { assign(m_enabled, enabled && !m_separator, prop::kEnabled); }
  // A separator row: no title, never enabled.
  bool separator() const { return m_separator; }
  void set_separator(bool separator);

  // title, enabled, separator item.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  std::string m_title;
  bool m_enabled;
  bool m_separator;
};

class Menu : public ItemList<MenuItem> {
 public:
  using ItemList::ItemList;
  Kind kind() const override { return Kind::Menu; }

  std::size_t item_count() const { return children().size(); }
  // The item at a 0-based position, or nullptr.
  std::shared_ptr<MenuItem> item(std::size_t position) const { return nth(position); }
  std::shared_ptr<MenuItem> add_item(std::string title, bool enabled = true,
                                     Position at = Position::End);
  std::shared_ptr<MenuItem> add_separator(Position at = Position::End);
  void remove_item(MenuItem& item);

  // title: the menu's name, read only.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }
  // Makes a "menu item"; properties title, enabled, separator item, name.
  Result<ElementPtr> make(std::string_view class_name, Position at,
                          const ValueRecord& properties) override;

 private:
  void remove_one(MenuItem& item) override { remove_item(item); }
  void insert(std::shared_ptr<MenuItem> item, Position at);
};

class PopUpButton : public Control {
 public:
  explicit PopUpButton(std::string name = {});
  Kind kind() const override { return Kind::PopUpButton; }

  const std::shared_ptr<Menu>& menu() const { return m_menu; }
  // The current item, or nullptr when the menu is empty or nothing is chosen.
  std::shared_ptr<MenuItem> current_item() const;
  // The current item's 1-based position, 0 when there is none.
  std::size_t current_index() const;
  // Makes an item of this pop-up's menu current; false (and no change) for an
  // item of another menu.
  bool set_current_item(const std::shared_ptr<MenuItem>& item);

  // Rows: the menu's items.
  ElementList elements(std::string_view class_name) override;
  // menu, read only; current menu item, settable to an item of the menu;
  // title, the current item's, read only.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }
  Result<ElementPtr> make(std::string_view class_name, Position at,
                          const ValueRecord& properties) override;
  MaybeError remove(Element& child) override;

 private:
  friend class Menu;
  void item_added(const std::shared_ptr<MenuItem>& item);
  void item_removed(MenuItem& item);

  std::shared_ptr<Menu> m_menu;
  std::weak_ptr<MenuItem> m_current;
};

}  // namespace scriptkit::model

// The window object model's base: an element with a name, a parent, child
// elements and observers. Every object a script can address (the application,
// windows, boxes, controls, menus, table parts) is an Element.
//
// Two faces:
//  - typed C++ accessors on each subclass, for a view that draws the model
//    (Button::state(), PopUpButton::menu(), TableView::selected_rows(), …);
//  - a reflective face by script names, for the interpreter: get/set of a
//    property ("current menu item"), the elements of a class ("menu item"),
//    make, delete, commands (start, stop, update) and `call method`. The
//    properties are declared once per class, in its property table
//    (property_table.h), which get and set go through; the names are those
//    of names.h.
//
// Every change, from either face, is told to the observers of the element and
// of each of its ancestors, so one observer on the application sees all.
// Failures of the reflective face carry the classic script error numbers of
// scriptkit/runtime/error.h; a failed call changes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scriptkit/model/coerce.h"
#include "scriptkit/model/property_table.h"
#include "scriptkit/runtime/error.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::model {

enum class Kind {
  Application,
  Window,
  Box,
  Button,
  PopUpButton,
  Menu,
  MenuItem,
  TextField,
  ImageView,
  ProgressIndicator,
  ScrollView,
  TableView,
  TableColumn,
  HeaderCell,
  DataSource,
  DataRow,
  DataCell,
};

// Where `make` puts a new element among its siblings.
enum class Position { Beginning, End };

// What an observer is told.
enum class ChangeKind {
  Property,        // `property` of `element` changed
  ElementAdded,    // `child` was added to `element`
  ElementRemoved,  // `child` was removed from `element` (it is still alive)
  Update,          // the script asked for a redraw (`update`)
};

// The script's name of a class ("popup button").
std::string_view class_name_of(Kind kind);

class Element;

struct Change {
  ChangeKind kind;
  Element& element;
  std::string_view property;  // script name ("state", "bounds"); for element changes the
                              // child's class name ("menu item")
  Element* child = nullptr;
};

using Observer = std::function<void(const Change&)>;
using ObserverId = std::uint64_t;
using ElementPtr = std::shared_ptr<Element>;
using ElementList = std::vector<ElementPtr>;
// No value on success, else the failure.
using MaybeError = std::optional<ScriptError>;

class Element : public std::enable_shared_from_this<Element> {
 public:
  explicit Element(std::string name = {});
  virtual ~Element();
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;

  virtual Kind kind() const = 0;
  // The script's name of the class ("popup button").
  std::string_view class_name() const;
  // True for the element's own class name and for the wider names it answers
  // to ("control" for every control).
  virtual bool is_a(std::string_view class_name) const;

  const std::string& name() const { return m_name; }
  void set_name(std::string name);
  Element* parent() const { return m_parent; }
  const ElementList& children() const { return m_children; }
  // True when a script's `<class> "<name>"` means this element; menu items
  // also answer to their title.
  virtual bool answers_to(std::string_view name) const { return name == m_name; }
  // The element as a script would write it: `button "OK" of window "Main"`.
  std::string describe() const;
  // The 1-based index among the parent's elements of the same class, 0 without parent.
  std::size_t index() const;

  // Reflective face. Property and class names are the script's, in lower case
  // with single spaces ("current menu item", "data row"); see names.h.
  // The properties: `name` (settable), `class` and `index`, then those of
  // the element's class table.
  static const PropertyTable kProperties;
  virtual const PropertyTable& properties() const { return kProperties; }
  Result<Value> get(std::string_view property) const;
  MaybeError set(std::string_view property, const Value& value);
  // The elements of a class, in order ("every menu item of …").
  virtual ElementList elements(std::string_view class_name);
  // Makes a new element of a class at the beginning or end of this element's
  // elements of that class, then sets the given properties on it.
  virtual Result<ElementPtr> make(std::string_view class_name, Position at,
                                  const ValueRecord& properties);
  // Deletes one of this element's elements.
  virtual MaybeError remove(Element& child);
  // A command addressed to the element: "start", "stop", "update".
  virtual Result<Value> perform(std::string_view command);
  // `call method "<selector>" of object <this>`.
  virtual Result<Value> call_method(std::string_view selector, std::span<const Value> args);

  ObserverId observe(Observer observer);
  void unobserve(ObserverId id);

  // Failures naming this element.
  ScriptError cant_get(std::string_view what) const;
  ScriptError cant_set(std::string_view property, const Value& value) const;

 protected:
  // Tells the observers of this element and its ancestors.
  void notify(const Change& change);
  void changed(std::string_view property);
  // Stores a new value in a field and tells, when it differs from the old.
  template <typename T, typename U>
  void assign(T& field, U&& value, std::string_view property) {
    if (field == value) return;
    field = std::forward<U>(value);
    changed(property);
  }
  // Adds a child at a position among all children (clamped to the end) and tells.
  void adopt(ElementPtr child, std::size_t at);
  void adopt(ElementPtr child) { adopt(std::move(child), m_children.size()); }
  // Removes a child and tells; false when it is not a child of this element.
  bool drop(Element& child);
  // True for an element that a script reaches as a property of its parent
  // (`menu of …`, `data source of …`, `header cell of …`), not by name or index.
  virtual bool is_singleton() const { return false; }
  ScriptError doesnt_understand(std::string_view what) const;

 private:
  std::string m_name;
  Element* m_parent = nullptr;
  ElementList m_children;
  std::vector<std::pair<ObserverId, std::shared_ptr<Observer>>> m_observers;
};

// A list that a script reaches as a property of its owner (the menu of a
// pop-up button, the data source of a table view), not by name or index,
// whose elements are all of one class. A script's `delete` of one of them,
// and remove_all(), go through the list's remove_one().
template <typename Item>
class ItemList : public Element {
 public:
  using Element::Element;

  void remove_all() {
    while (!children().empty()) remove_one(static_cast<Item&>(*children().back()));
  }
  MaybeError remove(Element& child) override {
    if (child.parent() != this) return Element::remove(child);
    remove_one(static_cast<Item&>(child));
    return std::nullopt;
  }

 protected:
  virtual void remove_one(Item& item) = 0;
  // The element at a 0-based position, or nullptr.
  std::shared_ptr<Item> nth(std::size_t position) const {
    if (position >= children().size()) return nullptr;
    return std::static_pointer_cast<Item>(children()[position]);
  }
  bool is_singleton() const override { return true; }
};

// Looks up an element of a class by name or by 1-based index (negative from
// the end: -1 is the last). Fails with -1728 naming what was asked for.
Result<ElementPtr> element_named(Element& container, std::string_view class_name,
                                 std::string_view name);
Result<ElementPtr> element_at(Element& container, std::string_view class_name, std::int64_t index);

namespace detail {
// Sets the properties of a new element before it joins the model, so that a
// property that fails leaves the model as it was.
MaybeError apply_properties(Element& element, const ValueRecord& properties);
}  // namespace detail

}  // namespace scriptkit::model

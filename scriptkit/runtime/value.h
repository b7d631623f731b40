// Script values: what a script computes and what crosses into native calls.
// Text is UTF-8 here; the runtime converts it to and from Mac Roman at the
// boundary of a native call. Lists and records are shared by reference, as a
// script's `set` shares them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace scriptkit {

namespace model {
class Element;
}

struct Value;
using ValueList = std::vector<Value>;
using ValueRecord = std::vector<std::pair<std::string, Value>>;

// A class named in a script (`of class "NSIndexSet"`).
struct ClassRef {
  std::string name;
  bool operator==(const ClassRef&) const = default;
};

struct Value {
  using Data = std::variant<std::monostate, bool, std::int64_t, double, std::string,
                            std::shared_ptr<ValueList>, std::shared_ptr<ValueRecord>,
                            std::shared_ptr<model::Element>, ClassRef>;
  Data data;

  Value() = default;
  Value(bool b) : data(b) {}
  Value(int i) : data(static_cast<std::int64_t>(i)) {}
  Value(std::int64_t i) : data(i) {}
  Value(double d) : data(d) {}
  Value(const char* s) : data(std::string(s)) {}
  Value(std::string s) : data(std::move(s)) {}
  Value(ValueList list) : data(std::make_shared<ValueList>(std::move(list))) {}
  Value(ValueRecord record) : data(std::make_shared<ValueRecord>(std::move(record))) {}
  Value(std::shared_ptr<model::Element> element) : data(std::move(element)) {}
  Value(ClassRef c) : data(std::move(c)) {}

  bool is_missing() const { return std::holds_alternative<std::monostate>(data); }
  bool is_bool() const { return std::holds_alternative<bool>(data); }
  bool is_integer() const { return std::holds_alternative<std::int64_t>(data); }
  bool is_real() const { return std::holds_alternative<double>(data); }
  bool is_number() const { return is_integer() || is_real(); }
  bool is_text() const { return std::holds_alternative<std::string>(data); }
  bool is_list() const { return std::holds_alternative<std::shared_ptr<ValueList>>(data); }
  bool is_record() const { return std::holds_alternative<std::shared_ptr<ValueRecord>>(data); }
  bool is_element() const { return std::holds_alternative<std::shared_ptr<model::Element>>(data); }
  bool is_class() const { return std::holds_alternative<ClassRef>(data); }

  bool as_bool() const { return std::get<bool>(data); }
  std::int64_t as_integer() const { return std::get<std::int64_t>(data); }
  double as_real() const { return std::get<double>(data); }
  const std::string& as_text() const { return std::get<std::string>(data); }
  ValueList& as_list() const { return *std::get<std::shared_ptr<ValueList>>(data); }
  ValueRecord& as_record() const { return *std::get<std::shared_ptr<ValueRecord>>(data); }
  const std::shared_ptr<model::Element>& as_element() const {
    return std::get<std::shared_ptr<model::Element>>(data);
  }
  const ClassRef& as_class() const { return std::get<ClassRef>(data); }
};

}  // namespace scriptkit

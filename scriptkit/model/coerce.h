// Coercions between script values, as the language makes them when a value of
// one class is needed where another was given. Each fails with -1700
// "Can't make <value> into type <class>." and leaves nothing changed.
#pragma once

#include <cstdint>
#include <string>

#include "scriptkit/runtime/error.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::model {

// true/false; the texts "true"/"false"; the integers 1/0.
Result<bool> to_boolean(const Value& value);
// Integers; whole reals and reals rounded to the nearest (halves to even);
// texts holding a number. Results outside 64 bits fail.
Result<std::int64_t> to_integer(const Value& value);
// Numbers of either kind and texts holding a number.
Result<double> to_real(const Value& value);
// Texts; integers; reals as script_real_text writes them; booleans; classes
// by name; lists joined item by item.
Result<std::string> to_text(const Value& value);
// Lists as they are; any other value as a list of that one value.
ValueList to_list(const Value& value);

// A value as a script would write it, for error messages: "abc" with its
// quotes, 3, 2.5, {1, 2}, {name:"x"}, integer, button "OK" of window "Main".
std::string describe_value(const Value& value);
// A text as a script writes it: in quotes, with its quotes and backslashes
// escaped. The lexer reads it back as the same text.
std::string quoted_text(std::string_view text);
// The script's name of a value's class: "integer", "text", "list", ….
std::string class_of(const Value& value);
// A real in its shortest form that reads back the same: 2.5, 3.0, 1.0E+20.
// For values stored and read back (user defaults).
std::string format_real(double value);
// A real as a script shows it: at most 12 significant digits, no trailing
// zeros, exponent form from 1.0E+4 up and below 0.001: 76.2, 0.3, 3.0,
// 1024.0, 1.2345E+4, 1.0E+20, 1.5E-4.
std::string script_real_text(double value);

ScriptError cant_make(const Value& value, std::string_view type);

}  // namespace scriptkit::model

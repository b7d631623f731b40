#include "scriptkit/model/coerce.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "scriptkit/model/element.h"

namespace scriptkit::model {
namespace {

// Reads a whole text as a number; false when it holds anything else.
bool parse_number(const std::string& text, double& out) {
  std::size_t first = text.find_first_not_of(" \t");
  std::size_t last = text.find_last_not_of(" \t");
  if (first == std::string::npos) return false;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  if (*begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, out);
  return ec == std::errc() && ptr == end && std::isfinite(out);
}

Result<std::int64_t> integer_from_real(const Value& original, double real) {
  double rounded = std::nearbyint(real);
  // 2^63 is the first value out of range; it is exact as a double.
  if (!std::isfinite(rounded) || rounded >= 9223372036854775808.0 ||
      rounded < -9223372036854775808.0) {
    return cant_make(original, "integer");
  }
  return static_cast<std::int64_t>(rounded);
}

// Nesting deeper than this is not written out; it keeps a description short
// and bounded even for a list that holds itself.
constexpr int kMaxDescribedDepth = 16;

// Significant digits of a real written as text: as many as a script shows,
// so that 0.1 + 0.2 reads 0.3 and 25.4 * 3 reads 76.2.
constexpr int kScriptRealDigits = 12;

std::string describe(const Value& value, int depth);

std::string describe_items(const Value& value, int depth) {
  if (depth >= kMaxDescribedDepth) return "{…}";
  std::string out = "{";
  if (value.is_list()) {
    const ValueList& list = value.as_list();
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (i) out += ", ";
      out += describe(list[i], depth + 1);
    }
  } else {
    const ValueRecord& record = value.as_record();
    for (std::size_t i = 0; i < record.size(); ++i) {
      if (i) out += ", ";
      out += record[i].first + ":" + describe(record[i].second, depth + 1);
    }
  }
  return out + "}";
}

std::string describe(const Value& value, int depth) {
  if (value.is_missing()) return "missing value";
  if (value.is_text()) return quoted_text(value.as_text());
  if (value.is_element()) return value.as_element() ? value.as_element()->describe() : "nothing";
  if (value.is_class()) return value.as_class().name;
  if (value.is_list() || value.is_record()) return describe_items(value, depth);
  if (value.is_bool()) return value.as_bool() ? "true" : "false";
  if (value.is_integer()) return std::to_string(value.as_integer());
  return script_real_text(value.as_real());
}

// Joins a list's items as text; lists inside lists are joined too, up to a depth.
bool join_text(const ValueList& list, std::string& out, int depth) {
  if (depth >= kMaxDescribedDepth) return false;
  for (const Value& item : list) {
    if (item.is_list()) {
      if (!join_text(item.as_list(), out, depth + 1)) return false;
      continue;
    }
    Result<std::string> piece = to_text(item);
    if (failed(piece)) return false;
    out += std::get<std::string>(piece);
  }
  return true;
}

}  // namespace

ScriptError cant_make(const Value& value, std::string_view type) {
  return ScriptError{kErrCantMake, "Can't make " + describe_value(value) + " into type " +
                                       std::string(type) + "."};
}

Result<bool> to_boolean(const Value& value) {
  if (value.is_bool()) return value.as_bool();
  if (value.is_integer() && (value.as_integer() == 0 || value.as_integer() == 1)) {
    return value.as_integer() == 1;
  }
  if (value.is_text()) {
    if (value.as_text() == "true") return true;
    if (value.as_text() == "false") return false;
  }
  if (value.is_list() && value.as_list().size() == 1) return to_boolean(value.as_list()[0]);
  return cant_make(value, "boolean");
}

Result<std::int64_t> to_integer(const Value& value) {
  if (value.is_integer()) return value.as_integer();
  if (value.is_real()) return integer_from_real(value, value.as_real());
  double number = 0;
  if (value.is_text() && parse_number(value.as_text(), number)) {
    return integer_from_real(value, number);
  }
  if (value.is_list() && value.as_list().size() == 1) return to_integer(value.as_list()[0]);
  return cant_make(value, "integer");
}

Result<double> to_real(const Value& value) {
  if (value.is_integer()) return static_cast<double>(value.as_integer());
  if (value.is_real()) return value.as_real();
  double number = 0;
  if (value.is_text() && parse_number(value.as_text(), number)) return number;
  if (value.is_list() && value.as_list().size() == 1) return to_real(value.as_list()[0]);
  return cant_make(value, "real");
}

Result<std::string> to_text(const Value& value) {
  if (value.is_text()) return value.as_text();
  if (value.is_integer()) return std::to_string(value.as_integer());
  if (value.is_real()) return script_real_text(value.as_real());
  if (value.is_bool()) return std::string(value.as_bool() ? "true" : "false");
  if (value.is_class()) return value.as_class().name;
  std::string joined;
  if (value.is_list() && join_text(value.as_list(), joined, 0)) return joined;
  return cant_make(value, "text");
}

ValueList to_list(const Value& value) {
  if (value.is_list()) return value.as_list();
  return ValueList{value};
}

std::string format_real(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "1.0E+308" : "-1.0E+308";
  char buffer[40];
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
  }
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  std::string text = buffer;
  if (std::size_t e = text.find('e'); e != std::string::npos) text[e] = 'E';
  return text;
}

std::string script_real_text(double value) {
  if (!std::isfinite(value)) return format_real(value);
  if (value == 0) return "0.0";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*e", kScriptRealDigits - 1, value);
  std::string_view text(buffer);
  bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::size_t e = text.find('e');
  int exponent = std::atoi(text.data() + e + 1);
  std::string digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = negative ? "-" : "";
  if (exponent >= 4 || exponent <= -4) {
    out += digits.substr(0, 1) + "." + (digits.size() > 1 ? digits.substr(1) : "0");
    return out + (exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(exponent));
  }
  if (exponent < 0) return out + "0." + std::string(-exponent - 1, '0') + digits;
  auto whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() < whole) digits.append(whole - digits.size(), '0');
  std::string fraction = digits.size() > whole ? digits.substr(whole) : "0";
  return out + digits.substr(0, whole) + "." + fraction;
}

std::string class_of(const Value& value) {
  if (value.is_missing()) return "missing value";
  if (value.is_bool()) return "boolean";
  if (value.is_integer()) return "integer";
  if (value.is_real()) return "real";
  if (value.is_text()) return "text";
  if (value.is_list()) return "list";
  if (value.is_record()) return "record";
  if (value.is_element()) {
    return value.as_element() ? std::string(value.as_element()->class_name()) : "missing value";
  }
  return "class";
}

std::string quoted_text(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string describe_value(const Value& value) {
  return describe(value, 0);
}

}  // namespace scriptkit::model

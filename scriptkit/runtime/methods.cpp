#include "scriptkit/runtime/methods.h"

#include <cerrno>
#include <cstdlib>

#include "platform/files.h"

namespace scriptkit::runtime {

namespace {

std::int32_t low_32_bits(std::int64_t n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
}

// Reals from -2^63 up to 2^63 (not included) truncate to an integer; past
// them the conversion would be undefined.
bool fits_integer(double d) {
  return d >= -0x1p63 && d < 0x1p63;
}

}  // namespace

Result<std::int32_t> to_int32(const Value& v) {
  if (v.is_integer()) return low_32_bits(v.as_integer());
  if (v.is_bool()) return v.as_bool() ? 1 : 0;
  if (v.is_real() && fits_integer(v.as_real())) {
    return low_32_bits(static_cast<std::int64_t>(v.as_real()));
  }
  if (v.is_text()) {
    const std::string& text = v.as_text();
    char* end = nullptr;
    errno = 0;
    long long n = std::strtoll(text.c_str(), &end, 10);
    if (!text.empty() && end && *end == '\0' && errno != ERANGE) return low_32_bits(n);
  }
  return ScriptError{kErrCantMake, "Can't make the parameter into type integer."};
}

Result<std::string> to_mac_roman(const Value& v) {
  if (v.is_text()) return platform::short_text_of(v.as_text());
  if (v.is_integer()) return std::to_string(v.as_integer());
  if (v.is_missing()) return std::string();
  return ScriptError{kErrCantMake, "Can't make the parameter into type text."};
}

Result<Object> to_object(const Value& v) {
  if (v.is_element()) return v.as_element();
  return ScriptError{kErrCantMake, "Can't make the parameter into an object."};
}

Value from_mac_roman(const char* text) {
  return Value(platform::text_of_short_text(text ? std::string_view(text) : std::string_view()));
}

void Registry::add(const MethodList& list) {
  for (std::size_t i = 0; i < list.count; ++i) add(list.methods[i]);
}

void Registry::add(const Method& method) {
  m_methods[{std::string(method.receiver), std::string(method.selector)}] = method;
}

void Registry::remove_receiver(std::string_view receiver) {
  std::erase_if(m_methods, [&](const auto& entry) { return entry.first.first == receiver; });
}

bool Registry::has_class(std::string_view name) const {
  for (const auto& entry : m_methods) {
    if (entry.first.first == name) return true;
  }
  return false;
}

const Method* Registry::find(std::string_view receiver, std::string_view selector) const {
  auto it = m_methods.find(std::pair<std::string, std::string>(receiver, selector));
  return it == m_methods.end() ? nullptr : &it->second;
}

Result<Value> Registry::call(std::string_view receiver, std::string_view selector,
                             std::span<const Value> args) const {
  const Method* method = find(receiver, selector);
  if (!method) {
    std::string who = receiver.empty() ? std::string("application") : std::string(receiver);
    return ScriptError{kErrDoesNotUnderstand,
                       who + " doesn't understand the \"" + std::string(selector) + "\" message."};
  }
  return method->invoke(args);
}

Registry& registry() {
  static Registry instance;
  return instance;
}

void load_program_methods() {
  if (&ask_program_methods != nullptr) registry().add(ask_program_methods);
}

}  // namespace scriptkit::runtime

// The method registry that scripts call into (`call method`): receivers (the
// application object, the application class and classes by name) whose
// selectors are bound to C++ functions. Arguments and results are converted
// at the boundary:
//   int32        an integer, low 32 bits (reals are truncated, digit texts read;
//                one past the 64-bit integers fails with -1700)
//   SInt16       the low half of the int32, signed
//   const char*  Mac Roman 8-bit text, NUL-ended; a character without a Mac
//                Roman form becomes its nearest one ("?" when there is none)
//   Object       the script's own window object, passed unchanged
// Results: void gives no value, int32 an integer, const char* a text made from
// Mac Roman.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "scriptkit/runtime/error.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::runtime {

// The receivers.
constexpr std::string_view kApplicationObject = "";  // default receiver of `call method`
constexpr std::string_view kApplicationClass = "NSApplication";

using Object = std::shared_ptr<model::Element>;
using Invoker = Result<Value> (*)(std::span<const Value> args);

struct Method {
  std::string_view receiver;  // kApplicationObject, or a class name
  std::string_view selector;  // "__GetPictureInfo", "DisplayIcon:which:"
  Invoker invoke;
};

struct MethodList {
  const Method* methods;
  std::size_t count;
};

// Conversions used by the bindings; exposed for the tests. Text crosses as
// the platform's short texts do (platform::short_text_of and
// text_of_short_text): a path with no Mac Roman form that fits goes to the
// native side with shortened components and comes back as the real path.
Result<std::int32_t> to_int32(const Value& v);
Result<std::string> to_mac_roman(const Value& v);
Result<Object> to_object(const Value& v);
Value from_mac_roman(const char* text);

// The registry of receivers and their selectors, for this process.
class Registry {
 public:
  void add(const MethodList& list);
  void add(const Method& method);
  void remove_receiver(std::string_view receiver);
  bool has_class(std::string_view name) const;
  const Method* find(std::string_view receiver, std::string_view selector) const;
  // Calls a selector; an unknown selector fails with -1708 "doesn't understand".
  Result<Value> call(std::string_view receiver, std::string_view selector,
                     std::span<const Value> args) const;

 private:
  std::map<std::pair<std::string, std::string>, Method, std::less<>> m_methods;
};

Registry& registry();

// Adds the program's own methods (the class list it was linked with) to the
// registry. Called by the framework when it loads the bundle.
void load_program_methods();

namespace detail {

template <typename T>
struct Arg;
template <>
struct Arg<std::int32_t> {
  using Holder = std::int32_t;
  static Result<Holder> take(const Value& v) { return to_int32(v); }
  static std::int32_t get(const Holder& h) { return h; }
};
template <>
struct Arg<std::int16_t> {
  using Holder = std::int32_t;
  static Result<Holder> take(const Value& v) { return to_int32(v); }
  static std::int16_t get(const Holder& h) { return static_cast<std::int16_t>(h); }
};
template <>
struct Arg<const char*> {
  using Holder = std::string;
  static Result<Holder> take(const Value& v) { return to_mac_roman(v); }
  static const char* get(const Holder& h) { return h.c_str(); }
};
template <>
struct Arg<Object> {
  using Holder = Object;
  static Result<Holder> take(const Value& v) { return to_object(v); }
  static Object get(const Holder& h) { return h; }
};

inline Value wrap(std::int32_t v) {
  return Value(static_cast<std::int64_t>(v));
}
inline Value wrap(const char* v) {
  return from_mac_roman(v);
}

template <auto F, typename Sig>
struct Invoke;

template <auto F, typename R, typename... A>
struct Invoke<F, R (*)(A...)> {
  static Result<Value> call(std::span<const Value> args) {
    if (args.size() != sizeof...(A)) {
      return ScriptError{kErrDoesNotUnderstand, "wrong number of parameters"};
    }
    return unpack(args, std::index_sequence_for<A...>{});
  }

  template <std::size_t... I>
  static Result<Value> unpack([[maybe_unused]] std::span<const Value> args,
                              std::index_sequence<I...>) {
    std::tuple<Result<typename Arg<std::decay_t<A>>::Holder>...> held{
        Arg<std::decay_t<A>>::take(args[I])...};
    ScriptError error;
    bool ok = true;
    [[maybe_unused]] auto check = [&](const auto& r) {
      if (ok && failed(r)) {
        error = std::get<ScriptError>(r);
        ok = false;
      }
    };
    (check(std::get<I>(held)), ...);
    if (!ok) return error;
    if constexpr (std::is_void_v<R>) {
      F(Arg<std::decay_t<A>>::get(std::get<0>(std::get<I>(held)))...);
      return Value();
    } else {
      return wrap(F(Arg<std::decay_t<A>>::get(std::get<0>(std::get<I>(held)))...));
    }
  }
};

}  // namespace detail

// The invoker of a native function, converting as described above.
template <auto F>
constexpr Invoker bind() {
  return &detail::Invoke<F, decltype(F)>::call;
}

}  // namespace scriptkit::runtime

// The program's own script-callable methods, defined by the program and found
// at link time like the class list of a loaded image; absent in programs that
// define none.
extern "C" const scriptkit::runtime::MethodList ask_program_methods __attribute__((weak));

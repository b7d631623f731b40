// The method registry: what a native function receives for each script value,
// what a script gets back, and the failures at the boundary.
#include "scriptkit/runtime/methods.h"

#include <gtest/gtest.h>

#include <string>

using namespace scriptkit;
using runtime::registry;

namespace {

std::int32_t g_int = 0;
std::int16_t g_short = 0;
std::string g_text;

std::int32_t Twice(std::int32_t n) {
  g_int = n;
  return n * 2;
}
void TakeShort(std::int16_t n) {
  g_short = n;
}
const char* Echo(const char* text) {
  g_text = text;
  return g_text.c_str();
}

class Methods : public ::testing::Test {
 protected:
  Methods() {
    registry().add({"MethodsTest", "twice:", runtime::bind<&Twice>()});
    registry().add({"MethodsTest", "takeShort:", runtime::bind<&TakeShort>()});
    registry().add({"MethodsTest", "echo:", runtime::bind<&Echo>()});
  }
  ~Methods() override { registry().remove_receiver("MethodsTest"); }

  Result<Value> call(std::string_view selector, Value arg) {
    return registry().call("MethodsTest", selector, std::span(&arg, 1));
  }
  ScriptError error_of(const Result<Value>& r) {
    EXPECT_TRUE(failed(r));
    return failed(r) ? std::get<ScriptError>(r) : ScriptError{};
  }
};

TEST_F(Methods, IntegersArriveAsTheirLow32Bits) {
  EXPECT_EQ(std::get<Value>(call("twice:", Value(21))).as_integer(), 42);
  ASSERT_FALSE(failed(call("twice:", Value(std::int64_t{0x100000005}))));
  EXPECT_EQ(g_int, 5);
  ASSERT_FALSE(failed(call("twice:", Value(std::int64_t{0xFFFFFFFF}))));
  EXPECT_EQ(g_int, -1);
  ASSERT_FALSE(failed(call("takeShort:", Value(std::int64_t{0x18001}))));
  EXPECT_EQ(g_short, -32767);
}

TEST_F(Methods, RealsAreTruncatedAndDigitTextsRead) {
  ASSERT_FALSE(failed(call("twice:", Value(-7.9))));
  EXPECT_EQ(g_int, -7);
  ASSERT_FALSE(failed(call("twice:", Value("-12"))));
  EXPECT_EQ(g_int, -12);
  ASSERT_FALSE(failed(call("twice:", Value(true))));
  EXPECT_EQ(g_int, 1);
}

TEST_F(Methods, ValuesWithNoIntegerFail) {
  const Value cases[] = {Value("12px"), Value(""),    Value("99999999999999999999"),
                         Value(1e300),  Value(-1e19), Value(ValueList{Value(1)}),
                         Value()};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    g_int = 123;
    EXPECT_EQ(error_of(call("twice:", cases[i])).number, kErrCantMake) << "case " << i;
    EXPECT_EQ(g_int, 123);
  }
}

TEST_F(Methods, TextsCrossAsMacRomanAndComeBackAsUtf8) {
  EXPECT_EQ(std::get<Value>(call("echo:", Value("Café"))).as_text(), "Café");
  EXPECT_EQ(g_text, "Caf\x8E");
  EXPECT_EQ(std::get<Value>(call("echo:", Value(42))).as_text(), "42");
  EXPECT_EQ(std::get<Value>(call("echo:", Value())).as_text(), "");
  EXPECT_EQ(error_of(call("echo:", Value(2.5))).number, kErrCantMake);
}

TEST_F(Methods, UnknownSelectorsAndWrongCountsFail) {
  ScriptError unknown = error_of(registry().call("MethodsTest", "nothing:", {}));
  EXPECT_EQ(unknown.number, kErrDoesNotUnderstand);
  EXPECT_EQ(unknown.message, "MethodsTest doesn't understand the \"nothing:\" message.");
  EXPECT_EQ(error_of(registry().call(runtime::kApplicationObject, "nothing:", {})).message,
            "application doesn't understand the \"nothing:\" message.");
  EXPECT_EQ(error_of(registry().call("MethodsTest", "twice:", {})).number, kErrDoesNotUnderstand);
}

TEST_F(Methods, ARemovedReceiverIsGone) {
  EXPECT_TRUE(registry().has_class("MethodsTest"));
  registry().remove_receiver("MethodsTest");
  EXPECT_FALSE(registry().has_class("MethodsTest"));
  EXPECT_EQ(registry().find("MethodsTest", "twice:"), nullptr);
}

}  // namespace

// Locales and number formatters (Core Foundation's CFLocale and
// CFNumberFormatter), backed by ICU's decimal formatter with ICU's own locale
// data, so the machine's C library locales are not needed.
#pragma once

#include <memory>

#include "platform/cf.h"

// A locale: its ICU identifier ("de_DE", "en_US_POSIX").
struct __CFLocale : platform::CFObject {
  CFStringRef identifier = nullptr;
  ~__CFLocale() override;
};
using CFLocaleRef = const __CFLocale*;

using CFNumberFormatterStyle = long;
enum : CFNumberFormatterStyle {
  kCFNumberFormatterNoStyle = 0,
  kCFNumberFormatterDecimalStyle = 1,
};

// A formatter for one locale and style. Its ICU formatter stays inside.
struct __CFNumberFormatter : platform::CFObject {
  struct Backing;
  std::unique_ptr<Backing> backing;
  ~__CFNumberFormatter() override;
};
using CFNumberFormatterRef = __CFNumberFormatter*;

// Property key: the most decimals shown (an integer number object).
extern const CFStringRef kCFNumberFormatterMaxFractionDigits;

// The user's current locale, read from the environment at each call: LC_ALL,
// then LC_NUMERIC, then LANG ("fr_FR.UTF-8" gives "fr_FR"). Without any, or
// with "C" or "POSIX", the locale is "en_US_POSIX": a full stop before the
// decimals and no grouping, as the C library writes numbers. The caller
// releases it.
CFLocaleRef CFLocaleCopyCurrent();
// The locale's identifier; owned by the locale.
CFStringRef CFLocaleGetIdentifier(CFLocaleRef locale);

// A formatter with the locale's own separators, grouping, decimals and
// rounding (half to even). Since the program shows numbers in Mac Roman, a
// locale whose digits have none (ar_EG, fa_IR, bn_BD) writes Latin digits
// (ICU's numbering system "latn") with that locale's separators for them,
// and a separator without a Mac Roman form as in English. Null for an
// unknown style. The caller releases it.
CFNumberFormatterRef CFNumberFormatterCreate(CFAllocatorRef allocator, CFLocaleRef locale,
                                             CFNumberFormatterStyle style);
// Sets one property; unknown keys and values of the wrong kind are ignored.
void CFNumberFormatterSetProperty(CFNumberFormatterRef formatter, CFStringRef key, CFTypeRef value);
// Writes a value of the given number type (a float is widened to a double
// first) as text. Null when the formatter or the value is missing. The caller
// releases the string.
CFStringRef CFNumberFormatterCreateStringWithValue(CFAllocatorRef allocator,
                                                   CFNumberFormatterRef formatter,
                                                   CFNumberType numberType, const void* valuePtr);

#include "platform/numberformat.h"

#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>

#include <string>
#include <utility>

#include "platform/linux/environment_locale.h"
#include "platform/text.h"

namespace {

struct PropertyName : __CFString {
  explicit PropertyName(const char* text) {
    utf8 = text;
    references = 1L << 40;  // lives for the whole run
  }
};
PropertyName g_max_fraction_digits("kCFNumberFormatterMaxFractionDigits");

// True when a symbol of the formatter has a Mac Roman form, its own or the
// nearest one.
bool has_mac_roman_form(const icu::UnicodeString& symbol) {
  std::string utf8;
  symbol.toUTF8String(utf8);
  return !utf8.empty() && platform::has_mac_roman_form(utf8);
}

std::unique_ptr<icu::NumberFormat> decimal_format(const icu::Locale& locale) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> format(
      icu::NumberFormat::createInstance(locale, UNUM_DECIMAL, status));
  return U_SUCCESS(status) ? std::move(format) : nullptr;
}

// The locale's formatter, able to write every number in Mac Roman: when the
// locale's digits have no Mac Roman form (Arabic, Persian, Bengali...), the
// same locale with Latin digits (numbering system "latn"), and then a
// separator that still has no form is written as in English.
std::unique_ptr<icu::NumberFormat> mac_roman_format(const icu::Locale& locale) {
  std::unique_ptr<icu::NumberFormat> format = decimal_format(locale);
  auto* decimal = dynamic_cast<icu::DecimalFormat*>(format.get());
  if (!decimal) return format;
  using Symbols = icu::DecimalFormatSymbols;
  if (has_mac_roman_form(decimal->getDecimalFormatSymbols()->getSymbol(Symbols::kZeroDigitSymbol)))
    return format;
  icu::Locale latin(locale);
  UErrorCode status = U_ZERO_ERROR;
  latin.setKeywordValue("numbers", "latn", status);
  std::unique_ptr<icu::NumberFormat> latin_format = decimal_format(latin);
  decimal = dynamic_cast<icu::DecimalFormat*>(latin_format.get());
  if (U_FAILURE(status) || !decimal) return format;
  Symbols symbols(*decimal->getDecimalFormatSymbols());
  for (auto [symbol, english] : {std::pair{Symbols::kDecimalSeparatorSymbol, u"."},
                                 std::pair{Symbols::kGroupingSeparatorSymbol, u","},
                                 std::pair{Symbols::kMinusSignSymbol, u"-"}}) {
    if (!has_mac_roman_form(symbols.getSymbol(symbol))) symbols.setSymbol(symbol, english);
  }
  decimal->setDecimalFormatSymbols(symbols);
  return latin_format;
}

}  // namespace

const CFStringRef kCFNumberFormatterMaxFractionDigits = &g_max_fraction_digits;

struct __CFNumberFormatter::Backing {
  std::unique_ptr<icu::NumberFormat> format;
};

__CFLocale::~__CFLocale() {
  CFRelease(identifier);
}

__CFNumberFormatter::~__CFNumberFormatter() = default;

CFLocaleRef CFLocaleCopyCurrent() {
  auto locale = std::make_unique<__CFLocale>();
  locale->identifier =
      CFStringCreateWithUTF8(platform::icu_locale_id(platform::environment_locale("LC_NUMERIC")));
  return static_cast<CFLocaleRef>(platform::adopt_cf_object(std::move(locale)));
}

CFStringRef CFLocaleGetIdentifier(CFLocaleRef locale) {
  return locale ? locale->identifier : nullptr;
}

CFNumberFormatterRef CFNumberFormatterCreate(CFAllocatorRef, CFLocaleRef locale,
                                             CFNumberFormatterStyle style) {
  if (style != kCFNumberFormatterDecimalStyle && style != kCFNumberFormatterNoStyle) return nullptr;
  icu::Locale icu_locale(locale ? locale->identifier->utf8.c_str() : "en_US_POSIX");
  std::unique_ptr<icu::NumberFormat> format = mac_roman_format(icu_locale);
  if (!format) return nullptr;
  if (style == kCFNumberFormatterNoStyle) {
    // Whole numbers, no grouping.
    format->setGroupingUsed(false);
    format->setMaximumFractionDigits(0);
  }
  auto formatter = std::make_unique<__CFNumberFormatter>();
  formatter->backing = std::make_unique<__CFNumberFormatter::Backing>();
  formatter->backing->format = std::move(format);
  return static_cast<CFNumberFormatterRef>(
      const_cast<platform::CFObject*>(platform::adopt_cf_object(std::move(formatter))));
}

void CFNumberFormatterSetProperty(CFNumberFormatterRef formatter, CFStringRef key,
                                  CFTypeRef value) {
  if (!formatter || !key || !value) return;
  auto number = dynamic_cast<CFNumberRef>(value);
  if (!number || key->utf8 != kCFNumberFormatterMaxFractionDigits->utf8) return;
  std::int32_t digits = 0;
  CFNumberGetValue(number, kCFNumberSInt32Type, &digits);
  if (digits >= 0) formatter->backing->format->setMaximumFractionDigits(digits);
}

CFStringRef CFNumberFormatterCreateStringWithValue(CFAllocatorRef, CFNumberFormatterRef formatter,
                                                   CFNumberType numberType, const void* valuePtr) {
  if (!formatter || !valuePtr) return nullptr;
  CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, numberType, valuePtr);
  double value = 0;
  CFNumberGetValue(number, kCFNumberDoubleType, &value);
  CFRelease(number);
  icu::UnicodeString text;
  formatter->backing->format->format(value, text);
  std::string utf8;
  text.toUTF8String(utf8);
  return CFStringCreateWithUTF8(std::move(utf8));
}

// The description of an ICC profile, read with lcms2's wide-character call:
// its ASCII call replaces every character outside ASCII. lcms2 also checks
// every profile; a version 2 description is then read by
// icc_text_description, which reads its Unicode record. Of the records of a
// version 4 description (one per language) the one shown is chosen by
// choose_description.
#include <lcms2.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/linux/environment_locale.h"
#include "platform/linux/picture_reader.h"
#include "platform/text.h"
#include "platform/utf.h"

namespace platform {
namespace {

// A profile's header alone is 128 bytes, and its tag count follows.
constexpr std::size_t kSmallestProfile = 132;

// lcms2 reports broken profiles through a log handler; a context without one
// keeps them quiet.
cmsContext quiet_context() {
  static cmsContext context = [] {
    cmsContext c = cmsCreateContext(nullptr, nullptr);
    cmsSetLogErrorHandlerTHR(c, nullptr);
    return c;
  }();
  return context;
}

struct ProfileCloser {
  void operator()(void* profile) const { cmsCloseProfile(profile); }
};

// The two-letter language and country of the user's messages ("fr", "FR").
void user_language(char language[3], char country[3]) {
  std::string id = icu_locale_id(environment_locale("LC_MESSAGES"));
  language[0] = id.size() >= 2 ? id[0] : 'e';
  language[1] = id.size() >= 2 ? id[1] : 'n';
  bool has_country = id.size() >= 5 && id[2] == '_';
  country[0] = has_country ? id[3] : 'U';
  country[1] = has_country ? id[4] : 'S';
  language[2] = country[2] = '\0';
}

// Wide characters up to the first NUL, to UTF-8, without trailing blanks.
std::string to_utf8(const std::wstring& wide) {
  std::u32string code_points(wide.begin(), std::find(wide.begin(), wide.end(), L'\0'));
  std::string out = utf32_to_utf8_lossy(code_points);
  while (!out.empty() && (out.back() == ' ' || out.back() == '\n')) out.pop_back();
  return out;
}

// The records of the profile's description: each language's text.
std::vector<DescriptionRecord> description_records(cmsHPROFILE profile) {
  std::vector<DescriptionRecord> records;
  auto* mlu = static_cast<cmsMLU*>(cmsReadTag(profile, cmsSigProfileDescriptionTag));
  if (!mlu) return records;
  for (cmsUInt32Number i = 0, n = cmsMLUtranslationsCount(mlu); i < n; ++i) {
    char language[3] = {}, country[3] = {};
    if (!cmsMLUtranslationsCodes(mlu, i, language, country)) continue;
    cmsUInt32Number bytes = cmsMLUgetWide(mlu, language, country, nullptr, 0);
    if (bytes < sizeof(wchar_t)) continue;
    std::wstring wide(bytes / sizeof(wchar_t), L'\0');
    cmsMLUgetWide(mlu, language, country, wide.data(), bytes);
    records.push_back({std::string(language, ::strnlen(language, 2)),
                       std::string(country, ::strnlen(country, 2)), to_utf8(wide)});
  }
  return records;
}

}  // namespace

const DescriptionRecord* choose_description(const std::vector<DescriptionRecord>& records,
                                            std::string_view language, std::string_view country) {
  auto find = [&](auto fits) -> const DescriptionRecord* {
    for (const DescriptionRecord& record : records) {
      if (fits(record) && !record.text.empty() && has_mac_roman_form(record.text)) return &record;
    }
    return nullptr;
  };
  const DescriptionRecord* chosen =
      find([&](const auto& r) { return r.language == language && r.country == country; });
  if (!chosen) chosen = find([&](const auto& r) { return r.language == language; });
  if (!chosen) chosen = find([](const auto& r) { return r.language == "en"; });
  if (!chosen) chosen = find([](const auto&) { return true; });
  return chosen;
}

std::string icc_profile_description(Bytes profile) {
  if (profile.size() < kSmallestProfile || profile.size() > 0xFFFFFFFFu) return {};
  std::unique_ptr<void, ProfileCloser> handle(cmsOpenProfileFromMemTHR(
      quiet_context(), profile.data(), static_cast<cmsUInt32Number>(profile.size())));
  if (!handle) return {};
  if (std::optional<std::string> text = icc_text_description(profile)) return *text;
  char language[3], country[3];
  user_language(language, country);
  std::vector<DescriptionRecord> records = description_records(handle.get());
  if (const DescriptionRecord* chosen = choose_description(records, language, country))
    return chosen->text;
  // No record has a Mac Roman form: the user's own, in its nearest form.
  cmsUInt32Number bytes =
      cmsGetProfileInfo(handle.get(), cmsInfoDescription, language, country, nullptr, 0);
  if (bytes < sizeof(wchar_t)) return {};
  std::wstring wide(bytes / sizeof(wchar_t), L'\0');
  cmsGetProfileInfo(handle.get(), cmsInfoDescription, language, country, wide.data(), bytes);
  return to_utf8(wide);
}

}  // namespace platform

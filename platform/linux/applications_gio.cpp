// The applications the chooser offers: GIO's lists of installed desktop
// entries, the recommended ones for a content type first, ordered with ICU's
// collator for the user's locale and folded with ICU for the filter.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <set>

#include "platform/linux/environment_locale.h"
#include "platform/linux/gobject_ptr.h"
#include "platform/nav.h"

namespace platform {
namespace {

std::string s_document_type;

std::string icon_name(GAppInfo* app) {
  GIcon* icon = g_app_info_get_icon(app);  // not owned
  if (icon == nullptr) return {};
  GCharPtr text(g_icon_to_string(icon));
  return text ? text.get() : "";
}

// Everything the filter may match, one name a line, folded.
std::string search_text(GDesktopAppInfo* entry) {
  std::string text = g_app_info_get_name(G_APP_INFO(entry));
  if (const char* generic = g_desktop_app_info_get_generic_name(entry))
    text.append("\n").append(generic);
  if (const char* const* keywords = g_desktop_app_info_get_keywords(entry)) {
    for (; *keywords; ++keywords) text.append("\n").append(*keywords);
  }
  if (const char* command = g_app_info_get_executable(G_APP_INFO(entry)))
    text.append("\n").append(command);
  return fold_for_search(text);
}

// Adds the list's entries that the chooser may offer and it has not seen yet.
void add_entries(GList* list, bool recommended, bool shown_only, std::set<std::string>& seen,
                 std::vector<ApplicationEntry>& out) {
  for (GList* item = list; item; item = item->next) {
    auto* app = static_cast<GAppInfo*>(item->data);
    if (!G_IS_DESKTOP_APP_INFO(app)) continue;
    GDesktopAppInfo* entry = G_DESKTOP_APP_INFO(app);
    const char* id = g_app_info_get_id(app);
    const char* filename = g_desktop_app_info_get_filename(entry);
    if (id == nullptr || filename == nullptr || g_desktop_app_info_get_is_hidden(entry)) continue;
    if (std::string_view(id) == kOwnDesktopId || (shown_only && !g_app_info_should_show(app)))
      continue;
    if (!seen.insert(id).second) continue;
    out.push_back(
        {g_app_info_get_name(app), icon_name(app), filename, search_text(entry), recommended});
  }
}

// The collator of LC_COLLATE's locale; the root order where the locale is "C",
// whose own ICU tailoring would put every capital before every small letter.
std::unique_ptr<icu::Collator> user_collator() {
  std::string id = icu_locale_id(environment_locale("LC_COLLATE"));
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale = id == "en_US_POSIX" ? icu::Locale::getRoot() : icu::Locale(id.c_str());
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
  if (U_FAILURE(status)) return nullptr;
  return collator;
}

// Recommended entries first, then the others, each group in collation order.
void sort_entries(std::vector<ApplicationEntry>& entries) {
  std::unique_ptr<icu::Collator> collator = user_collator();
  auto less = [&](const ApplicationEntry& a, const ApplicationEntry& b) {
    if (a.recommended != b.recommended) return a.recommended;
    if (!collator) return a.name < b.name;
    UErrorCode status = U_ZERO_ERROR;
    return collator->compareUTF8(a.name, b.name, status) == UCOL_LESS;
  };
  std::stable_sort(entries.begin(), entries.end(), less);
}

}  // namespace

std::vector<ApplicationEntry> list_applications(const std::string& content_type) {
  std::vector<ApplicationEntry> entries;
  std::set<std::string> seen;
  if (!content_type.empty()) {
    GObjectListPtr recommended(g_app_info_get_recommended_for_type(content_type.c_str()));
    add_entries(recommended.get(), true, false, seen, entries);
    GObjectListPtr fallback(g_app_info_get_fallback_for_type(content_type.c_str()));
    add_entries(fallback.get(), true, false, seen, entries);
  }
  GObjectListPtr all(g_app_info_get_all());
  add_entries(all.get(), false, true, seen, entries);
  sort_entries(entries);
  return entries;
}

std::string fold_for_search(std::string_view utf8) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  if (U_SUCCESS(status)) text = nfd->normalize(text, status);
  icu::UnicodeString bare;
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
    UChar32 c = text.char32At(i);
    if (u_charType(c) != U_NON_SPACING_MARK) bare.append(c);
  }
  std::string out;
  bare.foldCase().toUTF8String(out);
  return out;
}

const std::string& chooser_document_type() {
  return s_document_type;
}

void note_chooser_document_type(std::string content_type) {
  s_document_type = std::move(content_type);
}

}  // namespace platform

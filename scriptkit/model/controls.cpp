#include "scriptkit/model/controls.h"

#include "scriptkit/model/property_helpers.h"

namespace scriptkit::model {

using detail::set_boolean;
using detail::set_integer;
using detail::set_text;

void Button::set_style(Style style) {
  if (style == m_style) return;
  m_style = style;
  changed("button type");
}

void Button::set_title(std::string title) {
  if (title == m_title) return;
  m_title = std::move(title);
  changed("title");
}

void Button::set_state(std::int64_t state) {
  std::int32_t normal = (state == kOff || state == kMixed) ? static_cast<std::int32_t>(state) : kOn;
  if (normal == m_state) return;
  m_state = normal;
  changed("state");
}

Result<Value> Button::get(std::string_view property) {
  if (property == "title") return Value(m_title);
  if (property == "state") return Value(std::int64_t{m_state});
  if (property == "button type") {
    return Value(std::string(m_style == Style::CheckBox ? "switch button" : "push button"));
  }
  return Control::get(property);
}

MaybeError Button::set(std::string_view property, const Value& value) {
  if (property == "title") return set_text(value, [&](std::string t) { set_title(std::move(t)); });
  if (property == "state") {
    // A script may write `true` for on.
    if (value.is_bool()) {
      set_state(value.as_bool() ? kOn : kOff);
      return std::nullopt;
    }
    return set_integer(value, [&](std::int64_t s) { set_state(s); });
  }
  return Control::set(property, value);
}

void TextField::set_contents(std::string contents) {
  if (contents == m_contents) return;
  m_contents = std::move(contents);
  changed("contents");
}

void TextField::set_editable(bool editable) {
  if (editable == m_editable) return;
  m_editable = editable;
  changed("editable");
}

Result<Value> TextField::get(std::string_view property) {
  if (property == "contents" || property == "string value") return Value(m_contents);
  if (property == "editable") return Value(m_editable);
  return Control::get(property);
}

MaybeError TextField::set(std::string_view property, const Value& value) {
  if (property == "contents" || property == "string value") {
    return set_text(value, [&](std::string t) { set_contents(std::move(t)); });
  }
  if (property == "editable") return set_boolean(value, [&](bool b) { set_editable(b); });
  return Control::set(property, value);
}

void ImageView::set_image(Image image) {
  if (image == m_image) return;
  m_image = std::move(image);
  changed("image");
}

Result<Value> ImageView::get(std::string_view property) {
  if (property == "image") {
    bool named =
        m_image.source == Image::Source::IconName || m_image.source == Image::Source::FilePath;
    return Value(named ? m_image.name : std::string());
  }
  return Control::get(property);
}

MaybeError ImageView::set(std::string_view property, const Value& value) {
  if (property != "image") return Control::set(property, value);
  if (value.is_missing()) {
    set_image(Image{});
    return std::nullopt;
  }
  Result<std::string> text = to_text(value);
  if (failed(text)) return std::get<ScriptError>(text);
  const std::string& t = std::get<std::string>(text);
  if (t.empty()) {
    set_image(Image{});
  } else if (t[0] == '/') {
    set_image(Image::file(t));
  } else {
    set_image(Image::icon(t));
  }
  return std::nullopt;
}

void ProgressIndicator::set_animating(bool animating) {
  if (animating == m_animating) return;
  m_animating = animating;
  changed("animating");
}

Result<Value> ProgressIndicator::get(std::string_view property) {
  if (property == "animating") return Value(m_animating);
  return Control::get(property);
}

MaybeError ProgressIndicator::set(std::string_view property, const Value& value) {
  if (property == "animating") return set_boolean(value, [&](bool b) { set_animating(b); });
  return Control::set(property, value);
}

Result<Value> ProgressIndicator::perform(std::string_view command) {
  if (command == "start") {
    set_animating(true);
    return Value();
  }
  if (command == "stop") {
    set_animating(false);
    return Value();
  }
  return Control::perform(command);
}

}  // namespace scriptkit::model

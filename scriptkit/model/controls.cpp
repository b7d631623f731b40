#include "scriptkit/model/controls.h"

namespace scriptkit::model {
namespace {

Value button_type(const Element& e) {
  bool check_box = static_cast<const Button&>(e).style() == Button::Style::CheckBox;
  return Value(std::string(check_box ? "switch button" : "push button"));
}

// A script may write `true` for on.
MaybeError set_button_state(Element& e, const Value& value) {
  auto& button = static_cast<Button&>(e);
  if (value.is_bool()) {
    button.set_state(value.as_bool() ? Button::kOn : Button::kOff);
    return std::nullopt;
  }
  return detail::apply(to_integer(value), [&](std::int64_t s) { button.set_state(s); });
}

Value image_name(const Element& e) {
  const Image& image = static_cast<const ImageView&>(e).image();
  bool named = image.source == Image::Source::IconName || image.source == Image::Source::FilePath;
  return Value(named ? image.name : std::string());
}

MaybeError set_image_name(Element& e, const Value& value) {
  auto& view = static_cast<ImageView&>(e);
  if (value.is_missing()) {
    view.set_image(Image{});
    return std::nullopt;
  }
  Result<std::string> text = to_text(value);
  if (failed(text)) return std::get<ScriptError>(text);
  std::string& t = std::get<std::string>(text);
  if (t.empty()) {
    view.set_image(Image{});
  } else if (t[0] == '/') {
    view.set_image(Image::file(std::move(t)));
  } else {
    view.set_image(Image::icon(std::move(t)));
  }
  return std::nullopt;
}

constexpr Property kButtonProperties[] = {
    plain_property<&Button::title, &Button::set_title>(prop::kTitle),
    {prop::kState, PropertyType::Integer,
     [](const Element& e) { return Value(static_cast<const Button&>(e).state()); },
     set_button_state},
    {prop::kButtonType, PropertyType::Text, button_type},
};

constexpr Property kContents =
    plain_property<&TextField::contents, &TextField::set_contents>(prop::kContents);
constexpr Property kTextFieldProperties[] = {
    kContents,
    alias(kContents, prop::kStringValue),
    plain_property<&TextField::editable, &TextField::set_editable>(prop::kEditable),
};

constexpr Property kImageViewProperties[] = {
    {prop::kImage, PropertyType::Text, image_name, set_image_name},
};

constexpr Property kProgressProperties[] = {
    plain_property<&ProgressIndicator::animating, &ProgressIndicator::set_animating>(
        prop::kAnimating),
};

}  // namespace

constinit const PropertyTable Button::kProperties{&View::kProperties, kButtonProperties};
constinit const PropertyTable TextField::kProperties{&View::kProperties, kTextFieldProperties};
constinit const PropertyTable ImageView::kProperties{&View::kProperties, kImageViewProperties};
constinit const PropertyTable ProgressIndicator::kProperties{&View::kProperties,
                                                             kProgressProperties};

void Button::set_state(std::int64_t state) {
  std::int32_t normal = (state == kOff || state == kMixed) ? static_cast<std::int32_t>(state) : kOn;
  assign(m_state, normal, prop::kState);
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

// Single controls: buttons (push buttons and check boxes), text fields, image
// views and progress indicators.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scriptkit/model/view.h"

namespace scriptkit::model {

class Button : public Control {
 public:
  enum class Style { Push, CheckBox };
  // Check-box states.
  enum : std::int32_t { kOff = 0, kOn = 1, kMixed = -1 };

  explicit Button(std::string name = {}, Style style = Style::Push)
      : Control(std::move(name)), m_style(style) {}
  Kind kind() const override { return Kind::Button; }

  Style style() const { return m_style; }
  void set_style(Style style) { assign(m_style, style, prop::kButtonType); }
  const std::string& title() const { return m_title; }
  void set_title(std::string title) { assign(m_title, std::move(title), prop::kTitle); }
  // 0 off, 1 on, -1 mixed. Any other number given is taken as on.
  std::int32_t state() const { return m_state; }
  void set_state(std::int64_t state);

  // title; state (true for on); button type, "push button" or "switch
  // button", read only.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  Style m_style;
  std::string m_title;
  std::int32_t m_state = kOff;
};

class TextField : public Control {
 public:
  using Control::Control;
  Kind kind() const override { return Kind::TextField; }

  // The whole text shown, UTF-8.
  const std::string& contents() const { return m_contents; }
  void set_contents(std::string contents) {
    assign(m_contents, std::move(contents), prop::kContents);
  }
  bool editable() const { return m_editable; }
  void set_editable(bool editable) { assign(m_editable, editable, prop::kEditable); }

  // contents, also called string value; editable.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  std::string m_contents;
  bool m_editable = false;
};

// What an image view shows: nothing, a themed icon by name ("folder",
// "image-x-generic"), an image file by path, or encoded image bytes (PNG).
struct Image {
  enum class Source { None, IconName, FilePath, Bytes };
  Source source = Source::None;
  std::string name;                 // icon name or file path
  std::vector<std::uint8_t> bytes;  // encoded image for Source::Bytes

  static Image icon(std::string name) { return {Source::IconName, std::move(name), {}}; }
  static Image file(std::string path) { return {Source::FilePath, std::move(path), {}}; }
  static Image encoded(std::vector<std::uint8_t> b) { return {Source::Bytes, {}, std::move(b)}; }
  bool operator==(const Image&) const = default;
};

class ImageView : public Control {
 public:
  using Control::Control;
  Kind kind() const override { return Kind::ImageView; }

  const Image& image() const { return m_image; }
  void set_image(Image image) { assign(m_image, std::move(image), prop::kImage); }

  // image: a script sees the image as text: the icon name, the file path (it
  // begins with "/"), or "" for none and for encoded bytes. Setting a text
  // that begins with "/" shows that file, any other text the icon of that
  // name, and missing value or "" nothing.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  Image m_image;
};

class ProgressIndicator : public Control {
 public:
  using Control::Control;
  Kind kind() const override { return Kind::ProgressIndicator; }

  bool animating() const { return m_animating; }
  void set_animating(bool animating) { assign(m_animating, animating, prop::kAnimating); }

  // animating.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }
  // "start" and "stop" the animation; "update" as every element.
  Result<Value> perform(std::string_view command) override;

 private:
  bool m_animating = false;
};

}  // namespace scriptkit::model

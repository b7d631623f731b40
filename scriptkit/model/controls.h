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
  std::string_view class_name() const override { return "button"; }

  Style style() const { return m_style; }
  void set_style(Style style);
  const std::string& title() const { return m_title; }
  void set_title(std::string title);
  // 0 off, 1 on, -1 mixed. Any other number given is taken as on.
  std::int32_t state() const { return m_state; }
  void set_state(std::int64_t state);

  Result<Value> get(std::string_view property) override;
  MaybeError set(std::string_view property, const Value& value) override;

 private:
  Style m_style;
  std::string m_title;
  std::int32_t m_state = kOff;
};

class TextField : public Control {
 public:
  using Control::Control;
  Kind kind() const override { return Kind::TextField; }
  std::string_view class_name() const override { return "text field"; }

  // The whole text shown, UTF-8.
  const std::string& contents() const { return m_contents; }
  void set_contents(std::string contents);
  bool editable() const { return m_editable; }
  void set_editable(bool editable);

  Result<Value> get(std::string_view property) override;
  MaybeError set(std::string_view property, const Value& value) override;

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
  std::string_view class_name() const override { return "image view"; }

  const Image& image() const { return m_image; }
  void set_image(Image image);

  // A script sees the image as text: the icon name, the file path (it begins
  // with "/"), or "" for none and for encoded bytes. Setting a text that
  // begins with "/" shows that file, any other text the icon of that name.
  Result<Value> get(std::string_view property) override;
  MaybeError set(std::string_view property, const Value& value) override;

 private:
  Image m_image;
};

class ProgressIndicator : public Control {
 public:
  using Control::Control;
  Kind kind() const override { return Kind::ProgressIndicator; }
  std::string_view class_name() const override { return "progress indicator"; }

  bool animating() const { return m_animating; }
  void set_animating(bool animating);

  Result<Value> get(std::string_view property) override;
  MaybeError set(std::string_view property, const Value& value) override;
  // "start" and "stop" the animation; "update" as every element.
  Result<Value> perform(std::string_view command) override;

 private:
  bool m_animating = false;
};

}  // namespace scriptkit::model

// The bindings of single controls: push buttons, check boxes, text fields,
// image views, progress indicators, and boxes (which hold other views).
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "scriptkit/model/controls.h"
#include "scriptkit/qt/view_binding.h"

namespace scriptkit::qt {

class PushButtonBinding final : public TypedBinding<model::Button, QPushButton> {
 public:
  PushButtonBinding(std::shared_ptr<model::Button> button, QWidget* parent,
                    app::ViewEvents& events);

 private:
  void refresh() override;
  bool shows(std::string_view property) const override;
};

// A check box: the user's click sets the model's state (on, or off), then
// reaches the framework as clicked.
class CheckBoxBinding final : public TypedBinding<model::Button, QCheckBox> {
 public:
  CheckBoxBinding(std::shared_ptr<model::Button> button, QWidget* parent, app::ViewEvents& events);

 private:
  void refresh() override;
  bool shows(std::string_view) const override { return true; }
};

// A text field: a line edit, which looks like a plain label while it cannot
// be edited. The user's typing changes the model's contents as it goes.
class TextFieldBinding final : public TypedBinding<model::TextField, QLineEdit> {
 public:
  TextFieldBinding(std::shared_ptr<model::TextField> field, QWidget* parent);

 private:
  void refresh() override;
  bool shows(std::string_view) const override { return true; }
};

// An image view: a themed icon by name (or the first of the names "a;b;c"
// that the theme has), an image file scaled to fit (or the icon of its file
// type when it is no image), or encoded image bytes.
class ImageViewBinding final : public TypedBinding<model::ImageView, QLabel> {
 public:
  ImageViewBinding(std::shared_ptr<model::ImageView> view, QWidget* parent);

 private:
  void refresh() override;
  bool shows(std::string_view property) const override;
};

// A progress indicator: a busy bar while it is animating, empty otherwise.
class ProgressBinding final : public TypedBinding<model::ProgressIndicator, QProgressBar> {
 public:
  ProgressBinding(std::shared_ptr<model::ProgressIndicator> indicator, QWidget* parent);

 private:
  void refresh() override;
  bool shows(std::string_view property) const override;
};

class BoxBinding final : public TypedBinding<model::Box, QGroupBox> {
 public:
  using TypedBinding::TypedBinding;
  QWidget* container() override { return m_widget; }

 private:
  void refresh() override;
  bool shows(std::string_view property) const override;
};

}  // namespace scriptkit::qt

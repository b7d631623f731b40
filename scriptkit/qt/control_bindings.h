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

class PushButtonBinding final : public ViewBinding {
 public:
  PushButtonBinding(std::shared_ptr<model::Button> button, QWidget* parent,
                    app::ViewEvents& events);
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  std::shared_ptr<model::Button> m_button;
  QPushButton* m_widget;
};

// A check box: the user's click sets the model's state (on, or off), then
// reaches the framework as clicked.
class CheckBoxBinding final : public ViewBinding {
 public:
  CheckBoxBinding(std::shared_ptr<model::Button> button, QWidget* parent, app::ViewEvents& events);
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  std::shared_ptr<model::Button> m_button;
  QCheckBox* m_widget;
};

// A text field: a line edit, which looks like a plain label while it cannot
// be edited. The user's typing changes the model's contents as it goes.
class TextFieldBinding final : public ViewBinding {
 public:
  TextFieldBinding(std::shared_ptr<model::TextField> field, QWidget* parent);
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  std::shared_ptr<model::TextField> m_field;
  QLineEdit* m_widget;
};

// An image view: a themed icon by name (or the first of the names "a;b;c"
// that the theme has), an image file scaled to fit (or the icon of its file
// type when it is no image), or encoded image bytes.
class ImageViewBinding final : public ViewBinding {
 public:
  ImageViewBinding(std::shared_ptr<model::ImageView> view, QWidget* parent);
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  std::shared_ptr<model::ImageView> m_image_view;
  QLabel* m_widget;
};

// A progress indicator: a busy bar while it is animating, empty otherwise.
class ProgressBinding final : public ViewBinding {
 public:
  ProgressBinding(std::shared_ptr<model::ProgressIndicator> indicator, QWidget* parent);
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  std::shared_ptr<model::ProgressIndicator> m_indicator;
  QProgressBar* m_widget;
};

class BoxBinding final : public ViewBinding {
 public:
  BoxBinding(std::shared_ptr<model::Box> box, QWidget* parent);
  QWidget* container() override { return m_widget; }
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  std::shared_ptr<model::Box> m_box;
  QGroupBox* m_widget;
};

}  // namespace scriptkit::qt

#include "scriptkit/qt/control_bindings.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>

#include "scriptkit/qt/qt_text.h"

namespace scriptkit::qt {
namespace {

bool is_property(const model::Change& change, const model::Element& element) {
  return change.kind == model::ChangeKind::Property && &change.element == &element;
}

Qt::CheckState check_state(std::int32_t state) {
  if (state == model::Button::kOff) return Qt::Unchecked;
  if (state == model::Button::kMixed) return Qt::PartiallyChecked;
  return Qt::Checked;
}

// A picture file scaled into the box, read at the reduced size only.
QPixmap file_pixmap(const QString& path, QSize box) {
  QImageReader reader(path);
  if (reader.canRead()) {
    QSize size = reader.size();
    if (size.isValid()) reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull()) return QPixmap::fromImage(image);
  }
  return QFileIconProvider().icon(QFileInfo(path)).pixmap(box);
}

// A themed icon by name, or by the first name of a chain "a;b;c" (best
// first) that the icon theme has.
QIcon themed_icon(const QString& names) {
  const QStringList chain = names.split(';', Qt::SkipEmptyParts);
  for (const QString& name : chain) {
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  }
  return chain.isEmpty() ? QIcon() : QIcon::fromTheme(chain.front());
}

}  // namespace

PushButtonBinding::PushButtonBinding(std::shared_ptr<model::Button> button, QWidget* parent,
                                     app::ViewEvents& events)
    : ViewBinding(button, new QPushButton, parent), m_button(std::move(button)) {
  m_widget = static_cast<QPushButton*>(widget());
  QObject::connect(m_widget, &QPushButton::clicked, m_widget, [this, &events] {
    if (!updating()) events.clicked(*m_button);
  });
}

void PushButtonBinding::refresh() {
  Updating guard(*this);
  m_widget->setText(to_qt(m_button->title()));
}

void PushButtonBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (is_property(change, *m_button) && change.property == "title") refresh();
}

CheckBoxBinding::CheckBoxBinding(std::shared_ptr<model::Button> button, QWidget* parent,
                                 app::ViewEvents& events)
    : ViewBinding(button, new QCheckBox, parent), m_button(std::move(button)) {
  m_widget = static_cast<QCheckBox*>(widget());
  QObject::connect(m_widget, &QCheckBox::clicked, m_widget, [this, &events](bool checked) {
    if (updating()) return;
    m_button->set_state(checked ? model::Button::kOn : model::Button::kOff);
    events.clicked(*m_button);
  });
}

void CheckBoxBinding::refresh() {
  Updating guard(*this);
  m_widget->setText(to_qt(m_button->title()));
  m_widget->setTristate(m_button->state() == model::Button::kMixed);
  m_widget->setCheckState(check_state(m_button->state()));
}

void CheckBoxBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (is_property(change, *m_button)) refresh();
}

TextFieldBinding::TextFieldBinding(std::shared_ptr<model::TextField> field, QWidget* parent)
    : ViewBinding(field, new QLineEdit, parent), m_field(std::move(field)) {
  m_widget = static_cast<QLineEdit*>(widget());
  QObject::connect(m_widget, &QLineEdit::textEdited, m_widget, [this](const QString& text) {
    if (!updating()) m_field->set_contents(from_qt(text));
  });
}

void TextFieldBinding::refresh() {
  Updating guard(*this);
  QString text = to_qt(m_field->contents());
  if (m_widget->text() != text) {
    m_widget->setText(text);
    m_widget->setCursorPosition(0);  // the start of a long path, not its end
  }
  m_widget->setToolTip(m_field->editable() ? QString() : plain_text_for_display(text));
  m_widget->setReadOnly(!m_field->editable());
  m_widget->setFrame(m_field->editable());
  QPalette palette = m_widget->parentWidget() ? m_widget->parentWidget()->palette() : QPalette();
  if (!m_field->editable()) palette.setColor(QPalette::Base, Qt::transparent);
  m_widget->setPalette(palette);
  m_widget->setFocusPolicy(m_field->editable() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TextFieldBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (is_property(change, *m_field)) refresh();
}

ImageViewBinding::ImageViewBinding(std::shared_ptr<model::ImageView> view, QWidget* parent)
    : ViewBinding(view, new QLabel, parent), m_image_view(std::move(view)) {
  m_widget = static_cast<QLabel*>(widget());
  m_widget->setAlignment(Qt::AlignCenter);
}

void ImageViewBinding::refresh() {
  const model::Image& image = m_image_view->image();
  const QSize box = m_widget->size();
  QPixmap pixmap;
  switch (image.source) {
    case model::Image::Source::IconName:
      pixmap = themed_icon(to_qt(image.name)).pixmap(box);
      break;
    case model::Image::Source::FilePath:
      pixmap = file_pixmap(to_qt(image.name), box);
      break;
    case model::Image::Source::Bytes:
      pixmap.loadFromData(image.bytes.data(), static_cast<uint>(image.bytes.size()));
      pixmap = pixmap.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      break;
    case model::Image::Source::None:
      break;
  }
  m_widget->setPixmap(pixmap);
}

void ImageViewBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (is_property(change, *m_image_view) &&
      (change.property == "image" || change.property == "bounds")) {
    refresh();
  }
}

ProgressBinding::ProgressBinding(std::shared_ptr<model::ProgressIndicator> indicator,
                                 QWidget* parent)
    : ViewBinding(indicator, new QProgressBar, parent), m_indicator(std::move(indicator)) {
  m_widget = static_cast<QProgressBar*>(widget());
  m_widget->setTextVisible(false);
}

void ProgressBinding::refresh() {
  m_widget->setRange(0, m_indicator->animating() ? 0 : 1);
  m_widget->setValue(0);
}

void ProgressBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (is_property(change, *m_indicator) && change.property == "animating") refresh();
}

BoxBinding::BoxBinding(std::shared_ptr<model::Box> box, QWidget* parent)
    : ViewBinding(box, new QGroupBox, parent), m_box(std::move(box)) {
  m_widget = static_cast<QGroupBox*>(widget());
}

void BoxBinding::refresh() {
  m_widget->setTitle(to_qt(m_box->title()));
}

void BoxBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (is_property(change, *m_box) && change.property == "title") refresh();
}

}  // namespace scriptkit::qt

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
    : TypedBinding(std::move(button), parent) {
  QObject::connect(m_widget, &QPushButton::clicked, m_widget, [this, &events] {
    if (!updating()) events.clicked(*m_model);
  });
}

bool PushButtonBinding::shows(std::string_view property) const {
  return property == model::prop::kTitle;
}

void PushButtonBinding::refresh() {
  Updating guard(*this);
  m_widget->setText(to_qt(m_model->title()));
}

CheckBoxBinding::CheckBoxBinding(std::shared_ptr<model::Button> button, QWidget* parent,
                                 app::ViewEvents& events)
    : TypedBinding(std::move(button), parent) {
  QObject::connect(m_widget, &QCheckBox::clicked, m_widget, [this, &events](bool checked) {
    if (updating()) return;
    m_model->set_state(checked ? model::Button::kOn : model::Button::kOff);
    events.clicked(*m_model);
  });
}

void CheckBoxBinding::refresh() {
  Updating guard(*this);
  m_widget->setText(to_qt(m_model->title()));
  m_widget->setTristate(m_model->state() == model::Button::kMixed);
  m_widget->setCheckState(check_state(m_model->state()));
}

TextFieldBinding::TextFieldBinding(std::shared_ptr<model::TextField> field, QWidget* parent)
    : TypedBinding(std::move(field), parent) {
  QObject::connect(m_widget, &QLineEdit::textEdited, m_widget, [this](const QString& text) {
    if (!updating()) m_model->set_contents(from_qt(text));
  });
}

void TextFieldBinding::refresh() {
  Updating guard(*this);
  QString text = to_qt(m_model->contents());
  if (m_widget->text() != text) {
    m_widget->setText(text);
    m_widget->setCursorPosition(0);  // the start of a long path, not its end
  }
  m_widget->setToolTip(m_model->editable() ? QString() : plain_text_for_display(text));
  m_widget->setReadOnly(!m_model->editable());
  m_widget->setFrame(m_model->editable());
  QPalette palette = m_widget->parentWidget() ? m_widget->parentWidget()->palette() : QPalette();
  if (!m_model->editable()) palette.setColor(QPalette::Base, Qt::transparent);
  m_widget->setPalette(palette);
  m_widget->setFocusPolicy(m_model->editable() ? Qt::StrongFocus : Qt::ClickFocus);
}

ImageViewBinding::ImageViewBinding(std::shared_ptr<model::ImageView> view, QWidget* parent)
    : TypedBinding(std::move(view), parent) {
  m_widget->setAlignment(Qt::AlignCenter);
}

bool ImageViewBinding::shows(std::string_view property) const {
  return property == model::prop::kImage || property == model::prop::kBounds;
}

void ImageViewBinding::refresh() {
  const model::Image& image = m_model->image();
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

ProgressBinding::ProgressBinding(std::shared_ptr<model::ProgressIndicator> indicator,
                                 QWidget* parent)
    : TypedBinding(std::move(indicator), parent) {
  m_widget->setTextVisible(false);
}

bool ProgressBinding::shows(std::string_view property) const {
  return property == model::prop::kAnimating;
}

void ProgressBinding::refresh() {
  m_widget->setRange(0, m_model->animating() ? 0 : 1);
  m_widget->setValue(0);
}

bool BoxBinding::shows(std::string_view property) const {
  return property == model::prop::kTitle;
}

void BoxBinding::refresh() {
  m_widget->setTitle(to_qt(m_model->title()));
}

}  // namespace scriptkit::qt

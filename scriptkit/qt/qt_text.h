// Texts between the model and Qt: the model's UTF-8 as a QString and back, a
// text made safe to show as a label, and a file URL's path as the file
// system's bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <QUrl>
#include <string>
#include <string_view>

namespace scriptkit::qt {

inline QString to_qt(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string from_qt(const QString& text) {
  return text.toStdString();
}

// A text for a tooltip or a label that shows what it says: Qt takes a text
// that looks like HTML as HTML, so a file named "<h1>SPOOF.jpg" would show as
// a heading. Such a text is escaped into a paragraph that keeps its spaces.
inline QString plain_text_for_display(const QString& text) {
  if (!Qt::mightBeRichText(text)) return text;
  return Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
}

// The path of a local file's URL as the file system's own bytes: a name that
// is not valid UTF-8 keeps its bytes, which QString would lose.
inline std::string local_file_bytes(const QUrl& url) {
  QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
  QByteArray bytes = QByteArray::fromPercentEncoding(encoded);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace scriptkit::qt

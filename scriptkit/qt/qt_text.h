// The one place where the model's UTF-8 text becomes Qt's and back.
#pragma once

#include <QByteArray>
#include <QString>
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

// The path of a local file's URL as the file system's own bytes: a name that
// is not valid UTF-8 keeps its bytes, which QString would lose.
inline std::string local_file_bytes(const QUrl& url) {
  QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
  QByteArray bytes = QByteArray::fromPercentEncoding(encoded);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace scriptkit::qt

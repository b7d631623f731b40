// The one place where the model's UTF-8 text becomes Qt's and back.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace scriptkit::qt {

inline QString to_qt(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string from_qt(const QString& text) {
  return text.toStdString();
}

}  // namespace scriptkit::qt

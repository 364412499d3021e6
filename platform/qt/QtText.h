// Texts between the framework (UTF-8 std::string) and Qt (QString).
#pragma once

#include <QString>
#include <string>

namespace platform::qt {

inline QString FromUtf8(const std::string& Text) {
  return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

inline std::string ToUtf8(const QString& Text) {
  return Text.toUtf8().toStdString();
}

}  // namespace platform::qt

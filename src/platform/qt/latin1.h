// The program's Latin-1 text to and from Qt's strings, one character for one.
#pragma once

#include <QString>
#include <string>

namespace qv {

inline QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string FromLatin1(const QString& s) { return s.toLatin1().toStdString(); }

}  // namespace qv

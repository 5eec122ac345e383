// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/qtstrings.h"

#include <QFile>

#include "base/cp1252.h"

namespace vocatrix::ui {

QString ToQString(std::string_view cp1252) {
  QString result(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
  QChar* out = result.data();
  for (unsigned char byte : cp1252) *out++ = QChar(static_cast<char16_t>(Cp1252ToCodePoint(byte)));
  return result;
}

std::string ToLessonString(const QString& text, QString* rejected) {
  std::string result;
  AppendLessonString(result, text, rejected);
  return result;
}

void AppendLessonString(std::string& out, QStringView text, QString* rejected) {
  out.reserve(out.size() + static_cast<std::size_t>(text.size()));
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    char32_t codePoint = text[i].unicode();
    if (codePoint < 0x80) {  // the same in both
      out += static_cast<char>(codePoint);
      continue;
    }
    qsizetype width = 1;
    if (text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
      codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
      width = 2;
    }
    const int code = CodePointToCp1252(codePoint);
    if (code >= 0) {
      out += static_cast<char>(code);
    } else {
      out += '?';
      if (rejected) {
        const QString character = text.mid(i, width).toString();
        if (!rejected->contains(character)) *rejected += character;
      }
    }
    i += width - 1;
  }
}

QChar CharOfCode(unsigned char code) { return QChar(static_cast<char16_t>(Cp1252ToCodePoint(code))); }

int CodeOfChar(QChar c) { return CodePointToCp1252(c.unicode()); }

QString Utf8ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString FileNameToQString(const std::string& fileName) { return QFile::decodeName(QByteArray::fromStdString(fileName)); }

std::string QStringToFileName(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

}  // namespace vocatrix::ui

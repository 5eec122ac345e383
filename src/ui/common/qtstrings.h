// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place where lesson strings (Windows-1252 bytes), UTF-8 messages and
// file-system names meet QString.

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace vocatrix::ui {

// A Windows-1252 lesson string as QString.
QString ToQString(std::string_view cp1252);

// A QString as a Windows-1252 lesson string. Characters Windows-1252 cannot
// hold become "?"; each distinct one is appended once to `rejected` (when
// given), so the caller can tell the user what was replaced.
std::string ToLessonString(const QString& text, QString* rejected = nullptr);
// The same, appended to `out`.
void AppendLessonString(std::string& out, QStringView text, QString* rejected = nullptr);

// One Windows-1252 character (code 0 to 255) as QChar.
QChar CharOfCode(unsigned char code);
// The Windows-1252 code of a character, or -1.
int CodeOfChar(QChar c);

// UTF-8 text (messages) to QString.
QString Utf8ToQString(std::string_view utf8);

// File names: file-system bytes and back.
QString FileNameToQString(const std::string& fileName);
std::string QStringToFileName(const QString& fileName);

}  // namespace vocatrix::ui

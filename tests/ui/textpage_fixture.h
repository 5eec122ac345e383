// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers of the Text page tests: the page's text, its selection and the
// fonts of its characters, and the main window's status bar.

#include <QProgressBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "components/compostatusbar.h"
#include "base/font.h"
#include "ui/textview/lessontextview.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {

class TextPageTest : public UiTest {
 protected:
  static QString PageText(ui::VocabEditForm* form) { return form->MemoText->document()->toRawText().replace(
      QChar::ParagraphSeparator, '\n'); }
  // Replaces the page's text as the user would by typing.
  static void TypeText(ui::VocabEditForm* form, const QString& text) { form->MemoText->setPlainText(text); }
  static QString Selected(ui::VocabEditForm* form) { return form->MemoText->textCursor().selectedText(); }

  // Lesson lines as the page shows them.
  static QString Joined(const std::vector<std::string>& lines) {
    QStringList parts;
    for (const std::string& line : lines) parts << ui::ToQString(line);
    return parts.join('\n');
  }

  // Places the caret at a column of a line of the page.
  static void PutCaret(ui::VocabEditForm* form, int line, int column) {
    QTextCursor cursor(form->MemoText->document()->findBlockByNumber(line));
    cursor.setPosition(cursor.position() + column);
    form->MemoText->setTextCursor(cursor);
  }

  // The format of the character at a column of a line, as a rich-text run format.
  static RtfCharFormat FormatAt(ui::VocabEditForm* form, int line, int column) {
    const QTextDocument* document = form->MemoText->document();
    QTextCursor cursor(document->findBlockByNumber(line));
    cursor.setPosition(cursor.position() + column + 1);
    return ui::RunFormatOf(cursor.charFormat(), document->defaultFont());
  }
  static RtfCharFormat FormatOf(const TFont& font) { return ui::RunFormatOf(ui::CharFormatOfFont(font), QFont()); }

  QString Panel(int index) { return Main().StatusBar()->PanelText(index); }
};

}  // namespace vocatrix::test

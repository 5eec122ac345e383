// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor of the Text page: the lesson as lesson text, in the language
// fonts. Plain-text storage with character formats, which stays fast for
// lessons of many thousand lines.

#include <QPlainTextEdit>

namespace vocatrix::ui {

class TMemoText : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TMemoText(QWidget* parent = nullptr);

  // Insets the area the text is laid out in from the control's edges.
  void SetTextMargins(int horizontal, int vertical);

  // Shows a document built elsewhere (with the plain-text layout) and owns
  // it; the document shown before is deleted when this control owned it.
  void SetDocument(QTextDocument* document);
};

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/memotext.h"

#include <QTextDocument>

namespace vocatrix::ui {

TMemoText::TMemoText(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(false);
}

void TMemoText::SetTextMargins(int horizontal, int vertical) {
  // The margins are the whole inset: the document adds none of its own.
  document()->setDocumentMargin(0);
  setViewportMargins(horizontal, vertical, horizontal, vertical);
}

void TMemoText::SetDocument(QTextDocument* document) {
  // The control's first document belongs to its text control, which deletes
  // it on the change; documents handed in here belong to this control.
  QTextDocument* previous = this->document();
  const bool ownPrevious = previous && previous != document && previous->parent() == this;
  document->setParent(this);
  setDocument(document);
  if (document->documentMargin() != 0) document->setDocumentMargin(0);
  if (ownPrevious) delete previous;
}

}  // namespace vocatrix::ui

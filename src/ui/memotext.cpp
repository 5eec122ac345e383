#include "ui/memotext.h"

namespace vocatrix::ui {

TMemoText::TMemoText(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(false);
}

void TMemoText::SetTextMargins(int horizontal, int vertical) {
  setViewportMargins(horizontal, vertical, horizontal, vertical);
}

}  // namespace vocatrix::ui

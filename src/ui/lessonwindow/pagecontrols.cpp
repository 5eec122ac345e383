// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/pagecontrols.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/language/textproperties.h"

namespace vocatrix::ui {

QFont PixelFont(const QString& family, int pixels, bool bold) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y, int width,
                  Qt::Alignment alignment) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setAlignment(alignment | Qt::AlignVCenter);
  label->setGeometry(x, y, width > 0 ? width : label->sizeHint().width(), 17);
  if (width <= 0) label->setProperty(kAutoSizeProperty, true);
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int x, int y, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(x, y, width, 21);
  return edit;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QString& hint, int x, int y) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setGeometry(x, y, 145, 65);
  memo->setTabChangesFocus(true);
  SetHint(memo, hint);
  return memo;
}

QFrame* MakePanel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(geometry);
  return panel;
}

void CollectRejected(QString* rejected, const QString& more) {
  for (qsizetype i = 0; i < more.size(); ++i) {
    const qsizetype width = more[i].isHighSurrogate() && i + 1 < more.size() ? 2 : 1;
    const QString character = more.mid(i, width);
    if (!rejected->contains(character)) *rejected += character;
    i += width - 1;
  }
}

}  // namespace vocatrix::ui

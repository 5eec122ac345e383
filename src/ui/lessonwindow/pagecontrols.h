// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of the lesson window's pages as the window design places
// them: fonts in pixels, labels, edits, word memos and panels at fixed
// positions, each named for the interface-language files.

#include <QFont>
#include <QRect>
#include <QString>
#include <Qt>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace vocatrix::ui {

QFont PixelFont(const QString& family, int pixels, bool bold);

// A label without a width of its own grows with a longer translation.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y, int width = -1,
                  Qt::Alignment alignment = Qt::AlignLeft);
QLineEdit* MakeEdit(QWidget* parent, const char* name, int x, int y, int width);
// A memo of one word a line; Tab moves on to the next control.
QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QString& hint, int x, int y);
QFrame* MakePanel(QWidget* parent, const char* name, const QRect& geometry);

// Adds the characters of `more` that `rejected` does not hold yet.
void CollectRejected(QString* rejected, const QString& more);

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A framed label that draws a list of lines instead of its caption, each line
// with the same outline or shadow.

#include <QStringList>

#include "components/framedlabel.h"

namespace vocatrix {

class TMultiLabel : public TFramedLabel {
  Q_OBJECT
 public:
  explicit TMultiLabel(QWidget* parent = nullptr);

  const QStringList& Text() const { return text_; }
  void SetText(const QStringList& lines);
  // The distance from one line's top to the next: the font's line height and
  // external leading, plus room for the copies below the text.
  int LineHeight(const QFontMetrics& metrics) const;

 protected:
  void DrawLabelText(QPainter& canvas, QRect& rect, int flags) override;

 private:
  QStringList text_{QStringLiteral("MultiLabel")};
};

}  // namespace vocatrix

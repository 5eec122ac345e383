// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A status bar of text panels that also holds other controls (such as a
// progress bar) at their own positions on top of the panels.

#include <QStatusBar>
#include <QString>
#include <vector>

#include "base/errors.h"

namespace vocatrix {

struct TStatusPanel {
  QString Text;
  int Width = 50;
};

class TCompoStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  // The owner must be a form (a top-level window); otherwise raises
  // EInvalidOperation "Must be owned by a standard form".
  explicit TCompoStatusBar(QWidget* owner);

  int PanelCount() const { return static_cast<int>(panels_.size()); }
  void AddPanel(int width, const QString& text = {});
  QString PanelText(int index) const;
  void SetPanelText(int index, const QString& text);
  // The rectangle a panel covers; the last panel reaches the right edge.
  QRect PanelRect(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static QWidget* CheckedOwner(QWidget* owner);

  std::vector<TStatusPanel> panels_;
};

}  // namespace vocatrix

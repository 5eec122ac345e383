// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drop-down that shows the name of a language's font and opens the font
// dialog instead of its list.

#include <QComboBox>
#include <QTimer>

namespace vocatrix::ui {

class TFontCombo : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;

  void showPopup() override {
    // Once the key or click that asked for the list has returned: the
    // dialog it opens refills this very box.
    QTimer::singleShot(0, this, [this] { emit DropDownRequested(); });
  }

 signals:
  // The list was asked for: the font dialog opens instead.
  void DropDownRequested();
};

}  // namespace vocatrix::ui

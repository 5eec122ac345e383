// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drop-down that shows the name of a language's font and opens the font
// dialog instead of its list.

#include <QComboBox>
#include <QTimer>
#include <functional>

namespace vocatrix::ui {

class TFontCombo : public QComboBox {
 public:
  using QComboBox::QComboBox;

  // Runs instead of showing the list, once the key or click that asked for
  // the list has returned: the dialog it opens refills this very box.
  std::function<void()> OnDropDown;

  void showPopup() override {
    QTimer::singleShot(0, this, [this] {
      if (OnDropDown) OnDropDown();
    });
  }
};

}  // namespace vocatrix::ui

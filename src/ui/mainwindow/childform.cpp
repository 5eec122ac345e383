// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/childform.h"

namespace vocatrix::ui {

TChildForm::TChildForm(QWidget* parent) : QMdiSubWindow(parent) {
  // Only the interface thread makes windows.
  static int lastSlot = 0;
  recoverySlot_ = ++lastSlot;
}

}  // namespace vocatrix::ui

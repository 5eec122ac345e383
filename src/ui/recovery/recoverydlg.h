// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog of the first start after a crash: the windows whose unsaved
// work autosave kept, with their names, folders, times and entries, each
// ticked to restore or discard; Restore, Discard or Later. Damaged notes are
// listed as such and cannot be restored.

#include <QDialog>
#include <vector>

#include <QString>

#include "recovery/recovery.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vocatrix::ui {

class TRecoveryDlg : public QDialog {
  Q_OBJECT
 public:
  // The dialog's results; Later (or closing it) keeps the files.
  enum Answer : int { kLater = QDialog::Rejected, kRestore = QDialog::Accepted, kDiscard = 2 };

  TRecoveryDlg(QWidget* parent, const std::vector<TLeftRecovery>& found);

  // Whether each recovery, in the order given, is ticked (a damaged one never is).
  std::vector<bool> Ticked() const;

  QLabel* LabelRecovery = nullptr;
  QTreeWidget* ListRecovered = nullptr;
  QPushButton* ButtonRestore = nullptr;
  QPushButton* ButtonDiscard = nullptr;
  QPushButton* ButtonLater = nullptr;
};

}  // namespace vocatrix::ui

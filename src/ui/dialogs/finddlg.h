// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The find dialog: the text to find and how, with buttons that find the
// next and the previous place in the active lesson editor window. It stays
// open beside the lesson (not modal), like the find dialogs of text editors.

#include <QDialog>
#include <QString>

#include "operations/find.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vocatrix::ui {

class MainForm;

class TFindDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TFindDlg(MainForm* mainForm);

  QString Text() const;
  TFindOptions Options() const;
  // Shows the dialog with the text selected, ready for a new one.
  void FormShow();
  // The active lesson window finds the next (previous) place.
  void FindClick(bool backward);

  QLabel* LabelFind = nullptr;
  QLineEdit* EditFind = nullptr;
  QCheckBox* CheckWholeWord = nullptr;
  QCheckBox* CheckMatchCase = nullptr;
  QGroupBox* GroupLanguages = nullptr;
  QRadioButton* RadioBoth = nullptr;
  QRadioButton* RadioLanguage1 = nullptr;
  QRadioButton* RadioLanguage2 = nullptr;
  QPushButton* ButtonFindNext = nullptr;
  QPushButton* ButtonFindPrevious = nullptr;
  QPushButton* ButtonClose = nullptr;

 private:
  void UpdateButtons();

  MainForm* main_;
};

}  // namespace vocatrix::ui

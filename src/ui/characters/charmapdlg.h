// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The special-characters dialog: which nine characters the main window's
// character buttons carry, three preset sets, and switching the button row
// off. Row 0 of the grid holds the characters, row 1 their Windows-1252
// codes.

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace vocatrix::ui {

class MainForm;

class TCharmapDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kGermanSet = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF  ";
  static constexpr const char* kFrenchSet = "\xC6\xE6\x8C\x9C\x60\xB4\xB8\x88\x98";
  static constexpr const char* kSpanishSet = "\x98\xB4\xBF\xA1     ";

  explicit TCharmapDlg(MainForm* mainForm);

  // The grid shows the main window's set.
  void FormShow();
  // Row 0 gets the characters of `set`, row 1 their codes; positions past
  // its end are code 0 (an empty cell).
  void ShowCharSet(const std::string& set);
  // A cell's text changed while it is edited (cut to 10 characters): the
  // other row of its column follows. A code that is no whole number raises
  // the conversion error "'%s' ist kein gültiger Integerwert".
  void StringGrid1SetEditText(int column, int row, const QString& text);
  // The set of the grid (an empty cell is code 0) on the buttons, which show.
  void OKBtnClick();
  // Hides the button row and closes with Cancel.
  void Button1Click();
  // The nine characters the grid holds, code 0 for an empty cell.
  std::string GridSet() const;

  QLabel* Label1 = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QPushButton* ButtonGerman = nullptr;
  QPushButton* ButtonFrench = nullptr;
  QPushButton* ButtonSpanish = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* Button1 = nullptr;

 private:
  void SetCell(int column, int row, const QString& text);
  // Runs StringGrid1SetEditText for an edit of the user's, showing its error.
  void EditedByUser(int column, int row, const QString& text);

  MainForm* main_;
};

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The special-characters dialog: which nine characters the main window's
// character buttons carry, three preset sets, and switching the button row
// off. Row 0 of the grid holds the characters, row 1 their Windows-1252
// codes.

#include <QDialog>
#include <QString>
#include <array>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

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
  // other row of its column follows. A code that is no whole number from 0
  // to 255 empties the character and raises the conversion error "'%s' ist
  // kein gültiger Integerwert".
  void StringGrid1SetEditText(int column, int row, const QString& text);
  // The set of the grid (an empty cell is code 0) on the buttons, which
  // show; a code that is no character keeps the dialog open, with its error.
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

 protected:
  void done(int result) override;

 private:
  void SetCell(int column, int row, const QString& text);
  // Runs StringGrid1SetEditText for each key typed into a cell: the other
  // row follows a valid text, and nothing interrupts the typing.
  void EditedByUser(int column, int row, const QString& text);
  // A cell's edit ended: a code that is no character is refused with its
  // error (once for the same text), and the cell keeps what was typed.
  void EditEnded(int column, int row, const QString& text);
  // The column of the first code that is no character, or -1.
  int RefusedColumn() const;
  // Shows the error of a refused code once the click or key that ended the
  // edit is over (a Cancel click withdraws it).
  void RefuseLater(const QString& code);
  void ShowRefusal();

  MainForm* main_;
  QTimer* refusalTimer_ = nullptr;
  QString refusal_;
  // The text each code cell was last refused for.
  std::array<QString, 9> refused_;
};

}  // namespace vocatrix::ui

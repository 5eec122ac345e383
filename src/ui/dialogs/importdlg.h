// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The import dialog for delimited text (CSV, TSV, Anki's text exports), as
// spreadsheet programs have it: separator, encoding, header row, the role of
// each column and the language names, with the file's first rows and the
// lesson they make shown as the choices change: the very lesson OK imports,
// compacted, with its number of entries. Every file starts from what is found
// in it; the choices last confirmed are kept in the program settings file
// (section "Import") as the start for a file of the same shape.
//
// For an Anki deck (.apkg) of several note types or decks it offers these
// instead, with the same preview of the entries.

#include <QDialog>
#include <string>

#include "files/csv/csvfile.h"
#include "files/lessonformats.h"
#include "model/lesson.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vocatrix {
class IniFile;
}

namespace vocatrix::ui {

class MainForm;

class TImportDlg : public QDialog {
  Q_OBJECT
 public:
  // The dialog for `data`, the content of `fileName`, starting with the
  // choices kept in `settings`' section "Import" when the file has their
  // shape, else with what is found in it.
  TImportDlg(MainForm* mainForm, const std::string& fileName, std::string data, const IniFile& settings);

  // Asks for the layout of a delimited-text file: false when the user
  // cancels. Reads the file (raising its error); keeps the choices in the
  // settings file once the user confirms them.
  static bool Ask(MainForm* mainForm, const std::string& fileName, CsvOptions& options);
  // Asks which note type and deck of an Anki deck to import: false when the
  // user cancels.
  static bool AskAnki(MainForm* mainForm, const std::string& fileName, AnkiOptions& options);

  // The choices as shown.
  CsvOptions Options() const;
  AnkiOptions AnkiChoice() const;
  // Keeps the choices in section "Import" with the shape of the file:
  // separator, encoding, header row and, when the user set them, the roles
  // of the columns.
  void SaveChoices(IniFile& settings) const;

  // What the file's own detection found: separator and encoding.
  QLabel* LabelFound = nullptr;
  QLabel* LabelSeparator = nullptr;
  QComboBox* ComboBoxSeparator = nullptr;
  QLabel* LabelEncoding = nullptr;
  QComboBox* ComboBoxEncoding = nullptr;
  QLabel* LabelHeader = nullptr;
  QComboBox* ComboBoxHeader = nullptr;
  QLabel* LabelLanguage1 = nullptr;
  QLineEdit* EditLanguage1 = nullptr;
  QLabel* LabelLanguage2 = nullptr;
  QLineEdit* EditLanguage2 = nullptr;
  QLabel* LabelColumns = nullptr;
  QTableWidget* GridColumns = nullptr;
  QLabel* LabelRole = nullptr;
  QComboBox* ComboBoxRole = nullptr;
  // An Anki deck's note type and deck; the first item of each takes all.
  QLabel* LabelNoteType = nullptr;
  QComboBox* ComboBoxNoteType = nullptr;
  QLabel* LabelDeck = nullptr;
  QComboBox* ComboBoxDeck = nullptr;
  QLabel* LabelPreview = nullptr;
  QTableWidget* GridPreview = nullptr;
  // The number of entries the lesson gets, and of rows they come from.
  QLabel* LabelCount = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

  // Gives a column a role, as choosing it in the role list does.
  void SetColumnRole(int column, ColumnRole role);
  // Shows the rows and entries again, with the role names of the language.
  void TextsChanged();

 private:
  // Reads the file again under the choices and shows its rows and entries.
  void Examine();
  void ShowFound();
  void ShowColumns();
  void ShowPreview();
  void ColumnChosen();
  void RoleChosen(int index);
  QString RoleText(ColumnRole role) const;
  // An Anki deck: its choices shown, and its lesson read again under them.
  void SetUpAnki();
  void ShowAnkiChoices();
  void ExamineAnki();

  MainForm* main_;
  std::string fileName_;
  std::string data_;
  CsvLayout layout_;
  CsvLayout found_;  // the layout the file gives without choices
  // The import OK makes, or why there is none.
  CsvImport preview_;
  std::string previewError_;
  // The roles of the columns once the user set one; empty: found.
  std::vector<ColumnRole> roles_;
  // A name the user typed replaces the one found.
  bool nameTyped_[2] = {false, false};
  bool showing_ = false;  // the dialog fills its controls: no choice is made
  // An Anki deck, what it holds, and the lesson OK makes of it.
  bool anki_ = false;
  AnkiContents ankiContents_;
  std::unique_ptr<TMeanCollection> ankiPreview_;
};

}  // namespace vocatrix::ui

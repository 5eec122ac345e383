// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The import dialog for delimited text (CSV, TSV, Anki's text exports), as
// spreadsheet programs have it: separator, encoding, header row, the role of
// each column and the language names, with the file's first rows and the
// entries they make shown as the choices change. The choices last made are
// kept in the program settings file (section "Import").

#include <QDialog>
#include <string>

#include "files/csv/csvfile.h"

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
  // choices of `settings`' section "Import".
  TImportDlg(MainForm* mainForm, const std::string& fileName, std::string data, const IniFile& settings);

  // Asks for the layout of a delimited-text file: false when the user
  // cancels. Reads the file (raising its error) and keeps the choices.
  static bool Ask(MainForm* mainForm, const std::string& fileName, CsvOptions& options);

  // The choices as shown.
  CsvOptions Options() const;
  // Keeps the choices in section "Import": separator, encoding, header row
  // and, when the user set them, the roles of the columns.
  void SaveChoices(IniFile& settings) const;

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
  QLabel* LabelPreview = nullptr;
  QTableWidget* GridPreview = nullptr;
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
  void ShowColumns();
  void ShowPreview();
  void ColumnChosen();
  void RoleChosen(int index);
  QString RoleText(ColumnRole role) const;

  MainForm* main_;
  std::string fileName_;
  std::string data_;
  CsvLayout layout_;
  // The roles of the columns once the user set one; empty: found.
  std::vector<ColumnRole> roles_;
  // A name the user typed replaces the one found.
  bool nameTyped_[2] = {false, false};
  bool showing_ = false;  // the dialog fills its controls: no choice is made
};

}  // namespace vocatrix::ui

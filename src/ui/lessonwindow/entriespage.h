// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Entries page of the lesson window: one entry at a time, its four word
// lists (one word a line) and its form, the entry number, the buttons of
// the entry commands and the scroll bar through the entries.

#include <QString>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace vocatrix {
class TMeanCollection;
class TMeaning;
}  // namespace vocatrix

namespace vocatrix::ui {

class VocabEditForm;

// The Entries page's controls, named as in the window design. The page
// makes them; the window shows them under the same names.
struct TEntriesControls {
  QPlainTextEdit* MemoSynonyms = nullptr;
  QPlainTextEdit* MemoTranslations = nullptr;
  QPlainTextEdit* MemoAntonyms = nullptr;
  QPlainTextEdit* MemoTransvertions = nullptr;
  QComboBox* ComboBoxForm = nullptr;
  QLineEdit* EditEntryNr = nullptr;
  QLabel* LabelEntryCount = nullptr;
  QScrollBar* ScrollBar = nullptr;
  QPushButton* BitBtnMirror = nullptr;
  QPushButton* BitBtnDelete = nullptr;
  QPushButton* BitBtnInsert = nullptr;
  QPushButton* BitBtnCopy = nullptr;
};

class TEntriesPage : public QWidget, public TEntriesControls {
  Q_OBJECT
 public:
  // The page's controls hand their changes, buttons and scrolling to `form`.
  explicit TEntriesPage(VocabEditForm& form);

  // Shows entry `index` of `lesson`: its number, also on the scroll bar
  // (set up for the lesson's entries), its form and its word lists. A list
  // with words notifies the window of a change.
  void ShowEntry(const TMeanCollection& lesson, int index);
  // Stores the form and the word lists in `entry`. Characters Windows-1252
  // cannot hold become "?" in the entry and in the memo, and are added to
  // `rejected`.
  void StoreEntry(TMeaning& entry, QString* rejected);
  // "of N" beside the entry number, in the interface language.
  void ShowEntryCount(const TMeanCollection& lesson);
  // Whether the form and the word lists shown are the entry's.
  bool ShowsEntry(const TMeaning& entry) const;
  // The first language's font on synonyms and antonyms, the second's on
  // their translations.
  void ApplyFonts(const TMeanCollection& lesson);
  // The entry number on red: no entry has the number typed.
  void SetEntryNrColor(bool error);
  // Selects word `word` of the word list of `kind` and focuses its memo.
  void SelectWord(int kind, int word);
  // The names and texts of the memos and the form, as autosave keeps them.
  void AddControlTexts(std::vector<std::pair<std::string, std::string>>& controls) const;

 private:
  // The memo of each word kind (kSynonyms ...), in the kinds' order.
  std::vector<QPlainTextEdit*> Memos() const;
  void FillMemo(QPlainTextEdit* memo, const std::vector<std::string>& words);

  VocabEditForm& form_;
};

}  // namespace vocatrix::ui

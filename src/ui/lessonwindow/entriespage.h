// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Entries page of the lesson window: one entry at a time, its four word
// lists (one word a line) and its form, the entry number, the buttons of
// the entry commands and the scroll bar through the entries; the keys that
// move through the lesson and run the entry commands.

#include <QString>
#include <QStringList>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "ui/lessonwindow/lessonpage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace vocatrix::ui {

// Scroll codes of the entry scroll bar.
enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, Position, Track, Top, Bottom, EndScroll };

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

// "Delete Entry '3: house'?": an entry by its number and first word.
QString DeleteEntryQuestion(const TMeanCollection& lesson, int index);

class TEntriesPage : public TLessonPage, public TEntriesControls {
  Q_OBJECT
 public:
  explicit TEntriesPage(TPageHost& host);

  // Shows the entry the document is at, when it or the entry changed.
  void LessonChanged(const TLessonChange& change) override;
  void Enter() override;
  void Store(TControlTexts& texts, QString* rejected) override;
  bool HoldsEdits() const override;
  bool FixedSize() const override { return true; }
  bool KeyDown(int key, Qt::KeyboardModifiers modifiers) override;
  void ShowSharedChanges() override;
  void AddControlTexts(std::vector<std::pair<std::string, std::string>>& controls) const override;

  // --- Navigation and the entry commands ---
  void ScrollBarScroll(ScrollCode code, int position);
  void EditEntryNrChange();
  void EditEntryExit();
  // False when the lesson is full.
  bool InsertEntryClick();
  void DeleteEntryClick();
  void MirrorEntryClick();
  void CopyEntryClick();

  // "of N" beside the entry number, in the interface language.
  void ShowEntryCount();
  // Selects word `word` of the word list of `kind` and focuses its memo.
  void SelectWord(int kind, int word);
  // The memo of each word kind (kSynonyms ...), in the kinds' order.
  std::vector<QPlainTextEdit*> Memos() const;
  // Lays the lists out under their headings in the texts they have now,
  // and the form's label before its list.
  void FitHeadings();

 private:
  static constexpr int kHeadingHeight = 17;
  // Room kept between a heading's text and the edge of its list.
  static constexpr int kHeadingMargin = 6;
  // Where the lower lists stand under headings of one line.
  static constexpr int kDesignedMemoTop = 88;
  // Where the form's label starts in the design.
  static constexpr int kDesignedFormLabelX = 182;

  void ShowEntry();
  // The entry number and the scroll bar.
  void ShowEntryNumber();
  // Whether the form and the word lists shown are the entry's.
  bool ShowsEntry(const TMeaning& entry) const;
  void ApplyFonts(const TMeanCollection& lesson);
  // The entry number on red: no entry has the number typed.
  void SetEntryNrColor(bool error);
  // Beeps and says in the status bar that the lesson cannot take another entry.
  void SayLessonFull();
  // The controls' texts as shown or stored last.
  void TakeShown();

  int shownForm_ = -1;
  QStringList shownLists_;
  // The headings of the four lists, in the kinds' order.
  std::array<QLabel*, 4> headings_{};
  QLabel* formLabel_ = nullptr;
  // The controls below the lists, with where they stand in the design.
  std::vector<std::pair<QWidget*, int>> controlsBelow_;
};

}  // namespace vocatrix::ui

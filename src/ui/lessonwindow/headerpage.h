// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Header page of the lesson window: the lesson's title, topic, author
// and picture, the names and fonts of its two languages, and its statistics
// (the words of each language, all words, the entries).

#include <QString>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;

namespace vocatrix {
class TMeanCollection;
}

namespace vocatrix::ui {

class TFontCombo;
class VocabEditForm;

// The Header page's controls, named as in the window design. The page makes
// them; the window shows them under the same names.
struct THeaderControls {
  QLineEdit* EditTitle = nullptr;
  QLineEdit* EditTopic = nullptr;
  QLineEdit* EditAuthor = nullptr;
  QLineEdit* EditImage = nullptr;
  QLineEdit* EditLanguage1 = nullptr;
  QLineEdit* EditLanguage2 = nullptr;
  TFontCombo* ComboFontLanguage1 = nullptr;
  TFontCombo* ComboFontLanguage2 = nullptr;
  QLabel* LabelLanguage1 = nullptr;
  QLabel* LabelLanguage2 = nullptr;
  QLabel* LabelStatistics = nullptr;
  QLabel* Label7 = nullptr;   // entries
  QLabel* Label11 = nullptr;  // all words
  QLabel* Label13 = nullptr;  // words of the first language
  QLabel* Label15 = nullptr;  // words of the second language
};

class THeaderPage : public QWidget, public THeaderControls {
  Q_OBJECT
 public:
  // The page's edits tell `form` of their changes, the font drop-downs ask
  // it for a font.
  explicit THeaderPage(VocabEditForm& form);

  // Shows the lesson's header, language names and counts; an edit whose
  // text changes notifies the window.
  void ShowLesson(const TMeanCollection& lesson);
  // Stores the edits in the lesson. Characters Windows-1252 cannot hold
  // become "?" in the lesson and in the edit, and are added to `rejected`.
  void StoreLesson(TMeanCollection& lesson, QString* rejected);
  // The first language's font on the edits, and the names of both fonts.
  void ApplyFonts(const TMeanCollection& lesson);
  // Whether the counts shown are the lesson's.
  bool ShowsCounts(const TMeanCollection& lesson) const;
  // The names and texts of the edits, as autosave keeps them.
  void AddControlTexts(std::vector<std::pair<std::string, std::string>>& controls) const;

 private:
  std::vector<QLineEdit*> Edits() const;
};

}  // namespace vocatrix::ui

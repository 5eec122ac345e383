// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Header page of the lesson window: the lesson's title, topic, author
// and picture, the names and fonts of its two languages, and its statistics
// (the words of each language, all words, the entries).

#include <QString>
#include <QStringList>
#include <string>
#include <utility>
#include <vector>

#include "ui/lessonwindow/lessonpage.h"

class QLabel;
class QLineEdit;

namespace vocatrix::ui {

class TFontCombo;

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

class THeaderPage : public TLessonPage, public THeaderControls {
  Q_OBJECT
 public:
  explicit THeaderPage(TPageHost& host);

  // Shows the header when it changed, and the counts when they did.
  void LessonChanged(const TLessonChange& change) override;
  void Store(TControlTexts& texts, QString* rejected) override;
  bool HoldsEdits() const override;
  bool FixedSize() const override { return true; }
  void ShowSharedChanges() override;
  void AddControlTexts(std::vector<std::pair<std::string, std::string>>& controls) const override;

  // The font dialog on the font of language 1 or 2, instead of the list of
  // its drop-down; a new font is a change of the lesson.
  void ChooseFont(int language);
  // The statistics' language names after the heading "Words:" in the text
  // it has now.
  void FitStatistics();

 private:
  // Where the language names of the statistics start and end in the design.
  static constexpr int kDesignedNamesX = 64;
  static constexpr int kNamesRight = 164;
  static constexpr int kRuleRight = 210;

  std::vector<QLineEdit*> Edits() const;
  void ShowHeader(const TMeanCollection& lesson);
  void ShowCounts(const TMeanCollection& lesson);
  // The first language's font on the edits, and the names of both fonts.
  void ApplyFonts(const TMeanCollection& lesson);
  // The edits' texts as shown or stored last.
  QStringList shown_;
  QLabel* wordsLabel_ = nullptr;
  QFrame* rule_ = nullptr;
};

}  // namespace vocatrix::ui

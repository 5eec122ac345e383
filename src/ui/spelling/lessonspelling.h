// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spell checking in a lesson window: the spellers of the lesson's two
// languages, chosen from the dictionaries (and the settings) by the names the
// Header page shows, and again when the lesson shown or a finished edit
// changes one; the underlines of the word memos and the Text page, their
// context menu, and the Check spelling dialog. A language without a
// dictionary is not checked; the status bar says so once per language name
// and program run.

#include <QObject>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPoint;

namespace vocatrix {
class TLessonSpeller;
struct UnknownWord;
}  // namespace vocatrix

namespace vocatrix::ui {

class TPageHost;
class TSpellingDlg;

class TLessonSpelling : public QObject {
  Q_OBJECT
 public:
  // Checks `memos` (the word memos by kind) and `memoText` (the Text page)
  // of the window of `host`, by the language names of `language1` and
  // `language2`.
  TLessonSpelling(TPageHost& host, QLineEdit* language1, QLineEdit* language2, std::vector<QPlainTextEdit*> memos,
                  QPlainTextEdit* memoText);
  // The underlines no longer ask the spellers, which go with this object.
  ~TLessonSpelling() override;

  // The spellers of the language names the Header page shows.
  std::shared_ptr<const TLessonSpeller> Speller();
  // The spellers of the Text page's lines under a "Sp:" line naming two
  // languages: the Text page's words are checked in the languages its text
  // names (a text file shown there names its own).
  std::shared_ptr<const TLessonSpeller> TextSpeller(const std::string& name1, const std::string& name2);
  // Chooses the spellers again when the language names the Header page
  // shows differ from those they were chosen for.
  void FollowLanguageNames() { Follow(false); }
  // The context menu of a word memo or of the Text page's editor at a point
  // of its viewport: over an underlined word, its suggestions (each replaces
  // it) and "Add to dictionary" above the editor's own items.
  QMenu* ContextMenuOf(QPlainTextEdit* memo, const QPoint& at);
  // Extras > Check spelling: the dialog listing every unknown word of the
  // lesson (the Text page is read back first, as leaving it does).
  void CheckSpelling();
  TSpellingDlg* Dialog() const { return dialog_; }

 private:
  // With `load`, also when no speller was chosen yet.
  void Follow(bool load);
  // Shows the entry of an unknown word on the Entries page, the edits of
  // the controls stored first.
  void ShowUnknownWord(const UnknownWord& word);

  TPageHost& host_;
  QLineEdit* language1_;
  QLineEdit* language2_;
  std::vector<QPlainTextEdit*> memos_;
  QPlainTextEdit* memoText_;
  // The spellers and the language names they were chosen for.
  std::shared_ptr<const TLessonSpeller> speller_;
  std::string spellerNames_[2];
  // Those of the language names of the Text page, the latest last.
  std::vector<std::pair<std::pair<std::string, std::string>, std::shared_ptr<const TLessonSpeller>>> textSpellers_;
  TSpellingDlg* dialog_ = nullptr;
};

}  // namespace vocatrix::ui

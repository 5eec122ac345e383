// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spell checking in a lesson window: the spellers of the lesson's two
// languages, chosen from the dictionaries (and the settings) by the names the
// Header page shows, and again when the lesson shown or a finished edit
// changes one; the underlines of the word memos and the Text page, their
// context menu, and the Check spelling dialog. A language without a
// dictionary is not checked; the status bar says so once per language name
// and program run.
//
// Dictionaries load on worker threads (Hunspell takes up to a second for
// one): until a language's spellers are there its words have no underlines,
// and they are checked again once they have come.

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
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
class TSpellerMailbox;
class TSpellingDlg;

class TLessonSpelling : public QObject {
  Q_OBJECT
 public:
  // Checks `memos` (the word memos by kind) and `memoText` (the Text page)
  // of the window of `host`, by the language names of `language1` and
  // `language2`.
  TLessonSpelling(TPageHost& host, QLineEdit* language1, QLineEdit* language2, std::vector<QPlainTextEdit*> memos,
                  QPlainTextEdit* memoText);
  // The underlines no longer ask the spellers, which go with this object;
  // dictionaries still loading are dropped once loaded.
  ~TLessonSpelling() override;

  // The spellers of the language names the Header page shows; none (no
  // language checked) while their dictionaries load.
  std::shared_ptr<const TLessonSpeller> Speller();
  // The spellers of the Text page's lines under a "Sp:" line naming two
  // languages: the Text page's words are checked in the languages its text
  // names (a text file shown there names its own). None while loading.
  std::shared_ptr<const TLessonSpeller> TextSpeller(const std::string& name1, const std::string& name2);
  // Whether dictionaries are loading for the window.
  bool LoadingDictionaries() const { return !loads_.empty(); }
  // Chooses the spellers again when the language names the Header page
  // shows differ from those they were chosen for.
  void FollowLanguageNames() { Follow(false); }
  // The context menu of a word memo or of the Text page's editor at a point
  // of its viewport: over an underlined word, its suggestions (each replaces
  // it) and "Add to dictionary" above the editor's own items.
  QMenu* ContextMenuOf(QPlainTextEdit* memo, const QPoint& at);
  // Extras > Check spelling: the dialog listing every unknown word of the
  // lesson (the Text page is read back first, as leaving it does). A check
  // still running is shown, not started again.
  void CheckSpelling() { StartCheck(false); }
  TSpellingDlg* Dialog() const { return dialog_; }

 private:
  friend class TSpellerMailbox;
  using Names = std::pair<std::string, std::string>;
  // Dictionaries loading for two language names: for the Header page's
  // names, the Text page's, or both.
  struct Load {
    Names Languages;
    bool Header = false;
    bool Text = false;
    QString Loading;  // the languages whose dictionaries load, as shown
  };

  // With `load`, also when no speller was chosen yet.
  void Follow(bool load);
  // The spellers of two language names when they are there at once; else
  // they are loaded (Arrived) and none come back.
  std::shared_ptr<const TLessonSpeller> Request(const Names& names, bool text);
  void Arrived(const Names& names, const std::shared_ptr<const TLessonSpeller>& speller);
  void SetSpeller(const Names& names, std::shared_ptr<const TLessonSpeller> speller);
  void KeepTextSpeller(const Names& names, std::shared_ptr<const TLessonSpeller> speller);
  // The Header page's spellers are loading.
  bool SpellerLoading() const;
  // Starts the check; `again` ("Check again") starts it anew while one runs.
  void StartCheck(bool again);
  // Shows the entry of an unknown word on the Entries page, the edits of
  // the controls stored first.
  void ShowUnknownWord(const UnknownWord& word);

  TPageHost& host_;
  QLineEdit* language1_;
  QLineEdit* language2_;
  std::vector<QPlainTextEdit*> memos_;
  QPlainTextEdit* memoText_;
  // The language names the Header page's spellers are chosen for (none
  // until the first is needed), and the spellers of the names they were
  // chosen for last, once loaded.
  std::optional<Names> wanted_;
  std::shared_ptr<const TLessonSpeller> speller_;
  Names spellerNames_;
  // Those of the language names of the Text page, the latest last.
  std::vector<std::pair<Names, std::shared_ptr<const TLessonSpeller>>> textSpellers_;
  std::vector<Load> loads_;
  // Where the worker threads hand their spellers over.
  std::shared_ptr<TSpellerMailbox> mailbox_;
  TSpellingDlg* dialog_ = nullptr;
};

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson window's spell checking: the spellers of the lesson's
// languages, the underlines of the word memos and the Text page, their
// context menu, and the Check spelling dialog.

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>
#include <set>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "spelling/spellcheck.h"
#include "ui/common/qtstrings.h"
#include "ui/spelling/spellingdlg.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/spelling/spellmarks.h"

namespace vocatrix::ui {
namespace {

// Suggestions offered in the context menu at most.
constexpr std::size_t kMaxSuggestions = 8;

// The language names the status bar has said have no dictionary, once each
// in a program run.
std::set<std::string>& ReportedLanguages() {
  static std::set<std::string> reported;
  return reported;
}

// The names a new lesson's languages get until the user names them, in
// English or the interface language: no language a dictionary could be
// missing for.
bool IsPlaceholderName(const std::string& name) {
  return name == "Language 1" || name == "Language 2" || name == VocabEditForm::NewLanguageName(1) ||
         name == VocabEditForm::NewLanguageName(2);
}

// Shows a note in the status bar once it is free (not while the Text page
// fills or the lesson prints).
void NoteWhenIdle(QPointer<MainForm> main, const QString& note) {
  if (!main) return;
  if (main->StatusState() == kStatusIdle || main->StatusState() == kStatusError) {
    main->SetStatus(kStatusIdle, note);
    return;
  }
  QTimer::singleShot(250, main, [main, note] { NoteWhenIdle(main, note); });
}

// The spellers of two language names, by the dictionaries installed and the
// settings.
std::shared_ptr<const TLessonSpeller> SpellerOfNames(const std::string& name1, const std::string& name2) {
  DictionaryChooser chooser;
  chooser.ReadSettings(IniFile(ProgramSettingsFile()));
  return std::make_shared<const TLessonSpeller>(TLessonSpeller::ForLanguages(chooser, name1, name2));
}

}  // namespace

void VocabEditForm::SetUpSpelling() {
  const std::vector<QPlainTextEdit*> memos = {MemoSynonyms, MemoTranslations, MemoAntonyms, MemoTransvertions};
  for (std::size_t kind = 0; kind < memos.size(); ++kind)
    new TSpellMarks(memos[kind]->document(), LanguageOfKind(static_cast<int>(kind)),
                    [this](const LessonTextLanguages&) { return Speller(); });
  // A language renamed on the Header page is checked with its new name.
  for (QLineEdit* edit : {EditLanguage1, EditLanguage2})
    connect(edit, &QLineEdit::editingFinished, this, [this] { FollowLanguageNames(false); });
  std::vector<QPlainTextEdit*> editors = memos;
  editors.push_back(MemoText);
  for (QPlainTextEdit* editor : editors) {
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor, &QWidget::customContextMenuRequested, this, [this, editor](const QPoint& at) {
      QMenu* menu = ContextMenuOf(editor, at);
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(editor->viewport()->mapToGlobal(at));
    });
  }
}

std::shared_ptr<const TLessonSpeller> VocabEditForm::Speller() {
  if (!speller_) FollowLanguageNames(true);
  return speller_;
}

std::shared_ptr<const TLessonSpeller> VocabEditForm::TextSpeller(const std::string& name1, const std::string& name2) {
  if (speller_ && spellerNames_[0] == name1 && spellerNames_[1] == name2) return speller_;
  for (const auto& [names, speller] : textSpellers_)
    if (names.first == name1 && names.second == name2) return speller;
  // The names of "Sp:" lines being typed pass by: only the last few stay.
  constexpr std::size_t kKept = 4;
  if (textSpellers_.size() >= kKept) textSpellers_.erase(textSpellers_.begin());
  textSpellers_.push_back({{name1, name2}, SpellerOfNames(name1, name2)});
  return textSpellers_.back().second;
}

void VocabEditForm::FollowLanguageNames(bool load) {
  // The names as the Header page shows them: the user's new name counts once
  // typed, not only once stored.
  const std::string name1 = ToLessonString(EditLanguage1->text());
  const std::string name2 = ToLessonString(EditLanguage2->text());
  if (speller_ ? spellerNames_[0] == name1 && spellerNames_[1] == name2 : !load) return;
  const bool again = speller_ != nullptr;
  speller_ = SpellerOfNames(name1, name2);
  spellerNames_[0] = name1;
  spellerNames_[1] = name2;
  for (int language = 1; language <= 2; ++language) {
    const std::string& name = spellerNames_[language - 1];
    const std::string& problem = speller_->Problem(language);
    if (!problem.empty() && !IsPlaceholderName(name) && ReportedLanguages().insert(name).second)
      NoteWhenIdle(main_, Utf8ToQString(problem));
  }
  // What the spellers chosen before underlined is checked again (the Text
  // page follows its own "Sp:" lines).
  if (again)
    for (QPlainTextEdit* memo : {MemoSynonyms, MemoTranslations, MemoAntonyms, MemoTransvertions})
      if (TSpellMarks* marks = TSpellMarks::Of(memo->document())) marks->Recheck();
}

QMenu* VocabEditForm::ContextMenuOf(QPlainTextEdit* memo, const QPoint& at) {
  if (memo == MemoText) CompleteText();
  // A word memo is checked whole before its words are looked at (the Text
  // page is checked from the event loop, a slice at a time).
  else if (TSpellMarks* marks = TSpellMarks::Of(memo->document())) marks->Finish();
  QMenu* menu = memo->createStandardContextMenu();
  const std::optional<MarkedWord> word = TSpellMarks::WordAt(memo->document(), memo->cursorForPosition(at).position());
  if (!word) return menu;
  QAction* first = menu->actions().value(0, nullptr);
  std::vector<std::string> suggestions = word->Speller->Suggest(word->Language, ToLessonString(word->Text));
  if (suggestions.size() > kMaxSuggestions) suggestions.resize(kMaxSuggestions);
  QFont bold = menu->font();
  bold.setBold(true);
  for (const std::string& suggestion : suggestions) {
    auto* item = new QAction(ToQString(suggestion), menu);
    item->setFont(bold);
    connect(item, &QAction::triggered, this, [memo, word = *word, replacement = ToQString(suggestion)] {
      QTextCursor cursor(memo->document());
      cursor.setPosition(word.Position);
      cursor.setPosition(word.Position + word.Length, QTextCursor::KeepAnchor);
      // The text may have changed since the menu opened.
      if (cursor.selectedText() != word.Text) return;
      cursor.insertText(replacement);
      memo->setTextCursor(cursor);
    });
    menu->insertAction(first, item);
  }
  if (suggestions.empty()) {
    auto* none = new QAction(Utf8ToQString(TranslateMessage("NoSuggestions", "(no suggestions)")), menu);
    none->setEnabled(false);
    menu->insertAction(first, none);
  }
  auto* add = new QAction(Utf8ToQString(TranslateMessage("AddToDictionary", "Add to dictionary")), menu);
  add->setObjectName("MenuAddToDictionary");
  connect(add, &QAction::triggered, this, [this, word = *word] {
    try {
      word.Speller->AddToDictionary(word.Language, ToLessonString(word.Text));
    } catch (const std::exception& e) {
      main_->Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
      return;
    }
    // Every window whose language uses the dictionary loses the underline.
    TSpellMarks::RecheckEverywhere();
  });
  menu->insertAction(first, add);
  menu->insertSeparator(first);
  return menu;
}

void VocabEditForm::MenuCheckSpellingClick() {
  // The lesson as the Text page has it, read back as leaving the page does;
  // a format error keeps the page, with the error in the status bar.
  if (CurrentPage() == kTextPage) {
    SelectTab(kEntriesPage);
    if (CurrentPage() == kTextPage) return;
  }
  StoreControls();
  if (!spellingDlg_) {
    spellingDlg_ = new TSpellingDlg(this);
    connect(spellingDlg_, &TSpellingDlg::WordClicked, this, &VocabEditForm::ShowUnknownWord);
    connect(spellingDlg_, &TSpellingDlg::CheckAgain, this, &VocabEditForm::MenuCheckSpellingClick);
  }
  spellingDlg_->ShowWords(CheckLessonSpelling(*lesson_, *Speller()), *lesson_);
  spellingDlg_->show();
  spellingDlg_->raise();
  spellingDlg_->activateWindow();
}

void VocabEditForm::ShowUnknownWord(const UnknownWord& word) {
  if (CurrentPage() != kEntriesPage) {
    SelectTab(kEntriesPage);
    if (CurrentPage() != kEntriesPage) return;
  }
  StoreControls();
  if (word.EntryIndex >= lesson_->EntryCount()) return;
  entryIndex_ = word.EntryIndex;
  ShowLesson();
}

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spelling/lessonspelling.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>
#include <QTextCursor>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <mutex>
#include <set>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "spelling/spellcheck.h"
#include "document/lessondocument.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/lessonpage.h"
#include "ui/mainwindow/windowhost.h"
#include "ui/spelling/spellingdlg.h"
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
  return name == "Language 1" || name == "Language 2" || name == TLessonDocument::NewLanguageName(1) ||
         name == TLessonDocument::NewLanguageName(2);
}

// Shows a note in the status bar once it is free (not while the Text page
// fills or the lesson prints); like every note it goes with the next key or
// click.
void NoteWhenIdle(QPointer<QObject> window, TWindowHost* frame, const QString& note) {
  if (!window) return;
  if (frame->StatusState() == kStatusIdle || frame->StatusState() == kStatusError) {
    frame->ShowNote(note);
    return;
  }
  QTimer::singleShot(250, window, [window, frame, note] { NoteWhenIdle(window, frame, note); });
}

// What a memo or the Text page is checked with while its spellers load: no
// language is checked.
std::shared_ptr<const TLessonSpeller> NoSpeller() {
  static const auto none = std::make_shared<const TLessonSpeller>();
  return none;
}

}  // namespace

// Hands the spellers loaded on worker threads to the window's spelling on
// the interface thread, unless the window has gone meanwhile.
class TSpellerMailbox {
 public:
  explicit TSpellerMailbox(TLessonSpelling* spelling) : spelling_(spelling) {}

  void Deliver(const TLessonSpelling::Names& names, std::shared_ptr<const TLessonSpeller> speller) {
    const std::lock_guard lock(mutex_);
    if (!spelling_) return;
    // Events still posted to the object are dropped when it goes.
    QMetaObject::invokeMethod(
        spelling_, [spelling = spelling_, names, speller = std::move(speller)] { spelling->Arrived(names, speller); },
        Qt::QueuedConnection);
  }
  void Close() {
    const std::lock_guard lock(mutex_);
    spelling_ = nullptr;
  }

 private:
  std::mutex mutex_;
  TLessonSpelling* spelling_;
};

TLessonSpelling::TLessonSpelling(TPageHost& host, QLineEdit* language1, QLineEdit* language2,
                                 std::vector<QPlainTextEdit*> memos, QPlainTextEdit* memoText)
    : QObject(host.Window()),
      host_(host),
      language1_(language1),
      language2_(language2),
      memos_(std::move(memos)),
      memoText_(memoText),
      mailbox_(std::make_shared<TSpellerMailbox>(this)) {
  for (std::size_t kind = 0; kind < memos_.size(); ++kind)
    new TSpellMarks(memos_[kind]->document(), LanguageOfKind(static_cast<int>(kind)),
                    [this](const LessonTextLanguages&) { return Speller(); });
  // A language renamed on the Header page is checked with its new name.
  for (QLineEdit* edit : {language1_, language2_})
    connect(edit, &QLineEdit::editingFinished, this, [this] { Follow(false); });
  std::vector<QPlainTextEdit*> editors = memos_;
  editors.push_back(memoText_);
  for (QPlainTextEdit* editor : editors) {
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor, &QWidget::customContextMenuRequested, this, [this, editor](const QPoint& at) {
      QMenu* menu = ContextMenuOf(editor, at);
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(editor->viewport()->mapToGlobal(at));
    });
  }
}

TLessonSpelling::~TLessonSpelling() {
  mailbox_->Close();
  std::vector<QPlainTextEdit*> editors = memos_;
  editors.push_back(memoText_);
  for (QPlainTextEdit* editor : editors) delete TSpellMarks::Of(editor->document());
}

std::shared_ptr<const TLessonSpeller> TLessonSpelling::Speller() {
  if (!wanted_) Follow(true);
  return SpellerLoading() ? NoSpeller() : speller_;
}

bool TLessonSpelling::SpellerLoading() const { return wanted_ && !(speller_ && spellerNames_ == *wanted_); }

std::shared_ptr<const TLessonSpeller> TLessonSpelling::TextSpeller(const std::string& name1, const std::string& name2) {
  const Names names{name1, name2};
  if (speller_ && spellerNames_ == names) return speller_;
  for (const auto& [languages, speller] : textSpellers_)
    if (languages == names) return speller;
  std::shared_ptr<const TLessonSpeller> speller = Request(names, true);
  if (!speller) return NoSpeller();
  KeepTextSpeller(names, speller);
  return speller;
}

void TLessonSpelling::KeepTextSpeller(const Names& names, std::shared_ptr<const TLessonSpeller> speller) {
  // The names of "Sp:" lines being typed pass by: only the last few stay.
  constexpr std::size_t kKept = 4;
  if (textSpellers_.size() >= kKept) textSpellers_.erase(textSpellers_.begin());
  textSpellers_.push_back({names, std::move(speller)});
}

std::shared_ptr<const TLessonSpeller> TLessonSpelling::Request(const Names& names, bool text) {
  for (Load& load : loads_)
    if (load.Languages == names) {
      (text ? load.Text : load.Header) = true;
      return nullptr;
    }
  // The choice by the dictionaries installed and the settings is quick;
  // loading a dictionary is not, unless another window has loaded it.
  DictionaryChooser chooser;
  chooser.ReadSettings(IniFile(ProgramSettingsFile()));
  TLessonSpeller speller = TLessonSpeller::WithoutLoading(chooser.Choose(names.first), chooser.Choose(names.second));
  if (!speller.Pending()) return std::make_shared<const TLessonSpeller>(std::move(speller));
  QStringList loading;
  if (speller.Pending(1)) loading << ToQString(names.first);
  if (speller.Pending(2) && names.second != names.first) loading << ToQString(names.second);
  loads_.push_back({names, !text, text, loading.join(", ")});
  QThreadPool::globalInstance()->start([mailbox = mailbox_, names, speller = std::move(speller)]() mutable {
    speller.LoadDictionaries();
    mailbox->Deliver(names, std::make_shared<const TLessonSpeller>(std::move(speller)));
  });
  return nullptr;
}

void TLessonSpelling::Arrived(const Names& names, const std::shared_ptr<const TLessonSpeller>& speller) {
  const auto found =
      std::find_if(loads_.begin(), loads_.end(), [&](const Load& load) { return load.Languages == names; });
  if (found == loads_.end()) return;
  const Load load = *found;
  loads_.erase(found);
  if (load.Text) {
    KeepTextSpeller(names, speller);
    if (TSpellMarks* marks = TSpellMarks::Of(memoText_->document())) marks->Recheck();
  }
  // The Header page's names may have changed meanwhile.
  if (!load.Header || wanted_ != names) return;
  SetSpeller(names, speller);
  for (QPlainTextEdit* memo : memos_)
    if (TSpellMarks* marks = TSpellMarks::Of(memo->document())) marks->Recheck();
  if (dialog_ && dialog_->Waiting()) dialog_->Start(speller_);
}

void TLessonSpelling::Follow(bool load) {
  // The names as the Header page shows them: the user's new name counts once
  // typed, not only once stored.
  const Names names{ToLessonString(language1_->text()), ToLessonString(language2_->text())};
  if (wanted_ ? *wanted_ == names : !load) return;
  wanted_ = names;
  const bool again = speller_ != nullptr;
  std::shared_ptr<const TLessonSpeller> speller = Request(names, false);
  if (!speller) return;
  SetSpeller(names, std::move(speller));
  // What the spellers chosen before underlined is checked again (the Text
  // page follows its own "Sp:" lines).
  if (again)
    for (QPlainTextEdit* memo : memos_)
      if (TSpellMarks* marks = TSpellMarks::Of(memo->document())) marks->Recheck();
}

void TLessonSpelling::SetSpeller(const Names& names, std::shared_ptr<const TLessonSpeller> speller) {
  speller_ = std::move(speller);
  spellerNames_ = names;
  for (int language = 1; language <= 2; ++language) {
    const std::string& name = language == 1 ? names.first : names.second;
    const std::string& problem = speller_->Problem(language);
    if (!problem.empty() && !IsPlaceholderName(name) && ReportedLanguages().insert(name).second)
      NoteWhenIdle(host_.Window(), &host_.Frame(), Utf8ToQString(problem));
  }
}

QMenu* TLessonSpelling::ContextMenuOf(QPlainTextEdit* memo, const QPoint& at) {
  // A word memo is checked whole before its words are looked at (the Text
  // page, completed by the window first, is checked from the event loop, a
  // slice at a time).
  if (memo != memoText_)
    if (TSpellMarks* marks = TSpellMarks::Of(memo->document())) marks->Finish();
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
      host_.Frame().Services().dialogs.ShowError(host_.Window(), Utf8ToQString(e.what()));
      return;
    }
    // Every window whose language uses the dictionary loses the underline.
    TSpellMarks::RecheckEverywhere();
  });
  menu->insertAction(first, add);
  menu->insertSeparator(first);
  return menu;
}

void TLessonSpelling::StartCheck(bool again) {
  const auto show = [this] {
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
  };
  if (!again && dialog_ && dialog_->Running()) {
    show();
    return;
  }
  // The lesson as the Text page has it, read back as leaving the page does;
  // a format error keeps the page, with the error in the status bar.
  host_.SelectTab(TLessonPage::kEntriesPage);
  if (host_.CurrentPage() != TLessonPage::kEntriesPage) return;
  host_.StoreControls();
  if (!dialog_) {
    dialog_ = new TSpellingDlg(host_.Window());
    connect(dialog_, &TSpellingDlg::WordClicked, this, &TLessonSpelling::ShowUnknownWord);
    connect(dialog_, &TSpellingDlg::CheckAgain, this, [this] { StartCheck(true); });
  }
  // The words are copied here: the lesson may change while they are checked.
  const TMeanCollection& lesson = host_.Document().Lesson();
  std::shared_ptr<const TLessonSpeller> speller = Speller();
  QString loading;
  if (SpellerLoading()) {
    speller.reset();
    for (const Load& load : loads_)
      if (load.Languages == *wanted_) loading = load.Loading;
  }
  dialog_->Check(TLessonWords(lesson), lesson, std::move(speller), loading);
  show();
}

void TLessonSpelling::ShowUnknownWord(const UnknownWord& word) {
  host_.SelectTab(TLessonPage::kEntriesPage);
  if (host_.CurrentPage() != TLessonPage::kEntriesPage) return;
  host_.StoreControls();
  if (word.EntryIndex >= host_.Document().Lesson().EntryCount()) return;
  host_.Document().SetEntry(word.EntryIndex);
}

}  // namespace vocatrix::ui

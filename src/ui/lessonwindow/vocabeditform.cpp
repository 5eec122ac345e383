// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/vocabeditform.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include "document/lessoncommands.h"
#include "ui/common/eventpreview.h"
#include "ui/dialogs/finddlg.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/fontcombo.h"
#include "ui/lessonwindow/lessonfind.h"
#include "ui/lessonwindow/lessonmenus.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/lessonwindow/pagecontrols.h"
#include "ui/lessonwindow/tablepage.h"
#include "ui/lessonwindow/textpage.h"
#include "ui/mainwindow/windowhost.h"
#include "ui/practice/practiceform.h"
#include "ui/lessoncheck/checklessondlg.h"
#include "ui/memorygame/memorygameform.h"
#include "ui/spelling/lessonspelling.h"

namespace vocatrix::ui {

// The window's own view of the document: after a change every page shows
// the lesson, so the controls hold no edits of their own any more.
class VocabEditForm::Observer : public TLessonObserver {
 public:
  explicit Observer(VocabEditForm& form) : form_(form) {}
  void LessonChanged(const TLessonChange& change) override {
    form_.controlsChanged_ = false;
    form_.EditsChanged();
    // The spellers follow the language names shown.
    if (change.Has(TLessonChange::kHeader)) form_.spelling_->FollowLanguageNames();
  }

 private:
  VocabEditForm& form_;
};

VocabEditForm::VocabEditForm(TWindowHost& host, std::unique_ptr<TLessonDocument> document)
    : host_(host), document_(document ? std::move(document) : std::make_unique<TLessonDocument>()) {
  // The window shows one entry at a time (a document comes in before its
  // history begins).
  document_->Lesson().EnsureEntry();
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(host_.NewChildName("VocabEditForm"));
  setFont(PixelFont("Arial", 13, true));

  Client = new QWidget;
  Client->setObjectName("Client");
  auto* layout = new QVBoxLayout(Client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Pages = new QStackedWidget(Client);
  Pages->setObjectName("Pages");
  header_ = new THeaderPage(*this);
  entries_ = new TEntriesPage(*this);
  text_ = new TTextPage(*this);
  table_ = new TTablePage(*this);
  pages_ = {header_, entries_, text_, table_};
  for (TLessonPage* page : pages_) Pages->addWidget(page);
  // The pages' controls under their names on the window.
  static_cast<THeaderControls&>(*this) = *header_;
  static_cast<TEntriesControls&>(*this) = *entries_;
  MemoText = text_->MemoText;
  TableView = table_->TableView;
  connect(table_, &TTablePage::OpenEntryRequested, this, &VocabEditForm::TableOpenEntry);
  layout->addWidget(Pages, 1);

  TabSet = new QTabBar(Client);
  TabSet->setObjectName("TabSet");
  TabSet->setShape(QTabBar::RoundedSouth);
  TabSet->setFont(PixelFont("MS Sans Serif", 12, false));
  TabSet->setDrawBase(false);
  TabSet->setExpanding(false);
  TabSet->setFocusPolicy(Qt::NoFocus);
  // Tabs drawn by their own frame, without the style's shift of the selected
  // tab, so that the text of 12 pixels keeps its descenders in the 16-pixel strip.
  TabSet->setStyleSheet(
      "QTabBar::tab { height: 15px; padding: 0px 6px; margin: 0px; border: 1px solid palette(mid); border-top: none;"
      " background: palette(button); } QTabBar::tab:selected { background: palette(base); }");
  TabSet->setFixedHeight(16);
  layout->addWidget(TabSet);
  setWidget(Client);
  menus_ = new TLessonMenus(*this);
  MemoPopUp = menus_->MemoPopUp();
  spelling_ = new TLessonSpelling(*this, EditLanguage1, EditLanguage2, entries_->Memos(), MemoText);
  // The system menu's items keep their keys for the menu alone: with several
  // windows, each one's Ctrl+F4 in the frame would make the key ambiguous,
  // and the frame closes the active window with it instead.
  if (QMenu* system = systemMenu())
    for (QAction* item : system->actions()) item->setShortcutContext(Qt::WidgetShortcut);

  // Creation order of the window: caption, texts of the interface language
  // (the tab names among them), size, text margins, language items. The
  // main window enables its lesson buttons when it takes the window in.
  for (const char* tab : {"Header", "Entries", "Text", "Table"}) TabSet->addTab(tab);
  TabSet->setCurrentIndex(kHeaderPage);
  NameWindow();
  // The caption and the controls that show the lesson keep what the lesson
  // and its file give them; only their hints are texts of the language.
  for (QObject* data : std::initializer_list<QObject*>{
           this, EditTitle, EditTopic, EditAuthor, EditImage, EditLanguage1, EditLanguage2, ComboFontLanguage1,
           ComboFontLanguage2, LabelLanguage1, LabelLanguage2, Label7, Label11, Label13, Label15, MemoSynonyms,
           MemoTranslations, MemoAntonyms, MemoTransvertions, EditEntryNr, LabelEntryCount, MemoText,
           // symbols, not words
           BitBtnInsert, BitBtnCopy})
    MarkAsData(data);
  TranslateForm(this);
  entries_->FitHeadings();
  header_->FitStatistics();
  connect(TabSet, &QTabBar::currentChanged, this, &VocabEditForm::TabSetClick);

  Client->resize(kClientWidth, kClientHeight);
  UpdateFixedSize();
  ShowPage(kHeaderPage);
  SetTextMargins();

  // The pages show the document from here on; the window last, once they have.
  finder_ = std::make_unique<TLessonFinder>(*document_);
  observer_ = std::make_unique<Observer>(*this);
  for (TLessonPage* page : pages_) document_->AddObserver(page);
  document_->AddObserver(finder_.get());
  document_->AddObserver(observer_.get());
  NameWindow();
  host_.AddLanguageItems(menus_->LanguageMenu(), menus_->LanguageItems());

  // The window sees the keys of its own controls first (and the focus
  // leaving the entry number), not every event of the program.
  preview_ = new EventPreview(this, [this](QObject* watched, QEvent* event) { return PreviewEvent(watched, event); });
  installEventFilter(preview_);
  for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(preview_);
}

VocabEditForm::~VocabEditForm() {
  // The controls go after this body, and their removal still sends events;
  // the window, no longer whole, must not see them.
  delete preview_;
  for (TLessonPage* page : pages_) page->StopWork();
  // Nor may the underlines ask the spellers, which go here.
  delete spelling_;
  spelling_ = nullptr;
  delete practice_;
  // The dialog observes the document, which goes before the child windows.
  delete checkLesson_;
  checkLesson_ = nullptr;
}

void VocabEditForm::SetLesson(std::unique_ptr<TMeanCollection> lesson) {
  lesson->EnsureEntry();
  document_->Take(std::move(lesson), TLessonDocument::Origin::kUnsaved, FileName());
}

// --- Showing and storing ---

void VocabEditForm::ShowLesson() { document_->ShowAgain(); }

void VocabEditForm::StoreControls() {
  if (!controlsChanged_) return;
  TControlTexts texts;
  QString rejected;
  for (TLessonPage* page : pages_) page->Store(texts, &rejected);
  controlsChanged_ = false;
  vocatrix::StoreControls(*document_, texts);
  EditsChanged();
  if (!rejected.isEmpty()) host_.WarnRejectedCharacters(this, rejected);
}

void VocabEditForm::Change(QObject*) {
  controlsChanged_ = true;
  EditsChanged();
}

void VocabEditForm::EditsChanged() {
  // Pages tell of their edits while the window is still being made.
  if (pages_.empty()) return;
  bool held = false;
  for (const TLessonPage* page : pages_) held = held || page->HoldsEdits();
  document_->SetUnstoredEdits(held);
}

void VocabEditForm::ComboFontDropDown(int language) {
  StoreControls();
  header_->ChooseFont(language);
}

// --- Pages ---

void VocabEditForm::TabSetClick(int index) {
  if (index == shownPage_) return;
  // The user's change may wait for the page's work; the window's own waits
  // for it now.
  if ((!selectingTab_ && ShownPage().LeaveLater(index)) || !TabSetChange(index)) {
    const QSignalBlocker blocker(TabSet);
    TabSet->setCurrentIndex(shownPage_);
    return;
  }
  ShowPage(index);
}

bool VocabEditForm::TabSetChange(int newTab) {
  if (newTab == shownPage_) return true;
  if (!ShownPage().MayLeave(newTab)) return false;
  // The next page is made ready while the one shown still stands.
  pages_[static_cast<std::size_t>(newTab)]->Enter();
  return true;
}

void VocabEditForm::SelectTab(int index) {
  const bool selecting = std::exchange(selectingTab_, true);
  TabSet->setCurrentIndex(index);
  selectingTab_ = selecting;
}

bool VocabEditForm::LeaveOwnText(int page) {
  if (!ShownPage().HoldsOwnText()) return true;
  SelectTab(page);
  return !ShownPage().HoldsOwnText();
}

void VocabEditForm::ShowPage(int page) {
  shownPage_ = page;
  Pages->setCurrentIndex(page);
  ShownPage().Shown();
  ApplyPageSize();
  GrowFor(ShownPage());
}

void VocabEditForm::GrowFor(const TLessonPage& page) {
  const QSize client = page.WantedClientSize();
  if (client.isEmpty() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) return;
  if (size() != QSize(fixedWidth_, fixedHeight_)) return;
  QSize wanted(client.width() + fixedWidth_ - kClientWidth, client.height() + fixedHeight_ - kClientHeight);
  if (const QWidget* area = parentWidget())
    wanted = wanted.boundedTo(QSize(area->width() - x(), area->height() - y()));
  resize(wanted.expandedTo(size()));
}

void VocabEditForm::ApplyPageSize() {
  // Minimised, the window is just its title bar; pages without a fixed size
  // let it size freely.
  if (!ShownPage().FixedSize() || (windowState() & Qt::WindowMinimized)) {
    setMinimumSize(QSize(0, 0));
    setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    return;
  }
  if (windowState() & Qt::WindowMaximized) setWindowState(windowState() & ~Qt::WindowMaximized);
  setMinimumSize(QSize(fixedWidth_, fixedHeight_));
  setMaximumSize(QSize(fixedWidth_, fixedHeight_));
  resize(fixedWidth_, fixedHeight_);
}

void VocabEditForm::UpdateFixedSize() {
  // The frame and title bar around the client area are known once the
  // window has its style; until then they count as nothing.
  const QMargins frame = contentsMargins();
  fixedWidth_ = kClientWidth + frame.left() + frame.right();
  fixedHeight_ = kClientHeight + frame.top() + frame.bottom();
}

void VocabEditForm::showEvent(QShowEvent* event) {
  QMdiSubWindow::showEvent(event);
  UpdateFixedSize();
  ApplyPageSize();
}

void VocabEditForm::SetTextMargins() { text_->SetTextMargins(); }

void VocabEditForm::changeEvent(QEvent* event) {
  QMdiSubWindow::changeEvent(event);
  if (event->type() == QEvent::WindowActivate) host_.ChildActivated();
  if (event->type() == QEvent::WindowStateChange) {
    // On the Header and Entries pages a maximised window returns to its fixed size.
    ApplyPageSize();
    // The frame activates a child window by its state.
    if ((windowState() & Qt::WindowActive) &&
        !(static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowActive))
      ShowSharedChanges();
  }
}

void VocabEditForm::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  if (text_) SetTextMargins();
}

bool VocabEditForm::PreviewEvent(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::FocusOut && type != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  if (type == QEvent::ShortcutOverride) {
    // An edit keeps the undo keys while it has typing of its own to take
    // back; then they reach the window's Undo and Redo.
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool redo = key->matches(QKeySequence::Redo) || key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y);
    if (!redo && !key->matches(QKeySequence::Undo)) return false;
    const bool edit = qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget);
    return edit && !menus_->OwnUndo(widget, redo);
  }
  if (type == QEvent::KeyPress) {
    // Only keys meant for the window itself: its menus and drop-down lists
    // are popup windows of their own (though children of this one) and
    // take their Esc themselves, and a running dialog owns the keyboard.
    if (widget->window() != window() || QApplication::activePopupWidget() || QApplication::activeModalWidget())
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    return FormKeyDown(key->key(), key->modifiers());
  }
  if (widget == EditEntryNr) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) EditEntryExit();
  }
  return false;
}

// --- Commands ---

TFont VocabEditForm::MemoFont() { return TTextPage::MemoFont(); }
bool VocabEditForm::MemoTextKeyDown(QKeyEvent* event) { return text_->TypingKeyDown(event); }
void VocabEditForm::MenuPrintClick() { text_->Print(FileName()); }
void VocabEditForm::CompleteText() { text_->CompleteText(); }
bool VocabEditForm::TextFilling() const { return text_->Filling(); }
void VocabEditForm::TableDeleteClick() { table_->DeleteClick(); }
void VocabEditForm::TableSortLessonClick(int column) { table_->SortLessonClick(column); }

void VocabEditForm::TableOpenEntry(int entry) {
  if (entry < 0 || entry >= Lesson().EntryCount()) return;
  document_->SetEntry(entry);
  SelectTab(kEntriesPage);
  if (CurrentPage() == kEntriesPage) MemoSynonyms->setFocus(Qt::OtherFocusReason);
}

void VocabEditForm::CompactClick() {
  StoreControls();
  CompactLesson(*document_);
}

void VocabEditForm::MirrorClick() {
  if (ShownPage().Mirror()) return;
  StoreControls();
  MirrorLesson(*document_);
}

void VocabEditForm::ConcatClick() { host_.RunFrameCommand(TFrameCommand::Concat); }
void VocabEditForm::SubstituteClick() { host_.RunFrameCommand(TFrameCommand::Substitute); }

void VocabEditForm::ShowSharedChanges() {
  if (controlsChanged_) return;
  for (TLessonPage* page : pages_) page->ShowSharedChanges();
}

void VocabEditForm::CutToClipboard() { menus_->CutToClipboard(); }
void VocabEditForm::CopyToClipboard() { menus_->CopyToClipboard(); }
void VocabEditForm::PasteFromClipboard() { menus_->PasteFromClipboard(); }
void VocabEditForm::Delete() { menus_->Delete(); }
void VocabEditForm::SelectAll() { menus_->SelectAll(); }
void VocabEditForm::UpdateEditMenu() { menus_->UpdateEditMenu(); }
std::vector<GroupedMenu<QMenu*>> VocabEditForm::MenuGroups() const { return menus_->MenuGroups(); }
QActionGroup* VocabEditForm::LanguageItems() const { return menus_->LanguageItems(); }

std::shared_ptr<const TLessonSpeller> VocabEditForm::Speller() { return spelling_->Speller(); }
std::shared_ptr<const TLessonSpeller> VocabEditForm::TextSpeller(const std::string& name1, const std::string& name2) {
  return spelling_->TextSpeller(name1, name2);
}
void VocabEditForm::MenuCheckSpellingClick() { spelling_->CheckSpelling(); }

PracticeForm* VocabEditForm::Practice() const { return practice_; }

void VocabEditForm::MenuPractiseClick() {
  if (!practice_) practice_ = new PracticeForm(this, this);
  practice_->show();
  practice_->raise();
  practice_->activateWindow();
}
TSpellingDlg* VocabEditForm::SpellingDlg() const { return spelling_->Dialog(); }

void VocabEditForm::MenuCheckLessonClick() {
  if (!checkLesson_) checkLesson_ = new TCheckLessonDlg(*this);
  checkLesson_->CheckLesson();
}
bool VocabEditForm::LoadingDictionaries() const { return spelling_->LoadingDictionaries(); }

void VocabEditForm::MenuMemoryGameClick() {
  // The lesson as the Text page has it, read back as leaving the page does;
  // a format error keeps the page, with the error in the status bar.
  const auto lesson = [this]() -> const TMeanCollection* {
    SelectTab(TLessonPage::kEntriesPage);
    if (CurrentPage() != TLessonPage::kEntriesPage) return nullptr;
    StoreControls();
    return &Document().Lesson();
  };
  if (!memoryGame_) {
    // A window of the lesson window's own: it closes with it.
    memoryGame_ = new TMemoryGameForm(this, host_.Services(), lesson);
    memoryGame_->NewGame();
  }
  memoryGame_->show();
  memoryGame_->raise();
  memoryGame_->activateWindow();
}

QMenu* VocabEditForm::ContextMenuOf(QPlainTextEdit* memo, const QPoint& at) {
  if (memo == MemoText) CompleteText();
  return spelling_->ContextMenuOf(memo, at);
}

// --- Find, undo and redo ---

void VocabEditForm::MenuFindClick() {
  TFindDlg* dialog = host_.FindDlg();
  // A word selected on the page is what to find.
  QString selected;
  if (auto* edit = qobject_cast<QLineEdit*>(focusWidget())) selected = edit->selectedText();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(focusWidget())) selected = memo->textCursor().selectedText();
  if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) dialog->EditFind->setText(selected);
  dialog->FormShow();
}

bool VocabEditForm::FindNext(bool backward) {
  const TFindDlg* dialog = host_.FindDlg();
  const QString text = dialog->Text();
  if (text.isEmpty()) {
    MenuFindClick();
    return false;
  }
  const TFindOptions options = dialog->Options();
  if (const std::optional<bool> found = ShownPage().Find(text, options, backward)) return *found;
  StoreControls();
  bool wrapped = false;
  const std::optional<TWordPlace> place = finder_->FindNext(text, options, backward, &wrapped);
  NoteFindResult(host_, text, place.has_value(), wrapped, backward);
  if (!place) return false;
  if (CurrentPage() != kEntriesPage) SelectTab(kEntriesPage);
  // Shown afresh: the word fields then hold exactly the entry's words, one a line.
  document_->SetEntry(place->Entry);
  entries_->SelectWord(place->Kind, place->Word);
  finder_->Shown(*place);
  return true;
}

void VocabEditForm::UndoClick() { UndoRedo(false); }
void VocabEditForm::RedoClick() { UndoRedo(true); }

void VocabEditForm::UndoRedo(bool redo) {
  QWidget* control = focusWidget();
  if (menus_->OwnUndo(control, redo)) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) redo ? edit->redo() : edit->undo();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) redo ? memo->redo() : memo->undo();
    return;
  }
  if (ShownPage().UndoOwn(redo)) return;
  // Edits not stored yet become the step to take back.
  StoreControls();
  if (!(redo ? document_->Redo() : document_->Undo())) {
    host_.Services().sound.Beep();
    return;
  }
  // A page whose own text is the lesson's shows the lesson's state after the step.
  if (ShownPage().HoldsOwnText()) ShownPage().Enter();
}

}  // namespace vocatrix::ui

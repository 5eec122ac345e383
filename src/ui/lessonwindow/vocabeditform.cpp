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

#include "base/cp1252.h"
#include "base/messages.h"
#include "base/settings.h"
#include "ui/common/eventpreview.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/entriespage.h"
#include "ui/lessonwindow/fontcombo.h"
#include "ui/lessonwindow/headerpage.h"
#include "ui/lessonwindow/pagecontrols.h"
#include "ui/lessonwindow/tablepage.h"
#include "ui/lessonwindow/textpage.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/spelling/spellmarks.h"

namespace vocatrix::ui {

VocabEditForm::VocabEditForm(MainForm* mainForm, std::unique_ptr<TMeanCollection> lesson, const std::string& fileName)
    : main_(mainForm), lesson_(lesson ? std::move(lesson) : TMeanCollection::CreateEmpty()) {
  const bool opened = !fileName.empty();
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(mainForm->NewChildName("VocabEditForm"));
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
  Pages->addWidget(header_);
  Pages->addWidget(entries_);
  Pages->addWidget(text_);
  Pages->addWidget(table_);
  // The pages' controls under their names on the window.
  static_cast<THeaderControls&>(*this) = *header_;
  static_cast<TEntriesControls&>(*this) = *entries_;
  MemoText = text_->MemoText;
  TableView = table_->TableView;
  layout->addWidget(Pages, 1);

  TabSet = new QTabBar(Client);
  TabSet->setObjectName("TabSet");
  TabSet->setShape(QTabBar::RoundedSouth);
  TabSet->setFont(PixelFont("MS Sans Serif", 12, false));
  TabSet->setDrawBase(false);
  TabSet->setExpanding(false);
  TabSet->setFocusPolicy(Qt::NoFocus);
  TabSet->setStyleSheet("QTabBar::tab { height: 15px; padding: 0px 6px; }");
  TabSet->setFixedHeight(16);
  layout->addWidget(TabSet);
  setWidget(Client);
  CreateMenus();
  SetUpSpelling();
  // The system menu's items keep their keys for the menu alone: with several
  // windows, each one's Ctrl+F4 in the frame would make the key ambiguous,
  // and the frame closes the active window with it instead.
  if (QMenu* system = systemMenu())
    for (QAction* item : system->actions()) item->setShortcutContext(Qt::WidgetShortcut);

  // Creation order of the window: caption, texts of the interface language
  // (the tab names among them), size, text margins, the lesson, fonts,
  // language items. The main window enables its lesson buttons when it
  // takes the window in.
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
  connect(TabSet, &QTabBar::currentChanged, this, &VocabEditForm::TabSetClick);

  Client->resize(kClientWidth, kClientHeight);
  UpdateFixedSize();
  ShowPage(kHeaderPage);
  SetTextMargins();

  if (!opened) NameNewLanguages();
  // A new lesson was never saved: no state of its history is a file's.
  history_.Reset(false);

  ApplyFonts();
  text_->Clear();
  if (opened) {
    TakeOpenedLesson(fileName, std::move(lesson_));
  } else {
    // Shows the blank entry, the entry count and the entry number.
    ShowLesson();
  }
  main_->AddLanguageItems(menuLanguage_, languageGroup_);
  controlsChanged_ = false;

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
  text_->StopInputWatch();
  // Nor may the underlines ask the spellers, which go with this body.
  for (QPlainTextEdit* editor : {MemoSynonyms, MemoTranslations, MemoAntonyms, MemoTransvertions,
                                 static_cast<QPlainTextEdit*>(MemoText)})
    delete TSpellMarks::Of(editor->document());
}

std::string VocabEditForm::NewLanguageName(int language) {
  return Utf8ToCp1252(language == 1 ? TranslateMessage("Language1", "Language 1")
                                    : TranslateMessage("Language2", "Language 2"));
}

void VocabEditForm::NameNewLanguages() {
  lesson_->Language1.Name = NewLanguageName(1);
  lesson_->Language2.Name = NewLanguageName(2);
  EditLanguage1->setText(ToQString(lesson_->Language1.Name));
  EditLanguage2->setText(ToQString(lesson_->Language2.Name));
}

int VocabEditForm::CurrentPage() const { return shownPage_; }

void VocabEditForm::SetLesson(std::unique_ptr<TMeanCollection> lesson) {
  lesson_ = std::move(lesson);
  lesson_->EnsureEntry();
  entryIndex_ = 0;
  history_.Reset(false);
  lastFound_.reset();
  ShowLesson();
}

void VocabEditForm::Change(QObject*) {
  lesson_->Modified = true;
  controlsChanged_ = true;
}

void VocabEditForm::ShowLesson() {
  showing_ = true;
  ApplyFonts();
  header_->ShowLesson(*lesson_);
  controlsChanged_ = false;

  const int count = lesson_->EntryCount();
  if (entryIndex_ >= count) entryIndex_ = std::max(0, count - 1);
  if (entryIndex_ != visitedEntry_) {
    ++visit_;
    visitedEntry_ = entryIndex_;
  }
  entries_->ShowEntry(*lesson_, entryIndex_);
  table_->Refresh(lesson_.get(), entryIndex_);
  controlsChanged_ = false;
  showing_ = false;
  FollowLanguageNames(false);
}

void VocabEditForm::StoreControls() {
  if (!controlsChanged_) return;
  TLessonRecorder step(*lesson_, entryIndex_);
  step.WatchEntry(entryIndex_);
  QString rejected;
  header_->StoreLesson(*lesson_, &rejected);
  entries_->StoreEntry(*lesson_->At(entryIndex_), &rejected);
  controlsChanged_ = false;
  Record(step, true);
  if (!rejected.isEmpty()) WarnRejectedCharacters(rejected);
}

void VocabEditForm::WarnRejectedCharacters(const QString& rejected) { main_->WarnRejectedCharacters(this, rejected); }

void VocabEditForm::ApplyFonts() {
  header_->ApplyFonts(*lesson_);
  entries_->ApplyFonts(*lesson_);
}

void VocabEditForm::ComboFontDropDown(int language) {
  TFont& font = language == 1 ? lesson_->Language1.Font : lesson_->Language2.Font;
  TFont chosen = font;
  if (main_->Services().dialogs.ChooseFont(this, chosen)) {
    TLessonRecorder step(*lesson_, entryIndex_);
    // A new font is an edit of the lesson, so closing asks to save it.
    if (!(chosen == font)) lesson_->Modified = true;
    font = chosen;
    Record(step);
  }
  ApplyFonts();
}

void VocabEditForm::TabSetClick(int index) {
  if (index == shownPage_) return;
  if (!TabSetChange(index)) {
    const QSignalBlocker blocker(TabSet);
    TabSet->setCurrentIndex(shownPage_);
    return;
  }
  ShowPage(index);
}

void VocabEditForm::SelectTab(int index) { TabSet->setCurrentIndex(index); }

void VocabEditForm::ShowPage(int page) {
  // Only the shown Table page holds the lesson: others may replace it.
  if (shownPage_ == kTablePage && page != kTablePage) table_->Release();
  shownPage_ = page;
  Pages->setCurrentIndex(page);
  if (page == kTablePage) {
    table_->ShowLesson(lesson_.get(), entryIndex_);
    TableView->setFocus(Qt::OtherFocusReason);
  }
  ApplyPageSize();
  if (page == kTablePage) GrowForTable();
}

void VocabEditForm::GrowForTable() {
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
  if (size() != QSize(fixedWidth_, fixedHeight_)) return;
  QSize wanted(kTableClientWidth + fixedWidth_ - kClientWidth, kTableClientHeight + fixedHeight_ - kClientHeight);
  if (const QWidget* area = parentWidget())
    wanted = wanted.boundedTo(QSize(area->width() - x(), area->height() - y()));
  resize(wanted.expandedTo(size()));
}

void VocabEditForm::ApplyPageSize() {
  // Minimised, the window is just its title bar; on the Text and Table pages it sizes freely.
  if (shownPage_ == kTextPage || shownPage_ == kTablePage || (windowState() & Qt::WindowMinimized)) {
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
  if (event->type() == QEvent::WindowActivate) main_->RaiseAboutBox();
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
    return (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget)) && !OwnUndo(widget, redo);
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

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The Text page of the lesson editor window: the lesson as lesson text in
// the language fonts, compiling it back, the typing font, text and rich-text
// files, and printing.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPrinter>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include "files/fontranges.h"
#include "files/lessonfiles.h"
#include "files/rtf.h"
#include "files/transferreport.h"
#include "model/exceptions.h"
#include "base/safesave.h"
#include "base/messages.h"
#include "base/settings.h"
#include "ui/eventpreview.h"
#include "ui/lessontextview.h"
#include "ui/mainform.h"
#include "ui/memotext.h"
#include "ui/qtfonts.h"
#include "ui/qtstrings.h"
#include "ui/textprint.h"
#include "ui/vocabeditform.h"

namespace vocatrix::ui {
namespace {

// Lines put on the Text page at once: more than a window shows.
constexpr int kFirstFillLines = 1024;
// Each later step appends lines in slices for about this long, so that the
// window answers between steps.
constexpr int kFillSliceLines = 256;
constexpr int kFillStepMilliseconds = 15;

// Events that start something the user does with the text or the window:
// the Text page is completed before they arrive. Scrolling is not one.
bool StartsUserAction(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::Drop:
      return true;
    case QEvent::MouseButtonPress:
      return qobject_cast<QScrollBar*>(watched) == nullptr;
    default:
      return false;
  }
}

}  // namespace

TFont VocabEditForm::MemoFont() { return DefaultMemoFont(); }

bool VocabEditForm::TabSetChange(int newTab) {
  if (newTab == shownPage_) return true;
  if (newTab == kTextPage) {
    ConvertToText();
    return true;
  }
  if (shownPage_ == kTextPage) return CompileText();
  return true;
}

void VocabEditForm::SetTextDocument(QTextDocument* document, bool undo) {
  // A fill still running belongs to the document shown before.
  if (textFill_) EndTextFill();
  // Filling the page is no edit of the user's.
  fillingText_ = true;
  document->setUndoRedoEnabled(undo);
  MemoText->SetDocument(document);
  fillingText_ = false;
  textEdited_ = false;
  pageTextDocument_ = nullptr;
}

LanguageLineIndex& VocabEditForm::LanguageLines() {
  QTextDocument* document = MemoText->document();
  if (!languageLines_ || languageLines_->parent() != document) languageLines_ = new LanguageLineIndex(document);
  return *languageLines_;
}

void VocabEditForm::FillText(std::vector<std::string> lines, const TLanguage& language1,
                             const TLanguage& language2) {
  if (textFill_) EndTextFill();
  QProgressBar* bar = main_->ProgressBar();
  LineProgress progress{[bar](int maximum) { bar->setRange(0, std::max(1, maximum)); },
                        [bar](int position) { bar->setValue(position); }};
  main_->SetStatus(kStatusCompiling);
  // The gaps around the markers in the page's font: a struck-out language
  // font strikes out words, not the space between them.
  std::vector<FontRange> ranges = LessonTextFontRanges(lines, language1, language2, MemoFont(), true);
  auto fill = std::make_unique<LessonTextFill>(std::move(lines), std::move(ranges), std::move(progress));
  // The first lines are in their fonts before the editor shows them; the
  // rest follows from the event loop, where building the document is no
  // edit the user could undo.
  SetTextDocument(fill->Start(MemoText->font(), kFirstFillLines), false);
  textFill_ = std::move(fill);
  if (textFill_->Done()) {
    EndTextFill();
    return;
  }
  if (!textFillTimer_) {
    textFillTimer_ = new QTimer(this);
    textFillTimer_->setSingleShot(true);
    connect(textFillTimer_, &QTimer::timeout, this, &VocabEditForm::FillTextStep);
  }
  textFillTimer_->start(0);
  if (!textFillInput_) {
    textFillInput_ = new EventPreview(this, [this](QObject* watched, QEvent* event) {
      if (textFill_ && StartsUserAction(watched, event)) CompleteText();
      return false;
    });
  }
  qApp->installEventFilter(textFillInput_);
}

void VocabEditForm::FillTextStep() {
  if (!textFill_) return;
  QElapsedTimer clock;
  clock.start();
  fillingText_ = true;
  bool done = false;
  while (!done && clock.elapsed() < kFillStepMilliseconds) done = textFill_->Step(kFillSliceLines);
  fillingText_ = false;
  if (done) EndTextFill();
  else textFillTimer_->start(0);
}

void VocabEditForm::CompleteText() {
  if (!textFill_) return;
  fillingText_ = true;
  textFill_->Step(textFill_->LineCount());  // every line left, in one step
  fillingText_ = false;
  EndTextFill();
}

void VocabEditForm::EndTextFill() {
  textFill_.reset();
  if (textFillTimer_) textFillTimer_->stop();
  if (textFillInput_) qApp->removeEventFilter(textFillInput_);
  MemoText->document()->setUndoRedoEnabled(true);
  main_->SetStatus(kStatusIdle);
}

void VocabEditForm::ConvertToText() {
  StoreControls();
  std::vector<std::string> uncarried;
  FillText(lesson_->ToLines(&uncarried), lesson_->Language1, lesson_->Language2);
  MemoText->moveCursor(QTextCursor::Start);
  if (!uncarried.empty()) main_->WarnUncarriedWords(this, uncarried);
}

void VocabEditForm::SelectLine(int index) {
  const auto [start, end] = LineSpan(MemoText->document(), index);
  if (start < 0) return;
  QTextCursor cursor = MemoText->textCursor();
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  MemoText->setTextCursor(cursor);
  MemoText->ensureCursorVisible();
  MemoText->setFocus(Qt::OtherFocusReason);
}

bool VocabEditForm::CompileText() {
  CompleteText();
  QString rejected;
  const std::vector<std::string> lines = DocumentLines(MemoText->document(), &rejected);
  int errorLine = 0;
  std::unique_ptr<TMeanCollection> compiled = TMeanCollection::FromLines(lines, errorLine);
  if (!compiled) {
    SelectLine(errorLine);
    main_->SetStatus(kStatusError);
    return false;
  }
  compiled->DblDel();
  if (compiled->EntryCount() > kMaxEntries) {
    // No lesson file can hold it: the page stays, as on a format error, and
    // the status bar says why.
    main_->SetStatus(kStatusError,
                     Utf8ToQString(ELessonTooLarge::ForEntries(compiled->EntryCount(), kMaxEntries).what()));
    return false;
  }
  compiled->LessonFileName = lesson_->LessonFileName;
  // The step keeps only the entries the text changed; the others stay the
  // entry objects they were (shared with other lessons, if they were).
  TLessonRecorder step(*lesson_, entryIndex_);
  step.SetReplaced();
  lesson_ = std::move(compiled);
  lesson_->EnsureEntry();
  entryIndex_ = 0;
  ShowLesson();
  Record(step);
  // The page change that follows brings the window back to its fixed size.
  if (!rejected.isEmpty()) WarnRejectedCharacters(rejected);
  return true;
}

void VocabEditForm::MemoTextChange() {
  if (fillingText_) return;
  if (main_->StatusState() == kStatusError) main_->SetStatus(kStatusIdle);
  // An edit of the text is an edit of the lesson: closing asks to save it.
  lesson_->Modified = true;
  textEdited_ = true;
}

bool VocabEditForm::MemoTextKeyDown(QKeyEvent* event) {
  switch (event->key()) {
    // Modifier keys alone type nothing and move nothing.
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
      return false;
    default:
      break;
  }
  QTextCursor cursor = MemoText->textCursor();
  const QString typed = event->text();
  // As the editor decides what it inserts: Ctrl and Ctrl+Shift are commands,
  // Ctrl+Alt (AltGr) types.
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const bool command = modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
  const bool types = !typed.isEmpty() && !command && (typed.at(0).isPrint() || typed.at(0) == '\t');
  // Keys that do not type leave the formats of selected text alone.
  if (cursor.hasSelection() && !types) return false;
  // Typing over a selection: the selection goes first, so the typed text
  // takes the font of the place it lands in; one step to undo.
  const bool replaces = cursor.hasSelection();
  if (replaces) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
  }
  const QTextDocument* document = MemoText->document();
  const auto [line, column] = LineAtPosition(document, cursor.position());
  TFont font = TypingFont(ToLessonString(line), static_cast<std::size_t>(column),
                          LanguageLines().LineAbove(cursor.position()), lesson_->Language1, lesson_->Language2,
                          MemoFont());
  // "(" (Shift+8 on a German keyboard) opens a remark, typed in the memo font.
  if (typed == "(" || (event->key() == Qt::Key_8 && (event->modifiers() & Qt::ShiftModifier))) font = MemoFont();
  ApplyFont(cursor, font);
  if (replaces) {
    cursor.insertText(typed);
    cursor.endEditBlock();
  }
  MemoText->setTextCursor(cursor);
  if (replaces) MemoText->ensureCursorVisible();
  return replaces;
}

void VocabEditForm::MirrorText() {
  CompleteText();
  QString rejected;
  int errorLine = 0;
  std::unique_ptr<TMeanCollection> mirrored =
      TMeanCollection::FromLines(DocumentLines(MemoText->document(), &rejected), errorLine);
  if (!mirrored) {
    SelectLine(errorLine);
    return;
  }
  mirrored->DblDel();
  mirrored->Mirror();
  // The fonts follow the names of the "Sp:" lines, which now stand the other
  // way round; the window's lesson stays as it is until the page is left.
  std::vector<std::string> uncarried;
  FillText(mirrored->ToLines(&uncarried), lesson_->Language1, lesson_->Language2);
  MemoText->moveCursor(QTextCursor::Start);
  lesson_->Modified = true;
  if (!rejected.isEmpty()) WarnRejectedCharacters(rejected);
  if (!uncarried.empty()) main_->WarnUncarriedWords(this, uncarried);
}

void VocabEditForm::OpenTextFile(const std::string& fileName) {
  SelectTab(kTextPage);
  const std::string data = ReadWholeFile(fileName);
  const QFont font = MemoText->font();
  // Rich text keeps its formatting; anything else is plain text.
  RtfDocument rich;
  const TextFileLines text = TextDataLines(data, &rich);
  QTextDocument* document = nullptr;
  if (IsRtfData(data)) {
    document = NewRichTextDocument(rich, font, nullptr);
  } else {
    document = NewTextDocument(text.Lines, font, nullptr);
    SetLessonTextTabs(document, text.Lines, {}, font);
  }
  SetTextDocument(document);
  MemoText->moveCursor(QTextCursor::Start);
  lesson_->Modified = false;
  history_.Reset(true);
  controlsChanged_ = false;
  // Characters read as "?" and table rows read as one entry are said.
  TransferReport report;
  NoteTextLines(text, report);
  std::string notes;
  for (const std::string& note : ReadNotes(report, fileName, true)) notes += (notes.empty() ? "" : "\n") + note;
  if (!notes.empty()) main_->Services().dialogs.ShowWarning(this, Utf8ToQString(notes));
}

void VocabEditForm::SaveTextFile() {
  if (CurrentPage() != kTextPage) SelectTab(kTextPage);
  CompleteText();
  QString rejected;
  const QTextDocument* document = MemoText->document();
  const std::string data = FileKind(fileName_) == kRichTextFile ? WriteRtf(DocumentToRich(document, &rejected))
                                                                : TextFileImage(DocumentLines(document, &rejected));
  WriteFileAtomically(fileName_, data, BackupName(fileName_));
  if (!rejected.isEmpty()) WarnRejectedCharacters(rejected);
}

void VocabEditForm::MenuPrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  if (!main_->ChoosePrinter(this, printer, fileName_)) return;
  SelectTab(kTextPage);
  CompleteText();
  printer.setDocName(ToQString(lesson_->Title));
  main_->PrintText(this, *MemoText->document(), printer);
}

}  // namespace vocatrix::ui

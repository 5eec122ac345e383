// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/textpage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPrinter>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextOption>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "document/history.h"
#include "document/lessoncommands.h"
#include "files/fontranges.h"
#include "files/lessonfiles.h"
#include "files/rtf/rtf.h"
#include "model/exceptions.h"
#include "model/lesson.h"
#include "operations/find.h"
#include "ui/common/backgroundwork.h"
#include "ui/common/eventpreview.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/lessonfind.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/mainwindow/windowhost.h"
#include "ui/spelling/spellmarks.h"
#include "ui/textview/lessontextview.h"

namespace vocatrix::ui {
namespace {

// Text of more lines than this is written onto the page, and read back from
// it, by a worker thread: on the interface thread it would keep the window
// from answering for longer than a user waits.
constexpr std::size_t kBackgroundLines = 4000;
// The lines an entry makes on the page, about.
constexpr std::size_t kLinesPerEntry = 4;
// The worker writes the page in slices of this many lines, and may stop
// between them.
constexpr int kFillSliceLines = 1024;

}  // namespace

TTextPage::TTextPage(TPageHost& host) : TLessonPage(host) {
  setObjectName("PageText");
  MemoText = new TMemoText(this);
  MemoText->setObjectName("MemoText");
  fill_ = new TBackgroundWork(this);
  compile_ = new TBackgroundWork(this);
  ApplyFontTo(MemoText, MemoFont());
  connect(MemoText, &QPlainTextEdit::textChanged, this, &TTextPage::TextChange);
  // Typing takes the font of the place it lands in.
  MemoText->installEventFilter(new EventPreview(this, [this](QObject*, QEvent* event) {
    return event->type() == QEvent::KeyPress && TypingKeyDown(static_cast<QKeyEvent*>(event));
  }));
  SetTextDocument(MemoText->document());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MemoText);
}

TTextPage::~TTextPage() { StopWork(); }

void TTextPage::StopWork() {
  fill_->Cancel();
  compile_->Cancel();
}

void TTextPage::LessonWillChange() {
  // The workers read the lesson: a change waits for them (their results
  // are the page's, and follow as planned).
  fill_->WaitForJob();
  compile_->WaitForJob();
}

TFont TTextPage::MemoFont() { return DefaultMemoFont(); }

void TTextPage::SetTextMargins() {
  // A new margin is a format of the document, no edit of the user's.
  QTextDocument* document = MemoText->document();
  const bool modified = document->isModified();
  const bool filling = filling_;
  filling_ = true;
  MemoText->SetTextMargins(3, 2);
  document->setModified(modified);
  filling_ = filling;
}

void TTextPage::Enter() {
  host_.StoreControls();
  TLessonDocument& document = host_.Document();
  const unsigned long revision = document.Revision();
  const QTextDocument* page = MemoText->document();
  // The page still holds this very lesson's text, untouched: shown as it is.
  if (lessonTextRevision_ == revision && source_ == Source::kLesson && !edited_ && !Filling() &&
      !page->isUndoAvailable() && !page->isRedoAvailable()) {
    MemoText->moveCursor(QTextCursor::Start);
    if (!lessonTextUncarried_.empty()) host_.Frame().WarnUncarriedWords(host_.Window(), lessonTextUncarried_);
    return;
  }
  const TMeanCollection& lesson = document.Lesson();
  auto uncarried = std::make_shared<std::vector<std::string>>();
  const auto shown = [this, uncarried, revision] {
    MemoText->moveCursor(QTextCursor::Start);
    lessonTextRevision_ = revision;
    lessonTextUncarried_ = *uncarried;
    if (!uncarried->empty()) host_.Frame().WarnUncarriedWords(host_.Window(), *uncarried);
  };
  SetSource(Source::kLesson);
  if (static_cast<std::size_t>(lesson.EntryCount()) * kLinesPerEntry < kBackgroundLines) {
    FillText(lesson.ToLines(uncarried.get()), lesson.Language1, lesson.Language2);
    shown();
    return;
  }
  // The lesson stays as it is while the worker writes it out: the user's
  // input waits, and so does any change (LessonWillChange).
  StartFill([&lesson, uncarried] { return lesson.ToLines(uncarried.get()); }, lesson.Language1, lesson.Language2,
            shown);
}

bool TTextPage::MayLeave(int) {
  // The lesson's own text, untouched: there is nothing to read back, and
  // the rest of a fill is not needed.
  if (source_ == Source::kLesson && !edited_) {
    fill_->Cancel();
    return true;
  }
  return Compile();
}

bool TTextPage::LeaveLater(int to) {
  if ((source_ == Source::kLesson && !edited_) || Filling() ||
      static_cast<std::size_t>(MemoText->document()->blockCount()) < kBackgroundLines)
    return false;
  // Read back by a worker, which also works out the undo step; the page
  // changes once the lesson has taken the text.
  const QString text = MemoText->document()->toRawText();
  const TLessonDocument* document = &host_.Document();
  struct Compiled {
    std::unique_ptr<TMeanCollection> Lesson;
    TPreparedLesson Prepared;
    int ErrorLine = 0;
    QString Rejected;
    bool Taken = false;
  };
  auto compiled = std::make_shared<Compiled>();
  TWindowHost& frame = host_.Frame();
  frame.SetStatus(kStatusCompiling);
  compile_->Start(
      [text, document, compiled](TWorkProgress&) {
        compiled->Lesson = TMeanCollection::FromLines(RawTextLines(text, &compiled->Rejected), compiled->ErrorLine);
        if (!compiled->Lesson) return;
        compiled->Lesson->DblDel();
        if (compiled->Lesson->EntryCount() <= TMeanCollection::kMaxEntries)
          compiled->Prepared = PrepareCompiledText(*document, std::move(compiled->Lesson));
      },
      {[this, compiled] {
         if (compiled->Prepared.Lesson) {
           const TMeanCollection* lesson = compiled->Prepared.Lesson.get();
           compiled->Taken = TakeLesson(lesson, compiled->Rejected, [&compiled](TLessonDocument& document) {
             TakePreparedText(document, std::move(compiled->Prepared));
           });
           return;
         }
         if (!compiled->Lesson) SelectLine(compiled->ErrorLine);
         TakeLesson(compiled->Lesson.get(), compiled->Rejected, {});
       },
       [this, compiled, to] {
         if (compiled->Taken) host_.SelectTab(to);
       }},
      frame.ProgressBar());
  return true;
}

bool TTextPage::Compile() {
  QString rejected;
  std::unique_ptr<TMeanCollection> compiled = ReadLesson(&rejected);
  const TMeanCollection* lesson = compiled.get();
  return TakeLesson(lesson, rejected,
                    [&compiled](TLessonDocument& document) { TakeCompiledText(document, std::move(compiled)); });
}

bool TTextPage::TakeLesson(const TMeanCollection* compiled, const QString& rejected,
                           const std::function<void(TLessonDocument&)>& take) {
  TWindowHost& frame = host_.Frame();
  if (!compiled) {
    frame.SetStatus(kStatusError);
    return false;
  }
  if (compiled->EntryCount() > TMeanCollection::kMaxEntries) {
    // No lesson file can hold it: the page stays, as on a format error, and
    // the status bar says why.
    frame.SetStatus(kStatusError, Utf8ToQString(ELessonTooLarge::ForEntries(compiled->EntryCount(),
                                                                            TMeanCollection::kMaxEntries).what()));
    return false;
  }
  TLessonDocument& document = host_.Document();
  // The window's text file read as it is, unedited: that lesson is the file's.
  const bool fileAsItIs = source_ == Source::kFile && !edited_ && document.AtSavedState();
  // Only the entries the text changed become new entry objects; the others
  // stay what they were (shared with other lessons, if they were).
  take(document);
  if (fileAsItIs) document.MarkSaved();
  // The text is the lesson's now.
  MemoText->document()->setModified(false);
  edited_ = false;
  SetSource(Source::kLesson);
  frame.SetStatus(kStatusIdle);
  if (!rejected.isEmpty()) frame.WarnRejectedCharacters(host_.Window(), rejected);
  return true;
}

TPageMenuState TTextPage::MenuState() const {
  const QTextDocument* document = MemoText->document();
  return {false, document->isUndoAvailable(), document->isRedoAvailable()};
}

bool TTextPage::UndoOwn(bool redo) {
  // Typing on the page goes first, focused or not.
  const QTextDocument* document = MemoText->document();
  if (!(redo ? document->isRedoAvailable() : document->isUndoAvailable())) return false;
  redo ? MemoText->redo() : MemoText->undo();
  return true;
}

void TTextPage::Print(const std::string& fileName) {
  QPrinter printer(QPrinter::HighResolution);
  TWindowHost& frame = host_.Frame();
  if (!frame.ChoosePrinter(host_.Window(), printer, fileName)) return;
  host_.SelectTab(kTextPage);
  CompleteText();
  printer.setDocName(ToQString(host_.Document().Lesson().Title));
  frame.PrintText(host_.Window(), *MemoText->document(), printer);
}

void TTextPage::SetTextDocument(QTextDocument* document, bool undo) {
  lessonTextRevision_.reset();
  // Filling the page is no edit of the user's.
  filling_ = true;
  document->setUndoRedoEnabled(undo);
  if (document != MemoText->document()) MemoText->SetDocument(document);
  MarkSpelling(document);
  // The user's edits count from here.
  document->setModified(false);
  edited_ = false;
  filling_ = false;
  pageTextDocument_ = nullptr;
  host_.EditsChanged();
}

void TTextPage::SetSource(Source source) {
  source_ = source;
  host_.EditsChanged();
}

bool TTextPage::HoldsEdits() const { return !Filling() && (source_ == Source::kOther || edited_); }

void TTextPage::MarkSpelling(QTextDocument* document) {
  if (!TSpellMarks::Of(document))
    new TSpellMarks(document, 0, [this](const LessonTextLanguages& languages) {
      return host_.TextSpeller(languages.Name1(), languages.Name2());
    });
}

LanguageLineIndex& TTextPage::LanguageLines() {
  QTextDocument* document = MemoText->document();
  if (!languageLines_ || languageLines_->parent() != document) languageLines_ = new LanguageLineIndex(document);
  return *languageLines_;
}

void TTextPage::FillText(std::vector<std::string> lines, const TLanguage& language1, const TLanguage& language2) {
  if (lines.size() >= kBackgroundLines) {
    StartFill([lines = std::move(lines)]() mutable { return std::move(lines); }, language1, language2, {});
    return;
  }
  fill_->Cancel();
  TWindowHost& frame = host_.Frame();
  QProgressBar* bar = frame.ProgressBar();
  LineProgress progress{[bar](int maximum) { bar->setRange(0, std::max(1, maximum)); },
                        [bar](int position) { bar->setValue(position); }};
  frame.SetStatus(kStatusCompiling);
  // The gaps around the markers in the page's font: a struck-out language
  // font strikes out words, not the space between them.
  std::vector<FontRange> ranges = LessonTextFontRanges(lines, language1, language2, MemoFont(), true);
  LessonTextFill fill(std::move(lines), std::move(ranges), std::move(progress));
  SetTextDocument(fill.Start(MemoText->font(), fill.LineCount()));
  frame.SetStatus(kStatusIdle);
}

void TTextPage::StartFill(std::function<std::vector<std::string>()> lines, const TLanguage& language1,
                          const TLanguage& language2, std::function<void()> then) {
  fill_->Cancel();
  // The page stands empty, and the user's input waits, until the text is in.
  SetTextDocument(NewTextDocument({}, MemoText->font(), nullptr), false);
  TWindowHost& frame = host_.Frame();
  frame.SetStatus(kStatusCompiling);
  // The document the worker made, until the page takes it.
  struct Filled {
    std::unique_ptr<LessonTextFill> Fill;
    QTextDocument* Document = nullptr;
    ~Filled() { delete Document; }
  };
  auto filled = std::make_shared<Filled>();
  const QFont font = MemoText->font();
  // The wrapping the editor gives a document it takes.
  QTextOption option = MemoText->document()->defaultTextOption();
  option.setWrapMode(MemoText->lineWrapMode() == QPlainTextEdit::NoWrap ? QTextOption::NoWrap
                                                                         : MemoText->wordWrapMode());
  fill_->Start(
      [filled, lines = std::move(lines), language1, language2, font, option, memoFont = MemoFont()](
          TWorkProgress& progress) mutable {
        std::vector<std::string> text = lines();
        std::vector<FontRange> ranges = LessonTextFontRanges(text, language1, language2, memoFont, true);
        auto fill = std::make_unique<LessonTextFill>(
            std::move(text), std::move(ranges),
            LineProgress{[&progress](int maximum) { progress.Maximum = maximum; },
                         [&progress](int position) { progress.Position = position; }});
        QTextDocument* document = fill->StartOffThread(font, option, kFillSliceLines);
        while (!fill->Step(kFillSliceLines)) {
          if (progress.Cancelled) {
            delete document;
            return;
          }
        }
        // Every block's layout object made here: the editor visits them all
        // when it takes the document, and would make them there.
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) block.layout();
        document->moveToThread(QCoreApplication::instance()->thread());
        filled->Document = document;
        filled->Fill = std::move(fill);
      },
      {// The tab stops, measured here, and the layout; then the editor takes
       // the text, each a step of its own.
       [filled, font] { filled->Fill->FinishOnInterfaceThread(filled->Document, font); },
       [this, filled, then = std::move(then)] {
         SetTextDocument(std::exchange(filled->Document, nullptr));
         host_.Frame().SetStatus(kStatusIdle);
         if (then) then();
       }},
      frame.ProgressBar());
}

void TTextPage::CompleteText() { fill_->Finish(); }

bool TTextPage::Filling() const { return fill_->Running(); }

void TTextPage::SelectLine(int index) {
  const auto [start, end] = LineSpan(MemoText->document(), index);
  if (start < 0) return;
  QTextCursor cursor = MemoText->textCursor();
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  MemoText->setTextCursor(cursor);
  MemoText->ensureCursorVisible();
  MemoText->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<TMeanCollection> TTextPage::ReadLesson(QString* rejected) {
  CompleteText();
  int errorLine = 0;
  std::unique_ptr<TMeanCollection> lesson =
      TMeanCollection::FromLines(DocumentLines(MemoText->document(), rejected), errorLine);
  if (!lesson) {
    SelectLine(errorLine);
    return nullptr;
  }
  lesson->DblDel();
  return lesson;
}

bool TTextPage::Mirror() {
  QString rejected;
  std::unique_ptr<TMeanCollection> mirrored = ReadLesson(&rejected);
  if (!mirrored) return true;
  mirrored->Mirror();
  // The fonts follow the names of the "Sp:" lines, which now stand the other
  // way round; the window's lesson stays as it is until the page is left.
  const TMeanCollection& lesson = host_.Document().Lesson();
  std::vector<std::string> uncarried;
  std::vector<std::string> lines = mirrored->ToLines(&uncarried);
  std::vector<FontRange> ranges = LessonTextFontRanges(lines, lesson.Language1, lesson.Language2, MemoFont(), true);
  LessonTextFill fill(std::move(lines), std::move(ranges));
  const std::unique_ptr<QTextDocument> built(fill.Start(MemoText->font(), fill.LineCount()));
  // The mirrored text takes the place of the page's as one edit of the
  // user's, which Undo takes back; the tab stops line both up.
  QTextDocument* document = MemoText->document();
  QTextOption option = document->defaultTextOption();
  QList<QTextOption::Tab> tabs = built->defaultTextOption().tabs();
  const QList<QTextOption::Tab> before = option.tabs();
  for (qsizetype i = 0; i < std::min(tabs.size(), before.size()); ++i)
    tabs[i].position = std::max(tabs[i].position, before[i].position);
  if (tabs.size() < before.size()) tabs = before;
  option.setTabs(tabs);
  document->setDefaultTextOption(option);
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.insertFragment(QTextDocumentFragment(built.get()));
  cursor.endEditBlock();
  MemoText->moveCursor(QTextCursor::Start);
  if (!rejected.isEmpty()) host_.Frame().WarnRejectedCharacters(host_.Window(), rejected);
  if (!uncarried.empty()) host_.Frame().WarnUncarriedWords(host_.Window(), uncarried);
  return true;
}

TextFileLines TTextPage::ShowFile(const std::string& data) {
  const QFont font = MemoText->font();
  // Rich text keeps its formatting; anything else is plain text.
  RtfDocument rich;
  TextFileLines text = TextDataLines(data, &rich);
  QTextDocument* document = nullptr;
  if (IsRtfData(data)) {
    document = NewRichTextDocument(rich, font, nullptr);
  } else {
    document = NewTextDocument(text.Lines, font, nullptr);
    SetLessonTextTabs(document, text.Lines, {}, font);
  }
  SetTextDocument(document);
  MemoText->moveCursor(QTextCursor::Start);
  SetSource(Source::kFile);
  return text;
}

std::string TTextPage::FileImage(bool richText, QString* rejected) {
  CompleteText();
  const QTextDocument* document = MemoText->document();
  return richText ? WriteRtf(DocumentToRich(document, rejected)) : TextFileImage(DocumentLines(document, rejected));
}

void TTextPage::TextSaved() {
  MemoText->document()->setModified(false);
  edited_ = false;
  SetSource(Source::kFile);
}

void TTextPage::TextChange() {
  if (filling_) return;
  TWindowHost& frame = host_.Frame();
  if (frame.StatusState() == kStatusError) frame.SetStatus(kStatusIdle);
  // An edit, unless the user took every edit back: the text is then where
  // the undo steps began, with their redo still there. (A text put in whole
  // clears the steps.)
  const QTextDocument* document = MemoText->document();
  edited_ = document->isModified() || !document->isRedoAvailable();
  host_.EditsChanged();
}

bool TTextPage::TypingKeyDown(QKeyEvent* event) {
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
  const TMeanCollection& lesson = host_.Document().Lesson();
  TFont font = TypingFont(ToLessonString(line), static_cast<std::size_t>(column),
                          LanguageLines().LineAbove(cursor.position()), lesson.Language1, lesson.Language2,
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

std::optional<bool> TTextPage::Find(const QString& text, const TFindOptions& options, bool backward) {
  QTextDocument::FindFlags flags;
  if (options.MatchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options.WholeWord) flags |= QTextDocument::FindWholeWords;
  if (backward) flags |= QTextDocument::FindBackward;
  CompleteText();
  const QTextDocument* document = MemoText->document();
  QTextCursor found = FindInDocument(document, text, MemoText->textCursor(), flags);
  bool wrapped = false;
  if (found.isNull()) {
    QTextCursor edge(const_cast<QTextDocument*>(document));
    edge.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    found = FindInDocument(document, text, edge, flags);
    wrapped = true;
  }
  NoteFindResult(host_.Frame(), text, !found.isNull(), wrapped, backward);
  if (found.isNull()) return false;
  MemoText->setTextCursor(found);
  MemoText->ensureCursorVisible();
  return true;
}

std::optional<QString> TTextPage::RecoveryText() const {
  // While the page still fills, the user has not touched it. A page of a
  // large lesson takes a while to read out: the text of the last image is
  // taken again while the document has not changed since.
  if (!HoldsEdits()) return std::nullopt;
  const QTextDocument* document = MemoText->document();
  if (document != pageTextDocument_ || document->revision() != pageTextRevision_) {
    pageText_ = document->toPlainText();
    pageTextDocument_ = document;
    pageTextRevision_ = document->revision();
  }
  return pageText_;
}

void TTextPage::RestoreRecoveryText(const QString& text) {
  QString rejected;
  std::vector<std::string> lines;
  for (const QString& line : text.split('\n')) lines.push_back(ToLessonString(line, &rejected));
  const TMeanCollection& lesson = host_.Document().Lesson();
  FillText(std::move(lines), lesson.Language1, lesson.Language2);
  SetSource(Source::kOther);
  if (!rejected.isEmpty()) host_.Frame().WarnRejectedCharacters(host_.Window(), rejected);
}

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/entriespage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "base/messages.h"
#include "document/lessoncommands.h"
#include "files/binaryfile.h"
#include "model/exceptions.h"
#include "model/lesson.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/pagecontrols.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/windowhost.h"

namespace vocatrix::ui {
namespace {

// The lines of a memo; paragraph and line separators both end a line, and
// no-break spaces stay what they are.
QStringList MemoTextLines(const QPlainTextEdit* memo) {
  QString raw = memo->document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, '\n').replace(QChar::LineSeparator, '\n');
  return raw.split('\n');
}

// The lines of a memo as lesson strings; characters that Windows-1252
// cannot hold are collected in `rejected`.
std::vector<std::string> LessonLines(const QPlainTextEdit* memo, QString* rejected, bool* hadRejected) {
  std::vector<std::string> lines;
  *hadRejected = false;
  for (const QString& line : MemoTextLines(memo)) {
    QString lineRejected;
    lines.push_back(ToLessonString(line, &lineRejected));
    if (lineRejected.isEmpty()) continue;
    *hadRejected = true;
    CollectRejected(rejected, lineRejected);
  }
  return lines;
}

// The words of a list as a memo shows them, one a line.
QString MemoLines(const std::vector<std::string>& words) {
  QString text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i) text += '\n';
    text += ToQString(words[i]);
  }
  return text;
}

ScrollCode ScrollCodeOfAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return ScrollCode::LineDown;
    case QAbstractSlider::SliderSingleStepSub: return ScrollCode::LineUp;
    case QAbstractSlider::SliderPageStepAdd: return ScrollCode::PageDown;
    case QAbstractSlider::SliderPageStepSub: return ScrollCode::PageUp;
    case QAbstractSlider::SliderToMinimum: return ScrollCode::Top;
    case QAbstractSlider::SliderToMaximum: return ScrollCode::Bottom;
    default: return ScrollCode::Track;
  }
}

}  // namespace

TEntriesPage::TEntriesPage(TPageHost& host) : TLessonPage(host) {
  setObjectName("PageEntries");
  // Each word list under a heading that names it; a heading that does not
  // fit on one line, with a margin before the page's edge, wraps.
  int heading = 0;
  const auto makeList = [this, &heading](const char* memoName, const char* labelName, const QString& text, int x,
                                         int y) {
    QLabel* label = MakeLabel(this, labelName, text, x, y - 16, 145);
    label->setFont(PixelFont("Arial", 11, false));
    label->setWordWrap(true);
    // The last lines of the headings of a row stand on one line, two pixels above the lists.
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    label->setContentsMargins(0, 0, kHeadingMargin, 2);
    headings_[static_cast<std::size_t>(heading++)] = label;
    QPlainTextEdit* memo = MakeMemo(this, memoName, text, x, y);
    memo->resize(memo->width(), 57);
    return memo;
  };
  MemoSynonyms = makeList("MemoSynonyms", "LabelSynonyms", "Synonyme", 8, 15);
  MemoSynonyms->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoTranslations = makeList("MemoTranslations", "LabelTranslations", "Übersetzungen", 167, 15);
  MemoAntonyms = makeList("MemoAntonyms", "LabelAntonyms", "Antonyme", 8, 88);
  MemoTransvertions =
      makeList("MemoTransvertions", "LabelTransvertions", "Übersetzungen der Antonyme", 167, 88);

  MakeLabel(this, "Label12", "Eintrag:", 8, 150);
  EditEntryNr = MakeEdit(this, "EditEntryNr", 66, 148, 44);
  SetHint(EditEntryNr, "Gehe zu Eintrag");
  SetEntryNrColor(false);
  // "of N": room for the largest number of entries.
  LabelEntryCount = MakeLabel(this, "LabelEntryCount", QString(), 114, 150, 64);
  formLabel_ = MakeLabel(this, "Label14", "Form:", kDesignedFormLabelX, 150);
  ComboBoxForm = new QComboBox(this);
  ComboBoxForm->setObjectName("ComboBoxForm");
  ComboBoxForm->addItems({"v.", "s.", "adj.", "adv.", "other"});
  ComboBoxForm->setFont(PixelFont("System", 13, true));
  ComboBoxForm->setGeometry(226, 148, 84, 22);
  ComboBoxForm->setContextMenuPolicy(Qt::CustomContextMenu);

  auto makeButton = [this](const char* name, const QString& caption, const QString& hint, int x, int width) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(x, 178, width, 25);
    SetHint(button, hint);
    return button;
  };
  BitBtnMirror = makeButton("BitBtnMirror", "<-  ->", "Eintrag spiegeln", 8, 58);
  BitBtnDelete = makeButton("BitBtnDelete", "X", "Eintrag löschen", 70, 30);
  // Filled circles, as the symbol font shows them.
  BitBtnInsert = makeButton("BitBtnInsert", QString(QChar(0x25CF)), "Eintrag einfügen", 104, 30);
  BitBtnCopy = makeButton("BitBtnCopy", QString(2, QChar(0x25CF)), "Eintrag verdoppeln", 138, 34);

  ScrollBar = new QScrollBar(Qt::Horizontal, this);
  ScrollBar->setObjectName("ScrollBar");
  ScrollBar->setGeometry(8, 214, 304, 17);
  ScrollBar->setRange(1, 1);
  ScrollBar->setSingleStep(1);
  ScrollBar->setPageStep(1);
  ScrollBar->setFocusPolicy(Qt::StrongFocus);

  // Below the lists, as designed for headings of one line.
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (control->y() > MemoAntonyms->geometry().bottom()) controlsBelow_.emplace_back(control, control->y());
  FitHeadings();

  QWidget::setTabOrder(MemoSynonyms, MemoTranslations);
  QWidget::setTabOrder(MemoTranslations, MemoAntonyms);
  QWidget::setTabOrder(MemoAntonyms, MemoTransvertions);
  QWidget::setTabOrder(MemoTransvertions, EditEntryNr);
  QWidget::setTabOrder(EditEntryNr, ComboBoxForm);
  QWidget::setTabOrder(ComboBoxForm, BitBtnMirror);
  QWidget::setTabOrder(BitBtnMirror, BitBtnDelete);
  QWidget::setTabOrder(BitBtnDelete, BitBtnInsert);
  QWidget::setTabOrder(BitBtnInsert, BitBtnCopy);
  QWidget::setTabOrder(BitBtnCopy, ScrollBar);

  for (QPlainTextEdit* memo : Memos())
    connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] { host_.Change(memo); });
  connect(ComboBoxForm, &QComboBox::activated, this, [this] { host_.Change(ComboBoxForm); });
  connect(EditEntryNr, &QLineEdit::textChanged, this, &TEntriesPage::EditEntryNrChange);
  connect(ScrollBar, &QAbstractSlider::actionTriggered, this,
          [this](int action) { ScrollBarScroll(ScrollCodeOfAction(action), ScrollBar->sliderPosition()); });
  connect(BitBtnMirror, &QPushButton::clicked, this, &TEntriesPage::MirrorEntryClick);
  connect(BitBtnDelete, &QPushButton::clicked, this, &TEntriesPage::DeleteEntryClick);
  connect(BitBtnInsert, &QPushButton::clicked, this, [this] { InsertEntryClick(); });
  connect(BitBtnCopy, &QPushButton::clicked, this, &TEntriesPage::CopyEntryClick);

  TLessonChange whole;
  whole.What = TLessonChange::kReplaced | TLessonChange::kHeader;
  LessonChanged(whole);
}

QString DeleteEntryQuestion(const TMeanCollection& lesson, int index) {
  std::string name = std::to_string(index + 1);
  const TMeaning& entry = *lesson.At(index);
  for (int kind : {kSynonyms, kTranslations})
    if (const std::vector<std::string> words = entry.KindTexts(kind); !words.empty() && !words.front().empty()) {
      name += ": " + ToQString(words.front()).toStdString();
      break;
    }
  return Utf8ToQString(TranslateMessage("DeleteEntry", "Delete Entry '%s'?", {name}));
}

void TEntriesPage::FitHeadings() {
  // Each row of headings is as high as its taller heading; the memos stand
  // under it, and what stands below the lists moves down as far as the
  // headings grew.
  const std::vector<QPlainTextEdit*> memos = Memos();
  int y = -1;
  for (std::size_t row = 0; row < 2; ++row) {
    int height = kHeadingHeight;
    for (std::size_t column = 0; column < 2; ++column) {
      const QLabel* label = headings_[2 * row + column];
      height = std::max(height, label->heightForWidth(label->width()) + 2);
    }
    for (std::size_t column = 0; column < 2; ++column) {
      QLabel* label = headings_[2 * row + column];
      label->setGeometry(label->x(), y, label->width(), height);
      memos[2 * row + column]->move(label->x(), y + height - 1);
    }
    y = memos[2 * row]->geometry().bottom() + 1;
  }
  const int grown = memos[2]->y() - kDesignedMemoTop;
  for (const auto& [control, designedY] : controlsBelow_) control->move(control->x(), designedY + grown);
  // A longer word for "form" starts further left, into the room the entry
  // count leaves free, rather than run under the list.
  formLabel_->move(std::min(kDesignedFormLabelX, ComboBoxForm->x() - 2 - formLabel_->width()), formLabel_->y());
}

std::vector<QPlainTextEdit*> TEntriesPage::Memos() const {
  return {MemoSynonyms, MemoTranslations, MemoAntonyms, MemoTransvertions};
}

void TEntriesPage::LessonChanged(const TLessonChange& change) {
  if (change.Has(TLessonChange::kHeader)) ApplyFonts(host_.Document().Lesson());
  ShowEntry();
}

void TEntriesPage::Enter() {
  // A number typed that names no entry gives way to the entry's own.
  ShowEntryNumber();
}

void TEntriesPage::ShowEntryNumber() {
  const TLessonDocument& document = host_.Document();
  const int index = document.Entry();
  {
    const QSignalBlocker blocker(ScrollBar);
    ScrollBar->setMaximum(std::max(1, document.Lesson().EntryCount()));
    ScrollBar->setValue(index + 1);
  }
  {
    const QSignalBlocker blocker(EditEntryNr);
    EditEntryNr->setText(QString::number(index + 1));
  }
  ShowEntryCount();
  // The number shown is valid, whatever was typed before.
  SetEntryNrColor(false);
  EditEntryNr->repaint();
}

void TEntriesPage::ShowEntry() {
  ShowEntryNumber();
  // Showing the entry is no edit of it.
  const TLessonDocument& document = host_.Document();
  const TMeaning& entry = *document.Lesson().At(document.Entry());
  ComboBoxForm->setCurrentIndex(entry.Form < ComboBoxForm->count() ? entry.Form : -1);
  for (int kind : {kSynonyms, kAntonyms, kTranslations, kAntonymTranslations}) {
    QPlainTextEdit* memo = Memos()[static_cast<std::size_t>(kind)];
    const QSignalBlocker blocker(memo);
    memo->setPlainText(MemoLines(entry.KindTexts(kind)));
  }
  TakeShown();
}

void TEntriesPage::TakeShown() {
  shownForm_ = ComboBoxForm->currentIndex();
  shownLists_.clear();
  for (const QPlainTextEdit* memo : Memos()) shownLists_ << memo->toPlainText();
}

void TEntriesPage::Store(TControlTexts& texts, QString* rejected) {
  texts.Form = ComboBoxForm->currentIndex();
  std::array<std::vector<std::string>, 4> lists;
  const std::vector<QPlainTextEdit*> memos = Memos();
  std::string tooLong;
  for (std::size_t kind = 0; kind < memos.size(); ++kind) {
    bool hadRejected = false;
    lists[kind] = LessonLines(memos[kind], rejected, &hadRejected);
    // A word no lesson file can hold is refused, and the user told why.
    std::vector<std::string>& lines = lists[kind];
    for (auto line = lines.begin(); line != lines.end();) {
      if (TrimControls(*line).size() <= kMaxLessonFileText) {
        ++line;
        continue;
      }
      if (tooLong.empty())
        tooLong = ELessonTooLarge::ForWord({}, host_.Document().Entry() + 1, line->size(), *line).what();
      line = lines.erase(line);
      hadRejected = true;
    }
    if (hadRejected) {
      // The memo shows what is stored.
      const QSignalBlocker blocker(memos[kind]);
      memos[kind]->setPlainText(MemoLines(lists[kind]));
    }
  }
  texts.Lists = std::move(lists);
  TakeShown();
  if (!tooLong.empty()) host_.Frame().InformLater(host_.Window(), MessageKind::Warning, Utf8ToQString(tooLong));
}

bool TEntriesPage::HoldsEdits() const {
  if (ComboBoxForm->currentIndex() != shownForm_) return true;
  const std::vector<QPlainTextEdit*> memos = Memos();
  for (std::size_t kind = 0; kind < memos.size(); ++kind)
    if (kind >= static_cast<std::size_t>(shownLists_.size()) ||
        memos[kind]->toPlainText() != shownLists_[static_cast<qsizetype>(kind)])
      return true;
  return false;
}

void TEntriesPage::ShowEntryCount() {
  LabelEntryCount->setText(Utf8ToQString(
      TranslateMessage("EntryOfCount", "of %s", {std::to_string(host_.Document().Lesson().EntryCount())})));
}

bool TEntriesPage::ShowsEntry(const TMeaning& entry) const {
  bool shown = ComboBoxForm->currentIndex() == (entry.Form < ComboBoxForm->count() ? entry.Form : -1);
  const std::vector<QPlainTextEdit*> memos = Memos();
  for (int kind = 0; kind < static_cast<int>(memos.size()); ++kind)
    shown = shown && memos[static_cast<std::size_t>(kind)]->toPlainText() == MemoLines(entry.KindTexts(kind));
  return shown;
}

void TEntriesPage::ShowSharedChanges() {
  const TLessonDocument& document = host_.Document();
  if (!ShowsEntry(*document.Lesson().At(document.Entry()))) ShowEntry();
}

void TEntriesPage::ApplyFonts(const TMeanCollection& lesson) {
  for (QWidget* w : {MemoSynonyms, MemoAntonyms}) ApplyFontTo(w, lesson.Language1.Font);
  for (QWidget* w : {MemoTranslations, MemoTransvertions}) ApplyFontTo(w, lesson.Language2.Font);
}

void TEntriesPage::SetEntryNrColor(bool error) {
  QPalette palette = EditEntryNr->palette();
  palette.setColor(QPalette::Base, error ? QColor(255, 0, 0) : QColor(Qt::white));
  EditEntryNr->setPalette(palette);
}

void TEntriesPage::SelectWord(int kind, int word) {
  QPlainTextEdit* memo = Memos()[static_cast<std::size_t>(kind)];
  const QTextBlock line = memo->document()->findBlockByNumber(word);
  QTextCursor cursor(memo->document());
  cursor.setPosition(line.position());
  cursor.setPosition(line.position() + line.length() - 1, QTextCursor::KeepAnchor);
  memo->setFocus(Qt::OtherFocusReason);
  memo->setTextCursor(cursor);
  memo->ensureCursorVisible();
}

void TEntriesPage::AddControlTexts(std::vector<std::pair<std::string, std::string>>& controls) const {
  for (const QPlainTextEdit* memo : Memos())
    controls.emplace_back(memo->objectName().toStdString(), memo->toPlainText().toStdString());
  controls.emplace_back(ComboBoxForm->objectName().toStdString(), std::to_string(ComboBoxForm->currentIndex()));
}

// --- Navigation and the entry commands ---

void TEntriesPage::ScrollBarScroll(ScrollCode code, int position) {
  host_.StoreControls();
  TLessonDocument& document = host_.Document();
  const int count = document.Lesson().EntryCount();
  if (document.Entry() >= count - 1 && (code == ScrollCode::LineDown || code == ScrollCode::PageDown)) {
    // Scrolling on past the last entry appends a blank one, as long as the
    // 16-bit entry count of the lesson file can hold it.
    if (!document.Full()) {
      AppendEntry(document);
      return;
    }
    SayLessonFull();
  }
  document.SetEntry(std::clamp(position - 1, 0, count - 1));
}

void TEntriesPage::SayLessonFull() {
  host_.Frame().Services().sound.Beep();
  host_.Frame().ShowNote(Utf8ToQString(TranslateMessage(
      "LessonFull", "The lesson holds %s entries, the most a lesson file can hold: no entry is added.",
      {std::to_string(TMeanCollection::kMaxEntries)})));
}

void TEntriesPage::EditEntryNrChange() {
  SetEntryNrColor(false);
  const QString text = EditEntryNr->text();
  if (text.isEmpty()) return;
  bool ok = false;
  const int number = text.toInt(&ok, 10);
  if (!ok || number < 1 || number > host_.Document().Lesson().EntryCount()) {
    SetEntryNrColor(true);
    host_.Frame().Services().sound.Beep();
    return;
  }
  host_.StoreControls();
  host_.Document().SetEntry(number - 1);
  EditEntryNr->setModified(false);
}

void TEntriesPage::EditEntryExit() {
  host_.StoreControls();
  host_.Document().SetEntry(host_.Document().Entry());
}

bool TEntriesPage::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::AltModifier) {
    const int position = ScrollBar->value();
    const int count = host_.Document().Lesson().EntryCount();
    switch (key) {
      case Qt::Key_PageUp: ScrollBarScroll(ScrollCode::LineUp, std::max(1, position - 1)); return true;
      case Qt::Key_PageDown: ScrollBarScroll(ScrollCode::LineDown, std::min(count, position + 1)); return true;
      case Qt::Key_End: ScrollBarScroll(ScrollCode::Bottom, count); return true;
      case Qt::Key_Home: ScrollBarScroll(ScrollCode::Top, 1); return true;
      case Qt::Key_Insert: InsertEntryClick(); return true;
      case Qt::Key_Delete: DeleteEntryClick(); return true;
      default: break;
    }
  }
  switch (key) {
    case Qt::Key_Escape: host_.Window()->close(); return true;
    case Qt::Key_F2: MirrorEntryClick(); return true;
    case Qt::Key_F3: CopyEntryClick(); return true;
    case Qt::Key_F12: MemoSynonyms->setFocus(Qt::ShortcutFocusReason); return true;
    default: return false;
  }
}

bool TEntriesPage::InsertEntryClick() {
  host_.StoreControls();
  if (host_.Document().Full()) {
    SayLessonFull();
    return false;
  }
  InsertEntry(host_.Document());
  MemoSynonyms->setFocus(Qt::OtherFocusReason);
  return true;
}

void TEntriesPage::DeleteEntryClick() {
  host_.StoreControls();
  TLessonDocument& document = host_.Document();
  const QString question = DeleteEntryQuestion(document.Lesson(), document.Entry());
  if (host_.Frame().Services().dialogs.Message(host_.Window(), MessageKind::Confirmation, MessageButtons::OkCancel,
                                               question) != MessageAnswer::Ok)
    return;
  DeleteEntry(document);
}

void TEntriesPage::MirrorEntryClick() {
  host_.StoreControls();
  MirrorEntry(host_.Document());
}

void TEntriesPage::CopyEntryClick() {
  host_.StoreControls();
  if (host_.Document().Full()) {
    SayLessonFull();
    return;
  }
  CopyEntry(host_.Document());
  MemoSynonyms->setFocus(Qt::OtherFocusReason);
}

}  // namespace vocatrix::ui

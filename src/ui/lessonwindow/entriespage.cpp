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

#include "base/messages.h"
#include "model/lesson.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/pagecontrols.h"
#include "ui/lessonwindow/vocabeditform.h"

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

TEntriesPage::TEntriesPage(VocabEditForm& form) : form_(form) {
  setObjectName("PageEntries");
  // Each word list under a heading that names it.
  const auto makeList = [this](const char* memoName, const char* labelName, const QString& heading, int x, int y) {
    QLabel* label = MakeLabel(this, labelName, heading, x, y - 16, 145);
    label->setFont(PixelFont("Arial", 11, false));
    QPlainTextEdit* memo = MakeMemo(this, memoName, heading, x, y);
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
  MakeLabel(this, "Label14", "Form:", 182, 150);
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

  for (QPlainTextEdit* memo : {MemoSynonyms, MemoTranslations, MemoAntonyms, MemoTransvertions})
    connect(memo, &QPlainTextEdit::textChanged, &form, [&form, memo] { form.Change(memo); });
  connect(ComboBoxForm, &QComboBox::activated, &form, [&form, this] { form.Change(ComboBoxForm); });
  connect(EditEntryNr, &QLineEdit::textChanged, &form, [&form] { form.EditEntryNrChange(); });
  connect(ScrollBar, &QAbstractSlider::actionTriggered, &form,
          [&form, this](int action) { form.ScrollBarScroll(ScrollCodeOfAction(action), ScrollBar->sliderPosition()); });
  connect(BitBtnMirror, &QPushButton::clicked, &form, &VocabEditForm::ButtonMirrorClick);
  connect(BitBtnDelete, &QPushButton::clicked, &form, &VocabEditForm::ButtonDeleteClick);
  connect(BitBtnInsert, &QPushButton::clicked, &form, [&form] { form.ButtonInsertClick(); });
  connect(BitBtnCopy, &QPushButton::clicked, &form, &VocabEditForm::ButtonCopyClick);
}

std::vector<QPlainTextEdit*> TEntriesPage::Memos() const {
  return {MemoSynonyms, MemoTranslations, MemoAntonyms, MemoTransvertions};
}

void TEntriesPage::FillMemo(QPlainTextEdit* memo, const std::vector<std::string>& words) {
  {
    const QSignalBlocker blocker(memo);
    memo->setPlainText(MemoLines(words));
  }
  // Putting words into a memo counts as a change; emptying it does not.
  if (!words.empty()) form_.Change(memo);
}

void TEntriesPage::ShowEntry(const TMeanCollection& lesson, int index) {
  {
    const QSignalBlocker blocker(ScrollBar);
    ScrollBar->setMaximum(std::max(1, lesson.EntryCount()));
    ScrollBar->setValue(index + 1);
  }
  EditEntryNr->setText(QString::number(index + 1));
  ShowEntryCount(lesson);
  // The number shown is valid, whatever was typed before.
  SetEntryNrColor(false);
  EditEntryNr->repaint();

  const TMeaning& entry = *lesson.At(index);
  ComboBoxForm->setCurrentIndex(entry.Form < ComboBoxForm->count() ? entry.Form : -1);
  FillMemo(MemoSynonyms, entry.KindTexts(kSynonyms));
  FillMemo(MemoAntonyms, entry.KindTexts(kAntonyms));
  FillMemo(MemoTranslations, entry.KindTexts(kTranslations));
  FillMemo(MemoTransvertions, entry.KindTexts(kAntonymTranslations));
}

void TEntriesPage::StoreEntry(TMeaning& entry, QString* rejected) {
  if (ComboBoxForm->currentIndex() >= 0) entry.Form = static_cast<std::uint8_t>(ComboBoxForm->currentIndex());
  const std::vector<QPlainTextEdit*> memos = Memos();
  for (int kind = 0; kind < static_cast<int>(memos.size()); ++kind) {
    QPlainTextEdit* memo = memos[static_cast<std::size_t>(kind)];
    bool hadRejected = false;
    const std::vector<std::string> lines = LessonLines(memo, rejected, &hadRejected);
    entry.SetKindTexts(kind, lines);
    if (hadRejected) {
      // The memo shows what was stored.
      const QSignalBlocker blocker(memo);
      memo->setPlainText(MemoLines(lines));
    }
  }
}

void TEntriesPage::ShowEntryCount(const TMeanCollection& lesson) {
  LabelEntryCount->setText(
      Utf8ToQString(TranslateMessage("EntryOfCount", "of %s", {std::to_string(lesson.EntryCount())})));
}

bool TEntriesPage::ShowsEntry(const TMeaning& entry) const {
  bool shown = ComboBoxForm->currentIndex() == (entry.Form < ComboBoxForm->count() ? entry.Form : -1);
  const std::vector<QPlainTextEdit*> memos = Memos();
  for (int kind = 0; kind < static_cast<int>(memos.size()); ++kind)
    shown = shown && memos[static_cast<std::size_t>(kind)]->toPlainText() == MemoLines(entry.KindTexts(kind));
  return shown;
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

}  // namespace vocatrix::ui

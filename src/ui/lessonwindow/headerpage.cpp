// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/headerpage.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "document/lessoncommands.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/fontcombo.h"
#include "ui/lessonwindow/pagecontrols.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/windowhost.h"

namespace vocatrix::ui {

THeaderPage::THeaderPage(TPageHost& host) : TLessonPage(host) {
  setObjectName("PageHeader");
  QFrame* top = MakePanel(this, "PanelHeader", QRect(0, 0, VocabEditForm::kClientWidth, 158));
  const char* captions[] = {"Titel:", "Thema:", "Autor:", "Bild:", "Sprache:", "Font:"};
  const char* names[] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"};
  for (int i = 0; i < 6; ++i) MakeLabel(top, names[i], captions[i], 8, 10 + 24 * i);
  EditTitle = MakeEdit(top, "EditTitle", 90, 8, 218);
  EditTopic = MakeEdit(top, "EditTopic", 90, 32, 218);
  EditAuthor = MakeEdit(top, "EditAuthor", 90, 56, 218);
  EditImage = MakeEdit(top, "EditImage", 90, 80, 218);
  EditLanguage1 = MakeEdit(top, "EditLanguage1", 90, 104, 102);
  MakeLabel(top, "Label8", "-", 196, 106, 8, Qt::AlignHCenter);
  EditLanguage2 = MakeEdit(top, "EditLanguage2", 206, 104, 102);
  ComboFontLanguage1 = new TFontCombo(top);
  ComboFontLanguage1->setObjectName("ComboFontLanguage1");
  ComboFontLanguage1->setGeometry(90, 128, 102, 22);
  ComboFontLanguage2 = new TFontCombo(top);
  ComboFontLanguage2->setObjectName("ComboFontLanguage2");
  ComboFontLanguage2->setGeometry(206, 128, 102, 22);
  connect(ComboFontLanguage1, &TFontCombo::DropDownRequested, this, [this] { ChooseFont(1); });
  connect(ComboFontLanguage2, &TFontCombo::DropDownRequested, this, [this] { ChooseFont(2); });

  QFrame* bottom = MakePanel(this, "PanelStatistics",
                             QRect(0, 158, VocabEditForm::kClientWidth, VocabEditForm::kPageHeight - 158));
  wordsLabel_ = MakeLabel(bottom, "Label9", "Worte:", 8, 8);
  LabelLanguage1 = MakeLabel(bottom, "LabelLanguage1", {}, kDesignedNamesX, 8, kNamesRight - kDesignedNamesX);
  Label13 = MakeLabel(bottom, "Label13", "0", 164, 8, 44, Qt::AlignRight);
  LabelLanguage2 = MakeLabel(bottom, "LabelLanguage2", {}, kDesignedNamesX, 28, kNamesRight - kDesignedNamesX);
  Label15 = MakeLabel(bottom, "Label15", "0", 164, 28, 44, Qt::AlignRight);
  rule_ = new QFrame(bottom);
  rule_->setObjectName("Bevel1");
  rule_->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  rule_->setGeometry(kDesignedNamesX, 48, kRuleRight - kDesignedNamesX, 3);
  LabelStatistics =
      MakeLabel(bottom, "LabelStatistics", "Gesamt", kDesignedNamesX, 54, kNamesRight - kDesignedNamesX);
  Label11 = MakeLabel(bottom, "Label11", "0", 164, 54, 44, Qt::AlignRight);
  MakeLabel(bottom, "Label10", "Einträge:", 226, 8);
  Label7 = MakeLabel(bottom, "Label7", "0", 226, 28, 82, Qt::AlignRight);

  // The statistics name the languages as they are typed.
  connect(EditLanguage1, &QLineEdit::textChanged, LabelLanguage1, &QLabel::setText);
  connect(EditLanguage2, &QLineEdit::textChanged, LabelLanguage2, &QLabel::setText);
  for (QLineEdit* edit : Edits()) connect(edit, &QLineEdit::textChanged, this, [this, edit] { host_.Change(edit); });

  TLessonChange whole;
  whole.What = TLessonChange::kReplaced | TLessonChange::kHeader;
  LessonChanged(whole);
}

void THeaderPage::FitStatistics() {
  // A longer word for "words" moves the names right, into the room their
  // counts leave them, rather than run into them.
  const int left = std::max(kDesignedNamesX, wordsLabel_->geometry().right() + 5);
  for (QLabel* label : {LabelLanguage1, LabelLanguage2, LabelStatistics})
    label->setGeometry(left, label->y(), kNamesRight - left, label->height());
  rule_->setGeometry(left, rule_->y(), kRuleRight - left, rule_->height());
}

std::vector<QLineEdit*> THeaderPage::Edits() const {
  return {EditTitle, EditTopic, EditAuthor, EditImage, EditLanguage1, EditLanguage2};
}

void THeaderPage::LessonChanged(const TLessonChange& change) {
  const TMeanCollection& lesson = host_.Document().Lesson();
  if (change.Has(TLessonChange::kHeader)) {
    ApplyFonts(lesson);
    ShowHeader(lesson);
  }
  if (change.Has(TLessonChange::kHeader) || change.ChangesCounts()) ShowCounts(lesson);
}

void THeaderPage::ShowHeader(const TMeanCollection& lesson) {
  const auto setText = [](QLineEdit* edit, const std::string& text) {
    // Showing the lesson is no edit of it.
    const QSignalBlocker blocker(edit);
    edit->setText(ToQString(text));
    edit->setCursorPosition(0);  // a long title shows its beginning
  };
  setText(EditTitle, lesson.Title);
  setText(EditTopic, lesson.Topic);
  setText(EditAuthor, lesson.Author);
  setText(EditImage, lesson.Picture);
  setText(EditLanguage1, lesson.Language1.Name);
  setText(EditLanguage2, lesson.Language2.Name);
  LabelLanguage1->setText(ToQString(lesson.Language1.Name));
  LabelLanguage2->setText(ToQString(lesson.Language2.Name));
  shown_.clear();
  for (const QLineEdit* edit : Edits()) shown_ << edit->text();
}

void THeaderPage::ShowCounts(const TMeanCollection& lesson) {
  Label7->setText(QString::number(lesson.EntryCount()));
  // All words are the words of both languages; two passes instead of three.
  const std::uint32_t words1 = CountWords(lesson, 0);
  const std::uint32_t words2 = CountWords(lesson, 1);
  Label11->setText(QString::number(words1 + words2));
  Label13->setText(QString::number(words1));
  Label15->setText(QString::number(words2));
}

void THeaderPage::Store(TControlTexts& texts, QString* rejected) {
  const auto take = [rejected](QLineEdit* edit) {
    QString editRejected;
    std::string text = ToLessonString(edit->text(), &editRejected);
    if (!editRejected.isEmpty()) {
      CollectRejected(rejected, editRejected);
      const QSignalBlocker blocker(edit);
      edit->setText(ToQString(text));  // show what is stored
    }
    return text;
  };
  texts.HeaderTexts = TControlTexts::Header{take(EditTitle), take(EditTopic),     take(EditAuthor),
                                            take(EditImage), take(EditLanguage1), take(EditLanguage2)};
  shown_.clear();
  for (const QLineEdit* edit : Edits()) shown_ << edit->text();
}

bool THeaderPage::HoldsEdits() const {
  const std::vector<QLineEdit*> edits = Edits();
  for (std::size_t i = 0; i < edits.size(); ++i)
    if (i >= static_cast<std::size_t>(shown_.size()) || edits[i]->text() != shown_[static_cast<qsizetype>(i)])
      return true;
  return false;
}

void THeaderPage::ShowSharedChanges() {
  const TMeanCollection& lesson = host_.Document().Lesson();
  if (Label7->text() != QString::number(lesson.EntryCount()) ||
      Label13->text() != QString::number(CountWords(lesson, 0)) ||
      Label15->text() != QString::number(CountWords(lesson, 1)))
    ShowCounts(lesson);
}

void THeaderPage::ApplyFonts(const TMeanCollection& lesson) {
  const TFont& font1 = lesson.Language1.Font;
  for (QWidget* w : std::initializer_list<QWidget*>{EditTitle, EditTopic, EditAuthor, EditImage, EditLanguage1,
                                                    EditLanguage2, ComboFontLanguage1, ComboFontLanguage2})
    ApplyFontTo(w, font1);
  ComboFontLanguage1->clear();
  ComboFontLanguage1->addItem(ToQString(font1.Name));
  ComboFontLanguage1->setCurrentIndex(0);
  ComboFontLanguage2->clear();
  ComboFontLanguage2->addItem(ToQString(lesson.Language2.Font.Name));
  ComboFontLanguage2->setCurrentIndex(0);
}

void THeaderPage::ChooseFont(int language) {
  TLessonDocument& document = host_.Document();
  const TLanguage& shown = language == 1 ? document.Lesson().Language1 : document.Lesson().Language2;
  TFont chosen = shown.Font;
  if (host_.Frame().Services().dialogs.ChooseFont(host_.Window(), chosen) && !(chosen == shown.Font))
    SetLanguageFont(document, language, chosen);
  // The drop-down shows the font's name again, changed or not.
  ApplyFonts(document.Lesson());
}

void THeaderPage::AddControlTexts(std::vector<std::pair<std::string, std::string>>& controls) const {
  for (const QLineEdit* edit : Edits()) controls.emplace_back(edit->objectName().toStdString(), edit->text().toStdString());
}

}  // namespace vocatrix::ui

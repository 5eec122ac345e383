// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/combinedlg.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/messages.h"
#include "base/settings.h"
#include "document/lessoncommands.h"
#include "operations/combine.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/textproperties.h"
#include "ui/mainwindow/mainform.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::ui {
namespace {

QLabel* MakePanel(QWidget* parent, const char* name, const QString& caption, Qt::Alignment alignment) {
  auto* panel = new QLabel(caption, parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(alignment | Qt::AlignVCenter);
  panel->setMinimumHeight(21);
  panel->setContentsMargins(3, 0, 3, 0);
  // Shows the chosen lessons, not a text of the language.
  MarkAsData(panel);
  return panel;
}

QLabel* MakeSign(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  QFont font("MS Sans Serif");
  font.setPixelSize(19);
  font.setBold(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  return label;
}

QString Languages(const TMeanCollection& lesson) {
  return ToQString(lesson.Language1.Name) + " - " + ToQString(lesson.Language2.Name);
}

// The width a panel needs for the widest of `texts`.
int WidestText(QLabel* panel, const QStringList& texts) {
  const QString shown = panel->text();
  int width = 0;
  for (const QString& text : texts) {
    panel->setText(text);
    width = std::max(width, panel->sizeHint().width());
  }
  panel->setText(shown);
  return width;
}

// Panels of one column as wide as the widest of `texts`.
void FitColumn(std::initializer_list<QLabel*> panels, const QStringList& texts) {
  int width = 0;
  for (QLabel* panel : panels) width = std::max(width, WidestText(panel, texts));
  for (QLabel* panel : panels) panel->setMinimumWidth(width);
}

}  // namespace

TCombiLessonsDlg::TCombiLessonsDlg(MainForm* mainForm) : QDialog(mainForm), main_(mainForm) {
  setObjectName("CombiLessonsDlg");
  setWindowTitle("Sprache Ersetzen");
  SetHelpTopic(this, "hc_Combine");
  setFont(mainForm->font());

  // The rows of the design, in columns that grow with what they show: no
  // language pair is cut, and no count loses its leading digits.
  auto* bevel1 = new QFrame(this);
  bevel1->setObjectName("Bevel1");
  bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  auto* grid = new QGridLayout(bevel1);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->setHorizontalSpacing(7);
  grid->setColumnMinimumWidth(1, 145);
  grid->setColumnMinimumWidth(2, 121);
  grid->setColumnMinimumWidth(3, 41);
  grid->setColumnStretch(1, 1);
  const auto makeList = [this](const char* name) {
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    MarkAsData(list);  // the open lessons
    connect(list, &QComboBox::currentIndexChanged, this, &TCombiLessonsDlg::ComboBoxChange);
    return list;
  };
  ComboBox1 = makeList("ComboBox1");
  Panel1 = MakePanel(this, "Panel1", "Sprache 1 - Sprache 2", Qt::AlignLeft);
  Panel3 = MakePanel(this, "Panel3", "200", Qt::AlignRight);
  ComboBox2 = makeList("ComboBox2");
  Panel2 = MakePanel(this, "Panel2", "Sprache 3 - Sprache 4", Qt::AlignLeft);
  Panel4 = MakePanel(this, "Panel4", "100", Qt::AlignRight);
  auto* bevel2 = new QFrame(this);
  bevel2->setObjectName("Bevel2");
  bevel2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  Panel6 = MakePanel(this, "Panel6", "neue Lektion", Qt::AlignLeft);
  Panel7 = MakePanel(this, "Panel7", "Sprache 1 - Sprache 4", Qt::AlignLeft);
  Panel5 = MakePanel(this, "Panel5", "150", Qt::AlignRight);
  grid->addWidget(ComboBox1, 0, 1);
  grid->addWidget(Panel1, 0, 2);
  grid->addWidget(Panel3, 0, 3);
  grid->addWidget(MakeSign(this, "Label1", "+"), 1, 0, Qt::AlignCenter);
  grid->addWidget(ComboBox2, 1, 1);
  grid->addWidget(Panel2, 1, 2);
  grid->addWidget(Panel4, 1, 3);
  grid->addWidget(bevel2, 2, 0, 1, 4);
  grid->addWidget(MakeSign(this, "Label2", "="), 3, 0, Qt::AlignCenter);
  grid->addWidget(Panel6, 3, 1);
  grid->addWidget(Panel7, 3, 2);
  grid->addWidget(Panel5, 3, 3);

  const auto makeButton = [this](const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumSize(75, 25);
    return button;
  };
  OKBtn = makeButton("OKBtn", "OK");
  OKBtn->setDefault(true);
  CancelBtn = makeButton("CancelBtn", "Abbrechen");
  HelpBtn = makeButton("HelpBtn", "&Hilfe");
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, &TCombiLessonsDlg::HelpBtnClick);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(bevel1);
  layout->addLayout(buttons);
  // The dialog takes the size of what it shows, and grows with longer names.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  QWidget::setTabOrder(ComboBox2, OKBtn);
  QWidget::setTabOrder(OKBtn, CancelBtn);
  QWidget::setTabOrder(CancelBtn, HelpBtn);
  QWidget::setTabOrder(HelpBtn, ComboBox1);
  QWidget::setTabOrder(ComboBox1, ComboBox2);
}

TCombiLessonsDlg::~TCombiLessonsDlg() = default;

void TCombiLessonsDlg::FormShow() {
  if (mode_ == kConcat) setWindowTitle(Utf8ToQString(TranslateMessage("ConcatLesson", "Lektionen aneinanderhängen")));
  if (mode_ == kSubstitute) setWindowTitle(Utf8ToQString(TranslateMessage("SubstituteLesson", "Sprache ersetzen")));
  documents_.clear();
  {
    const QSignalBlocker block1(ComboBox1);
    const QSignalBlocker block2(ComboBox2);
    ComboBox1->clear();
    ComboBox2->clear();
    // From the last window in child order to the first, the active one, so
    // that the active window's lesson is listed last. Each under its
    // window's file name as it is now (after Save As, the new one).
    const QList<VocabEditForm*> windows = main_->LessonWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      const std::string fileName = ExtractFileName((*it)->FileName());
      const QString text = fileName.empty() ? (*it)->Caption() : FileNameToQString(fileName);
      documents_.push_back(&(*it)->Document());
      ComboBox1->addItem(text);
      ComboBox2->addItem(text);
    }
    // Two different lessons: the active window's and the one before it.
    const int count = ComboBox1->count();
    if (count > 0) {
      ComboBox1->setCurrentIndex(count - 1);
      ComboBox2->setCurrentIndex(std::max(0, count - 2));
    }
  }
  FitToEveryChoice();
  if (ComboBox1->count() > 0) ComboBoxChange();
}

void TCombiLessonsDlg::FitToEveryChoice() {
  // The dialog keeps its size whatever is chosen: each column is as wide as
  // the widest text any choice shows there, so that no button moves.
  QStringList pairs;
  QString widestName;
  const QFontMetrics metrics(Panel7->font());
  int most = 0;
  for (const TLessonDocument* document : documents_) {
    const TMeanCollection& lesson = document->Lesson();
    pairs << Languages(lesson);
    for (const TLanguage* language : {&lesson.Language1, &lesson.Language2})
      if (metrics.horizontalAdvance(ToQString(language->Name)) > metrics.horizontalAdvance(widestName))
        widestName = ToQString(language->Name);
    most = std::max(most, lesson.EntryCount());
  }
  // A substitution pairs any two names.
  pairs << widestName + " - " + widestName;
  FitColumn({Panel1, Panel2, Panel7}, pairs);
  FitColumn({Panel3, Panel4, Panel5}, {QString::number(std::max(2 * most, TMeanCollection::kMaxEntries + 1))});
  QStringList results;
  for (const Result result : {kNewLesson, kTooManyEntries, kLanguagesDiffer, kNoSharedLanguage, kSameLesson})
    results << ResultText(result);
  FitColumn({Panel6}, results);
}

QString TCombiLessonsDlg::ResultText(Result result) {
  switch (result) {
    case kNewLesson: return Utf8ToQString(TranslateMessage("NewLesson", "neue Lektion"));
    case kTooManyEntries: return Utf8ToQString(TranslateMessage("TooManyEntries", "too many entries"));
    case kLanguagesDiffer: return Utf8ToQString(TranslateMessage("CombineLanguagesDiffer", "Sprachen verschieden"));
    case kNoSharedLanguage:
      return Utf8ToQString(TranslateMessage("CombineNoSharedLanguage", "keine gemeinsame Sprache"));
    case kSameLesson: return Utf8ToQString(TranslateMessage("CombineSameLesson", "the same lesson twice"));
  }
  return {};
}

TLessonDocument* TCombiLessonsDlg::DocumentOf(const QComboBox* list) const {
  const int index = list->currentIndex();
  return index >= 0 && index < static_cast<int>(documents_.size()) ? documents_[static_cast<std::size_t>(index)]
                                                                    : nullptr;
}

void TCombiLessonsDlg::ComboBoxChange() {
  if (ComboBox1->count() == 0) return;
  TLessonDocument* a = DocumentOf(ComboBox1);
  TLessonDocument* b = DocumentOf(ComboBox2);
  if (!a || !b) return;
  Panel1->setText(Languages(a->Lesson()));
  Panel3->setText(QString::number(a->Lesson().EntryCount()));
  Panel2->setText(Languages(b->Lesson()));
  Panel4->setText(QString::number(b->Lesson().EntryCount()));
  result_.reset();
  // A lesson substituted through itself would only be compacted: refused
  // before anything is compacted.
  const bool same = mode_ == kSubstitute && a == b;
  if (mode_ == kConcat) result_ = ConcatLessons(&a->Lesson(), &b->Lesson());
  else if (mode_ == kSubstitute && !same) result_ = SubstituteLanguages(*a, *b);
  if (!result_) {
    // The result line says why there is none.
    Panel7->clear();
    Panel5->clear();
    Panel6->setText(ResultText(same ? kSameLesson : mode_ == kConcat ? kLanguagesDiffer : kNoSharedLanguage));
    OKBtn->setEnabled(false);
    return;
  }
  Panel7->setText(Languages(*result_));
  Panel5->setText(QString::number(result_->EntryCount()));
  if (result_->EntryCount() > TMeanCollection::kMaxEntries) {
    // No lesson file holds it: no result, and the line says why.
    Panel6->setText(ResultText(kTooManyEntries));
    result_.reset();
    OKBtn->setEnabled(false);
    return;
  }
  Panel6->setText(ResultText(kNewLesson));
  OKBtn->setEnabled(true);
}

void TCombiLessonsDlg::HelpBtnClick() { main_->ShowHelpTopic(this, HelpTopicOf(this)); }

}  // namespace vocatrix::ui

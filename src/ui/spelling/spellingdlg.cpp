// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spelling/spellingdlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "base/messages.h"
#include "model/lesson.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"

namespace vocatrix::ui {
namespace {

enum Column : int { kEntryColumn, kLanguageColumn, kWordColumn, kColumnCount };

}  // namespace

void TUnknownWordModel::SetWords(std::vector<UnknownWord> words, const TMeanCollection& lesson) {
  beginResetModel();
  words_ = std::move(words);
  names_[0] = ToQString(lesson.Language1.Name);
  names_[1] = ToQString(lesson.Language2.Name);
  fonts_[0] = ToQFont(lesson.Language1.Font);
  fonts_[1] = ToQFont(lesson.Language2.Font);
  endResetModel();
}

int TUnknownWordModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(words_.size());
}

int TUnknownWordModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TUnknownWordModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const UnknownWord& word = words_[static_cast<std::size_t>(index.row())];
  const int side = word.Language == 2 ? 1 : 0;
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kEntryColumn: return word.EntryIndex + 1;
        case kLanguageColumn: return names_[side];
        case kWordColumn: return ToQString(word.Word);
        default: return {};
      }
    case Qt::FontRole:
      if (index.column() == kWordColumn) return fonts_[side];
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == kEntryColumn) return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    default:
      return {};
  }
}

QVariant TUnknownWordModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kEntryColumn: return Utf8ToQString(TranslateMessage("SpellingEntry", "Entry"));
    case kLanguageColumn: return Utf8ToQString(TranslateMessage("SpellingLanguage", "Language"));
    case kWordColumn: return Utf8ToQString(TranslateMessage("SpellingWord", "Word"));
    default: return {};
  }
}

TSpellingDlg::TSpellingDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("SpellingDlg");
  setWindowTitle("Rechtschreibung prüfen");
  SetHelpTopic(this, "spelling");
  QFont font = parent ? parent->font() : QDialog::font();
  font.setBold(false);
  setFont(font);

  LabelCount = new QLabel(this);
  LabelCount->setObjectName("LabelCount");
  MarkAsData(LabelCount);
  model_ = new TUnknownWordModel(this);
  ListWords = new QTreeView(this);
  ListWords->setObjectName("ListWords");
  ListWords->setModel(model_);
  ListWords->setRootIsDecorated(false);
  ListWords->setUniformRowHeights(true);
  ListWords->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListWords->setSelectionMode(QAbstractItemView::SingleSelection);
  ListWords->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListWords->header()->setStretchLastSection(true);
  const auto chosen = [this](const QModelIndex& index) {
    if (index.isValid() && index.row() < model_->rowCount())
      emit WordClicked(model_->Words()[static_cast<std::size_t>(index.row())]);
  };
  connect(ListWords, &QAbstractItemView::clicked, this, chosen);
  connect(ListWords, &QAbstractItemView::activated, this, chosen);

  ButtonCheckAgain = new QPushButton("&Erneut prüfen", this);
  ButtonCheckAgain->setObjectName("ButtonCheckAgain");
  ButtonClose = new QPushButton("&Schließen", this);
  ButtonClose->setObjectName("ButtonClose");
  ButtonClose->setDefault(true);
  connect(ButtonCheckAgain, &QPushButton::clicked, this, &TSpellingDlg::CheckAgain);
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ButtonCheckAgain);
  buttons->addWidget(ButtonClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelCount);
  layout->addWidget(ListWords, 1);
  layout->addLayout(buttons);
  TranslateForm(this);
  resize(420, 320);
}

void TSpellingDlg::ShowWords(std::vector<UnknownWord> words, const TMeanCollection& lesson) {
  const std::size_t count = words.size();
  model_->SetWords(std::move(words), lesson);
  LabelCount->setText(count == 0 ? Utf8ToQString(TranslateMessage("SpellingNone", "No unknown words."))
                                 : Utf8ToQString(TranslateMessage("SpellingCount", "Unknown words: %d",
                                                                  {std::to_string(count)})));
  // The first two columns as wide as their contents' widest, measured from
  // the font rather than every line.
  const QFontMetrics metrics(ListWords->font());
  ListWords->setColumnWidth(kEntryColumn,
                            metrics.horizontalAdvance(model_->headerData(kEntryColumn, Qt::Horizontal).toString() +
                                                      "  00000"));
  int widest = metrics.horizontalAdvance(model_->headerData(kLanguageColumn, Qt::Horizontal).toString());
  for (const QString& name : {ToQString(lesson.Language1.Name), ToQString(lesson.Language2.Name)})
    widest = std::max(widest, metrics.horizontalAdvance(name));
  ListWords->setColumnWidth(kLanguageColumn, widest + 16);
}

}  // namespace vocatrix::ui

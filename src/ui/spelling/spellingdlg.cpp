// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spelling/spellingdlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
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

// How often the progress of a check is shown.
constexpr int kPollMilliseconds = 50;

QString Message(const char* key, const char* english, std::initializer_list<std::string> args = {}) {
  return Utf8ToQString(TranslateMessage(key, english, args));
}

// The list's rows are all as high as one (a long list is laid out at once
// that way), which would be the first row's, in the font of its language:
// each word row is as high as the taller of the two languages' fonts needs.
class TWordRowDelegate : public QStyledItemDelegate {
 public:
  TWordRowDelegate(const TUnknownWordModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() != kWordColumn) return size;
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    for (int language = 1; language <= 2; ++language) {
      item.font = model_.FontOf(language);
      item.fontMetrics = QFontMetrics(item.font);
      size.setHeight(
          std::max(size.height(), style->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), widget).height()));
    }
    return size;
  }

 private:
  const TUnknownWordModel& model_;
};

}  // namespace

void TUnknownWordModel::SetLanguages(const TMeanCollection& lesson) {
  beginResetModel();
  names_[0] = ToQString(lesson.Language1.Name);
  names_[1] = ToQString(lesson.Language2.Name);
  fonts_[0] = ToQFont(lesson.Language1.Font);
  fonts_[1] = ToQFont(lesson.Language2.Font);
  endResetModel();
}

void TUnknownWordModel::SetWords(std::vector<UnknownWord> words) {
  beginResetModel();
  words_ = std::move(words);
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
  ListWords->setItemDelegate(new TWordRowDelegate(*model_, ListWords));
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

  ProgressCheck = new QProgressBar(this);
  ProgressCheck->setObjectName("ProgressCheck");
  ProgressCheck->setTextVisible(false);
  ButtonCancel = new QPushButton("Abbrechen", this);
  ButtonCancel->setObjectName("ButtonCancel");
  connect(ButtonCancel, &QPushButton::clicked, this, &TSpellingDlg::Cancel);
  poll_ = new QTimer(this);
  poll_->setInterval(kPollMilliseconds);
  connect(poll_, &QTimer::timeout, this, &TSpellingDlg::Poll);

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
  auto* progress = new QHBoxLayout;
  progress->addWidget(ProgressCheck, 1);
  progress->addWidget(ButtonCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelCount);
  layout->addLayout(progress);
  layout->addWidget(ListWords, 1);
  layout->addLayout(buttons);
  TranslateForm(this);
  SetState(State::kIdle);
  resize(420, 320);
}

TSpellingDlg::~TSpellingDlg() { StopWorker(); }

void TSpellingDlg::SetState(State state) {
  state_ = state;
  ProgressCheck->setVisible(Running());
  ButtonCancel->setVisible(Running());
  if (!Running()) {
    poll_->stop();
    // What the check needed goes with it.
    words_ = TLessonWords();
    speller_.reset();
  }
}

void TSpellingDlg::Check(TLessonWords words, const TMeanCollection& lesson,
                         std::shared_ptr<const TLessonSpeller> speller, const QString& loading) {
  StopWorker();
  model_->SetLanguages(lesson);
  model_->SetWords({});
  SetColumnWidths(lesson);
  words_ = std::move(words);
  SetState(State::kWaiting);
  if (speller) {
    Start(std::move(speller));
    return;
  }
  ProgressCheck->setRange(0, 0);
  LabelCount->setText(Message("SpellingLoading", "Loading the dictionary of %s...", {loading.toStdString()}));
}

void TSpellingDlg::Start(std::shared_ptr<const TLessonSpeller> speller) {
  if (state_ != State::kWaiting) return;
  speller_ = std::move(speller);
  progress_ = std::make_unique<TSpellCheckProgress>();
  found_.clear();
  failure_.clear();
  finished_.store(false);
  SetState(State::kChecking);
  worker_ = std::thread([this] {
    try {
      found_ = CheckLessonWords(words_, *speller_, progress_.get());
    } catch (const std::exception& e) {
      failure_ = e.what();
    }
    finished_.store(true, std::memory_order_release);
    // The dialog waits for this thread before it goes, so it is there.
    QMetaObject::invokeMethod(this, [this] { Poll(); }, Qt::QueuedConnection);
  });
  ProgressCheck->setRange(0, std::max(1, words_.EntryCount()));
  Poll();
  poll_->start();
}

void TSpellingDlg::Poll() {
  if (state_ != State::kChecking) return;
  const int total = words_.EntryCount();
  if (!finished_.load(std::memory_order_acquire)) {
    const int checked = progress_->EntriesChecked();
    ProgressCheck->setValue(checked);
    LabelCount->setText(Message("SpellingProgress", "Checking spelling: %s of %s entries",
                                {std::to_string(checked), std::to_string(total)}));
    return;
  }
  if (worker_.joinable()) worker_.join();
  const std::string failure = failure_;
  ShowWords(std::move(found_));
  SetState(failure.empty() ? State::kDone : State::kCancelled);
  if (!failure.empty()) LabelCount->setText(Utf8ToQString(failure));
}

void TSpellingDlg::Cancel() {
  if (!Running()) return;
  const int total = words_.EntryCount();
  int checked = 0;
  if (state_ == State::kChecking) {
    StopWorker();
    checked = progress_->EntriesChecked();
    // It may have come to its end meanwhile.
    if (failure_.empty() && checked >= total) {
      Poll();
      return;
    }
  }
  const std::size_t count = found_.size();
  ShowWords(std::move(found_));
  SetState(State::kCancelled);
  LabelCount->setText(Message("SpellingCancelled", "Cancelled after %s of %s entries. Unknown words: %s",
                              {std::to_string(checked), std::to_string(total), std::to_string(count)}));
}

void TSpellingDlg::StopWorker() {
  if (!worker_.joinable()) return;
  progress_->Cancel();
  worker_.join();
}

void TSpellingDlg::hideEvent(QHideEvent* event) {
  // Closed (not minimised): the check stops.
  if (!event->spontaneous()) Cancel();
  QDialog::hideEvent(event);
}

void TSpellingDlg::ShowWords(std::vector<UnknownWord> words) {
  const std::size_t count = words.size();
  model_->SetWords(std::move(words));
  LabelCount->setText(count == 0 ? Message("SpellingNone", "No unknown words.")
                                 : Message("SpellingCount", "Unknown words: %d", {std::to_string(count)}));
}

void TSpellingDlg::SetColumnWidths(const TMeanCollection& lesson) {
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessoncheck/checklessondlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "base/messages.h"
#include "exercise/exercise.h"
#include "operations/lessoncheck.h"
#include "ui/common/backgroundwork.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/lessonpage.h"

namespace vocatrix::ui {
namespace {

enum Column : int { kEntryColumn, kDirectionColumn, kWhatColumn, kColumnCount };

QString Message(const char* key, const char* english, std::initializer_list<std::string> args = {}) {
  return Utf8ToQString(TranslateMessage(key, english, args));
}

// What the worker hands over.
struct CheckResult {
  std::array<QString, kCheckDirections> Counts;
  std::array<QString, kCheckDirections> Directions;
  std::vector<TFindingRow> Rows;
  bool Complete = false;
};

}  // namespace

void TFindingModel::SetRows(std::vector<TFindingRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

int TFindingModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TFindingModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TFindingModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TFindingRow& row = rows_[static_cast<std::size_t>(index.row())];
  if (role == Qt::TextAlignmentRole && index.column() == kEntryColumn)
    return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  switch (index.column()) {
    case kEntryColumn: return row.Entry + 1;
    case kDirectionColumn: return row.Direction;
    case kWhatColumn: return row.What;
    default: return {};
  }
}

QVariant TFindingModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kEntryColumn: return Message("SpellingEntry", "Entry");
    case kDirectionColumn: return Message("CheckDirection", "Direction");
    case kWhatColumn: return Message("CheckFinding", "Finding");
    default: return {};
  }
}

TCheckLessonDlg::TCheckLessonDlg(TPageHost& host) : QDialog(host.Window()), host_(host) {
  setObjectName("CheckLessonDlg");
  setWindowTitle("Lektion prüfen");
  SetHelpTopic(this, "checklesson");
  QFont font = host.Window()->font();
  font.setBold(false);
  setFont(font);

  auto* directions = new QGridLayout;
  for (int d = 0; d < kCheckDirections; ++d) {
    QCheckBox* box = CheckDirections[static_cast<std::size_t>(d)] = new QCheckBox(this);
    box->setObjectName(QString("CheckDirection%1").arg(d + 1));
    box->setChecked(true);
    // Its text names the lesson's languages and the count.
    MarkAsData(box);
    directions->addWidget(box, d / 2, d % 2);
  }
  CheckAllWords = new QCheckBox("Alle &Wörter abfragen", this);
  CheckAllWords->setObjectName("CheckAllWords");
  directions->addWidget(CheckAllWords, 2, 0, 1, 2);

  LabelCount = new QLabel(this);
  LabelCount->setObjectName("LabelCount");
  MarkAsData(LabelCount);
  model_ = new TFindingModel(this);
  ListFindings = new QTreeView(this);
  ListFindings->setObjectName("ListFindings");
  ListFindings->setModel(model_);
  ListFindings->setRootIsDecorated(false);
  ListFindings->setUniformRowHeights(true);
  ListFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListFindings->setSelectionMode(QAbstractItemView::SingleSelection);
  ListFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListFindings->header()->setStretchLastSection(true);
  const auto chosen = [this](const QModelIndex& index) {
    if (index.isValid() && index.row() < model_->rowCount())
      ShowEntry(model_->Rows()[static_cast<std::size_t>(index.row())].Entry);
  };
  connect(ListFindings, &QAbstractItemView::clicked, this, chosen);
  connect(ListFindings, &QAbstractItemView::activated, this, chosen);

  ProgressCheck = new QProgressBar(this);
  ProgressCheck->setObjectName("ProgressCheck");
  ProgressCheck->setTextVisible(false);
  ProgressCheck->hide();
  ButtonCheckAgain = new QPushButton("&Erneut prüfen", this);
  ButtonCheckAgain->setObjectName("ButtonCheckAgain");
  ButtonClose = new QPushButton("&Schließen", this);
  ButtonClose->setObjectName("ButtonClose");
  ButtonClose->setDefault(true);
  connect(ButtonCheckAgain, &QPushButton::clicked, this, &TCheckLessonDlg::CheckLesson);
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);
  work_ = new TBackgroundWork(this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ProgressCheck, 1);
  buttons->addStretch(1);
  buttons->addWidget(ButtonCheckAgain);
  buttons->addWidget(ButtonClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(directions);
  layout->addWidget(LabelCount);
  layout->addWidget(ListFindings, 1);
  layout->addLayout(buttons);
  TranslateForm(this);
  resize(860, 420);
  host_.Document().AddObserver(this);
}

TCheckLessonDlg::~TCheckLessonDlg() {
  work_->Cancel();
  host_.Document().RemoveObserver(this);
}

std::uint8_t TCheckLessonDlg::Flags() const {
  unsigned flags = CheckAllWords->isChecked() ? static_cast<unsigned>(kAllWords) : 0u;
  for (int d = 0; d < kCheckDirections; ++d)
    if (CheckDirections[static_cast<std::size_t>(d)]->isChecked()) flags |= 1u << d;
  return static_cast<std::uint8_t>(flags);
}

void TCheckLessonDlg::CheckLesson() {
  show();
  raise();
  activateWindow();
  // The lesson as the controls and the Text page hold it, as leaving the
  // page reads it back; a format error keeps the page.
  host_.SelectTab(TLessonPage::kEntriesPage);
  if (host_.CurrentPage() != TLessonPage::kEntriesPage) return;
  host_.StoreControls();
  work_->Cancel();
  done_ = false;
  const TMeanCollection& lesson = host_.Document().Lesson();
  for (int d = 0; d < kCheckDirections; ++d)
    CheckDirections[static_cast<std::size_t>(d)]->setText(Utf8ToQString(CheckDirectionText(lesson, d)));
  const std::uint8_t flags = Flags();
  if ((flags & kCheckAllDirections) == 0) {
    model_->SetRows({});
    LabelCount->setText(Message("CheckChooseDirection", "Choose a direction to check."));
    return;
  }
  LabelCount->setText(Message("CheckRunning", "Checking the lesson..."));
  auto result = std::make_shared<CheckResult>();
  const TMeanCollection* checked = &lesson;
  work_->Start(
      [result, checked, flags](TWorkProgress& progress) {
        const LessonCheck check = vocatrix::CheckLesson(*checked, flags, [&progress](int done, int steps) {
          progress.Maximum = steps;
          progress.Position = done;
          return !progress.Cancelled;
        });
        result->Complete = check.Complete;
        if (!check.Complete) return;
        for (int d = 0; d < kCheckDirections; ++d)
          result->Directions[static_cast<std::size_t>(d)] = Utf8ToQString(CheckDirectionText(*checked, d));
        for (int d = 0; d < kCheckDirections; ++d)
          result->Counts[static_cast<std::size_t>(d)] =
              Utf8ToQString(check.Problems[static_cast<std::size_t>(d)] >= 0
                                ? CheckCountLine(*checked, d, check.Problems[static_cast<std::size_t>(d)])
                                : CheckDirectionText(*checked, d));
        result->Rows.reserve(check.Findings.size());
        for (const LessonFinding& f : check.Findings) {
          const QString direction =
              f.Direction >= 0 ? result->Directions[static_cast<std::size_t>(f.Direction)] : QString();
          result->Rows.push_back({f.Entry, direction, Utf8ToQString(LessonFindingWhat(*checked, f))});
        }
      },
      {[this, result] {
        if (!result->Complete) return;
        for (int d = 0; d < kCheckDirections; ++d)
          CheckDirections[static_cast<std::size_t>(d)]->setText(result->Counts[static_cast<std::size_t>(d)]);
        const std::size_t count = result->Rows.size();
        model_->SetRows(std::move(result->Rows));
        // The columns as wide as their widest texts, measured from the
        // font rather than every line.
        const QFontMetrics metrics(ListFindings->font());
        ListFindings->setColumnWidth(
            kEntryColumn, metrics.horizontalAdvance(model_->headerData(kEntryColumn, Qt::Horizontal).toString() +
                                                    "  00000"));
        int widest = metrics.horizontalAdvance(model_->headerData(kDirectionColumn, Qt::Horizontal).toString());
        for (int d = 0; d < kCheckDirections; ++d)
          widest = std::max(widest, metrics.horizontalAdvance(result->Directions[static_cast<std::size_t>(d)]));
        ListFindings->setColumnWidth(kDirectionColumn, widest + 16);
        LabelCount->setText(count == 0
                                ? Message("CheckNone", "Nothing found: the games ask this lesson as it is meant.")
                                : Message("CheckFindings", "Findings: %d", {std::to_string(count)}));
        done_ = true;
      }},
      ProgressCheck);
}

void TCheckLessonDlg::Finish() { work_->Finish(); }

void TCheckLessonDlg::LessonWillChange() { work_->WaitForJob(); }

void TCheckLessonDlg::LessonChanged(const TLessonChange&) {}

void TCheckLessonDlg::hideEvent(QHideEvent* event) {
  // Closed (not minimised): the check stops.
  if (!event->spontaneous()) work_->Cancel();
  QDialog::hideEvent(event);
}

void TCheckLessonDlg::ShowEntry(int entry) {
  host_.SelectTab(TLessonPage::kEntriesPage);
  if (host_.CurrentPage() != TLessonPage::kEntriesPage) return;
  host_.StoreControls();
  if (entry >= host_.Document().Lesson().EntryCount()) return;
  host_.Document().SetEntry(entry);
}

}  // namespace vocatrix::ui

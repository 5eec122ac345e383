// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Check Lesson dialog of a lesson window: what the learning games will
// make of the lesson, found with their own selection of problems. On top
// the four directions, each with the number of problems it gives (a check
// box chooses whether it is checked), and "All words"; below the findings,
// one a line with the entry number, as the Check Spelling dialog lists. A
// click on a line shows that entry on the Entries page.
//
// The check reads the lesson on a worker thread (TBackgroundWork: the input
// is held meanwhile, and a change of the lesson waits for the worker).

#include <QAbstractTableModel>
#include <QDialog>
#include <QString>
#include <array>
#include <vector>

#include "document/lessondocument.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeView;

namespace vocatrix::ui {

class TBackgroundWork;
class TPageHost;

// One line of the list: the entry (from 0) and the texts shown.
struct TFindingRow {
  int Entry = 0;
  QString Direction;
  QString What;
};

class TFindingModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void SetRows(std::vector<TFindingRow> rows);
  const std::vector<TFindingRow>& Rows() const { return rows_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::vector<TFindingRow> rows_;
};

class TCheckLessonDlg : public QDialog, public TLessonObserver {
  Q_OBJECT
 public:
  // A dialog of the window of `host`, observing its document; delete it
  // before the document goes.
  explicit TCheckLessonDlg(TPageHost& host);
  ~TCheckLessonDlg() override;

  // Checks the lesson as the controls hold it (the Text page read back
  // first) in the directions chosen, and shows the dialog.
  void CheckLesson();
  // The check has ended and its findings are shown.
  bool Done() const { return done_; }
  const TFindingModel& Model() const { return *model_; }
  // Waits for a check running and shows what it found.
  void Finish();

  std::array<QCheckBox*, 4> CheckDirections{};
  QCheckBox* CheckAllWords = nullptr;
  QLabel* LabelCount = nullptr;
  QTreeView* ListFindings = nullptr;
  QProgressBar* ProgressCheck = nullptr;
  QPushButton* ButtonCheckAgain = nullptr;
  QPushButton* ButtonClose = nullptr;

  void LessonWillChange() override;
  void LessonChanged(const TLessonChange& change) override;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  std::uint8_t Flags() const;
  // The entry of a line, on the Entries page.
  void ShowEntry(int entry);

  TPageHost& host_;
  TFindingModel* model_ = nullptr;
  TBackgroundWork* work_ = nullptr;
  bool done_ = false;
};

}  // namespace vocatrix::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Check spelling dialog of a lesson window: every unknown word of the
// lesson with its entry number and language, one a line, as a view over the
// list of words (a lesson of 65,535 entries may have many). A click on a
// line shows that entry; "Check again" checks the lesson as it is now.
//
// The check runs on a worker thread over a copy of the lesson's words,
// while the dialog shows how many entries it has checked; Cancel (or
// closing the dialog) stops it, and the list then holds the unknown words of
// the entries checked so far.

#include <QAbstractTableModel>
#include <QDialog>
#include <QFont>
#include <QString>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "spelling/spellcheck.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeView;

namespace vocatrix {
class TMeanCollection;
}

namespace vocatrix::ui {

// The unknown words as a table: entry number (from 1), language name, word
// (in its language's font).
class TUnknownWordModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;
  // The names and fonts of the lesson's languages.
  void SetLanguages(const TMeanCollection& lesson);
  void SetWords(std::vector<UnknownWord> words);
  const std::vector<UnknownWord>& Words() const { return words_; }
  // The font of the words of language 1 or 2.
  const QFont& FontOf(int language) const { return fonts_[language == 2 ? 1 : 0]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::vector<UnknownWord> words_;
  QString names_[2];
  QFont fonts_[2];
};

class TSpellingDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSpellingDlg(QWidget* parent);
  // A check still running is stopped first.
  ~TSpellingDlg() override;

  // Checks `words` (copied from `lesson`) with `speller` on a worker thread
  // (a check running is stopped first); the list then shows what it found,
  // with the names and fonts of `lesson`'s languages. Without `speller` the
  // check waits for Start, the dialog saying that the dictionaries of
  // `loading` (language names) are loading.
  void Check(TLessonWords words, const TMeanCollection& lesson, std::shared_ptr<const TLessonSpeller> speller,
             const QString& loading = {});
  // Starts the check waiting for its spellers.
  void Start(std::shared_ptr<const TLessonSpeller> speller);
  // Stops the check or its wait for the dictionaries.
  void Cancel();

  // Waiting for the dictionaries, or checking.
  bool Running() const { return state_ == State::kWaiting || state_ == State::kChecking; }
  bool Waiting() const { return state_ == State::kWaiting; }
  // The list is complete: a check ran to its end.
  bool Done() const { return state_ == State::kDone; }
  const TUnknownWordModel& Model() const { return *model_; }

  QLabel* LabelCount = nullptr;
  QTreeView* ListWords = nullptr;
  QProgressBar* ProgressCheck = nullptr;
  QPushButton* ButtonCancel = nullptr;
  QPushButton* ButtonCheckAgain = nullptr;
  QPushButton* ButtonClose = nullptr;

 signals:
  // A line was clicked (or chosen with Enter).
  void WordClicked(const vocatrix::UnknownWord& word);
  void CheckAgain();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  enum class State { kIdle, kWaiting, kChecking, kDone, kCancelled };
  void SetState(State state);
  void ShowWords(std::vector<UnknownWord> words);
  void SetColumnWidths(const TMeanCollection& lesson);
  // Shows the check's progress; takes the result once it is there.
  void Poll();
  // Stops the worker and waits for it (within one word's lookup).
  void StopWorker();

  TUnknownWordModel* model_ = nullptr;
  State state_ = State::kIdle;
  QTimer* poll_ = nullptr;
  // The check running: its words and spellers, what it has done, and what
  // it found (written by the worker, read once `finished_` says so).
  TLessonWords words_;
  std::shared_ptr<const TLessonSpeller> speller_;
  std::unique_ptr<TSpellCheckProgress> progress_;
  std::vector<UnknownWord> found_;
  std::string failure_;
  std::atomic<bool> finished_{false};
  std::thread worker_;
};

}  // namespace vocatrix::ui

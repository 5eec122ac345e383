// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The practice window of a lesson window: the lesson asked as the learning
// games ask it (exercise/practice.h). The choices of directions, groups and
// "all words" give the selection flags, with the number of problems each
// gives beside it; a round is answered by choosing (keys 1-5), typing or
// turning cards, and ends with a summary whose missed questions show their
// entries in the lesson window.
//
// The window works on copies of the lesson (exercise/practice.h): one taken
// when the window opens and again after the lesson changed, which the counts
// use and the next round takes over; a finished round's copy, with its
// scores, serves the counts and the round after it. Scores stay with the
// window (TKnowledgeStore) and never reach the lesson, its file or its
// history.
//
// A copy is taken on a worker while the input waits (TBackgroundWork: the
// lesson cannot change meanwhile). Counting and selecting run on a thread
// of the window's own over a copy, one after the other, while the window
// goes on: Cancel drops a selection still running. Select cannot stop
// early: it ends unseen on that thread, and the next job waits for it
// there. Old copies are freed there too, since freeing a large one takes
// as long as making it.

#include <QDialog>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "document/lessondocument.h"
#include "exercise/practice.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;

namespace vocatrix::ui {

class TBackgroundWork;
class TPageHost;

class PracticeForm : public QDialog, private TLessonObserver {
  Q_OBJECT
 public:
  // The window's pages.
  enum Page : int { kIdlePage = 0, kChoosePage, kTypePage, kCardsPage, kSummaryPage };

  // Practises the lesson of `host`'s document; without a host (the language
  // template) the window only shows its texts.
  explicit PracticeForm(QWidget* parent, TPageHost* host = nullptr);
  ~PracticeForm() override;

  // The selection flags the choices give.
  std::uint8_t Flags() const;
  TAnswerWay Way() const;
  // Starts a round with the choices (the selection runs on the worker).
  void Start();
  // Drops the selection running; the choices stay.
  void CancelSelection();
  // Waits for the counts or the selection running and shows its result now.
  void FinishWork();
  bool Selecting() const { return selecting_; }
  // The current round (null before the first); the scores kept so far.
  const TPracticeRound* Round() const { return round_.get(); }
  const TKnowledgeStore& Scores() const { return scores_; }
  int CurrentPage() const;

  // Answers: an alternative (1 to 5), the typed text, a card known or not.
  void Choose(int number);
  void AnswerTyped();
  void TurnCard();
  void AnswerCard(bool knew);
  // Shows the entry of the summary's missed question `row` in the lesson window.
  void ShowMissed(int row);

  // Choices.
  QGroupBox* GroupDirections = nullptr;
  QCheckBox* CheckDirection[4] = {};
  QLabel* LabelDirectionCount[4] = {};
  QGroupBox* GroupGroups = nullptr;
  QCheckBox* CheckGroup[3] = {};  // hard, medium, easy
  QLabel* LabelGroupCount[3] = {};
  QCheckBox* CheckAllWords = nullptr;
  QLabel* LabelAllWordsCount = nullptr;
  QGroupBox* GroupAnswer = nullptr;
  QRadioButton* RadioChoose = nullptr;
  QRadioButton* RadioType = nullptr;
  QRadioButton* RadioCards = nullptr;
  QLabel* LabelProblems = nullptr;
  QPushButton* ButtonStart = nullptr;
  QProgressBar* ProgressSelect = nullptr;
  QPushButton* ButtonCancel = nullptr;
  // The question.
  QStackedWidget* Pages = nullptr;
  QLabel* LabelTask = nullptr;
  QLabel* LabelQuestion = nullptr;
  QLabel* LabelProgress = nullptr;
  QPushButton* ButtonAlternative[5] = {};
  QLineEdit* EditAnswer = nullptr;
  QPushButton* ButtonAnswer = nullptr;
  QLabel* LabelCard = nullptr;
  QPushButton* ButtonTurn = nullptr;
  QPushButton* ButtonKnew = nullptr;
  QPushButton* ButtonDidNotKnow = nullptr;
  QLabel* LabelFeedback = nullptr;
  // The summary.
  QLabel* LabelSummary = nullptr;
  QListWidget* ListMissed = nullptr;
  QLabel* LabelKeys = nullptr;
  QLabel* LabelScoresKept = nullptr;
  QPushButton* ButtonClose = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The controls and their layout (practiceform_controls.cpp).
  void CreateControls();
  void LessonWillChange() override;
  void LessonChanged(const TLessonChange& change) override;
  // Takes a copy of the lesson on the worker, then `then` with it; a copy
  // the lesson changed under is taken again.
  void CopyLesson(std::function<void(std::shared_ptr<TPracticeLesson>)> then);
  void StartSelection(std::shared_ptr<TPracticeLesson> copy);
  // The last reference goes on the worker.
  void Drop(std::shared_ptr<void> garbage);
  // Counts the problems of every choice again, on the worker.
  void UpdateCounts();
  void ShowCounts(const std::vector<int>& counts);
  // Runs `job` on the worker and `then` here once it has ended, unless
  // another job or Cancel came first. A job that sees its flag set is no
  // longer wanted and may stop early.
  using Job = std::function<void(const std::atomic<bool>& stop)>;
  void RunOnWorker(Job job, std::function<void()> then);
  void JoinWorker();
  void Ask();
  void Answered(TPracticeRound::TOutcome outcome, const TProblem& problem);
  void ShowSummary();
  void Play(int event);
  void SetChoicesEnabled(bool enabled);

  TPageHost* host_;
  TKnowledgeStore scores_;
  // The copy of the lesson as it is now (none while one is taken).
  std::shared_ptr<TPracticeLesson> countCopy_;
  std::shared_ptr<TPracticeRound> round_;
  // Counts the lesson's changes: a copy or a round of an older lesson is not
  // the lesson's.
  unsigned lessonVersion_ = 0;
  unsigned roundVersion_ = 0;
  bool copying_ = false;
  bool selecting_ = false;
  TBackgroundWork* copyWork_ = nullptr;
  std::vector<std::shared_ptr<void>> garbage_;
  bool cardTurned_ = false;
  QTimer* countTimer_ = nullptr;
  QTimer* busyTimer_ = nullptr;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> stop_;
  std::function<void()> then_;
  std::atomic<unsigned> generation_{0};
  std::atomic<bool> workDone_{false};
};

}  // namespace vocatrix::ui

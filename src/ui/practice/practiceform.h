// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The practice window of a lesson window: the lesson asked as the learning
// games ask it (exercise/practice.h). The choices of directions, groups and
// "all words" give the selection flags, with the number of problems each
// gives beside it; a round is answered by choosing (keys 1-5), typing or
// turning cards, and ends with a summary whose missed questions show their
// entries in the lesson window.
//
// The window works on copies of the lesson: a copy for the counts, taken
// again after the lesson changes, and one per round, taken at Start. Scores
// stay with the window (TKnowledgeStore) and never reach the lesson, its
// file or its history. The selections run on a thread of the window's own
// over those copies, so the window goes on while a large lesson is selected
// and Cancel drops a selection still running (Select cannot stop early: it
// ends unseen, and the next selection waits for it).

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
  void LessonChanged(const TLessonChange& change) override;
  // Counts the problems of every choice again, on the worker.
  void UpdateCounts();
  void ShowCounts(const std::vector<int>& counts);
  // Runs `job` on the worker and `then` here once it has ended, unless
  // another job or Cancel came first.
  void RunOnWorker(std::function<void()> job, std::function<void()> then);
  void JoinWorker();
  void Ask();
  void Answered(TPracticeRound::TOutcome outcome, const TProblem& problem);
  void ShowSummary();
  void Play(int event);
  void SetChoicesEnabled(bool enabled);

  TPageHost* host_;
  TKnowledgeStore scores_;
  std::shared_ptr<TPracticeLesson> countCopy_;
  std::unique_ptr<TPracticeRound> round_;
  std::unique_ptr<TProbCollection> selected_;
  std::shared_ptr<TPracticeLesson> selectedCopy_;
  bool selecting_ = false;
  bool cardTurned_ = false;
  QTimer* countTimer_ = nullptr;
  QTimer* busyTimer_ = nullptr;
  std::thread worker_;
  std::function<void()> then_;
  std::atomic<unsigned> generation_{0};
  std::atomic<bool> workDone_{false};
};

}  // namespace vocatrix::ui

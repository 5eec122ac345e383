// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/practice/practiceform.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>

#include "base/cp1252.h"
#include "base/messages.h"
#include "ui/about/soundevents.h"
#include "ui/common/backgroundwork.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/entrytablemodel.h"
#include "ui/lessonwindow/lessonpage.h"
#include "ui/mainwindow/windowhost.h"

namespace vocatrix::ui {
namespace {

// A selection still running after this long shows its progress and Cancel.
constexpr int kBusyMilliseconds = 200;
// Counting waits for the lesson to rest this long after a change.
constexpr int kCountDelayMilliseconds = 300;

const std::uint8_t kDirectionBits[4] = {kAskLanguage1, kAskLanguage2, kSameLanguage1, kSameLanguage2};
const std::uint8_t kGroupBits[3] = {kKeepHard, kKeepMedium, kKeepEasy};

QString Message(const char* key, const char* english, std::initializer_list<std::string> args = {}) {
  return Utf8ToQString(TranslateMessage(key, english, args));
}

std::string Utf8(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

QString TaskName(std::uint8_t type) {
  switch (type) {
    case kTranslationProblem: return Message("PractiseTranslate", "Translate");
    case kAntonymTranslationProblem: return Message("PractiseAntonymTranslation", "Antonym translation");
    case kSynonymProblem: return Message("PractiseSynonym", "Synonym");
    case kAntonymProblem: return Message("PractiseAntonym", "Antonym");
    default: return {};
  }
}

// 0 for a word of language 1, 1 for language 2.
int SideOfWord(const TWord& word) {
  TMeaning* entry = word.Meaning();
  return entry ? entry->SideOf(word) : 0;
}

}  // namespace

PracticeForm::PracticeForm(QWidget* parent, TPageHost* host) : QDialog(parent), host_(host) {
  setObjectName("PracticeForm");
  setWindowTitle("Üben");
  SetHelpTopic(this, "practise");
  QFont font = parent ? parent->font() : QDialog::font();
  font.setBold(false);
  setFont(font);

  CreateControls();

  countTimer_ = new QTimer(this);
  countTimer_->setSingleShot(true);
  countTimer_->setInterval(kCountDelayMilliseconds);
  connect(countTimer_, &QTimer::timeout, this, &PracticeForm::UpdateCounts);
  busyTimer_ = new QTimer(this);
  busyTimer_->setSingleShot(true);
  busyTimer_->setInterval(kBusyMilliseconds);
  connect(busyTimer_, &QTimer::timeout, this, [this] {
    if (!selecting_) return;
    ProgressSelect->show();
    ButtonCancel->show();
  });
  for (QCheckBox* box : {CheckDirection[0], CheckDirection[1], CheckDirection[2], CheckDirection[3], CheckGroup[0],
                         CheckGroup[1], CheckGroup[2], CheckAllWords})
    connect(box, &QCheckBox::toggled, this, [this] { UpdateCounts(); });

  copyWork_ = new TBackgroundWork(this);
  TranslateForm(this);
  if (host_) {
    host_->Document().AddObserver(this);
    UpdateCounts();
  }
}

PracticeForm::~PracticeForm() {
  ++generation_;
  if (stop_) *stop_ = true;
  copyWork_->Cancel();
  JoinWorker();
  if (host_) host_->Document().RemoveObserver(this);
}

std::uint8_t PracticeForm::Flags() const {
  std::uint8_t flags = 0;
  for (int i = 0; i < 4; ++i)
    if (CheckDirection[i]->isChecked()) flags |= kDirectionBits[i];
  for (int i = 0; i < 3; ++i)
    if (CheckGroup[i]->isChecked()) flags |= kGroupBits[i];
  if (CheckAllWords->isChecked()) flags |= kAllWords;
  return flags;
}

TAnswerWay PracticeForm::Way() const {
  if (RadioType->isChecked()) return TAnswerWay::kType;
  if (RadioCards->isChecked()) return TAnswerWay::kCards;
  return TAnswerWay::kChoose;
}

int PracticeForm::CurrentPage() const { return Pages->currentIndex(); }

// ------------------------------------------------------------------ worker

void PracticeForm::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

void PracticeForm::Drop(std::shared_ptr<void> garbage) {
  if (garbage) garbage_.push_back(std::move(garbage));
}

void PracticeForm::RunOnWorker(Job job, std::function<void()> then) {
  // One job at a time: the exercise model's one random source and a copy's
  // words are the job's alone while it runs. The job before is told to stop
  // and waited for on the new thread, so the window never waits for it.
  if (stop_) *stop_ = true;
  const unsigned generation = ++generation_;
  then_ = std::move(then);
  stop_ = std::make_shared<std::atomic<bool>>(false);
  QPointer<PracticeForm> self(this);
  worker_ = std::thread([before = std::move(worker_), garbage = std::move(garbage_), job = std::move(job),
                         stop = stop_, self, generation]() mutable {
    if (before.joinable()) before.join();
    garbage.clear();
    job(*stop);
    QMetaObject::invokeMethod(
        qApp, [self, generation] {
          if (!self || self->generation_ != generation || !self->then_) return;
          self->JoinWorker();
          std::function<void()> then = std::move(self->then_);
          self->then_ = nullptr;
          then();
        },
        Qt::QueuedConnection);
  });
  garbage_.clear();
}

void PracticeForm::FinishWork() {
  // A copy's step may start a job, and a job's step another copy.
  for (int i = 0; i < 8 && ((copyWork_ && copyWork_->Running()) || then_); ++i) {
    copyWork_->Finish();
    JoinWorker();
    if (!then_) continue;
    std::function<void()> then = std::move(then_);
    then_ = nullptr;
    then();
  }
}

void PracticeForm::CopyLesson(std::function<void(std::shared_ptr<TPracticeLesson>)> then) {
  copying_ = true;
  const unsigned version = lessonVersion_;
  auto copy = std::make_shared<std::shared_ptr<TPracticeLesson>>();
  const TMeanCollection& lesson = host_->Document().Lesson();
  copyWork_->Start([&lesson, scores = scores_, copy](TWorkProgress&) {
    *copy = std::make_shared<TPracticeLesson>(lesson, scores);
  },
                   {[this, version, copy, then = std::move(then)] {
                     copying_ = false;
                     if (version != lessonVersion_) {
                       Drop(std::move(*copy));
                       CopyLesson(then);
                       return;
                     }
                     then(std::move(*copy));
                   }});
}

// ------------------------------------------------------------------ counts

void PracticeForm::LessonWillChange() {
  // The copy being taken reads the lesson.
  if (copyWork_) copyWork_->WaitForJob();
}

void PracticeForm::LessonChanged(const TLessonChange&) {
  // The round goes on with its own copy; the counts follow the lesson.
  ++lessonVersion_;
  Drop(std::move(countCopy_));
  countTimer_->start();
}

void PracticeForm::UpdateCounts() {
  if (!host_ || selecting_ || copying_ || (round_ && !round_->Done())) return;
  if (!countCopy_) {
    CopyLesson([this](std::shared_ptr<TPracticeLesson> copy) {
      countCopy_ = std::move(copy);
      UpdateCounts();
    });
    return;
  }
  const std::uint8_t flags = Flags();
  auto counts = std::make_shared<std::vector<int>>();
  RunOnWorker(
      [copy = countCopy_, flags, counts](const std::atomic<bool>& stop) {
        TLesson& lesson = copy->Lesson();
        const std::uint8_t others = flags & (kKeepAllGroups | kAllWords);
        const std::uint8_t directions = flags & 0x0F;
        // Each choice alone with the others as they are; no directions, no questions.
        std::vector<std::uint8_t> asked;
        for (const std::uint8_t bit : kDirectionBits) asked.push_back(bit | others);
        for (const std::uint8_t bit : kGroupBits) asked.push_back(directions | bit | (flags & kAllWords));
        asked.push_back((flags & 0x7F) | kAllWords);
        asked.push_back(flags);
        for (std::size_t i = 0; i < asked.size() && !stop; ++i)
          counts->push_back(i >= 4 && !directions ? 0 : lesson.Count(asked[i]));
      },
      [this, counts] { ShowCounts(*counts); });
}

void PracticeForm::ShowCounts(const std::vector<int>& counts) {
  if (counts.size() != 9) return;
  for (int i = 0; i < 4; ++i) LabelDirectionCount[i]->setText(QString::number(counts[static_cast<std::size_t>(i)]));
  for (int i = 0; i < 3; ++i) LabelGroupCount[i]->setText(QString::number(counts[static_cast<std::size_t>(4 + i)]));
  LabelAllWordsCount->setText(QString::number(counts[7]));
  const std::string questions = std::to_string(counts[8]);
  LabelProblems->setText(counts[8] == 1 ? Message("PractiseProblemsOne", "%s question", {questions})
                                        : Message("PractiseProblems", "%s questions", {questions}));
  ButtonStart->setEnabled(counts[8] > 0);
}

// ------------------------------------------------------------------- round

void PracticeForm::SetChoicesEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{GroupDirections, GroupGroups, GroupAnswer, ButtonStart})
    w->setEnabled(enabled);
}

void PracticeForm::Start() {
  if (!host_ || selecting_) return;
  // The lesson as the controls and the Text page hold it, as a command sees it.
  host_->SelectTab(TLessonPage::kEntriesPage);
  if (host_->CurrentPage() != TLessonPage::kEntriesPage) return;
  host_->StoreControls();
  Drop(std::move(round_));
  selecting_ = true;
  SetChoicesEnabled(false);
  Pages->setCurrentIndex(kIdlePage);
  for (QLabel* label : {LabelTask, LabelQuestion, LabelProgress, LabelFeedback}) label->clear();
  LabelProblems->setText(Message("PractiseSelecting", "Selecting the questions..."));
  busyTimer_->start();
  // The copy the counts have (or are about to) is the lesson as it is now,
  // with the scores so far.
  if (copying_) copyWork_->Finish();
  if (countCopy_) {
    StartSelection(std::move(countCopy_));
    return;
  }
  CopyLesson([this](std::shared_ptr<TPracticeLesson> copy) {
    if (selecting_)
      StartSelection(std::move(copy));
    else
      Drop(std::move(copy));
  });
}

void PracticeForm::StartSelection(std::shared_ptr<TPracticeLesson> copy) {
  auto result = std::make_shared<std::unique_ptr<TProbCollection>>();
  const std::uint8_t flags = Flags();
  const TAnswerWay way = Way();
  roundVersion_ = lessonVersion_;
  RunOnWorker([copy, flags, result](const std::atomic<bool>&) { *result = copy->Lesson().Select(flags); },
              [this, copy, result, way] {
                selecting_ = false;
                busyTimer_->stop();
                ProgressSelect->hide();
                ButtonCancel->hide();
                round_ = std::make_shared<TPracticeRound>(copy, std::move(*result), way, scores_);
                if (round_->Done()) {
                  SetChoicesEnabled(true);
                  LabelProblems->setText(Message("PractiseNoProblems", "These choices give no questions."));
                  return;
                }
                LabelProblems->clear();
                Ask();
              });
}

void PracticeForm::CancelSelection() {
  if (!selecting_) return;
  // The selection ends unseen; the next job waits for it.
  ++generation_;
  if (stop_) *stop_ = true;
  then_ = nullptr;
  selecting_ = false;
  busyTimer_->stop();
  ProgressSelect->hide();
  ButtonCancel->hide();
  SetChoicesEnabled(true);
  LabelProblems->setText(Message("PractiseCancelled", "Cancelled."));
}

void PracticeForm::Ask() {
  const TProblem* problem = round_ ? round_->Current() : nullptr;
  if (!problem) {
    ShowSummary();
    return;
  }
  TLesson& lesson = round_->Copy().Lesson();
  const TWord& question = *problem->Question;
  const int side = SideOfWord(question);
  const int answerSide = SideOfWord(*problem->Solution);
  const QFont questionFont = ToQFont(lesson.GetFont(static_cast<std::uint8_t>(side)));
  const QFont answerFont = ToQFont(lesson.GetFont(static_cast<std::uint8_t>(answerSide)));
  QString task = TaskName(problem->ProblemType);
  // The form by the name the Entries page gives it, in the interface language.
  if (const TMeaning* entry = question.Meaning()) {
    const std::vector<std::string> forms = InterfaceFormNames().Shown;
    if (entry->Form < forms.size()) task += "  (" + ToQString(forms[entry->Form]) + ")";
  }
  if (round_->Retry()) task += "  " + Message("PractiseAgain", "- again");
  LabelTask->setText(task);
  LabelQuestion->setFont(questionFont);
  LabelQuestion->setText(ToQString(question.Text()));
  LabelProgress->setText(Message("PractiseProgress", "%s of %s, %s right",
                                 {std::to_string(round_->Asked()), std::to_string(round_->Total()),
                                  std::to_string(round_->Right())}));
  switch (round_->Way()) {
    case TAnswerWay::kChoose:
      for (int i = 0; i < 5; ++i) {
        const bool shown = i < problem->Alternatives.Count();
        ButtonAlternative[i]->setVisible(shown);
        if (!shown) continue;
        ButtonAlternative[i]->setFont(answerFont);
        ButtonAlternative[i]->setText(QString::number(i + 1) + "  " +
                                      ToQString(problem->Alternatives.At(i)->Text()).replace('&', "&&"));
      }
      Pages->setCurrentIndex(kChoosePage);
      break;
    case TAnswerWay::kType:
      EditAnswer->setFont(answerFont);
      EditAnswer->clear();
      Pages->setCurrentIndex(kTypePage);
      EditAnswer->setFocus();
      break;
    case TAnswerWay::kCards:
      cardTurned_ = false;
      LabelCard->setFont(answerFont);
      LabelCard->setText("?");
      ButtonTurn->setEnabled(true);
      ButtonKnew->setEnabled(false);
      ButtonDidNotKnow->setEnabled(false);
      Pages->setCurrentIndex(kCardsPage);
      ButtonTurn->setFocus();
      break;
  }
}

void PracticeForm::Choose(int number) {
  if (!round_ || round_->Done() || round_->Way() != TAnswerWay::kChoose) return;
  const ProblemPtr problem = round_->CurrentProblem();
  if (number < 1 || number > problem->Alternatives.Count()) return;
  Answered(round_->Answer(problem->Alternatives.At(number - 1)->Text()), *problem);
}

void PracticeForm::AnswerTyped() {
  if (!round_ || round_->Done() || round_->Way() != TAnswerWay::kType) return;
  const ProblemPtr problem = round_->CurrentProblem();
  QString rejected;
  const std::string answer = ToLessonString(EditAnswer->text().trimmed(), &rejected);
  Answered(round_->Answer(answer), *problem);
}

void PracticeForm::TurnCard() {
  if (!round_ || round_->Done() || round_->Way() != TAnswerWay::kCards || cardTurned_) return;
  cardTurned_ = true;
  LabelCard->setText(ToQString(round_->Current()->Solution->Text()));
  ButtonTurn->setEnabled(false);
  ButtonKnew->setEnabled(true);
  ButtonDidNotKnow->setEnabled(true);
  ButtonKnew->setFocus();
}

void PracticeForm::AnswerCard(bool knew) {
  if (!round_ || round_->Done() || round_->Way() != TAnswerWay::kCards || !cardTurned_) return;
  const ProblemPtr problem = round_->CurrentProblem();
  Answered(round_->Answer(knew ? problem->Solution->Text() : std::string()), *problem);
}

void PracticeForm::Answered(TPracticeRound::TOutcome outcome, const TProblem& problem) {
  if (outcome == TPracticeRound::TOutcome::kNearMiss) {
    LabelFeedback->setText(Message("PractiseNearMiss", "Did you mean %s?", {Utf8(round_->NearMiss())}));
    EditAnswer->selectAll();
    return;
  }
  if (outcome == TPracticeRound::TOutcome::kRight) {
    Play(seYes);
    LabelFeedback->setText(Message("PractiseRight", "Right."));
  } else {
    Play(seNo);
    // The solution and the other answers that would have been right.
    std::string synonyms;
    if (const TWordCollection* own = OwnList(*problem.Solution))
      for (const PWord& w : *own)
        if (w != problem.Solution) synonyms += (synonyms.empty() ? "" : ", ") + Utf8(w->Text());
    QString text = Message("PractiseWrong", "Wrong: %s is %s.",
                           {Utf8(problem.Question->Text()), Utf8(problem.Solution->Text())});
    if (!synonyms.empty()) text += " " + Message("PractiseAlsoRight", "Also right: %s.", {synonyms});
    LabelFeedback->setText(text);
  }
  Ask();
}

void PracticeForm::ShowSummary() {
  Play(seApplause);
  SetChoicesEnabled(true);
  LabelTask->clear();
  LabelQuestion->clear();
  LabelProgress->clear();
  LabelSummary->setText(
      Message("PractiseRightFirst", "Right first time: %s", {std::to_string(round_->RightFirstTime())}) + "\n" +
      Message("PractiseRightLater", "Right after a retry: %s", {std::to_string(round_->RightLater())}) + "\n" +
      Message("PractiseMissed", "Missed: %s", {std::to_string(round_->Missed().size())}));
  ListMissed->clear();
  for (const ProblemPtr& p : round_->Missed()) {
    auto* item = new QListWidgetItem(ToQString(p->Question->Text()) + "  →  " + ToQString(p->Solution->Text()));
    item->setFont(ToQFont(round_->Copy().Lesson().GetFont(static_cast<std::uint8_t>(SideOfWord(*p->Question)))));
    ListMissed->addItem(item);
  }
  Pages->setCurrentIndex(kSummaryPage);
  // The round's copy holds the scores it gave: the counts and the next round
  // take it unless the lesson changed meanwhile.
  if (roundVersion_ == lessonVersion_) {
    Drop(std::move(countCopy_));
    countCopy_ = round_->CopyShared();
  }
  UpdateCounts();
}

void PracticeForm::ShowMissed(int row) {
  if (!host_ || !round_ || row < 0 || row >= static_cast<int>(round_->Missed().size())) return;
  const TProblem& problem = *round_->Missed()[static_cast<std::size_t>(row)];
  const MeaningPtr entry = round_->Copy().OriginalEntryOf(problem.Question->Meaning());
  if (!entry) return;
  host_->SelectTab(TLessonPage::kEntriesPage);
  if (host_->CurrentPage() != TLessonPage::kEntriesPage) return;
  host_->StoreControls();
  // The entry may have left the lesson since the round began.
  const TMeanCollection& lesson = host_->Document().Lesson();
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    if (lesson.At(i) == entry) {
      host_->Document().SetEntry(i);
      return;
    }
  }
}

void PracticeForm::Play(int event) {
  if (host_) SoundEvents().PlaySoundEvent(event, kSoundAsync, host_->Frame().Services(), this, CurrentLanguage());
}

void PracticeForm::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (CurrentPage() == kChoosePage && key >= Qt::Key_1 && key <= Qt::Key_5 && event->modifiers() == Qt::NoModifier) {
    Choose(key - Qt::Key_0);
    return;
  }
  if (CurrentPage() == kCardsPage && key == Qt::Key_Space) {
    TurnCard();
    return;
  }
  // Enter in the answer's edit comes here too: the edit leaves it to its window.
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (CurrentPage() == kTypePage) AnswerTyped();
    return;  // never the dialog's default button
  }
  QDialog::keyPressEvent(event);
}

}  // namespace vocatrix::ui

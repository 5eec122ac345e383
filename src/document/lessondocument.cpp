// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/lessondocument.h"

#include <algorithm>
#include <unordered_set>

#include "base/cp1252.h"
#include "base/messages.h"
#include "files/lessonfiles.h"

namespace vocatrix {
namespace {

// More entries changed in place than this are shown again as a whole.
constexpr std::size_t kFewEntries = 16;

bool IsBlank(const TMeaning& entry) {
  if (entry.Form != kFormOther) return false;
  for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations})
    if (entry.ListOfKind(kind).Count() > 0) return false;
  return true;
}

}  // namespace

void TLessonEdit::Replace(std::unique_ptr<TMeanCollection> lesson) {
  recorder_.SetReplaced();
  replacement_ = std::move(lesson);
}

std::string TLessonDocument::NewLanguageName(int language) {
  return Utf8ToCp1252(language == 1 ? TranslateMessage("Language1", "Language 1")
                                    : TranslateMessage("Language2", "Language 2"));
}

TLessonDocument::TLessonDocument() : TLessonDocument(NewLanguageName(1), NewLanguageName(2)) {}

TLessonDocument::TLessonDocument(const std::string& language1, const std::string& language2)
    : lesson_(TMeanCollection::CreateEmpty()), origin_(Origin::kNew) {
  lesson_->Language1.Name = language1;
  lesson_->Language2.Name = language2;
  newHeader_ = *lesson_;
  history_.Reset(true);
}

TLessonDocument::TLessonDocument(std::unique_ptr<TMeanCollection> lesson, Origin origin, std::string fileName)
    : lesson_(std::move(lesson)), fileName_(std::move(fileName)), origin_(origin) {
  newHeader_ = *lesson_;
  history_.Reset(origin != Origin::kUnsaved);
}

std::unique_ptr<TMeanCollection> TLessonDocument::ReadLessonFile(const std::string& fileName) {
  std::unique_ptr<TMeanCollection> lesson = TMeanCollection::CreateFromFile(fileName);
  lesson->DblDel();
  // The views show one entry at a time, so a lesson file without entries
  // gets a blank one.
  lesson->EnsureEntry();
  return lesson;
}

int TLessonDocument::Clamped(int entry) const { return std::clamp(entry, 0, std::max(0, lesson_->EntryCount() - 1)); }

void TLessonDocument::SetEntry(int entry) {
  entry_ = Clamped(entry);
  if (entry_ != visitedEntry_) {
    ++visit_;
    visitedEntry_ = entry_;
  }
  TLessonChange change;
  change.Entry = entry_;
  Notify(change);
}

TLessonChange TLessonDocument::Change(TLessonOp op, const std::function<void(TLessonEdit&)>& command) {
  NotifyWillChange();
  TLessonEdit edit(*lesson_, entry_);
  try {
    command(edit);
  } catch (...) {
    // What the command changed before it failed is taken back; a lesson
    // meant to replace this one was never put in.
    if (!edit.replacement_) {
      try {
        edit.recorder_.Finish(*lesson_, entry_).Undo(*lesson_);
      } catch (...) {
      }
    }
    throw;
  }
  const bool replaced = edit.replacement_ != nullptr;
  if (replaced) lesson_ = std::move(edit.replacement_);
  entry_ = Clamped(edit.Entry());
  TLessonStep step = edit.recorder_.Finish(*lesson_, entry_);
  step.ControlsEdit = op == TLessonOp::StoreControls;
  step.Visit = visit_;
  // After a command, the edits of the controls start a step of their own.
  if (!step.ControlsEdit) ++visit_;
  if (entry_ != visitedEntry_) {
    ++visit_;
    visitedEntry_ = entry_;
  }
  const TLessonChange change = ChangeOf(step, entry_, replaced);
  history_.Push(std::move(step));
  Notify(change);
  return change;
}

TPreparedLesson TLessonDocument::PrepareReplacement(std::unique_ptr<TMeanCollection> lesson, int entry) const {
  TPreparedLesson prepared;
  prepared.Recorder = std::make_unique<TLessonRecorder>(*lesson_, entry_);
  prepared.Recorder->SetReplaced();
  prepared.EntryBefore = entry_;
  entry = std::clamp(entry, 0, std::max(0, lesson->EntryCount() - 1));
  prepared.Step = prepared.Recorder->Finish(*lesson, entry);
  prepared.StepBytes = prepared.Step.Bytes();
  prepared.Lesson = std::move(lesson);
  return prepared;
}

TLessonChange TLessonDocument::TakePrepared(TLessonOp op, TPreparedLesson prepared) {
  NotifyWillChange();
  static const std::vector<MeaningPtr> kNoEntries;
  const std::vector<MeaningPtr>& entries = lesson_->Meanings ? lesson_->Meanings->Items() : kNoEntries;
  if (!prepared.Recorder || entry_ != prepared.EntryBefore || entries != prepared.Recorder->EntriesBefore() ||
      !(static_cast<const TLessonHeader&>(*lesson_) == prepared.Recorder->HeaderBefore())) {
    const int entry = prepared.Step.EntryAfter;
    return Change(op, [&](TLessonEdit& edit) {
      edit.Replace(std::move(prepared.Lesson));
      edit.SetEntry(entry);
    });
  }
  lesson_ = std::move(prepared.Lesson);
  TLessonStep step = std::move(prepared.Step);
  entry_ = step.EntryAfter;
  // As Change records a command.
  step.ControlsEdit = false;
  step.Visit = visit_++;
  if (entry_ != visitedEntry_) {
    ++visit_;
    visitedEntry_ = entry_;
  }
  const TLessonChange change = ChangeOf(step, entry_, true);
  history_.Push(std::move(step), prepared.StepBytes);
  Notify(change);
  return change;
}

bool TLessonDocument::Undo() { return Step(false); }

bool TLessonDocument::Redo() { return Step(true); }

bool TLessonDocument::Step(bool redo) {
  NotifyWillChange();
  const TLessonStep* step = redo ? history_.Redo(*lesson_) : history_.Undo(*lesson_);
  if (!step) return false;
  entry_ = Clamped(redo ? step->EntryAfter : step->EntryBefore);
  ++visit_;
  visitedEntry_ = entry_;
  Notify(ChangeOf(*step, entry_, false));
  return true;
}

void TLessonDocument::Take(std::unique_ptr<TMeanCollection> lesson, Origin origin, std::string fileName) {
  NotifyWillChange();
  lesson_ = std::move(lesson);
  origin_ = origin;
  fileName_ = std::move(fileName);
  newHeader_ = *lesson_;
  history_.Reset(origin != Origin::kUnsaved);
  entry_ = 0;
  ++visit_;
  visitedEntry_ = 0;
  unstoredEdits_ = false;
  TLessonChange change;
  change.What = TLessonChange::kReplaced | TLessonChange::kEntryList | TLessonChange::kHeader;
  Notify(change);
}

void TLessonDocument::ShowAgain() {
  TLessonChange change;
  change.What = TLessonChange::kHeader | TLessonChange::kEntryList;
  change.Entry = entry_ = Clamped(entry_);
  Notify(change);
}

TLessonChange TLessonDocument::ChangeOf(const TLessonStep& step, int entry, bool replaced) const {
  TLessonChange change;
  change.Entry = entry;
  if (replaced) change.What |= TLessonChange::kReplaced | TLessonChange::kEntryList | TLessonChange::kHeader;
  if (step.Mirrored) change.What |= TLessonChange::kEntryList | TLessonChange::kHeader;
  if (step.HeaderBefore) change.What |= TLessonChange::kHeader;
  if (!step.Removed.empty() || !step.Inserted.empty() || step.ChangedEntries.size() > kFewEntries)
    change.What |= TLessonChange::kEntryList;
  if (step.ChangedEntries.empty() || change.Has(TLessonChange::kEntryList)) return change;
  // The places of the few entries changed (an entry listed twice at both).
  std::unordered_set<const TMeaning*> changed;
  for (const TLessonStep::Changed& c : step.ChangedEntries) changed.insert(c.Entry.get());
  for (int i = 0; i < lesson_->EntryCount(); ++i)
    if (changed.count(lesson_->At(i).get())) change.ChangedEntries.push_back(i);
  change.What |= TLessonChange::kSomeEntries;
  return change;
}

bool TLessonDocument::IsNewEmptyLesson() const {
  return static_cast<const TLessonHeader&>(*lesson_) == newHeader_ && lesson_->EntryCount() == 1 &&
         IsBlank(*lesson_->At(0));
}

bool TLessonDocument::AtSavedState() const {
  switch (origin_) {
    case Origin::kNew: return history_.AtSaved() || IsNewEmptyLesson();
    case Origin::kFile: return history_.AtSaved();
    case Origin::kUnsaved: return false;
  }
  return false;
}

void TLessonDocument::MarkSaved() {
  origin_ = Origin::kFile;
  history_.MarkSaved();
}

void TLessonDocument::SaveLessonFile() {
  // The new content is written completely before the previous file becomes
  // the backup, so a failed save keeps both.
  lesson_->SaveToFile(fileName_, BackupName(fileName_));
  MarkSaved();
}

void TLessonDocument::AddObserver(TLessonObserver* observer) { observers_.push_back(observer); }

void TLessonDocument::RemoveObserver(TLessonObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TLessonDocument::Notify(const TLessonChange& change) {
  // An observer may remove itself (or another) while it is told.
  const std::vector<TLessonObserver*> observers = observers_;
  for (TLessonObserver* observer : observers)
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) observer->LessonChanged(change);
}

void TLessonDocument::NotifyWillChange() {
  ++revision_;
  const std::vector<TLessonObserver*> observers = observers_;
  for (TLessonObserver* observer : observers)
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) observer->LessonWillChange();
}

}  // namespace vocatrix

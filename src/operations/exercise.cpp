#include "operations/exercise.h"

#include <algorithm>

#include "base/cp1252.h"
#include "operations/combine.h"
#include "operations/random.h"

namespace vocatrix {

// ---------------------------------------------------------------- TProblem

void TProblem::Alternate(int n) {
  if (!Solution) return;
  const int at = Alternatives.IndexOfItem(Solution.get());
  if (at >= 0) Alternatives.AtDelete(at);
  // A place outside the list would lose the solution; keep n in range.
  const int limit = std::clamp(n, 1, Alternatives.Count() + 1);
  Alternatives.AtInsert(Random(limit), Solution);
}

bool TProblem::Solved(const std::string& answer) const {
  if (ProblemType == kLessonProblem || !Solution) return false;
  if (const TWordCollection* own = OwnList(*Solution)) {
    for (const PWord& w : *own)
      if (w->Text() == answer) return true;
    return false;
  }
  // The solution has left its entry since the problem was made.
  return Solution->Text() == answer;
}

bool TProblem::Solved(const TMeanCollection& lesson) const {
  return ProblemType == kLessonProblem && Question && lesson.IndexOf(Question->Text()) != -1;
}

void TProblem::Neighboor(const std::string& answer, std::uint8_t tolerance, std::string& result) const {
  result.clear();
  if (!Solution) return;
  const TWord* nearest = nullptr;
  int smallest = 510;
  const auto consider = [&](const TWord& w) {
    const int d = LetterDistance(w.Text(), answer);
    if (d < smallest) {
      smallest = d;
      nearest = &w;
    }
  };
  if (const TWordCollection* own = OwnList(*Solution)) {
    for (const PWord& w : *own) consider(*w);
  } else {
    consider(*Solution);
  }
  if (!nearest) return;
  const std::size_t lengths = nearest->Text().size() + answer.size();
  const std::size_t ratio = lengths == 0 ? 0 : static_cast<std::size_t>(smallest) * 100 / lengths;
  if (ratio <= tolerance) result = nearest->Text();
}

void TProblem::BackInsert(const std::string& text, bool atFront) {
  if (!Solution) return;
  TWordCollection* own = OwnList(*Solution);
  if (!own) return;
  auto word = std::make_shared<TWord>(text);
  word->SetMeaning(Solution->MeaningShared());
  // No check for a word of the same text: the plain collection operations.
  if (atFront)
    own->AtInsert(0, std::move(word));
  else
    own->TCollection<TWord>::Insert(std::move(word));
}

std::int8_t TProblem::Value(std::uint8_t mode, bool solved) const {
  const std::int64_t alternatives = Alternatives.Count();
  std::int64_t v;
  switch (mode) {
    case 1:
      v = std::max<std::int64_t>(1, (8 - static_cast<std::int64_t>(Deduction)) * Weight);
      break;
    case 2:
      v = solved ? 8 * static_cast<std::int64_t>(Weight) : -static_cast<std::int64_t>(Attempts);
      break;
    case 3:
      v = solved ? (alternatives - 1) * Weight : (alternatives - 10) * Attempts;
      break;
    default:
      return 0;
  }
  // Only the low byte counts: many wrong answers in mode 3 wrap to a gain.
  return static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) & 0xFF));
}

namespace {

// A gain goes through IncKnowledge, a loss through DecKnowledge, so a score
// stops at the bound it moves toward.
void ChangeKnowledge(TWord& word, int kind, int delta) {
  if (delta < 0)
    word.DecKnowledge(kind, delta);
  else if (delta > 0)
    word.IncKnowledge(kind, delta);
}

const char* PrintMark(std::uint8_t type) {
  switch (type) {
    case kTranslationProblem: return "-";
    case kAntonymTranslationProblem: return "*";
    case kSynonymProblem: return "=";
    case kAntonymProblem: return "#";
    default: return "";
  }
}

}  // namespace

void TProblem::Score(std::uint8_t mode, const std::string& answer) {
  // Only the kinds 0 to 3 have a score; other problems just age.
  if (ProblemType <= kAntonymProblem && Question) {
    const int kind = ProblemType;
    if (Solved(answer)) {
      Question->IncKnowledge(kind, Value(mode, true));
    } else {
      const int v = Value(mode, false);
      ChangeKnowledge(*Question, kind, v);
      if (mode == 3) {
        if (Solution) ChangeKnowledge(*Solution, kind, v);
        for (const PWord& w : Alternatives) {
          if (w->Text() == answer) {
            ChangeKnowledge(*w, kind, v);
            break;
          }
        }
      }
    }
    Level = Question->Knowledge[static_cast<std::size_t>(kind)];
  }
  Weight /= 2;
  Attempts = static_cast<std::int32_t>(static_cast<std::uint32_t>(Attempts) + 1u);
}

void TProblem::Print(std::ostream& out) const {
  out << static_cast<int>(Level) << ' ' << (Question ? Cp1252ToUtf8(Question->Text()) : std::string()) << ' '
      << PrintMark(ProblemType) << '\n';
}

int LetterDistance(const std::string& a, const std::string& b) {
  int count = 0;
  std::string first = a;
  std::string second = b;
  for (const char c : first) {
    const std::size_t at = second.find(c);
    if (at != std::string::npos)
      second[at] = '#';
    else
      ++count;
  }
  second = b;
  for (const char c : second) {
    const std::size_t at = first.find(c);
    if (at != std::string::npos)
      first[at] = '#';
    else
      ++count;
  }
  return count;
}

// --------------------------------------------------------- TProbCollection

int TProbCollection::Hard() const {
  const int n = Count();
  const auto level = [this](int i) { return At(i)->Level; };
  int h = 0;
  int stoppedAt = -1;
  for (int i = n / 2; i >= 1; --i) {
    if (level(i) != level(i - 1)) {
      if (i < n / 3) {
        stoppedAt = i;
        break;
      }
      h = i;
    }
  }
  // No change in the middle band: cut at the highest change below it.
  if (h == 0 && stoppedAt > 0) h = stoppedAt;
  return h;
}

int TProbCollection::Easy() const {
  const int n = Count();
  const auto level = [this](int i) { return At(i)->Level; };
  int e = n;
  int stoppedAt = -1;
  for (int i = n / 2; i <= n - 2; ++i) {
    if (level(i + 1) != level(i)) {
      if (i > (2 * n) / 3) {
        stoppedAt = i;
        break;
      }
      e = i + 1;
    }
  }
  // No change in the middle band: cut at the lowest change above it.
  if (e == n && stoppedAt >= 0 && stoppedAt < n - 1) e = stoppedAt + 1;
  return n - e;
}

int TProbCollection::Medium() const {
  const int n = Count();
  const int m = n - Hard() - Easy();
  return m == n ? 0 : m;
}

void TProbCollection::InsertAll(std::vector<ProblemPtr> problems) {
  // Inserting one by one puts each problem before those of equal Level, so
  // equal levels end in reverse order of arrival, all before the problems
  // that were there already. One stable sort of the reversed batch and a
  // merge give exactly that order without shifting the array each time.
  std::reverse(problems.begin(), problems.end());
  const auto byLevel = [](const ProblemPtr& x, const ProblemPtr& y) { return x->Level < y->Level; };
  std::stable_sort(problems.begin(), problems.end(), byLevel);
  std::vector<ProblemPtr> merged;
  merged.reserve(problems.size() + items_.size());
  std::merge(std::make_move_iterator(problems.begin()), std::make_move_iterator(problems.end()),
             std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()),
             std::back_inserter(merged), byLevel);
  items_ = std::move(merged);
}

void TProbCollection::DeleteRange(int index, int count) {
  if (count <= 0) return;
  if (index < 0 || index + count > Count()) throw EListError();
  items_.erase(items_.begin() + index, items_.begin() + index + count);
}

void TProbCollection::Print(std::ostream& out) const {
  for (const ProblemPtr& p : *this) p->Print(out);
}

// -------------------------------------------------------------- TSelection

TSelection::TSelection(TLesson& lesson, bool allWords) : lesson_(lesson), allWords_(allWords) {
  for (TAnswerPool& pool : pools_) pool.Clear();
}

int TSelection::FormOf(const TWord& word) {
  const TMeaning* m = word.Meaning();
  return m ? m->Form : 0;
}

void TSelection::SetFont(TWord& word) const {
  TMeaning* m = word.Meaning();
  SetFont(word, static_cast<std::uint8_t>(m ? m->SideOf(word) : 0));
}

void TSelection::SetFont(TWord& word, std::uint8_t side) const {
  const TFont& font = lesson_.GetFont(side);
  if (word.Font)
    *word.Font = font;
  else
    word.Font = std::make_unique<TFont>(font);
}

void TSelection::FillPools(std::uint8_t side) {
  for (TAnswerPool& pool : pools_) pool.Clear();
  poolSide_ = static_cast<std::uint8_t>(1 - side);
  const TWordSequence words = CollectWords(lesson_, static_cast<std::uint8_t>(1 - side), false);
  for (const PWord& w : words) pools_[PoolIndex(FormOf(*w))].Append(w);
}

PWord TSelection::PickSolution(const PWord& question, bool firstOnly, std::uint8_t type) {
  PWord solution;
  const auto pick = [&](const TWordCollection* list, bool first) {
    if (list && !list->Empty()) solution = first ? list->At(0) : list->At(Random(list->Count()));
  };
  switch (type) {
    case kTranslationProblem: pick(CounterpartList(*question), firstOnly); break;
    case kAntonymTranslationProblem: pick(CrossList(*question), firstOnly); break;
    case kSynonymProblem: {
      const TWordCollection* own = OwnList(*question);
      if (own && own->Count() >= 2) {
        do {
          solution = own->At(Random(own->Count()));
        } while (solution.get() == question.get());
      }
      break;
    }
    case kAntonymProblem: pick(OppositeList(*question), false); break;
    default: break;
  }
  // Neither the solution nor a synonym of it may turn up as an alternative.
  if (solution) {
    if (const TWordCollection* own = OwnList(*solution))
      for (const PWord& w : *own) pools_[PoolIndex(FormOf(*w))].Remove(w.get());
  }
  return solution;
}

TCollection<TWord> TSelection::PickAlternatives(int count, int form) {
  // First all draws, touching only the pools' own arrays, then the words
  // themselves: their cache misses overlap instead of queueing one by one.
  drawn_.clear();
  int i = PoolIndex(form);
  while (count > 0) {
    if (pools_[i].Empty()) {
      // The question's form has run dry: the highest form with words fills in.
      i = 0;
      for (int j = 4; j >= 0; --j) {
        if (!pools_[j].Empty()) {
          i = j;
          break;
        }
      }
    }
    if (pools_[i].Empty()) break;
    const TAnswerPool::Taken taken = pools_[i].Take(Random(pools_[i].Count()));
    __builtin_prefetch(taken.word);
    __builtin_prefetch(&taken.word->Font);
    drawn_.push_back(Drawn{i, taken.record});
    --count;
  }
  TCollection<TWord> alternatives;
  alternatives.Reserve(drawn_.size() + 1);  // room for the solution
  for (const Drawn& d : drawn_) {
    const TWord& w = *pools_[d.pool].Word(d.record);
    if (w.Font) __builtin_prefetch(w.Font.get());
  }
  for (const Drawn& d : drawn_) SetFont(*pools_[d.pool].Word(d.record), poolSide_);  // one language per pool
  for (const Drawn& d : drawn_) alternatives.Insert(pools_[d.pool].Word(d.record));
  // Every drawn word goes back to the pool of its entry's form, the one it came from.
  for (const Drawn& d : drawn_) pools_[d.pool].AppendRecord(d.record);
  return alternatives;
}

ProblemPtr TSelection::MakeProblem(const PWord& question, std::uint8_t type) {
  PWord solution = PickSolution(question, !allWords_, type);
  if (!solution) return nullptr;
  auto problem = std::make_shared<TProblem>();
  problem->Lesson = &lesson_;
  problem->Question = question;
  SetFont(*question);
  problem->ProblemType = type;
  problem->Level = type <= kAntonymProblem ? question->Knowledge[type] : 0;
  problem->Solution = solution;
  SetFont(*solution);
  problem->Alternatives = PickAlternatives(4, FormOf(*question));
  problem->Alternatives.AtInsert(Random(problem->Alternatives.Count() + 1), solution);
  // PickSolution took the solution's own list out of the pools.
  if (const TWordCollection* own = OwnList(*solution))
    for (const PWord& w : *own) pools_[PoolIndex(FormOf(*w))].Append(w);
  return problem;
}

void TSelection::MakeProblems(std::uint8_t side, bool translation, std::vector<ProblemPtr>& out) {
  if (!lesson_.Meanings || side > 1) return;
  std::vector<const PWord*> questions;
  const auto add = [&out](ProblemPtr p) {
    if (p) out.push_back(std::move(p));
  };
  for (const MeaningPtr& m : *lesson_.Meanings) {
    // The head is the first word of its side; its own list is that side's
    // first list, its opposite list the side's other one.
    const TWordCollection& own = side == 0 ? m->Synonyms : m->Translations;
    const TWordCollection& opposite = side == 0 ? m->Antonyms : m->AntonymTranslations;
    if (own.Empty()) continue;
    questions.clear();
    if (!allWords_) {
      questions.push_back(&own.At(0));
      if (!opposite.Empty()) questions.push_back(&opposite.At(0));
    } else {
      for (const PWord& w : own) questions.push_back(&w);
      for (const PWord& w : opposite) questions.push_back(&w);
    }
    for (const PWord* w : questions) {
      if (translation) {
        add(MakeProblem(*w, kTranslationProblem));
        if (allWords_) add(MakeProblem(*w, kAntonymTranslationProblem));
      } else {
        add(MakeProblem(*w, kSynonymProblem));
        add(MakeProblem(*w, kAntonymProblem));
      }
    }
  }
}

// ----------------------------------------------------------------- TLesson

std::unique_ptr<TLesson> TLesson::CreateFromFile(const std::string& fileName) {
  auto lesson = std::make_unique<TLesson>();
  lesson->LessonFileName = fileName;
  lesson->ReadFromFile(fileName);
  return lesson;
}

std::unique_ptr<TProbCollection> TLesson::Select(std::uint8_t flags) {
  auto problems = std::make_unique<TProbCollection>();
  TSelection selection(*this, (flags & kAllWords) != 0);
  std::vector<ProblemPtr> made;
  selection.FillPools(0);  // answers in language 2
  if (flags & kAskLanguage1) selection.MakeProblems(0, true, made);
  if (flags & kSameLanguage2) selection.MakeProblems(1, false, made);
  selection.FillPools(1);  // answers in language 1
  if (flags & kAskLanguage2) selection.MakeProblems(1, true, made);
  if (flags & kSameLanguage1) selection.MakeProblems(0, false, made);
  problems->InsertAll(std::move(made));

  const int hard = problems->Hard();
  const int medium = problems->Medium();
  const int easy = problems->Easy();
  problems->Graded = hard + medium + easy > 0;
  if (!(flags & kKeepEasy)) problems->DeleteRange(problems->Count() - easy, easy);
  if (!(flags & kKeepMedium)) problems->DeleteRange(hard, medium);
  if (!(flags & kKeepHard)) problems->DeleteRange(0, hard);
  return problems;
}

std::uint16_t TLesson::Count(std::uint8_t flags) { return static_cast<std::uint16_t>(Select(flags)->Count()); }

}  // namespace vocatrix

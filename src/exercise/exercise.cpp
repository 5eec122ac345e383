// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/exercise.h"

#include <algorithm>

#include "base/cp1252.h"
#include "exercise/grouping.h"
#include "base/random.h"

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
  return HardGroup(Count(), [this](int i) { return At(i)->Level; });
}

int TProbCollection::Easy() const {
  return EasyGroup(Count(), [this](int i) { return At(i)->Level; });
}

int TProbCollection::Medium() const { return MediumGroup(Count(), Hard(), Easy()); }

void TProbCollection::Print(std::ostream& out) const {
  for (const ProblemPtr& p : *this) p->Print(out);
}

// ----------------------------------------------------------------- TLesson

std::unique_ptr<TLesson> TLesson::CreateFromFile(const std::string& fileName) {
  auto lesson = std::make_unique<TLesson>();
  lesson->LessonFileName = fileName;
  lesson->ReadFromFile(fileName);
  return lesson;
}

std::unique_ptr<TProbCollection> TLesson::Select(std::uint8_t flags) { return Select(flags, RandomSource()); }

std::unique_ptr<TProbCollection> TLesson::Select(std::uint8_t flags, TRandom& random) {
  return SelectProblems(*this, flags, random);
}

std::unique_ptr<TProbCollection> SelectProblems(const TMeanCollection& lesson, std::uint8_t flags, TRandom& random) {
  TSelection selection(lesson, (flags & kAllWords) != 0, random);
  selection.AddAllProblems(flags);
  return selection.Collect(flags);
}

std::uint16_t TLesson::Count(std::uint8_t flags) { return static_cast<std::uint16_t>(Select(flags)->Count()); }

}  // namespace vocatrix

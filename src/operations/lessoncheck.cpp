// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/lessoncheck.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "base/cp1252.h"
#include "base/messages.h"
#include "base/random.h"
#include "exercise/exercise.h"

namespace vocatrix {
namespace {

// The check's draws start alike every time, so a lesson gives the same
// report however often it is checked, all-words solutions included.
constexpr std::uint64_t kCheckSeed = 1;
constexpr int kWantedAlternatives = 4;  // the distractors a question is offered

// The side of a direction's questions: bits 0 and 2 ask language 1.
int QuestionSide(int direction) { return direction == 0 || direction == 2 ? 0 : 1; }
bool Translating(int direction) { return direction < 2; }

int ListSize(const TWordCollection* list) { return list ? list->Count() : 0; }

// Why an entry gives no problem in a direction, from the lists the model
// reads for its questions: the head and its first antonym (every word of
// both lists with all words; the lists are the same).
LessonFindingKind WhyNoProblem(const TMeaning& entry, int direction) {
  const PWord head = entry.HeadWord(QuestionSide(direction));
  if (!head) return LessonFindingKind::kNoWord;
  if (Translating(direction)) {
    // The head asks into its counterparts, its antonym into the cross list.
    if (ListSize(CounterpartList(*head)) == 0) return LessonFindingKind::kNoTranslation;
  } else if (ListSize(OwnList(*head)) < 2 && ListSize(OppositeList(*head)) == 0) {
    return LessonFindingKind::kLoneWord;
  }
  return LessonFindingKind::kNoProblem;
}

struct DirectionResult {
  int Problems = 0;
  std::vector<LessonFinding> Findings;
};

DirectionResult CheckDirection(const TMeanCollection& lesson, const std::unordered_map<const TMeaning*, int>& index,
                               int direction, std::uint8_t allWords, TRandom& random) {
  const std::uint8_t flags = static_cast<std::uint8_t>((1u << direction) | kKeepAllGroups | allWords);
  const std::unique_ptr<TProbCollection> problems = SelectProblems(lesson, flags, random);
  DirectionResult result;
  result.Problems = problems->Count();
  const auto entryOf = [&](const TWord& word) {
    const TMeaning* m = word.Meaning();
    const auto found = m ? index.find(m) : index.end();
    return found == index.end() ? -1 : found->second;
  };

  std::vector<bool> asked(index.size());
  // Entries of the questions each solution text answers, in the order met.
  std::unordered_map<std::string_view, std::vector<int>> answered;
  answered.reserve(static_cast<std::size_t>(problems->Count()));
  for (const ProblemPtr& p : *problems) {
    if (!p->Question || !p->Solution) continue;
    const int entry = entryOf(*p->Question);
    if (entry < 0) continue;
    asked[static_cast<std::size_t>(entry)] = true;
    // The problems keep their words, and so the texts, alive meanwhile.
    std::vector<int>& entries = answered[std::string_view(p->Solution->Text())];
    if (std::find(entries.begin(), entries.end(), entry) == entries.end()) entries.push_back(entry);

    const TMeaning* m = p->Question->Meaning();
    const int form = m->Form;
    int ofForm = 0;
    for (const PWord& w : p->Alternatives)
      if (w != p->Solution && w->Meaning() && w->Meaning()->Form == form) ++ofForm;
    if (ofForm < kWantedAlternatives) {
      LessonFinding f;
      f.Kind = LessonFindingKind::kFewAlternatives;
      f.Entry = entry;
      f.Direction = direction;
      f.Form = form;
      f.Alternatives = ofForm;
      f.Word = p->Question->Text();
      result.Findings.push_back(std::move(f));
    }
  }
  for (auto& [text, entries] : answered) {
    if (entries.size() < 2) continue;
    std::sort(entries.begin(), entries.end());
    LessonFinding f;
    f.Kind = LessonFindingKind::kSharedAnswer;
    f.Entry = entries.front();
    f.Direction = direction;
    f.Word = std::string(text);
    f.OtherEntries.assign(entries.begin() + 1, entries.end());
    result.Findings.push_back(std::move(f));
  }
  // A direction the lesson gives nothing in is not one it is made for.
  if (result.Problems > 0) {
    for (const auto& [meaning, entry] : index) {
      if (asked[static_cast<std::size_t>(entry)]) continue;
      LessonFinding f;
      f.Kind = WhyNoProblem(*meaning, direction);
      f.Entry = entry;
      f.Direction = direction;
      result.Findings.push_back(std::move(f));
    }
  }
  return result;
}

std::string LanguageName(const TMeanCollection& lesson, int side) {
  return Cp1252ToUtf8(side == 0 ? lesson.Language1.Name : lesson.Language2.Name);
}

// The form's name as the Entries page's form list shows it.
std::string FormName(int form) {
  const std::vector<std::string>& names = FormNames();
  if (form < 0 || static_cast<std::size_t>(form) >= names.size()) return std::to_string(form);
  return Translate(CurrentLanguage(), "VocabEditForm", "ComboBoxFormItems" + std::to_string(form),
                   Cp1252ToUtf8(names[static_cast<std::size_t>(form)]));
}

std::string EntryList(const std::vector<int>& entries) {
  std::string list;
  for (const int e : entries) list += (list.empty() ? "" : ", ") + std::to_string(e + 1);
  return list;
}

}  // namespace

LessonCheck CheckLesson(const TMeanCollection& lesson, std::uint8_t flags,
                        const std::function<bool(int done, int steps)>& goOn) {
  LessonCheck check;
  std::unordered_map<const TMeaning*, int> index;
  int entries = 0;
  int withForm = 0;
  if (lesson.Meanings) {
    index.reserve(static_cast<std::size_t>(lesson.Meanings->Count()));
    for (int i = 0; i < lesson.Meanings->Count(); ++i) {
      const MeaningPtr& m = lesson.Meanings->At(i);
      if (!m) continue;
      index.emplace(m.get(), i);
      ++entries;
      if (m->Form < kFormOther) ++withForm;
    }
  }
  std::vector<int> directions;
  for (int d = 0; d < kCheckDirections; ++d)
    if (flags & (1u << d)) directions.push_back(d);
  const int steps = static_cast<int>(directions.size());
  TRandom random;
  random.Seed(kCheckSeed);
  for (int done = 0; done < steps; ++done) {
    if (goOn && !goOn(done, steps)) {
      check.Complete = false;
      check.Findings.clear();
      return check;
    }
    const int d = directions[static_cast<std::size_t>(done)];
    DirectionResult r = CheckDirection(lesson, index, d, flags & kAllWords, random);
    check.Problems[static_cast<std::size_t>(d)] = r.Problems;
    check.Findings.insert(check.Findings.end(), std::make_move_iterator(r.Findings.begin()),
                          std::make_move_iterator(r.Findings.end()));
  }
  if (goOn) goOn(steps, steps);
  // Alternatives come from the pool of the question's form: in a lesson
  // mostly of forms, an entry of form "other" draws them from the few others.
  if (2 * withForm > entries) {
    for (const auto& [meaning, entry] : index) {
      if (meaning->Form < kFormOther) continue;
      LessonFinding f;
      f.Kind = LessonFindingKind::kFormOther;
      f.Entry = entry;
      f.Form = meaning->Form;
      check.Findings.push_back(std::move(f));
    }
  }
  std::stable_sort(check.Findings.begin(), check.Findings.end(), [](const LessonFinding& a, const LessonFinding& b) {
    if (a.Entry != b.Entry) return a.Entry < b.Entry;
    if (a.Direction != b.Direction) return a.Direction < b.Direction;
    if (a.Kind != b.Kind) return a.Kind < b.Kind;
    return a.Word < b.Word;
  });
  return check;
}

std::string CheckDirectionText(const TMeanCollection& lesson, int direction) {
  const int side = QuestionSide(direction);
  if (Translating(direction))
    return TranslateMessage("CheckTranslations", "translations %s to %s",
                            {LanguageName(lesson, side), LanguageName(lesson, 1 - side)});
  return TranslateMessage("CheckSameLanguage", "synonyms and antonyms in %s", {LanguageName(lesson, side)});
}

std::string LessonFindingWhat(const TMeanCollection& lesson, const LessonFinding& finding) {
  const int side = finding.Direction >= 0 ? QuestionSide(finding.Direction) : 0;
  switch (finding.Kind) {
    case LessonFindingKind::kNoWord:
      return TranslateMessage("CheckNoWord", "no question: no word in %s", {LanguageName(lesson, side)});
    case LessonFindingKind::kNoTranslation:
      return TranslateMessage("CheckNoTranslation", "no question: no translation into %s",
                              {LanguageName(lesson, 1 - side)});
    case LessonFindingKind::kLoneWord:
      return TranslateMessage("CheckLoneWord", "no question: one word in %s and no antonym",
                              {LanguageName(lesson, side)});
    case LessonFindingKind::kNoProblem:
      return TranslateMessage("CheckNoProblem", "no question");
    case LessonFindingKind::kFewAlternatives:
      return TranslateMessage("CheckFewAlternatives",
                              "\"%s\" gets %s of 4 alternatives of its form \"%s\": the form has too few words",
                              {Cp1252ToUtf8(finding.Word), std::to_string(finding.Alternatives),
                               FormName(finding.Form)});
    case LessonFindingKind::kSharedAnswer:
      return TranslateMessage("CheckSharedAnswer",
                              "\"%s\" is the answer of questions of entry %s too: a learner cannot tell them apart",
                              {Cp1252ToUtf8(finding.Word), EntryList(finding.OtherEntries)});
    case LessonFindingKind::kFormOther:
      return TranslateMessage("CheckFormOther",
                              "form \"%s\" among entries with forms: its alternatives come from another pool",
                              {FormName(finding.Form)});
  }
  return {};
}

std::string LessonFindingLine(const TMeanCollection& lesson, const LessonFinding& finding) {
  std::string what = LessonFindingWhat(lesson, finding);
  if (finding.Direction >= 0) what = CheckDirectionText(lesson, finding.Direction) + ": " + what;
  return TranslateMessage("CheckEntryLine", "entry %s: %s", {std::to_string(finding.Entry + 1), what});
}

std::string CheckCountLine(const TMeanCollection& lesson, int direction, int problems) {
  // One problem is said in the singular.
  const std::string text = CheckDirectionText(lesson, direction);
  const std::string count = std::to_string(problems);
  return problems == 1 ? TranslateMessage("CheckCountOne", "%s: %s problem", {text, count})
                       : TranslateMessage("CheckCount", "%s: %s problems", {text, count});
}

}  // namespace vocatrix

// SPDX-License-Identifier: GPL-3.0-or-later
// TSelection: the word table, the pools and the problem store of one Select.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "exercise/addressindex.h"
#include "exercise/exercise.h"
#include "exercise/grouping.h"
#include "base/random.h"

namespace vocatrix {

namespace {

constexpr int kPools = 5;

int PoolIndex(int form) { return form < 0 ? 0 : (form > 4 ? 4 : form); }

// A word's number: its pool in the low three bits, its place in that pool's
// part of the table above them. Each pool's records are then the places,
// dense from 0, and the number still says where everything else is kept.
int PoolOf(int id) { return id & 7; }
int PlaceOf(int id) { return id >> 3; }
int WordId(int pool, int place) { return place << 3 | pool; }

// The pool the next alternative comes from: pool i, or when that has run
// dry the highest form with words left (pool 0 when none has any).
template <class Empty>
int PoolToDrawFrom(int i, Empty empty) {
  if (!empty(i)) return i;
  for (int j = kPools - 1; j >= 0; --j)
    if (!empty(j)) return j;
  return 0;
}

// The problems of one selection, in the order they were made, in blocks
// that never move; problems handed out share ownership of the whole store.
class TProblemStore {
 public:
  int Count() const { return count_; }
  TProblem& Add() {
    if (count_ % kBlock == 0) blocks_.push_back(std::make_unique<TProblem[]>(kBlock));
    return blocks_.back()[static_cast<std::size_t>(count_++ % kBlock)];
  }
  TProblem& At(int i) { return blocks_[static_cast<std::size_t>(i / kBlock)][static_cast<std::size_t>(i % kBlock)]; }

 private:
  // About 100 KB: below the allocator's threshold for mapping fresh pages.
  static constexpr int kBlock = 1024;
  std::vector<std::unique_ptr<TProblem[]>> blocks_;
  int count_ = 0;
};

}  // namespace

struct TSelection::Impl {
  struct WordInfo {
    int meaning;           // number of the word's entry, or -1
    std::int8_t ownKind;   // kind of the first list of that entry holding the word, or -1
    std::array<std::int8_t, 4> knowledge;
  };
  // The shared owner of the table's words; a pool's records are the places
  // in its part.
  struct WordTable {
    std::vector<PWord> words[kPools];
  };
  struct Span {
    const int* first;
    int count;
    const int* begin() const { return first; }
    const int* end() const { return first + count; }
  };

  // The pools and what they hand out, in the run over the questions: the
  // generator it draws from, the problems it makes, its hand-outs and the
  // owner of the words it hands out.
  struct Run {
    Run(Impl& selection, TRandom& random, std::shared_ptr<WordTable> owner);

    // A reference to a word of the table, counted on the table's owner.
    PWord Alias(const TWord* word) const { return PWord(owner, const_cast<TWord*>(word)); }
    // Notes that the word is handed out with the font of that side; the
    // last hand-out of a word decides its font.
    void HandOut(int id, int side) {
      const std::size_t place = static_cast<std::size_t>(PlaceOf(id));
      int& last = handedAt[PoolOf(id)][place];
      if (last < 0) handedOut.push_back(id);
      last = ++handOuts;
      handedSide[PoolOf(id)][place] = static_cast<std::int8_t>(side);
    }
    void FillPools(std::uint8_t side);
    int PickSolution(int question, bool firstOnly, std::uint8_t type);
    void Draw(int count, int form);
    void CollectDrawnHandOuts();
    // Sets the font of every word handed out since the last call.
    void ApplyFonts();
    bool Make(int question, std::uint8_t type);
    void AddProblems(std::uint8_t side, bool translation);
    // The half of Select with the answers in language 2 (first) or 1.
    void AddHalf(std::uint8_t flags, bool first);

    Impl& s;
    TRandom& random;
    std::shared_ptr<WordTable> owner;
    int poolSide = 1;  // the language of the pooled words
    TAnswerPool pools[kPools];
    // Hand-outs as question or solution: when (a count of hand-outs, -1
    // for none) and with which side's font. Drawn alternatives are noted
    // in their pool records instead, which a draw touches anyway, and
    // collected when the pools are refilled or the fonts set.
    std::vector<int> handedAt[kPools];
    std::vector<std::int8_t> handedSide[kPools];
    int handOuts = 0;
    std::vector<int> handedOut;  // words whose font is still to be set
    std::vector<int> drawn;
    std::vector<int> indices;  // scratch of Draw
    std::vector<int> records;
    std::shared_ptr<TProblemStore> store;
    std::vector<std::int8_t> levels;  // of the problems made, in order
  };

  Impl(const TMeanCollection& lesson, bool allWords, TRandom& random);

  WordInfo& Info(int id) { return info[PoolOf(id)][static_cast<std::size_t>(PlaceOf(id))]; }
  const WordInfo& Info(int id) const { return info[PoolOf(id)][static_cast<std::size_t>(PlaceOf(id))]; }
  const PWord& Word(int id) const { return table->words[PoolOf(id)][static_cast<std::size_t>(PlaceOf(id))]; }
  // Side of the word within its entry, for its font: 0 for synonyms and
  // antonyms, 1 for the other lists and for a word its entry does not hold,
  // 0 for a word without entry.
  int FontSideOf(int id) const {
    const WordInfo& w = Info(id);
    if (w.meaning < 0) return 0;
    return (w.ownKind == kSynonyms || w.ownKind == kAntonyms) ? 0 : 1;
  }
  Span List(int meaning, int kind) const {
    const ListPlace& list = lists[static_cast<std::size_t>(meaning) * 4 + static_cast<std::size_t>(kind)];
    return Span{listWords.data() + list.begin, list.count};
  }
  // The own list of the word's entry that holds the word, if any: what a
  // solution takes out of the pools and puts back.
  bool OwnListOf(int id, Span& list) const {
    const WordInfo& w = Info(id);
    if (w.meaning < 0 || w.ownKind < 0) return false;
    list = List(w.meaning, w.ownKind);
    return true;
  }

  int AddWord(const PWord& word);
  int AddMeaning(TMeaning* meaning);
  void ReadList(int meaning, int kind);
  void ReadMeanings();
  int Known(const PWord& word) {
    const int id = AddWord(word);
    ReadMeanings();
    return id;
  }

  // Calls visit (word) for every word that FillPools (side) puts into the
  // pools, in order.
  template <class Visit>
  void ForEachPooledWord(std::uint8_t side, Visit visit) const;
  // The solution's word for the question, drawn from the question's lists;
  // -1 for none. The pools are not touched.
  int ChooseSolution(TRandom& random, int question, bool firstOnly, std::uint8_t type) const;
  // Calls ask (question, problem type) for every problem to try for the
  // questions of one side, entry by entry.
  template <class Ask>
  void ForEachQuestion(std::uint8_t side, bool translation, Ask ask) const;

  const TMeanCollection& lesson;
  const TLesson* owner;  // the lesson as the problems' link, when it is a TLesson
  const bool allWords;
  std::shared_ptr<WordTable> table;
  std::vector<WordInfo> info[kPools];
  TAddressIndex wordNumbers;
  TAddressIndex meaningNumbers;

  std::vector<TMeaning*> meanings;
  std::size_t meaningsRead = 0;
  struct ListPlace {
    int begin = -1;  // in listWords; -1 while the list is not read
    int count = 0;
  };
  std::vector<ListPlace> lists;  // four per entry, by kind
  std::vector<int> listWords;
  std::vector<int> entries;  // the lesson's entries, in order

  Run main;
};

TSelection::Impl::Run::Run(Impl& selection, TRandom& random, std::shared_ptr<WordTable> owner)
    : s(selection), random(random), owner(std::move(owner)), store(std::make_shared<TProblemStore>()) {
  for (int p = 0; p < kPools; ++p) {
    handedAt[p].assign(s.table->words[p].size(), -1);
    handedSide[p].assign(s.table->words[p].size(), 0);
  }
}

TSelection::Impl::Impl(const TMeanCollection& lesson, bool allWords, TRandom& random)
    : lesson(lesson),
      owner(dynamic_cast<const TLesson*>(&lesson)),
      allWords(allWords),
      table(std::make_shared<WordTable>()), main(*this, random, table) {
  if (lesson.Meanings) {
    entries.reserve(static_cast<std::size_t>(lesson.Meanings->Count()));
    meaningNumbers.Reserve(static_cast<std::size_t>(lesson.Meanings->Count()));
    // Room for three words an entry, the typical lesson's; the numbers grow
    // beyond that as needed.
    wordNumbers.Reserve(3 * static_cast<std::size_t>(lesson.Meanings->Count()));
    for (const MeaningPtr& m : *lesson.Meanings)
      if (m) entries.push_back(AddMeaning(m.get()));
    // The words of one language first, then those of the other: the pools
    // hold one language at a time, and so use one end of each pool's
    // records, not every other one.
    for (const int kind : {kSynonyms, kAntonyms, kTranslations, kAntonymTranslations}) {
      // Entries, their lists and their words lie all over the heap: each
      // is asked for a few entries ahead, the list once its entry is near,
      // the words once their list is, so that the misses overlap.
      const std::size_t n = entries.size();
      for (std::size_t k = 0; k < n; ++k) {
        if (k + 24 < n) __builtin_prefetch(&meanings[static_cast<std::size_t>(entries[k + 24])]->ListOfKind(kind));
        if (k + 12 < n) {
          const TWordCollection& list = meanings[static_cast<std::size_t>(entries[k + 12])]->ListOfKind(kind);
          if (!list.Empty()) __builtin_prefetch(&*list.begin());
        }
        if (k + 6 < n)
          for (const PWord& w : meanings[static_cast<std::size_t>(entries[k + 6])]->ListOfKind(kind)) {
            __builtin_prefetch(w.get());
            wordNumbers.Prefetch(w.get());
          }
        ReadList(entries[k], kind);
      }
    }
  }
  ReadMeanings();
}

int TSelection::Impl::AddMeaning(TMeaning* meaning) {
  const int number = static_cast<int>(meanings.size());
  const int found = meaningNumbers.FindOrAdd(meaning, number);
  if (found != number) return found;
  meanings.push_back(meaning);
  lists.resize(lists.size() + 4);
  return number;
}

int TSelection::Impl::AddWord(const PWord& word) {
  // The word's number if it is new: its pool comes from its entry's form.
  TMeaning* m = word->Meaning();
  const int pool = PoolIndex(m ? m->Form : 0);
  const int id = WordId(pool, static_cast<int>(table->words[pool].size()));
  const int found = wordNumbers.FindOrAdd(word.get(), id);
  if (found != id) return found;
  const int meaning = m ? AddMeaning(m) : -1;
  table->words[pool].push_back(word);
  info[pool].push_back(WordInfo{meaning, -1, word->Knowledge});
  main.handedAt[pool].push_back(-1);
  main.handedSide[pool].push_back(0);
  return id;
}

void TSelection::Impl::ReadList(int meaning, int kind) {
  ListPlace& list = lists[static_cast<std::size_t>(meaning) * 4 + static_cast<std::size_t>(kind)];
  if (list.begin >= 0) return;
  const int begin = static_cast<int>(listWords.size());
  for (const PWord& w : meanings[static_cast<std::size_t>(meaning)]->ListOfKind(kind))
    if (w) listWords.push_back(AddWord(w));
  // AddWord may have added entries, and so moved the list places.
  ListPlace& read = lists[static_cast<std::size_t>(meaning) * 4 + static_cast<std::size_t>(kind)];
  read.begin = begin;
  read.count = static_cast<int>(listWords.size()) - begin;
}

// Reads the lists of every entry met so far, which may meet further entries
// (those of words listed by an entry not their own), and then settles the
// own lists of their words.
void TSelection::Impl::ReadMeanings() {
  for (std::size_t m = meaningsRead; m < meanings.size(); ++m)
    for (int kind = 0; kind < 4; ++kind) ReadList(static_cast<int>(m), kind);
  for (; meaningsRead < meanings.size(); ++meaningsRead) {
    const int number = static_cast<int>(meaningsRead);
    // A word's own list is the first of its entry's lists holding it, in
    // the order TMeaning::ListOf searches them.
    for (const int kind : {kSynonyms, kAntonyms, kTranslations, kAntonymTranslations})
      for (const int id : List(number, kind)) {
        WordInfo& w = Info(id);
        if (w.meaning == number && w.ownKind < 0) w.ownKind = static_cast<std::int8_t>(kind);
      }
  }
}

void TSelection::Impl::Run::FillPools(std::uint8_t side) {
  CollectDrawnHandOuts();
  poolSide = side == 1 ? 0 : 1;
  for (int p = 0; p < kPools; ++p) pools[p].AttachWords(s.table->words[p]);
  s.ForEachPooledWord(side, [this](int id) { pools[PoolOf(id)].AppendRecord(PlaceOf(id)); });
}

template <class Visit>
void TSelection::Impl::ForEachPooledWord(std::uint8_t side, Visit visit) const {
  if (side > 1) return;
  // CollectWords (1 - side): of each entry with a head, its own list and
  // then its opposite list.
  const int own = side == 0 ? kTranslations : kSynonyms;
  const int opposite = side == 0 ? kAntonymTranslations : kAntonyms;
  for (const int e : entries) {
    const Span head = List(e, own);
    if (head.count == 0) continue;
    for (const int id : head) visit(id);
    for (const int id : List(e, opposite)) visit(id);
  }
}

int TSelection::Impl::ChooseSolution(TRandom& random, int question, bool firstOnly, std::uint8_t type) const {
  const WordInfo q = Info(question);
  if (q.meaning < 0 || q.ownKind < 0) return -1;
  int solution = -1;
  // Kinds are numbered so that the opposite list is kind ^ 2, the
  // counterpart kind ^ 1 and the cross list kind ^ 3.
  const auto pick = [&](int kind, bool first) {
    const Span list = List(q.meaning, kind);
    if (list.count > 0) solution = first ? list.first[0] : list.first[random.Below(list.count)];
  };
  switch (type) {
    case kTranslationProblem: pick(q.ownKind ^ 1, firstOnly); break;
    case kAntonymTranslationProblem: pick(q.ownKind ^ 3, firstOnly); break;
    case kSynonymProblem: {
      const Span own = List(q.meaning, q.ownKind);
      // Drawn until a word other than the question comes up; a list that
      // holds nothing but the question (the same word object twice) has none.
      const bool other = std::any_of(own.begin(), own.end(), [question](int id) { return id != question; });
      if (own.count >= 2 && other) {
        do {
          solution = own.first[random.Below(own.count)];
        } while (solution == question);
      }
      break;
    }
    case kAntonymProblem: pick(q.ownKind ^ 2, false); break;
    default: break;
  }
  return solution;
}

int TSelection::Impl::Run::PickSolution(int question, bool firstOnly, std::uint8_t type) {
  const int solution = s.ChooseSolution(random, question, firstOnly, type);
  // Neither the solution nor a synonym of it may turn up as an alternative.
  Span own;
  if (solution >= 0 && s.OwnListOf(solution, own))
    for (const int id : own) pools[PoolOf(id)].RemoveRecord(PlaceOf(id));
  return solution;
}

void TSelection::Impl::Run::Draw(int count, int form) {
  drawn.clear();
  int i = PoolIndex(form);
  while (count > 0) {
    i = PoolToDrawFrom(i, [this](int p) { return pools[p].Empty(); });
    TAnswerPool& pool = pools[i];
    if (pool.Empty()) break;
    // The draws from one pool: each from the words the ones before left.
    const int n = count < pool.Count() ? count : pool.Count();
    indices.resize(static_cast<std::size_t>(n));
    records.resize(static_cast<std::size_t>(n));
    for (int t = 0; t < n; ++t) indices[static_cast<std::size_t>(t)] = random.Below(pool.Count() - t);
    pool.TakeMany(indices.data(), n, records.data());
    for (const int record : records) {
      pool.Mark(record, ++handOuts);
      drawn.push_back(WordId(i, record));
    }
    count -= n;
  }
}

void TSelection::Impl::Run::CollectDrawnHandOuts() {
  for (int p = 0; p < kPools; ++p) {
    TAnswerPool& pool = pools[p];
    for (int r = 0; r < pool.Records(); ++r) {
      const int drawnAt = pool.MarkOf(r);
      if (drawnAt < 0) continue;
      pool.Mark(r, -1);
      int& last = handedAt[p][static_cast<std::size_t>(r)];
      if (drawnAt < last) continue;
      if (last < 0) handedOut.push_back(WordId(p, r));
      last = drawnAt;
      handedSide[p][static_cast<std::size_t>(r)] = static_cast<std::int8_t>(poolSide);
    }
  }
}

void TSelection::Impl::Run::ApplyFonts() {
  CollectDrawnHandOuts();
  const std::size_t n = handedOut.size();
  for (std::size_t k = 0; k < n; ++k) {
    // Table entry, word and font are asked for ahead, each once the one
    // before has had time to arrive: the words lie all over the heap.
    if (k + 16 < n) __builtin_prefetch(&s.Word(handedOut[k + 16]));
    if (k + 8 < n) __builtin_prefetch(s.Word(handedOut[k + 8]).get());
    if (k + 4 < n && s.Word(handedOut[k + 4])->Font) __builtin_prefetch(s.Word(handedOut[k + 4])->Font.get());
    const int id = handedOut[k];
    const std::size_t place = static_cast<std::size_t>(PlaceOf(id));
    TWord& word = *s.Word(id);
    const TFont& font = s.lesson.GetFont(static_cast<std::uint8_t>(handedSide[PoolOf(id)][place]));
    if (word.Font)
      *word.Font = font;
    else
      word.Font = std::make_unique<TFont>(font);
    handedAt[PoolOf(id)][place] = -1;
  }
  handedOut.clear();
}

bool TSelection::Impl::Run::Make(int question, std::uint8_t type) {
  const int solution = PickSolution(question, !s.allWords, type);
  if (solution < 0) return false;
  HandOut(question, s.FontSideOf(question));
  HandOut(solution, s.FontSideOf(solution));
  Draw(4, PoolOf(question));
  const int at = random.Below(static_cast<int>(drawn.size()) + 1);

  // The references are counted first and then moved into the new problem:
  // each count is a locked instruction, which would otherwise wait for the
  // writes into the problem's fresh memory to reach the cache.
  PWord questionWord = Alias(s.Word(question).get());
  PWord solutionWord = Alias(s.Word(solution).get());
  PWord alternatives[5];
  const std::size_t choices = drawn.size() + 1;
  for (std::size_t k = 0, d = 0; k < choices; ++k) {
    if (k == static_cast<std::size_t>(at)) {
      alternatives[k] = solutionWord;
    } else {
      const int id = drawn[d++];
      alternatives[k] = Alias(pools[PoolOf(id)].WordOf(PlaceOf(id)));
    }
  }
  TProblem& p = store->Add();
  p.Lesson = s.owner;
  p.Question = std::move(questionWord);
  p.ProblemType = type;
  p.Level = type <= kAntonymProblem ? s.Info(question).knowledge[type] : 0;
  p.Solution = std::move(solutionWord);
  p.Alternatives.Reserve(choices);
  for (std::size_t k = 0; k < choices; ++k) p.Alternatives.Insert(std::move(alternatives[k]));
  levels.push_back(p.Level);

  // Every drawn word goes back to its pool, then the solution's own list,
  // which PickSolution took out.
  for (const int id : drawn) pools[PoolOf(id)].AppendRecord(PlaceOf(id));
  Span own;
  if (s.OwnListOf(solution, own))
    for (const int id : own) pools[PoolOf(id)].AppendRecord(PlaceOf(id));
  return true;
}

template <class Ask>
void TSelection::Impl::ForEachQuestion(std::uint8_t side, bool translation, Ask ask) const {
  if (side > 1) return;
  // The head is the first word of its side; its own list is that side's
  // first list, its opposite list the side's other one.
  const int ownKind = side == 0 ? kSynonyms : kTranslations;
  const int oppositeKind = side == 0 ? kAntonyms : kAntonymTranslations;
  const auto problems = [&](int question) {
    if (translation) {
      ask(question, kTranslationProblem);
      if (allWords) ask(question, kAntonymTranslationProblem);
    } else {
      ask(question, kSynonymProblem);
      ask(question, kAntonymProblem);
    }
  };
  for (const int e : entries) {
    const Span own = List(e, ownKind);
    if (own.count == 0) continue;
    const Span opposite = List(e, oppositeKind);
    if (!allWords) {
      problems(own.first[0]);
      if (opposite.count > 0) problems(opposite.first[0]);
    } else {
      for (const int id : own) problems(id);
      for (const int id : opposite) problems(id);
    }
  }
}

void TSelection::Impl::Run::AddProblems(std::uint8_t side, bool translation) {
  s.ForEachQuestion(side, translation, [this](int question, std::uint8_t type) { Make(question, type); });
}

void TSelection::Impl::Run::AddHalf(std::uint8_t flags, bool first) {
  if (first) {
    FillPools(0);  // answers in language 2
    if (flags & kAskLanguage1) AddProblems(0, true);
    if (flags & kSameLanguage2) AddProblems(1, false);
  } else {
    FillPools(1);  // answers in language 1
    if (flags & kAskLanguage2) AddProblems(1, true);
    if (flags & kSameLanguage1) AddProblems(0, false);
  }
}

// ------------------------------------------------------------------ public

TSelection::TSelection(const TMeanCollection& lesson, bool allWords, TRandom& random)
    : impl_(std::make_unique<Impl>(lesson, allWords, random)) {}

TSelection::~TSelection() = default;

void TSelection::FillPools(std::uint8_t side) { impl_->main.FillPools(side); }

PWord TSelection::PickSolution(const PWord& question, bool firstOnly, std::uint8_t type) {
  if (!question) return nullptr;
  const int solution = impl_->main.PickSolution(impl_->Known(question), firstOnly, type);
  return solution < 0 ? nullptr : impl_->Word(solution);
}

TCollection<TWord> TSelection::PickAlternatives(int count, int form) {
  Impl::Run& run = impl_->main;
  run.Draw(count, form);
  TCollection<TWord> alternatives;
  for (const int id : run.drawn) alternatives.Insert(impl_->Word(id));
  run.ApplyFonts();
  for (const int id : run.drawn) run.pools[PoolOf(id)].AppendRecord(PlaceOf(id));
  return alternatives;
}

ProblemPtr TSelection::MakeProblem(const PWord& question, std::uint8_t type) {
  Impl::Run& run = impl_->main;
  if (!question || !run.Make(impl_->Known(question), type)) return nullptr;
  run.ApplyFonts();
  return ProblemPtr(run.store, &run.store->At(run.store->Count() - 1));
}

void TSelection::AddProblems(std::uint8_t side, bool translation) { impl_->main.AddProblems(side, translation); }

void TSelection::AddAllProblems(std::uint8_t flags) {
  impl_->main.AddHalf(flags, true);
  impl_->main.AddHalf(flags, false);
}

const TAnswerPool& TSelection::Pool(int form) const { return impl_->main.pools[PoolIndex(form)]; }

std::unique_ptr<TProbCollection> TSelection::Collect(std::uint8_t flags) {
  Impl::Run& run = impl_->main;
  // The problems in the order they were made.
  const int n = run.store->Count();
  const auto levelOf = [&](int i) { return run.levels[static_cast<std::size_t>(i)]; };
  // Inserting one by one puts each problem before those of its Level: by
  // Level, and within a Level the last made first. A counting sort over
  // the 256 levels gives that order in one pass.
  std::array<int, 257> start{};
  for (const std::int8_t level : run.levels) ++start[static_cast<std::size_t>(level + 128 + 1)];
  for (std::size_t l = 1; l < start.size(); ++l) start[l] += start[l - 1];
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int i = n - 1; i >= 0; --i) order[static_cast<std::size_t>(start[static_cast<std::size_t>(levelOf(i) + 128)]++)] = i;
  const auto levelAt = [&](int k) { return levelOf(order[static_cast<std::size_t>(k)]); };

  const int hard = HardGroup(n, levelAt);
  const int easy = EasyGroup(n, levelAt);
  const int medium = MediumGroup(n, hard, easy);
  auto problems = std::make_unique<TProbCollection>();
  problems->Graded = hard + medium + easy > 0;
  // The groups the flags drop; with no level change all three are empty.
  const int hardEnd = (flags & kKeepHard) ? 0 : hard;
  const int mediumEnd = (flags & kKeepMedium) ? hard : hard + medium;
  const int easyBegin = (flags & kKeepEasy) ? n : n - easy;
  problems->items_.reserve(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    if (k < hardEnd || (k >= hard && k < mediumEnd) || k >= easyBegin) continue;
    problems->items_.emplace_back(run.store, &run.store->At(order[static_cast<std::size_t>(k)]));
  }
  run.ApplyFonts();
  return problems;
}

}  // namespace vocatrix

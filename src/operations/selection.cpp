// TSelection: the word table, the pools and the problem store of one Select.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "operations/exercise.h"
#include "operations/grouping.h"
#include "operations/random.h"

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

// Numbers of objects by address: open addressing, at most half full.
class TAddressIndex {
 public:
  TAddressIndex() : cells_(1024) {}

  // The key's number, or `value` after giving it that number: one probe
  // for both.
  int FindOrAdd(const void* key, int value) {
    if ((used_ + 1) * 2 > cells_.size()) Grow();
    const std::size_t mask = cells_.size() - 1;
    std::size_t i = Slot(key, mask);
    for (; cells_[i].key != nullptr; i = (i + 1) & mask)
      if (cells_[i].key == key) return cells_[i].value;
    cells_[i] = Cell{key, value};
    ++used_;
    return value;
  }

 private:
  struct Cell {
    const void* key = nullptr;
    int value = -1;
  };
  // Objects made one after the other lie one after the other in memory; a
  // hash that keeps neighbours near each other lets a walk over a lesson's
  // words probe the table in order instead of all over it.
  static std::size_t Slot(const void* key, std::size_t mask) {
    const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(key);
    return static_cast<std::size_t>((a >> 4) ^ (a >> 28)) & mask;
  }
  void Grow() {
    std::vector<Cell> old(cells_.size() * 2);
    old.swap(cells_);
    for (const Cell& c : old)
      if (c.key) Place(c);
  }
  void Place(const Cell& cell) {
    const std::size_t mask = cells_.size() - 1;
    std::size_t i = Slot(cell.key, mask);
    while (cells_[i].key != nullptr) i = (i + 1) & mask;
    cells_[i] = cell;
  }

  std::vector<Cell> cells_;
  std::size_t used_ = 0;
};

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

  Impl(TLesson& lesson, bool allWords);

  WordInfo& Info(int id) { return info[PoolOf(id)][static_cast<std::size_t>(PlaceOf(id))]; }
  const PWord& Word(int id) const { return table->words[PoolOf(id)][static_cast<std::size_t>(PlaceOf(id))]; }
  // A reference to the word owned by the table.
  PWord Alias(int id) const { return PWord(table, Word(id).get()); }
  // Side of the word within its entry, for its font: 0 for synonyms and
  // antonyms, 1 for the other lists and for a word its entry does not hold,
  // 0 for a word without entry.
  int FontSideOf(int id) {
    const WordInfo& w = Info(id);
    if (w.meaning < 0) return 0;
    return (w.ownKind == kSynonyms || w.ownKind == kAntonyms) ? 0 : 1;
  }
  struct Span {
    const int* first;
    int count;
    const int* begin() const { return first; }
    const int* end() const { return first + count; }
  };
  Span List(int meaning, int kind) const {
    const ListPlace& list = lists[static_cast<std::size_t>(meaning) * 4 + static_cast<std::size_t>(kind)];
    return Span{listWords.data() + list.begin, list.count};
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

  void FillPools(std::uint8_t side);
  int PickSolution(int question, bool firstOnly, std::uint8_t type);
  void Draw(int count, int form);
  // Notes that the word is handed out with the font of that side; the last
  // hand-out of a word decides its font.
  void HandOut(int id, int side) {
    const std::size_t place = static_cast<std::size_t>(PlaceOf(id));
    int& last = handedAt[PoolOf(id)][place];
    if (last < 0) handedOut.push_back(id);
    last = ++handOuts;
    handedSide[PoolOf(id)][place] = static_cast<std::int8_t>(side);
  }
  void CollectDrawnHandOuts();
  void ApplyFonts();
  bool Make(int question, std::uint8_t type);
  void AddProblems(std::uint8_t side, bool translation);

  TLesson& lesson;
  const bool allWords;
  TRandom& random;
  int poolSide = 1;  // the language of the pooled words

  std::shared_ptr<WordTable> table;
  std::vector<WordInfo> info[kPools];
  // Hand-outs as question or solution: when (a count of hand-outs, -1 for
  // none) and with which side's font. Drawn alternatives are noted in their
  // pool records instead, which a draw touches anyway, and collected when
  // the pools are refilled or the fonts set.
  std::vector<int> handedAt[kPools];
  std::vector<std::int8_t> handedSide[kPools];
  int handOuts = 0;
  std::vector<int> handedOut;  // words whose font is still to be set
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

  TAnswerPool pools[kPools];
  std::vector<int> drawn;
  std::vector<int> indices;  // scratch of Draw
  std::vector<int> records;

  std::shared_ptr<TProblemStore> store;
  std::vector<std::int8_t> levels;  // of the problems made, in order
};

TSelection::Impl::Impl(TLesson& lesson, bool allWords)
    : lesson(lesson),
      allWords(allWords),
      random(RandomSource()),
      table(std::make_shared<WordTable>()),
      store(std::make_shared<TProblemStore>()) {
  if (lesson.Meanings) {
    entries.reserve(static_cast<std::size_t>(lesson.Meanings->Count()));
    for (const MeaningPtr& m : *lesson.Meanings)
      if (m) entries.push_back(AddMeaning(m.get()));
    // The words of one language first, then those of the other: the pools
    // hold one language at a time, and so use one end of each pool's
    // records, not every other one.
    for (const int kind : {kSynonyms, kAntonyms, kTranslations, kAntonymTranslations})
      for (const int e : entries) ReadList(e, kind);
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
  handedAt[pool].push_back(-1);
  handedSide[pool].push_back(0);
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

void TSelection::Impl::FillPools(std::uint8_t side) {
  CollectDrawnHandOuts();
  poolSide = side == 1 ? 0 : 1;
  for (int p = 0; p < kPools; ++p) pools[p].AttachWords(table->words[p]);
  if (side > 1) return;
  // CollectWords (1 - side): of each entry with a head, its own list and
  // then its opposite list.
  const int own = side == 0 ? kTranslations : kSynonyms;
  const int opposite = side == 0 ? kAntonymTranslations : kAntonyms;
  for (const int e : entries) {
    const Span head = List(e, own);
    if (head.count == 0) continue;
    for (const int id : head) pools[PoolOf(id)].AppendRecord(PlaceOf(id));
    for (const int id : List(e, opposite)) pools[PoolOf(id)].AppendRecord(PlaceOf(id));
  }
}

int TSelection::Impl::PickSolution(int question, bool firstOnly, std::uint8_t type) {
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
      if (own.count >= 2) {
        do {
          solution = own.first[random.Below(own.count)];
        } while (solution == question);
      }
      break;
    }
    case kAntonymProblem: pick(q.ownKind ^ 2, false); break;
    default: break;
  }
  // Neither the solution nor a synonym of it may turn up as an alternative.
  if (solution >= 0) {
    const WordInfo s = Info(solution);
    if (s.meaning >= 0 && s.ownKind >= 0)
      for (const int id : List(s.meaning, s.ownKind)) pools[PoolOf(id)].RemoveRecord(PlaceOf(id));
  }
  return solution;
}

void TSelection::Impl::Draw(int count, int form) {
  drawn.clear();
  int i = PoolIndex(form);
  while (count > 0) {
    if (pools[i].Empty()) {
      // The question's form has run dry: the highest form with words fills in.
      i = 0;
      for (int j = kPools - 1; j >= 0; --j) {
        if (!pools[j].Empty()) {
          i = j;
          break;
        }
      }
    }
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

void TSelection::Impl::CollectDrawnHandOuts() {
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

void TSelection::Impl::ApplyFonts() {
  CollectDrawnHandOuts();
  for (const int id : handedOut) {
    const std::size_t place = static_cast<std::size_t>(PlaceOf(id));
    TWord& word = *Word(id);
    const TFont& font = lesson.GetFont(static_cast<std::uint8_t>(handedSide[PoolOf(id)][place]));
    if (word.Font)
      *word.Font = font;
    else
      word.Font = std::make_unique<TFont>(font);
    handedAt[PoolOf(id)][place] = -1;
  }
  handedOut.clear();
}

bool TSelection::Impl::Make(int question, std::uint8_t type) {
  const int solution = PickSolution(question, !allWords, type);
  if (solution < 0) return false;
  HandOut(question, FontSideOf(question));
  HandOut(solution, FontSideOf(solution));
  Draw(4, PoolOf(question));
  const int at = random.Below(static_cast<int>(drawn.size()) + 1);

  TProblem& p = store->Add();
  p.Lesson = &lesson;
  p.Question = Alias(question);
  p.ProblemType = type;
  p.Level = type <= kAntonymProblem ? Info(question).knowledge[type] : 0;
  p.Solution = Alias(solution);
  p.Alternatives.Reserve(drawn.size() + 1);
  for (std::size_t k = 0; k <= drawn.size(); ++k) {
    if (k == static_cast<std::size_t>(at)) p.Alternatives.Insert(Alias(solution));
    if (k < drawn.size()) {
      const int id = drawn[k];
      p.Alternatives.Insert(PWord(table, const_cast<TWord*>(pools[PoolOf(id)].WordOf(PlaceOf(id)))));
    }
  }
  levels.push_back(p.Level);

  // Every drawn word goes back to its pool, then the solution's own list,
  // which PickSolution took out.
  for (const int id : drawn) pools[PoolOf(id)].AppendRecord(PlaceOf(id));
  const WordInfo s = Info(solution);
  if (s.meaning >= 0 && s.ownKind >= 0)
    for (const int id : List(s.meaning, s.ownKind)) pools[PoolOf(id)].AppendRecord(PlaceOf(id));
  return true;
}

void TSelection::Impl::AddProblems(std::uint8_t side, bool translation) {
  if (side > 1) return;
  // The head is the first word of its side; its own list is that side's
  // first list, its opposite list the side's other one.
  const int ownKind = side == 0 ? kSynonyms : kTranslations;
  const int oppositeKind = side == 0 ? kAntonyms : kAntonymTranslations;
  const auto ask = [&](int question) {
    if (translation) {
      Make(question, kTranslationProblem);
      if (allWords) Make(question, kAntonymTranslationProblem);
    } else {
      Make(question, kSynonymProblem);
      Make(question, kAntonymProblem);
    }
  };
  for (const int e : entries) {
    const Span own = List(e, ownKind);
    if (own.count == 0) continue;
    const Span opposite = List(e, oppositeKind);
    if (!allWords) {
      ask(own.first[0]);
      if (opposite.count > 0) ask(opposite.first[0]);
    } else {
      for (const int id : own) ask(id);
      for (const int id : opposite) ask(id);
    }
  }
}

// ------------------------------------------------------------------ public

TSelection::TSelection(TLesson& lesson, bool allWords) : impl_(std::make_unique<Impl>(lesson, allWords)) {}

TSelection::~TSelection() = default;

void TSelection::FillPools(std::uint8_t side) { impl_->FillPools(side); }

PWord TSelection::PickSolution(const PWord& question, bool firstOnly, std::uint8_t type) {
  if (!question) return nullptr;
  const int solution = impl_->PickSolution(impl_->Known(question), firstOnly, type);
  return solution < 0 ? nullptr : impl_->Word(solution);
}

TCollection<TWord> TSelection::PickAlternatives(int count, int form) {
  Impl& s = *impl_;
  s.Draw(count, form);
  TCollection<TWord> alternatives;
  for (const int id : s.drawn) alternatives.Insert(s.Word(id));
  s.ApplyFonts();
  for (const int id : s.drawn) s.pools[PoolOf(id)].AppendRecord(PlaceOf(id));
  return alternatives;
}

ProblemPtr TSelection::MakeProblem(const PWord& question, std::uint8_t type) {
  if (!question || !impl_->Make(impl_->Known(question), type)) return nullptr;
  impl_->ApplyFonts();
  return ProblemPtr(impl_->store, &impl_->store->At(impl_->store->Count() - 1));
}

void TSelection::AddProblems(std::uint8_t side, bool translation) { impl_->AddProblems(side, translation); }

const TAnswerPool& TSelection::Pool(int form) const { return impl_->pools[PoolIndex(form)]; }

std::unique_ptr<TProbCollection> TSelection::Collect(std::uint8_t flags) {
  Impl& s = *impl_;
  const int n = s.store->Count();
  // Inserting one by one puts each problem before those of its Level: by
  // Level, and within a Level the last made first. A counting sort over
  // the 256 levels gives that order in one pass.
  std::array<int, 257> start{};
  for (const std::int8_t level : s.levels) ++start[static_cast<std::size_t>(level + 128 + 1)];
  for (std::size_t l = 1; l < start.size(); ++l) start[l] += start[l - 1];
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int i = n - 1; i >= 0; --i)
    order[static_cast<std::size_t>(start[static_cast<std::size_t>(s.levels[static_cast<std::size_t>(i)] + 128)]++)] = i;
  const auto levelAt = [&](int k) { return s.levels[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])]; };

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
    problems->items_.emplace_back(s.store, &s.store->At(order[static_cast<std::size_t>(k)]));
  }
  s.ApplyFonts();
  return problems;
}

}  // namespace vocatrix

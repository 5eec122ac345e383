// SPDX-License-Identifier: GPL-3.0-or-later
// The undo history of a lesson: steps recorded as deltas.

#include "document/history.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "document/disposal.h"

namespace vocatrix {
namespace {

constexpr int kKinds[] = {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations};

// An entry's form and lists, whether stored in a step or held by the entry.
struct ContentView {
  std::uint8_t form;
  std::array<const std::vector<PWord>*, 4> lists;
};

ContentView View(const TMeaning& entry) {
  ContentView view{entry.Form, {}};
  for (int kind : kKinds) view.lists[static_cast<std::size_t>(kind)] = &entry.ListOfKind(kind).Items();
  return view;
}

ContentView View(const TEntryContent& content) {
  ContentView view{content.Form, {}};
  for (std::size_t kind = 0; kind < 4; ++kind) view.lists[kind] = &content.Lists[kind];
  return view;
}

bool SameWord(const TWord& a, const TWord& b) {
  if (&a == &b) return true;
  if (a.Text() != b.Text() || a.Extra != b.Extra || a.Remark != b.Remark || a.Knowledge != b.Knowledge) return false;
  if (!a.Font || !b.Font) return !a.Font && !b.Font;
  return *a.Font == *b.Font;
}

bool SameList(const std::vector<PWord>& x, const std::vector<PWord>& y) {
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (!SameWord(*x[i], *y[i])) return false;
  return true;
}

bool Same(const ContentView& a, const ContentView& b) {
  if (a.form != b.form) return false;
  for (std::size_t kind = 0; kind < 4; ++kind)
    if (!SameList(*a.lists[kind], *b.lists[kind])) return false;
  return true;
}

std::size_t HashOf(const ContentView& view) {
  std::size_t h = view.form;
  const std::hash<std::string> hash;
  for (std::size_t kind = 0; kind < 4; ++kind) {
    h = h * 1000003u + view.lists[kind]->size();
    for (const PWord& word : *view.lists[kind]) h = h * 1000003u + hash(word->Text());
  }
  return h;
}

std::size_t WordBytes(const TWord& word) {
  // The object, its control block and its strings' heap parts.
  return sizeof(TWord) + 16 + word.Text().capacity() + word.Extra.capacity() + word.Remark.capacity();
}

// The words of an entry's lists with the list slots that hold them.
std::size_t WordsBytes(const ContentView& view) {
  std::size_t bytes = 0;
  for (const std::vector<PWord>* list : view.lists)
    for (const PWord& word : *list) bytes += sizeof(PWord) + WordBytes(*word);
  return bytes;
}

std::size_t EntryBytes(const TMeaning& entry) { return sizeof(PMeaning) + 16 + WordsBytes(View(entry)); }

const std::vector<MeaningPtr>& ItemsOf(const TMeanCollection& lesson) {
  static const std::vector<MeaningPtr> none;
  return lesson.Meanings ? lesson.Meanings->Items() : none;
}

// Makes `words` the entry's list of that kind, and the entry theirs; what
// the list held goes to `words`. Allocates nothing, so it cannot fail.
void PutList(const MeaningPtr& entry, int kind, std::vector<PWord>& words) noexcept {
  TWordCollection& list = entry->ListOfKind(kind);
  list.SwapItems(words);
  for (const PWord& word : list) word->SetMeaning(entry);
}

// An edit script from one sequence to another: the places that pair up, in
// order, the places of the first taken out and those of the second put in.
struct Alignment {
  std::vector<std::pair<int, int>> pairs;
  std::vector<int> removed;
  std::vector<int> inserted;
};

// Pairs items of two sequences of na and nb items in order: equal ends
// first (cheap, and all a command on one entry needs); in the middle, where
// the items differ, skip to the nearer place where the two sides meet again.
// Items that may pair have equal keys (keyA (i), keyB (j), asked for the
// middle only); `pairs` (i, j) decides.
template <class KeyA, class KeyB, class Pairs>
Alignment Align(int na, int nb, KeyA keyA, KeyB keyB, Pairs pairs) {
  Alignment out;
  int i = 0;
  while (i < na && i < nb && pairs(i, i)) {
    out.pairs.emplace_back(i, i);
    ++i;
  }
  std::vector<std::pair<int, int>> tail;  // found backwards
  while (na > i && nb > i && pairs(na - 1, nb - 1)) {
    tail.emplace_back(na - 1, nb - 1);
    --na;
    --nb;
  }
  int j = i;
  if (i < na && j < nb) {
    std::unordered_map<std::size_t, std::vector<int>> placesA;
    std::unordered_map<std::size_t, std::vector<int>> placesB;
    std::vector<std::size_t> keysA(static_cast<std::size_t>(na - i));
    std::vector<std::size_t> keysB(static_cast<std::size_t>(nb - j));
    for (int p = i; p < na; ++p) placesA[keysA[static_cast<std::size_t>(p - i)] = keyA(p)].push_back(p);
    for (int q = j; q < nb; ++q) placesB[keysB[static_cast<std::size_t>(q - j)] = keyB(q)].push_back(q);
    const int firstA = i;
    const int firstB = j;
    // The first place from `from` on, among those of the key, that matches.
    const auto next = [](const auto& places, std::size_t key, int from, auto matches) {
      const auto found = places.find(key);
      if (found == places.end()) return -1;
      for (auto it = std::lower_bound(found->second.begin(), found->second.end(), from); it != found->second.end(); ++it)
        if (matches(*it)) return *it;
      return -1;
    };
    while (i < na && j < nb) {
      if (pairs(i, j)) {
        out.pairs.emplace_back(i++, j++);
        continue;
      }
      const int k = next(placesB, keysA[static_cast<std::size_t>(i - firstA)], j, [&](int q) { return pairs(i, q); });
      const int l = next(placesA, keysB[static_cast<std::size_t>(j - firstB)], i, [&](int p) { return pairs(p, j); });
      if (k >= 0 && (l < 0 || k - j <= l - i)) {
        while (j < k) out.inserted.push_back(j++);
      } else if (l >= 0) {
        while (i < l) out.removed.push_back(i++);
      } else {
        out.removed.push_back(i++);
        out.inserted.push_back(j++);
      }
    }
  }
  while (i < na) out.removed.push_back(i++);
  while (j < nb) out.inserted.push_back(j++);
  for (auto it = tail.rbegin(); it != tail.rend(); ++it) out.pairs.push_back(*it);
  return out;
}

std::size_t AddressKey(const TMeaning* entry) { return std::hash<const TMeaning*>()(entry); }

std::unordered_set<const TMeaning*> AddressesOf(const std::vector<MeaningPtr>& entries) {
  std::unordered_set<const TMeaning*> addresses(entries.size());
  for (const MeaningPtr& entry : entries) addresses.insert(entry.get());
  return addresses;
}

}  // namespace

// --- TEntryContent ---

TEntryContent TEntryContent::Of(const TMeaning& entry) {
  TEntryContent content;
  content.Form = entry.Form;
  for (int kind : kKinds) content.Lists[static_cast<std::size_t>(kind)] = entry.ListOfKind(kind).Items();
  return content;
}

std::size_t TEntryContent::ListBytes() const {
  std::size_t bytes = sizeof(TEntryContent);
  for (const std::vector<PWord>& list : Lists) bytes += list.capacity() * sizeof(PWord);
  return bytes;
}

bool TEntryContent::SameAs(const TEntryContent& other) const { return Same(View(*this), View(other)); }

std::size_t TEntryContent::Bytes() const { return sizeof(TEntryContent) + WordsBytes(View(*this)); }

namespace {

// The alignment of a lesson that took another's place with the entries
// before: entry objects on both sides pair by address, the others by
// contents; `lesson` takes the old objects of its entries of equal contents.
Alignment AlignReplaced(const std::vector<MeaningPtr>& a, TMeanCollection& lesson) {
  const int na = static_cast<int>(a.size());
  const int nb = lesson.EntryCount();
  const auto at = [](const std::vector<MeaningPtr>& side, int i) -> const MeaningPtr& {
    return side[static_cast<std::size_t>(i)];
  };
  std::vector<MeaningPtr> b = ItemsOf(lesson);
  const std::unordered_set<const TMeaning*> onSideA = AddressesOf(a);
  const std::unordered_set<const TMeaning*> onSideB = AddressesOf(b);
  std::vector<char> newA(a.size());
  std::vector<char> newB(b.size());
  for (std::size_t i = 0; i < a.size(); ++i) newA[i] = !onSideB.count(a[i].get());
  for (std::size_t j = 0; j < b.size(); ++j) newB[j] = !onSideA.count(b[j].get());
  const auto key = [](const MeaningPtr& entry, bool isNew) {
    return isNew ? HashOf(View(*entry)) : AddressKey(entry.get());
  };
  const Alignment alignment = Align(
      na, nb, [&](int i) { return key(at(a, i), newA[static_cast<std::size_t>(i)]); },
      [&](int j) { return key(at(b, j), newB[static_cast<std::size_t>(j)]); },
      [&](int i, int j) {
        return at(a, i) == at(b, j) ||
               (newA[static_cast<std::size_t>(i)] && newB[static_cast<std::size_t>(j)] &&
                Same(View(*at(a, i)), View(*at(b, j))));
      });
  // The new document takes the old entry objects of equal contents.
  for (const auto& [i, j] : alignment.pairs) b[static_cast<std::size_t>(j)] = at(a, i);
  if (lesson.Meanings) lesson.Meanings->SwapItems(b);
  return alignment;
}

}  // namespace

// --- TLessonStep ---

bool TLessonStep::Empty() const {
  return !Mirrored && !HeaderBefore && Removed.empty() && Inserted.empty() && ChangedEntries.empty();
}

void TLessonStep::Undo(TMeanCollection& lesson) const { Apply(lesson, false); }

void TLessonStep::Redo(TMeanCollection& lesson) const { Apply(lesson, true); }

void TLessonStep::Apply(TMeanCollection& lesson, bool redo) const {
  const std::vector<Placed>& takenOut = redo ? Removed : Inserted;
  const std::vector<Placed>& putIn = redo ? Inserted : Removed;
  // First what can fail, on copies: the new entry list, checked against
  // the places the step knows...
  const bool listChanges = !takenOut.empty() || !putIn.empty();
  std::vector<MeaningPtr> items;
  std::unique_ptr<TMeaningList> created;
  if (listChanges) {
    items = ItemsOf(lesson);
    for (auto it = takenOut.rbegin(); it != takenOut.rend(); ++it) {
      const auto at = static_cast<std::size_t>(it->Index);
      if (it->Index < 0 || at >= items.size() || items[at] != it->Entry) throw EListError();
      items.erase(items.begin() + it->Index);
    }
    for (const Placed& placed : putIn) {
      if (placed.Index < 0 || static_cast<std::size_t>(placed.Index) > items.size()) throw EListError();
      items.insert(items.begin() + placed.Index, placed.Entry);
    }
    if (!lesson.Meanings) created = std::make_unique<TMeaningList>();
  }
  // ...the entries' lists and the header.
  std::vector<std::array<std::vector<PWord>, 4>> lists;
  lists.reserve(ChangedEntries.size());
  for (const Changed& changed : ChangedEntries) lists.push_back((redo ? changed.After : changed.Before).Lists);
  std::optional<TLessonHeader> header = redo ? HeaderAfter : HeaderBefore;
  // Then the changes, none of which allocates or can fail.
  const auto change = [&]() noexcept {
    if (created) lesson.Meanings = std::move(created);
    if (listChanges) lesson.Meanings->SwapItems(items);
    for (std::size_t c = 0; c < ChangedEntries.size(); ++c) {
      const Changed& changed = ChangedEntries[c];
      changed.Entry->Form = (redo ? changed.After : changed.Before).Form;
      for (int kind : kKinds) PutList(changed.Entry, kind, lists[c][static_cast<std::size_t>(kind)]);
    }
    if (header) static_cast<TLessonHeader&>(lesson) = std::move(*header);
  };
  // A mirrored step changes nothing else; Mirror either fails before it
  // changes anything or completes.
  if (Mirrored) lesson.Mirror();
  change();
}

std::size_t TLessonStep::Bytes() const {
  std::size_t bytes = sizeof(TLessonStep);
  if (HeaderBefore) bytes += 2 * sizeof(TLessonHeader);
  for (const std::vector<Placed>* placed : {&Removed, &Inserted})
    for (const Placed& p : *placed) bytes += sizeof(Placed) + EntryBytes(*p.Entry);
  for (const Changed& changed : ChangedEntries)
    bytes += sizeof(Changed) + changed.Before.Bytes() + changed.After.ListBytes();
  return bytes;
}

// --- TLessonRecorder ---

TLessonRecorder::TLessonRecorder(const TMeanCollection& lesson, int entryIndex)
    : entryIndex_(entryIndex), header_(lesson), entries_(ItemsOf(lesson)) {}

void TLessonRecorder::WatchEntry(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
  const MeaningPtr& entry = entries_[static_cast<std::size_t>(index)];
  if (watchedAt_.emplace(entry.get(), watched_.size()).second) watched_.emplace_back(entry, TEntryContent::Of(*entry));
}

void TLessonRecorder::WatchAllEntries() {
  watched_.reserve(entries_.size());
  watchedAt_.reserve(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) WatchEntry(static_cast<int>(i));
}

TLessonStep TLessonRecorder::Finish(TMeanCollection& lesson, int entryIndex) const {
  TLessonStep step;
  step.EntryBefore = entryIndex_;
  step.EntryAfter = entryIndex;
  if (mirrored_) {
    step.Mirrored = true;
    return step;
  }
  if (!(static_cast<const TLessonHeader&>(lesson) == header_)) {
    step.HeaderBefore = header_;
    step.HeaderAfter = lesson;
  }

  // Entries changed in place, each object once. A list given words of the
  // same contents (as storing the controls does) gets its old words back.
  for (const auto& [entry, before] : watched_) {
    TEntryContent now = TEntryContent::Of(*entry);
    if (now == before) continue;
    for (int kind : kKinds) {
      const auto k = static_cast<std::size_t>(kind);
      if (now.Lists[k] == before.Lists[k] || !SameList(now.Lists[k], before.Lists[k])) continue;
      std::vector<PWord> words = before.Lists[k];
      PutList(entry, kind, words);
      now.Lists[k] = before.Lists[k];
    }
    if (!(now == before)) step.ChangedEntries.push_back({entry, before, std::move(now)});
  }

  // The entry list: an edit script by object, or, for a new document, by
  // contents among the entries not on both sides.
  const std::vector<MeaningPtr>& a = entries_;
  const int na = static_cast<int>(a.size());
  const int nb = lesson.EntryCount();
  const auto at = [](const std::vector<MeaningPtr>& side, int i) -> const MeaningPtr& {
    return side[static_cast<std::size_t>(i)];
  };
  Alignment alignment;
  if (!replaced_) {
    const std::vector<MeaningPtr>& b = ItemsOf(lesson);
    alignment = Align(
        na, nb, [&](int i) { return AddressKey(at(a, i).get()); }, [&](int j) { return AddressKey(at(b, j).get()); },
        [&](int i, int j) { return at(a, i) == at(b, j); });
  } else {
    alignment = AlignReplaced(a, lesson);
  }
  const std::vector<MeaningPtr>& now = ItemsOf(lesson);
  for (const int i : alignment.removed) step.Removed.push_back({i, a[static_cast<std::size_t>(i)]});
  for (const int j : alignment.inserted) step.Inserted.push_back({j, now[static_cast<std::size_t>(j)]});
  return step;
}

// --- TLessonHistory ---

namespace {

// Joins an edit from the controls to the one before it, of the same visit.
bool Join(TLessonStep& first, const TLessonStep& second) {
  for (const TLessonStep* step : {static_cast<const TLessonStep*>(&first), &second})
    if (step->Mirrored || !step->Removed.empty() || !step->Inserted.empty()) return false;
  if (second.HeaderAfter) {
    if (!first.HeaderBefore) first.HeaderBefore = second.HeaderBefore;
    first.HeaderAfter = second.HeaderAfter;
    if (*first.HeaderBefore == *first.HeaderAfter) {
      first.HeaderBefore.reset();
      first.HeaderAfter.reset();
    }
  }
  for (const TLessonStep::Changed& later : second.ChangedEntries) {
    auto earlier = std::find_if(first.ChangedEntries.begin(), first.ChangedEntries.end(),
                                [&later](const TLessonStep::Changed& c) { return c.Entry == later.Entry; });
    if (earlier == first.ChangedEntries.end()) {
      first.ChangedEntries.push_back(later);
    } else {
      earlier->After = later.After;
      if (earlier->Before == earlier->After) first.ChangedEntries.erase(earlier);
    }
  }
  first.EntryAfter = second.EntryAfter;
  return true;
}

}  // namespace

bool TLessonHistory::Push(TLessonStep step, std::optional<std::size_t> bytes) {
  if (step.Empty()) return false;
  if (saved_ > static_cast<long>(position_)) saved_ = -1;
  // The steps undone are gone.
  while (steps_.size() > position_) Drop(steps_.size() - 1);
  FreeDropped();
  // The state at the saved place stays what the file holds.
  if (step.ControlsEdit && position_ > 0 && saved_ != static_cast<long>(position_)) {
    TLessonStep& top = steps_.back();
    if (top.ControlsEdit && top.Visit == step.Visit && Join(top, step)) {
      if (top.Empty()) {
        steps_.pop_back();
        bytes_.pop_back();
        --position_;
      } else {
        bytes_.back() = top.Bytes();
      }
      return true;
    }
  }
  bytes_.push_back(bytes ? *bytes : step.Bytes());
  steps_.push_back(std::move(step));
  position_ = steps_.size();
  Trim();
  return true;
}

void TLessonHistory::Trim() {
  std::size_t total = Bytes();
  while (steps_.size() > 1 && (steps_.size() > kMaxSteps || total - bytes_.back() > kMaxBytes)) {
    total -= bytes_.front();
    Drop(0);
    --position_;
    if (saved_ >= 0) --saved_;
  }
  FreeDropped();
}

void TLessonHistory::Drop(std::size_t index) {
  droppedBytes_ += bytes_[index];
  dropped_.push_back(std::move(steps_[index]));
  steps_.erase(steps_.begin() + static_cast<long>(index));
  bytes_.erase(bytes_.begin() + static_cast<long>(index));
}

void TLessonHistory::FreeDropped() {
  // Steps holding many entries are freed by a thread of their own.
  constexpr std::size_t kFreedHere = std::size_t{1} << 20;
  if (droppedBytes_ > kFreedHere) DisposeLater(std::make_shared<std::vector<TLessonStep>>(std::move(dropped_)));
  dropped_.clear();
  droppedBytes_ = 0;
}

const TLessonStep* TLessonHistory::Undo(TMeanCollection& lesson) {
  if (!CanUndo()) return nullptr;
  steps_[position_ - 1].Undo(lesson);
  return &steps_[--position_];
}

const TLessonStep* TLessonHistory::Redo(TMeanCollection& lesson) {
  if (!CanRedo()) return nullptr;
  steps_[position_].Redo(lesson);
  return &steps_[position_++];
}

void TLessonHistory::Reset(bool saved) {
  while (!steps_.empty()) Drop(steps_.size() - 1);
  FreeDropped();
  position_ = 0;
  saved_ = saved ? 0 : -1;
}

std::size_t TLessonHistory::Bytes() const {
  std::size_t total = 0;
  for (std::size_t bytes : bytes_) total += bytes;
  return total;
}

}  // namespace vocatrix

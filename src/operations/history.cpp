// The undo history of a lesson: steps recorded as deltas.

#include "operations/history.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

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

bool Same(const ContentView& a, const ContentView& b) {
  if (a.form != b.form) return false;
  for (std::size_t kind = 0; kind < 4; ++kind) {
    const std::vector<PWord>& x = *a.lists[kind];
    const std::vector<PWord>& y = *b.lists[kind];
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i)
      if (!SameWord(*x[i], *y[i])) return false;
  }
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

TMeaningList& EntriesOf(TMeanCollection& lesson) {
  if (!lesson.Meanings) lesson.Meanings = std::make_unique<TMeaningList>();
  return *lesson.Meanings;
}

const std::vector<MeaningPtr>& ItemsOf(const TMeanCollection& lesson) {
  static const std::vector<MeaningPtr> none;
  return lesson.Meanings ? lesson.Meanings->Items() : none;
}

}  // namespace

// --- TEntryContent ---

TEntryContent TEntryContent::Of(const TMeaning& entry) {
  TEntryContent content;
  content.Form = entry.Form;
  for (int kind : kKinds) content.Lists[static_cast<std::size_t>(kind)] = entry.ListOfKind(kind).Items();
  return content;
}

void TEntryContent::ApplyTo(const MeaningPtr& entry) const {
  entry->Form = Form;
  for (int kind : kKinds) {
    TWordCollection& list = entry->ListOfKind(kind);
    list.DeleteAll();
    for (const PWord& word : Lists[static_cast<std::size_t>(kind)]) {
      word->SetMeaning(entry);
      list.TCollection<TWord>::Insert(word);
    }
  }
}

std::size_t TEntryContent::ListBytes() const {
  std::size_t bytes = sizeof(TEntryContent);
  for (const std::vector<PWord>& list : Lists) bytes += list.capacity() * sizeof(PWord);
  return bytes;
}

bool TEntryContent::SameAs(const TEntryContent& other) const { return Same(View(*this), View(other)); }

std::size_t TEntryContent::Bytes() const { return sizeof(TEntryContent) + WordsBytes(View(*this)); }

// --- TLessonStep ---

bool TLessonStep::Empty() const {
  return !Mirrored && !HeaderBefore && Removed.empty() && Inserted.empty() && ChangedEntries.empty();
}

void TLessonStep::Undo(TMeanCollection& lesson) const {
  TMeaningList& entries = EntriesOf(lesson);
  for (const Changed& changed : ChangedEntries) changed.Before.ApplyTo(entries.At(changed.Index));
  for (auto it = Inserted.rbegin(); it != Inserted.rend(); ++it) entries.AtDelete(it->Index);
  for (const Placed& removed : Removed) {
    entries.AtInsert(removed.Index, removed.Entry);
    removed.Content.ApplyTo(removed.Entry);
  }
  if (Mirrored) lesson.Mirror();
  if (HeaderBefore) static_cast<TLessonHeader&>(lesson) = *HeaderBefore;
}

void TLessonStep::Redo(TMeanCollection& lesson) const {
  TMeaningList& entries = EntriesOf(lesson);
  if (HeaderAfter) static_cast<TLessonHeader&>(lesson) = *HeaderAfter;
  if (Mirrored) lesson.Mirror();
  for (auto it = Removed.rbegin(); it != Removed.rend(); ++it) entries.AtDelete(it->Index);
  for (const Placed& inserted : Inserted) {
    entries.AtInsert(inserted.Index, inserted.Entry);
    inserted.Content.ApplyTo(inserted.Entry);
  }
  for (const Changed& changed : ChangedEntries) changed.After.ApplyTo(entries.At(changed.Index));
}

std::size_t TLessonStep::Bytes() const {
  std::size_t bytes = sizeof(TLessonStep);
  if (HeaderBefore) bytes += 2 * sizeof(TLessonHeader);
  for (const std::vector<Placed>* placed : {&Removed, &Inserted})
    for (const Placed& p : *placed)
      bytes += sizeof(Placed) + EntryBytes(*p.Entry) + p.Content.ListBytes();
  for (const Changed& changed : ChangedEntries)
    bytes += sizeof(Changed) + changed.Before.Bytes() + changed.After.ListBytes();
  return bytes;
}

// --- TLessonRecorder ---

TLessonRecorder::TLessonRecorder(const TMeanCollection& lesson, int entryIndex)
    : entryIndex_(entryIndex), header_(lesson), entries_(ItemsOf(lesson)) {}

void TLessonRecorder::WatchEntry(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size()) || !all_.empty()) return;
  some_.emplace_back(index, TEntryContent::Of(*entries_[static_cast<std::size_t>(index)]));
}

void TLessonRecorder::WatchAllEntries() {
  some_.clear();
  all_.reserve(entries_.size());
  for (const MeaningPtr& entry : entries_) all_.push_back(TEntryContent::Of(*entry));
}

TLessonStep TLessonRecorder::Finish(const TMeanCollection& lesson, int entryIndex) const {
  TLessonStep step;
  step.EntryBefore = entryIndex_;
  step.EntryAfter = entryIndex;
  if (mirrored_) {
    step.Mirrored = true;
    return step;
  }
  TLessonHeader header = lesson;
  if (!(header == header_)) {
    step.HeaderBefore = header_;
    step.HeaderAfter = std::move(header);
  }

  const std::vector<MeaningPtr>& a = entries_;
  const std::vector<MeaningPtr>& b = ItemsOf(lesson);
  const auto watched = [this](int i) -> const TEntryContent* {
    if (!all_.empty()) return &all_[static_cast<std::size_t>(i)];
    for (const auto& [index, content] : some_)
      if (index == i) return &content;
    return nullptr;
  };
  // The contents of entry i before the command.
  const auto viewA = [&](int i) {
    const TEntryContent* content = watched(i);
    return content ? View(*content) : View(*a[static_cast<std::size_t>(i)]);
  };
  const auto viewB = [&](int j) { return View(*b[static_cast<std::size_t>(j)]); };
  // The same entry object on both sides; a watched one may have changed in place.
  const auto keep = [&](int i, int j) {
    const TEntryContent* before = watched(i);
    if (before && !Same(View(*before), viewB(j)))
      step.ChangedEntries.push_back({j, *before, TEntryContent::Of(*b[static_cast<std::size_t>(j)])});
  };

  // Unchanged ends first: cheap, and all a single-entry command needs.
  int na = static_cast<int>(a.size());
  int nb = static_cast<int>(b.size());
  int start = 0;
  while (start < na && start < nb && a[static_cast<std::size_t>(start)] == b[static_cast<std::size_t>(start)]) {
    keep(start, start);
    ++start;
  }
  while (na > start && nb > start && a[static_cast<std::size_t>(na - 1)] == b[static_cast<std::size_t>(nb - 1)]) {
    keep(na - 1, nb - 1);
    --na;
    --nb;
  }
  if (start == na && start == nb) return step;

  // The middle: an entry object found on both sides pairs only with itself;
  // other entries pair with one of equal contents, which can stand for it.
  std::unordered_map<const TMeaning*, int> posA;
  std::unordered_map<const TMeaning*, int> posB;
  for (int i = start; i < na; ++i) posA.emplace(a[static_cast<std::size_t>(i)].get(), i);
  for (int j = start; j < nb; ++j) posB.emplace(b[static_cast<std::size_t>(j)].get(), j);
  const auto onlyInA = [&](int i) { return !posB.count(a[static_cast<std::size_t>(i)].get()); };
  const auto onlyInB = [&](int j) { return !posA.count(b[static_cast<std::size_t>(j)].get()); };
  const auto pairs = [&](int i, int j) {
    if (a[static_cast<std::size_t>(i)] == b[static_cast<std::size_t>(j)]) return true;
    return onlyInA(i) && onlyInB(j) && Same(viewA(i), viewB(j));
  };
  const auto pair = [&](int i, int j) {
    if (a[static_cast<std::size_t>(i)] == b[static_cast<std::size_t>(j)]) keep(i, j);
  };
  const auto remove = [&](int i) {
    const TEntryContent* before = watched(i);
    const MeaningPtr& entry = a[static_cast<std::size_t>(i)];
    step.Removed.push_back({i, entry, before ? *before : TEntryContent::Of(*entry)});
  };
  const auto insert = [&](int j) {
    const MeaningPtr& entry = b[static_cast<std::size_t>(j)];
    step.Inserted.push_back({j, entry, TEntryContent::Of(*entry)});
  };

  std::vector<std::pair<int, int>> tail;  // pairs at the end, found backwards
  while (start < na && start < nb && pairs(start, start)) {
    pair(start, start);
    ++start;
  }
  while (na > start && nb > start && pairs(na - 1, nb - 1)) {
    tail.emplace_back(na - 1, nb - 1);
    --na;
    --nb;
  }

  // Positions of the remaining entries that may pair by contents, by hash.
  std::unordered_map<std::size_t, std::vector<int>> hashA;
  std::unordered_map<std::size_t, std::vector<int>> hashB;
  for (int i = start; i < na; ++i)
    if (onlyInA(i)) hashA[HashOf(viewA(i))].push_back(i);
  for (int j = start; j < nb; ++j)
    if (onlyInB(j)) hashB[HashOf(viewB(j))].push_back(j);
  // The first position from `from` on (below `end`) where entry x of one
  // side pairs with the other side: its own place there if it is on both,
  // else the first entry only there of equal contents.
  const auto nextOn = [](int x, const std::vector<MeaningPtr>& here, const auto& viewHere, const auto& placesThere,
                         const auto& hashesThere, const auto& viewThere, int from, int end) {
    const auto place = placesThere.find(here[static_cast<std::size_t>(x)].get());
    if (place != placesThere.end()) return place->second >= from && place->second < end ? place->second : -1;
    const ContentView view = viewHere(x);
    const auto found = hashesThere.find(HashOf(view));
    if (found == hashesThere.end()) return -1;
    for (auto it = std::lower_bound(found->second.begin(), found->second.end(), from); it != found->second.end(); ++it)
      if (*it < end && Same(view, viewThere(*it))) return *it;
    return -1;
  };
  const auto nextB = [&](int i, int from) { return nextOn(i, a, viewA, posB, hashB, viewB, from, nb); };
  const auto nextA = [&](int j, int from) { return nextOn(j, b, viewB, posA, hashA, viewA, from, na); };

  int i = start;
  int j = start;
  while (i < na && j < nb) {
    if (pairs(i, j)) {
      pair(i, j);
      ++i;
      ++j;
      continue;
    }
    // Skip to the nearer place where the two sides meet again.
    const int k = nextB(i, j);
    const int l = nextA(j, i);
    if (k >= 0 && (l < 0 || k - j <= l - i)) {
      while (j < k) insert(j++);
    } else if (l >= 0) {
      while (i < l) remove(i++);
    } else {
      remove(i++);
      insert(j++);
    }
  }
  while (i < na) remove(i++);
  while (j < nb) insert(j++);
  for (auto it = tail.rbegin(); it != tail.rend(); ++it) pair(it->first, it->second);
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
                                [&later](const TLessonStep::Changed& c) { return c.Index == later.Index; });
    if (earlier == first.ChangedEntries.end()) {
      first.ChangedEntries.push_back(later);
    } else {
      earlier->After = later.After;
      if (earlier->Before.SameAs(earlier->After)) first.ChangedEntries.erase(earlier);
    }
  }
  first.EntryAfter = second.EntryAfter;
  return true;
}

}  // namespace

bool TLessonHistory::Push(TLessonStep step) {
  if (step.Empty()) return false;
  if (saved_ > static_cast<long>(position_)) saved_ = -1;
  steps_.erase(steps_.begin() + static_cast<long>(position_), steps_.end());
  bytes_.erase(bytes_.begin() + static_cast<long>(position_), bytes_.end());
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
  bytes_.push_back(step.Bytes());
  steps_.push_back(std::move(step));
  position_ = steps_.size();
  Trim();
  return true;
}

void TLessonHistory::Trim() {
  std::size_t total = Bytes();
  while (steps_.size() > 1 && (steps_.size() > kMaxSteps || total - bytes_.back() > kMaxBytes)) {
    total -= bytes_.front();
    steps_.pop_front();
    bytes_.pop_front();
    --position_;
    if (saved_ >= 0) --saved_;
  }
}

const TLessonStep* TLessonHistory::Undo(TMeanCollection& lesson) {
  if (!CanUndo()) return nullptr;
  --position_;
  steps_[position_].Undo(lesson);
  return &steps_[position_];
}

const TLessonStep* TLessonHistory::Redo(TMeanCollection& lesson) {
  if (!CanRedo()) return nullptr;
  steps_[position_].Redo(lesson);
  return &steps_[position_++];
}

void TLessonHistory::Reset(bool saved) {
  steps_.clear();
  bytes_.clear();
  position_ = 0;
  saved_ = saved ? 0 : -1;
}

std::size_t TLessonHistory::Bytes() const {
  std::size_t total = 0;
  for (std::size_t bytes : bytes_) total += bytes;
  return total;
}

}  // namespace vocatrix

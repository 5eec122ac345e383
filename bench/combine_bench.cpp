// SPDX-License-Identifier: GPL-3.0-or-later
// SubstituteLanguage of two 20,000-entry lessons that share a language. Most
// shared words of A have a twin of the same form in B; both sources hold
// duplicates that their compaction merges first. And the sorted word list of
// one language, which needs the collation's order.

#include <benchmark/benchmark.h>

#include "bench_collation.h"

#include <string>

#include "model/lesson.h"
#include "model/textcompare.h"
#include "operations/combine.h"

namespace {

using namespace vocatrix;

std::unique_ptr<TMeanCollection> Lesson(const std::string& other, const std::string& otherPrefix, int entries,
                                        bool mirrored) {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Language1.Name = other;
  lesson->Language2.Name = "German";
  lesson->Meanings->DeleteAll();
  for (int i = 0; i < entries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    const std::string n = std::to_string(i);
    m->SetKindTexts(kSynonyms, {otherPrefix + n, otherPrefix + "x" + n});
    // Every tenth entry repeats the previous entry's German word: merged by compaction.
    m->SetKindTexts(kTranslations, {"Wort" + std::to_string(i % 10 == 9 ? i - 1 : i), "Begriff" + n});
    if (i % 4 == 0) {
      m->SetKindTexts(kAntonyms, {otherPrefix + "anti" + n});
      m->SetKindTexts(kAntonymTranslations, {"Gegen" + n});
    }
    lesson->Meanings->Insert(m);
  }
  if (mirrored) lesson->Mirror();
  return lesson;
}

void BM_SubstituteLanguage(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const bool mirrored = state.range(1) != 0;  // German as language 1 of both: case 4, four mirrors
  if (!bench::UseCollation(state, state.range(2) != 0)) return;
  int made = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto a = Lesson("English", "word", entries, mirrored);
    auto b = Lesson("French", "mot", entries, mirrored);
    state.ResumeTiming();
    auto result = SubstituteLanguage(a.get(), b.get());
    made = result->EntryCount();
    state.PauseTiming();
    result.reset();
    a.reset();
    b.reset();
    state.ResumeTiming();
  }
  state.counters["entries_made"] = made;
  SetCollationLocale(std::locale::classic());
}

// The sorted unique word list of one language: one collation key per word,
// then n log n key comparisons.
void BM_UniqueWordsOfLanguage(benchmark::State& state) {
  if (!bench::UseCollation(state, state.range(1) != 0)) return;
  int unique = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto lesson = Lesson("French", "mot", static_cast<int>(state.range(0)), false);
    state.ResumeTiming();
    unique = UniqueWordsOfLanguage(*lesson, "German").Count();
    state.PauseTiming();
    lesson.reset();
    state.ResumeTiming();
  }
  state.counters["unique_words"] = unique;
  SetCollationLocale(std::locale::classic());
}

BENCHMARK(BM_UniqueWordsOfLanguage)
    ->ArgNames({"entries", "locale"})
    ->Args({20000, 0})
    ->Args({20000, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SubstituteLanguage)
    ->ArgNames({"entries", "mirrored", "locale"})
    ->Args({20000, 0, 0})
    ->Args({20000, 1, 0})
    ->Args({20000, 0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// DblDel on lessons in which about a third of the entries share a word with
// another entry, some only through words that an earlier merge brings in, so
// compaction needs several passes.

#include <benchmark/benchmark.h>

#include "bench_collation.h"

#include <string>

#include "model/lesson.h"
#include "model/textcompare.h"

namespace {

using namespace vocatrix;

std::unique_ptr<TMeanCollection> LessonWithDuplicates(int entries) {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Meanings->DeleteAll();
  for (int i = 0; i < entries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = 1;
    const std::string n = std::to_string(i);
    std::vector<std::string> synonyms{"word" + n};
    if (i % 3 == 1) synonyms.push_back("word" + std::to_string(i - 1));       // shares with the previous entry
    if (i % 6 == 2) synonyms.push_back("link" + std::to_string(i / 6));       // linked only after a merge
    if (i % 6 == 5) synonyms.push_back("link" + std::to_string(i / 6));
    m->SetKindTexts(kSynonyms, synonyms);
    m->SetKindTexts(kTranslations, {"Wort" + n, "Begriff" + n});
    m->SetKindTexts(kAntonyms, {"anti" + n});
    lesson->Meanings->Insert(m);
  }
  return lesson;
}

void BM_DblDel(benchmark::State& state) {
  if (!bench::UseCollation(state, state.range(1) != 0)) return;
  int remaining = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto lesson = LessonWithDuplicates(static_cast<int>(state.range(0)));
    state.ResumeTiming();
    lesson->DblDel();
    remaining = lesson->EntryCount();
    state.PauseTiming();
    lesson.reset();
    state.ResumeTiming();
  }
  state.counters["entries_after"] = remaining;
  state.SetComplexityN(state.range(0));
  SetCollationLocale(std::locale::classic());
}

}  // namespace

// Second argument: 0 code-point collation, 1 German locale collation.
BENCHMARK(BM_DblDel)
    ->ArgsProduct({{16384, 32768, 65535}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

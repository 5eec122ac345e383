// SPDX-License-Identifier: GPL-3.0-or-later
// Finding words and recording undo steps on the largest lesson (65535
// entries of four words): one find step going round the whole lesson, and
// what the history's steps cost in time and memory.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "model/lesson.h"
#include "operations/find.h"
#include "document/history.h"

namespace {

using namespace vocatrix;

std::unique_ptr<TMeanCollection> LargeLesson() {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Meanings->DeleteAll();
  for (int i = 0; i < TMeanCollection::kMaxEntries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    const std::string n = std::to_string(i);
    m->SetKindTexts(kSynonyms, {"word" + n, "synonym" + n});
    m->SetKindTexts(kTranslations, {"Wort" + n});
    m->SetKindTexts(kAntonyms, {"antonym" + n});
    lesson->Meanings->Insert(m);
  }
  return lesson;
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

// The worst step: the only match stands just before the starting place, so
// the search goes round every word of the lesson. Arguments: match case, whole word.
void BM_FindStepRoundTheLesson(benchmark::State& state) {
  const auto lesson = LargeLesson();
  const TFindOptions options{state.range(0) != 0, state.range(1) != 0, -1};
  const TTextMatcher matcher("WORT0", options);
  const std::string target = options.MatchCase ? "WORT0" : "wort0";
  lesson->At(0)->SetKindTexts(kTranslations, {target});
  for (auto _ : state) {
    auto found = FindWord(*lesson, matcher, -1, {0, kTranslations, 0}, false, false);
    benchmark::DoNotOptimize(found);
    if (!found || !found->Wrapped) state.SkipWithError("not found round the lesson");
  }
}
BENCHMARK(BM_FindStepRoundTheLesson)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

// An entry edited and stored, one step each; counters give the bytes a step keeps.
void BM_HistoryEntryEdits(benchmark::State& state) {
  auto lesson = LargeLesson();
  TLessonHistory history;
  int i = 0;
  for (auto _ : state) {
    const int index = (i++ * 7919) % lesson->EntryCount();
    TLessonRecorder recorder(*lesson, index);
    recorder.WatchEntry(index);
    lesson->At(index)->SetKindTexts(kTranslations, {"edit" + std::to_string(i)});
    history.Push(recorder.Finish(*lesson, index));
  }
  state.counters["steps"] = static_cast<double>(history.Count());
  state.counters["bytes_per_step"] = static_cast<double>(history.Bytes()) / static_cast<double>(history.Count());
}
BENCHMARK(BM_HistoryEntryEdits)->Unit(benchmark::kMicrosecond);

// Compacting that merges 1000 entries across the lesson, recorded.
void BM_HistoryCompactStep(benchmark::State& state) {
  std::size_t bytes = 0;
  std::size_t heap = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto lesson = LargeLesson();
    for (int k = 0; k < 1000; ++k) lesson->At(65 * k + 64)->SetKindTexts(kSynonyms, {"word" + std::to_string(65 * k + 64 - 5)});
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    TLessonStep step;
    {
      TLessonRecorder recorder(*lesson, 0);
      recorder.WatchAllEntries();
      lesson->DblDel();
      step = recorder.Finish(*lesson, 0);
    }
    state.PauseTiming();
    bytes = step.Bytes();
    // What the step keeps beyond the lesson: the entries merged away and
    // the words the merge added are counted in the lesson's own growth too.
    heap = HeapInUse() - before;
    benchmark::DoNotOptimize(step);
    state.ResumeTiming();
  }
  state.counters["step_bytes"] = static_cast<double>(bytes);
  state.counters["heap_bytes"] = static_cast<double>(heap);
}
BENCHMARK(BM_HistoryCompactStep)->Unit(benchmark::kMillisecond)->Iterations(3);

// A compiled text that changes every entry (the first compilation of a
// lesson file gives every word its form remark): the largest single step.
void BM_HistoryWholeLessonReplaced(benchmark::State& state) {
  std::size_t bytes = 0;
  std::size_t heap = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto lesson = LargeLesson();
    std::vector<std::string> lines = lesson->ToLines();
    int error = 0;
    state.ResumeTiming();
    TLessonRecorder recorder(*lesson, 0);
    recorder.SetReplaced();
    auto compiled = TMeanCollection::FromLines(lines, error);
    state.PauseTiming();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    TLessonStep step = recorder.Finish(*compiled, 0);
    state.PauseTiming();
    bytes = step.Bytes();
    // The step's own lists; the old entries it keeps are the lesson's size.
    heap = HeapInUse() - before;
    state.ResumeTiming();
  }
  state.counters["step_bytes"] = static_cast<double>(bytes);
  state.counters["step_list_heap"] = static_cast<double>(heap);

}
BENCHMARK(BM_HistoryWholeLessonReplaced)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

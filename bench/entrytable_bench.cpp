// SPDX-License-Identifier: GPL-3.0-or-later
// The table of a full-size lesson: sorting the view by each column under
// German collation, and one keystroke of the filter.

#include <benchmark/benchmark.h>

#include "bench_lessons.h"
#include "model/textcompare.h"
#include "operations/entrytable.h"

namespace {

using namespace vocatrix;

// Column per range; the sort keys are made anew each round, as after an edit.
void BM_SortTheView(benchmark::State& state) {
  SetCollationLocale("de_DE.UTF-8");
  const auto lesson = bench::FullSizeLesson();
  TEntryTable table(lesson.get());
  bool descending = false;
  for (auto _ : state) {
    table.Sort(static_cast<int>(state.range(0)), descending = !descending);
    benchmark::DoNotOptimize(table.RowCount());
  }
}
BENCHMARK(BM_SortTheView)->DenseRange(kColumnSynonyms, kColumnNumber)->Unit(benchmark::kMillisecond);

// The first keystroke makes the texts the filter searches; the later ones
// (what typing does) search them.
void BM_FilterKeystroke(benchmark::State& state) {
  SetCollationLocale("de_DE.UTF-8");
  const auto lesson = bench::FullSizeLesson();
  TEntryTable table(lesson.get());
  const bool first = state.range(0) == 1;
  // The first keystroke in the lesson's order (a changed lesson's sort keys
  // are made again whatever the filter does); the others in a sorted view.
  table.Sort(first ? -1 : kColumnTranslations, false);
  const std::string typed = "h\xFCtte12";
  for (auto _ : state) {
    if (first) table.Invalidate();
    for (std::size_t length = 1; length <= typed.size(); ++length) {
      table.Filter(typed.substr(0, length));
      benchmark::DoNotOptimize(table.RowCount());
      if (first) break;
    }
  }
  if (!first) state.SetItemsProcessed(static_cast<std::int64_t>(typed.size()) * state.iterations());
}
BENCHMARK(BM_FilterKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

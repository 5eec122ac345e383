// SPDX-License-Identifier: GPL-3.0-or-later
// Lesson text of a full-size lesson: 65535 entries of about four words each.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_lessons.h"
#include "files/lessontext.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using bench::FullSizeLesson;

void BM_WriteLessonLines(benchmark::State& state) {
  const auto lesson = FullSizeLesson();
  std::size_t lines = 0;
  for (auto _ : state) {
    std::vector<std::string> out;
    WriteLessonLines(out, *lesson);
    lines = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_WriteLessonLines)->Unit(benchmark::kMillisecond);

void BM_ParseLessonLines(benchmark::State& state) {
  std::vector<std::string> lines;
  WriteLessonLines(lines, *FullSizeLesson());
  std::size_t entries = 0;
  for (auto _ : state) {
    auto lesson = std::make_unique<TMeanCollection>();
    ParseLessonLines(lines, true, *lesson);
    entries = static_cast<std::size_t>(lesson->EntryCount());
    benchmark::DoNotOptimize(lesson->Meanings.get());
    state.PauseTiming();  // releasing the lesson is not part of reading it
    lesson.reset();
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_ParseLessonLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vocatrix

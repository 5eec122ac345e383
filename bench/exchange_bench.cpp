// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import of a full-size lesson (65535 entries, each with a
// synonym or an antonym pair, so KVTML holds two entries per lesson entry)
// as KVTML and as CSV, through real files; and the shapes an import must
// stay bounded on: one entry of 60,000 synonyms, a CSV of millions of short
// lines.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_lessons.h"
#include "files/csv/csvfile.h"
#include "files/kvtml/kvtml.h"
#include "files/lessonformats.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

// The full-size lesson, with a title for the document information.
std::unique_ptr<TMeanCollection> BigLesson() {
  auto lesson = bench::FullSizeLesson();
  lesson->Title = "Everything";
  return lesson;
}

std::string FileNamed(const char* extension) {
  return (std::filesystem::temp_directory_path() / ("vocatrix-exchange-bench" + std::string(extension))).string();
}

void BM_Export(benchmark::State& state, const char* extension) {
  const auto lesson = BigLesson();
  const std::string file = FileNamed(extension);
  for (auto _ : state) {
    TransferReport report;
    WriteLessonByFormat(*lesson, file, std::string(), report);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
  std::remove(file.c_str());
}

void BM_Import(benchmark::State& state, const char* extension) {
  const std::string file = FileNamed(extension);
  {
    TransferReport report;
    WriteLessonByFormat(*BigLesson(), file, std::string(), report);
  }
  int entries = 0;
  for (auto _ : state) {
    TransferReport report;
    auto lesson = ReadLessonByFormat(file, ReadOptions(), report);
    entries = lesson->EntryCount();
    state.PauseTiming();  // releasing the lesson is not part of reading it
    lesson.reset();
    state.ResumeTiming();
  }
  state.counters["entries"] = entries;
  std::remove(file.c_str());
}

// KVTML whose entries are all synonym-paired to entry 0: one lesson entry of
// n synonyms, built word by word into one list.
void BM_ImportOneEntryOfManySynonyms(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string kvtml = "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/></identifiers><entries>";
  std::string pairs;
  for (int i = 0; i < n; ++i) {
    kvtml += "<entry id=\"" + std::to_string(i) + "\"><translation id=\"0\"><text>word" + std::to_string(i) +
             "</text></translation></entry>";
    if (i > 0) pairs += "<pair><entry id=\"0\"/><entry id=\"" + std::to_string(i) + "\"/></pair>";
  }
  kvtml += "</entries><synonym>" + pairs + "</synonym></kvtml>";
  for (auto _ : state) {
    TMeanCollection lesson;
    TransferReport report;
    ParseKvtml(kvtml, "many.kvtml", {}, lesson, report);
    benchmark::DoNotOptimize(lesson.At(0)->Synonyms.Count());
  }
}

// 10 MB of short lines: reading stops at entry 65,536 and counts the rest.
void BM_ImportTooManyShortLines(benchmark::State& state) {
  std::string csv;
  for (int i = 0; csv.size() < 10'000'000; ++i) csv += std::to_string(i % 10) + "\n";
  for (auto _ : state) {
    TMeanCollection lesson;
    TransferReport report;
    try {
      ParseCsv(csv, {}, "short.csv", lesson, report);
    } catch (const ELessonTooLarge&) {
    }
  }
}

BENCHMARK(BM_ImportOneEntryOfManySynonyms)->Arg(30000)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTooManyShortLines)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, kvtml, ".kvtml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, kvtml, ".kvtml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, csv, ".csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, csv, ".csv")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vocatrix

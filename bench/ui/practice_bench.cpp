// SPDX-License-Identifier: GPL-3.0-or-later
// The practice window on the full-size lesson of dictionary words (65,535
// entries): the time from Start to the first question for translations from
// language 1 to 2 (goal: under 0.5 s), and a selection of every direction and
// every word, which takes longer, shown busy and cancelled after its Cancel
// has appeared. Both with the interface thread's longest stall. Needs the
// installed en_US and de_DE dictionaries; runs offscreen unless another
// platform is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <memory>

#include "../bench_spelling.h"
#include "bench_main.h"
#include "bench_platform.h"
#include "stall_meter.h"
#include "files/binaryfile.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/mainform.h"
#include "ui/practice/practiceform.h"

namespace {

using namespace vocatrix;
using bench::LongestStall;

void Settle() {
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
}

std::string LessonFile() {
  const std::optional<DictionaryFiles> english = bench::InstalledDictionary("en_US");
  const std::optional<DictionaryFiles> german = bench::InstalledDictionary("de_DE");
  if (!english || !german) return {};
  const std::string file = bench::Folder().File("practice.tav");
  SaveBinary(*bench::FullSizeSpellingLesson(*english, *german), file);
  return file;
}

// The main window and the practice window of a lesson window on the
// full-size lesson, its counts done; none, and the benchmark skipped, when
// the dictionaries are missing.
struct Practice {
  static std::unique_ptr<Practice> Open(benchmark::State& state) {
    const std::string file = LessonFile();
    if (file.empty()) {
      state.SkipWithError("the en_US and de_DE dictionaries are not installed (scripts/setup.sh)");
      return nullptr;
    }
    return std::make_unique<Practice>(file);
  }
  explicit Practice(const std::string& file) : main(bench::BenchPlatform()) {
    main.show();
    form = main.OpenFile(file);
    form->MenuPractiseClick();
    window = form->Practice();
    window->FinishWork();
  }
  ~Practice() {
    form->Document().MarkSaved();
    form->close();
    Settle();
  }
  ui::MainForm main;
  ui::VocabEditForm* form = nullptr;
  ui::PracticeForm* window = nullptr;
};

void BM_PractiseFirstQuestion(benchmark::State& state) {
  const std::unique_ptr<Practice> practice = Practice::Open(state);
  if (!practice) return;
  ui::PracticeForm& window = *practice->window;
  double longest = 0;
  double slowest = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    double first = 0;
    longest = std::max(longest, LongestStall(
                                    [&] {
                                      clock.start();
                                      window.ButtonStart->click();
                                    },
                                    [&] {
                                      if (window.CurrentPage() != ui::PracticeForm::kChoosePage) return false;
                                      first = static_cast<double>(clock.nsecsElapsed()) / 1e6;
                                      return true;
                                    }));
    slowest = std::max(slowest, first);
    state.PauseTiming();
    window.FinishWork();  // the counts of the scores the round gave
    state.ResumeTiming();
  }
  state.counters["first_question_ms"] = slowest;
  state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_PractiseFirstQuestion)->Unit(benchmark::kMillisecond)->Iterations(3);

// All four directions and all words: Cancel shows while the selection runs,
// and a click on it gives the window back at once.
void BM_PractiseCancelLongSelection(benchmark::State& state) {
  const std::unique_ptr<Practice> practice = Practice::Open(state);
  if (!practice) return;
  ui::PracticeForm& window = *practice->window;
  for (QCheckBox* box : window.CheckDirection) box->setChecked(true);
  window.CheckAllWords->setChecked(true);
  window.FinishWork();
  double longest = 0;
  double cancel = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    longest = std::max(longest, LongestStall([&] { window.ButtonStart->click(); },
                                             [&] {
                                               if (!window.ButtonCancel->isVisible()) return false;
                                               clock.start();
                                               window.ButtonCancel->click();
                                               cancel = std::max(cancel, clock.nsecsElapsed() / 1e6);
                                               return true;
                                             }));
    if (window.Selecting() || window.Round()) state.SkipWithError("the selection was not cancelled");
    state.PauseTiming();
    window.FinishWork();
    state.ResumeTiming();
  }
  state.counters["cancel_ms"] = cancel;
  state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_PractiseCancelLongSelection)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return vocatrix::bench::RunEditorBenchmarks(argc, argv); }

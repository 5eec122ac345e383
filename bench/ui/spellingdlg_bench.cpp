// SPDX-License-Identifier: GPL-3.0-or-later
// The interface thread while the lesson window spell checks: the longest
// time it answers no event (its longest stall) from F7 on the full-size
// English-German lesson of bench_spelling.h until the Check spelling dialog
// lists every unknown word, and from opening a lesson whose dictionaries are
// not loaded yet until its word memos show their underlines. Goal: no stall
// over 100 ms. Needs the installed en_US and de_DE dictionaries; runs
// offscreen unless another platform is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "../bench_spelling.h"
#include "bench_platform.h"
#include "base/settings.h"
#include "core/test_util.h"
#include "files/binaryfile.h"
#include "ui/common/qtfonts.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/mainform.h"
#include "spelling/spellcheck.h"
#include "ui/spelling/spellingdlg.h"
#include "ui/spelling/spellmarks.h"

namespace {

using namespace vocatrix;

using bench::Folder;

// Runs the event loop until `done`, after `start` ran from it; gives the
// longest time between two turns of the loop, in milliseconds (negative when
// `done` did not come within a minute).
double LongestStall(const std::function<void()>& start, const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  qint64 last = clock.nsecsElapsed();
  qint64 longest = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  tick.start(0);
  QTimer::singleShot(0, start);
  while (!done()) {
    if (clock.elapsed() > 60000) return -1;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return static_cast<double>(longest) / 1e6;
}

void Settle() {
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
}

bool Underlined(const QPlainTextEdit* memo) {
  return !ui::TSpellMarks::MarksOf(memo->document()->firstBlock()).empty();
}

bool ListComplete(ui::VocabEditForm* form) { return form->SpellingDlg() && form->SpellingDlg()->Done(); }

std::optional<DictionaryFiles> English() { return bench::InstalledDictionary("en_US"); }
std::optional<DictionaryFiles> German() { return bench::InstalledDictionary("de_DE"); }

const std::string& FullSizeFile() {
  static const std::string path = [] {
    const std::string file = Folder().File("spelling.tav");
    SaveBinary(*bench::FullSizeSpellingLesson(*English(), *German()), file);
    return file;
  }();
  return path;
}

void BM_CheckSpellingLongestStall(benchmark::State& state) {
  if (!English() || !German()) {
    state.SkipWithError("the en_US and de_DE dictionaries are not installed (scripts/setup.sh)");
    return;
  }
  const std::string& file = FullSizeFile();
  ui::MainForm main(bench::BenchPlatform());
  main.show();
  double longest = 0;
  std::size_t unknown = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // A window of its own each time: the dictionaries' answers are not
    // remembered from the round before.
    ui::VocabEditForm* form = main.OpenFile(file);
    form->SelectTab(ui::VocabEditForm::kEntriesPage);
    QElapsedTimer wait;
    wait.start();
    while (!(form->Speller()->Speller(1) && form->Speller()->Speller(2)) && wait.elapsed() < 60000)
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    state.ResumeTiming();
    const double stall =
        LongestStall([form] { form->MenuCheckSpellingClick(); }, [form] { return ListComplete(form); });
    state.PauseTiming();
    if (stall < 0) state.SkipWithError("the list was not complete within a minute");
    longest = std::max(longest, stall);
    unknown = form->SpellingDlg()->Model().Words().size();
    form->Document().MarkSaved();
    form->close();
    Settle();
    state.ResumeTiming();
  }
  state.counters["longest_stall_ms"] = longest;
  state.counters["unknown_words"] = static_cast<double>(unknown);
}
BENCHMARK(BM_CheckSpellingLongestStall)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_NewLanguageLongestStall(benchmark::State& state) {
  if (!English() || !German() || !bench::InstalledDictionary("fr")) {
    state.SkipWithError("the en_US, de_DE and fr dictionaries are not installed (scripts/setup.sh)");
    return;
  }
  // English with German, or with French (Debian's hunspell-fr, the largest).
  const bool french = state.range(0) == 1;
  const std::string file = Folder().File(french ? "french.tav" : "german.tav");
  const auto lesson = test::MakeLesson("English", french ? "Fran\xE7" "ais" : "Deutsch",
                                       {test::MakeEntry(1, {"hosue"}, {french ? "mazson" : "Huas"})});
  SaveBinary(*lesson, file);
  ui::MainForm main(bench::BenchPlatform());
  main.show();
  double longest = 0;
  for (auto _ : state) {
    // Each window loads the dictionaries anew: the one before took its
    // spellers along.
    ui::VocabEditForm* form = nullptr;
    const double stall = LongestStall(
        [&] {
          form = main.OpenFile(file);
          form->SelectTab(ui::VocabEditForm::kEntriesPage);
        },
        [&] { return form && Underlined(form->MemoSynonyms) && Underlined(form->MemoTranslations); });
    state.PauseTiming();
    if (stall < 0) state.SkipWithError("no underlines within a minute");
    longest = std::max(longest, stall);
    form->close();
    Settle();
    state.ResumeTiming();
  }
  state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_NewLanguageLongestStall)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ui::InstallFontSubstitutions();
  SetProgramFilePath(Folder().File("vocatrix"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The stall meter of the lesson window on a lesson of 65535 entries: for
// each thing a user does that touches the whole lesson (open, page changes,
// reading the Text page back, find, sort, scroll, Check Spelling, Check
// Lesson, save) the
// longest time the interface thread went without handling an event, until
// the work is done. A heartbeat timer of 1 ms notes every gap; the counter
// longest_stall_ms is the longest. Runs offscreen unless another platform
// is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QScrollBar>
#include <QTableView>
#include <functional>

#include "../bench_lessons.h"
#include "../bench_spelling.h"
#include "bench_main.h"
#include "bench_platform.h"
#include "stall_meter.h"
#include "base/font.h"
#include "files/binaryfile.h"
#include "operations/entrytable.h"
#include "ui/common/qtfonts.h"
#include "ui/dialogs/finddlg.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessoncheck/checklessondlg.h"
#include "ui/spelling/spellingdlg.h"

namespace {

using namespace vocatrix;

const std::string& LessonFile() {
  static const std::string path = [] {
    std::unique_ptr<TMeanCollection> lesson = bench::FullSizeLesson();
    lesson->Language1.Font = TextToFont("Times New Roman_clNavy_12_[]");
    lesson->Language2.Font = TextToFont("Arial_clBlack_12_[Italic]");
    const std::string file = bench::Folder().File("stall.tav");
    SaveBinary(*lesson, file);
    return file;
  }();
  return path;
}

using bench::LongestStall;

// The lesson window of the full-size lesson, as large as a user makes it.
struct Window {
  ui::MainForm main{bench::BenchPlatform()};
  ui::VocabEditForm* form = nullptr;
  Window() {
    main.resize(1280, 900);
    main.show();
    form = main.OpenFile(LessonFile());
    QApplication::processEvents();
  }
  ~Window() {
    form->CompleteText();
    form->StoreControls();
    form->Document().MarkSaved();
  }
  void ToPage(int page) {
    form->SelectTab(page);
    form->CompleteText();
    QApplication::processEvents();
  }
};

void Report(benchmark::State& state, double longest) { state.counters["longest_stall_ms"] = longest; }

// A click on a page's tab, as the user changes pages.
void ClickTab(ui::VocabEditForm* form, int page) {
  const QPoint at = form->TabSet->tabRect(page).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, form->TabSet->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form->TabSet, &event);
  }
}

void BM_StallOpen(benchmark::State& state) {
  LessonFile();
  ui::MainForm main(bench::BenchPlatform());
  main.resize(1280, 900);
  main.show();
  double longest = 0;
  for (auto _ : state) {
    ui::VocabEditForm* form = nullptr;
    // As File > Open does it.
    longest = std::max(longest, LongestStall([&] { main.OpenFileLater(LessonFile()); }, [&] {
                         form = main.ActiveEditForm();
                         return form != nullptr;
                       }));
    state.PauseTiming();
    form->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  Report(state, longest);
}
BENCHMARK(BM_StallOpen)->Unit(benchmark::kMillisecond)->Iterations(2);

// Range: the page changed to, from the Header page (and back to it first).
void BM_StallPageChange(benchmark::State& state) {
  Window window;
  const int page = static_cast<int>(state.range(0));
  double longest = 0;
  for (auto _ : state) {
    longest = std::max(longest, LongestStall([&] { ClickTab(window.form, page); },
                                             [&] { return !window.form->TextFilling(); }));
    state.PauseTiming();
    window.ToPage(ui::VocabEditForm::kHeaderPage);
    state.ResumeTiming();
  }
  Report(state, longest);
}
BENCHMARK(BM_StallPageChange)->DenseRange(1, 3)->Unit(benchmark::kMillisecond)->Iterations(2);

// The Text page entered again after an edit of an entry: written anew, the
// text shown before let go.
void BM_StallTextPageAfterAnEdit(benchmark::State& state) {
  Window window;
  window.ToPage(ui::VocabEditForm::kTextPage);
  double longest = 0;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window.ToPage(ui::VocabEditForm::kEntriesPage);
    window.form->MemoSynonyms->setPlainText(QString("edit%1").arg(++round));
    window.ToPage(ui::VocabEditForm::kHeaderPage);
    state.ResumeTiming();
    longest = std::max(longest, LongestStall([&] { ClickTab(window.form, ui::VocabEditForm::kTextPage); },
                                             [&] { return !window.form->TextFilling(); }));
  }
  Report(state, longest);
}
BENCHMARK(BM_StallTextPageAfterAnEdit)->Unit(benchmark::kMillisecond)->Iterations(2);

// The Text page read back into the lesson after an edit.
void BM_StallCompileBack(benchmark::State& state) {
  Window window;
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window.ToPage(ui::VocabEditForm::kTextPage);
    // An edit of the title line: the lesson already holds as many entries as a file can.
    window.form->MemoText->moveCursor(QTextCursor::Start);
    window.form->MemoText->moveCursor(QTextCursor::EndOfLine);
    window.form->MemoText->insertPlainText("x");
    state.ResumeTiming();
    longest = std::max(longest, LongestStall([&] { ClickTab(window.form, ui::VocabEditForm::kHeaderPage); },
                                             [&] { return window.form->CurrentPage() == ui::VocabEditForm::kHeaderPage; }));
  }
  Report(state, longest);
}
BENCHMARK(BM_StallCompileBack)->Unit(benchmark::kMillisecond)->Iterations(2);

// Find a word of the last entry from the first, on the Entries page.
void BM_StallFind(benchmark::State& state) {
  Window window;
  window.ToPage(ui::VocabEditForm::kEntriesPage);
  window.main.FindDlg()->EditFind->setText("Haus65534");
  double longest = 0;
  for (auto _ : state) {
    window.form->Document().SetEntry(0);
    longest = std::max(longest, LongestStall([&] { window.form->FindNext(false); }, [] { return true; }));
  }
  Report(state, longest);
}
BENCHMARK(BM_StallFind)->Unit(benchmark::kMillisecond)->Iterations(3);

// Range 0: the table view sorted by a word column; 1: the lesson sorted by it.
void BM_StallSort(benchmark::State& state) {
  Window window;
  window.ToPage(ui::VocabEditForm::kTablePage);
  const bool lesson = state.range(0) == 1;
  double longest = 0;
  Qt::SortOrder order = Qt::DescendingOrder;
  for (auto _ : state) {
    order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    const unsigned long revision = window.form->Document().Revision();
    longest = std::max(longest, LongestStall(
                                    [&] {
                                      if (lesson) window.form->TableSortLessonClick(kColumnTranslations);
                                      else window.form->TableView->sortByColumn(kColumnTranslations, order);
                                    },
                                    [&] { return revision != window.form->Document().Revision() || !lesson; }));
  }
  Report(state, longest);
}
BENCHMARK(BM_StallSort)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// Page steps through the table, top to bottom.
void BM_StallScroll(benchmark::State& state) {
  Window window;
  window.ToPage(ui::VocabEditForm::kTablePage);
  QScrollBar* bar = window.form->TableView->verticalScrollBar();
  double longest = 0;
  if (bar->maximum() < 1000) state.SkipWithError("the table does not scroll");
  for (auto _ : state) {
    bar->setValue(0);
    longest = std::max(longest, LongestStall(
                                    [&] {
                                      for (int i = 0; i < 200 && bar->value() < bar->maximum(); ++i) {
                                        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
                                        window.form->TableView->viewport()->repaint();
                                        QApplication::processEvents();
                                      }
                                    },
                                    [] { return true; }));
  }
  Report(state, longest);
}
BENCHMARK(BM_StallScroll)->Unit(benchmark::kMillisecond)->Iterations(1);

// Extras > Check Spelling on the full-size lesson of dictionary words,
// until its list is complete; the dictionaries loaded before, a window of its
// own each time (the spellers remember no answers from the round before).
void BM_StallCheckSpelling(benchmark::State& state) {
  const std::optional<DictionaryFiles> english = bench::InstalledDictionary("en_US");
  const std::optional<DictionaryFiles> german = bench::InstalledDictionary("de_DE");
  if (!english || !german) {
    state.SkipWithError("the en_US and de_DE dictionaries are not installed (scripts/setup.sh)");
    return;
  }
  const std::string file = bench::Folder().File("spelling.tav");
  SaveBinary(*bench::FullSizeSpellingLesson(*english, *german), file);
  ui::MainForm main(bench::BenchPlatform());
  main.resize(1280, 900);
  main.show();
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ui::VocabEditForm* form = main.OpenFile(file);
    form->SelectTab(ui::VocabEditForm::kEntriesPage);
    LongestStall([] {}, [form] { return form->Speller()->Speller(1) && form->Speller()->Speller(2); });
    state.ResumeTiming();
    longest = std::max(longest, LongestStall([form] { form->MenuCheckSpellingClick(); },
                                             [form] { return form->SpellingDlg() && form->SpellingDlg()->Done(); }));
    state.PauseTiming();
    form->Document().MarkSaved();
    form->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  Report(state, longest);
}
BENCHMARK(BM_StallCheckSpelling)->Unit(benchmark::kMillisecond)->Iterations(2);

// Extras > Check Lesson on the full-size lesson of dictionary words, until
// its list is complete.
void BM_StallCheckLesson(benchmark::State& state) {
  const std::optional<DictionaryFiles> english = bench::InstalledDictionary("en_US");
  const std::optional<DictionaryFiles> german = bench::InstalledDictionary("de_DE");
  if (!english || !german) {
    state.SkipWithError("the en_US and de_DE dictionaries are not installed (scripts/setup.sh)");
    return;
  }
  const std::string file = bench::Folder().File("check.tav");
  SaveBinary(*bench::FullSizeSpellingLesson(*english, *german), file);
  ui::MainForm main(bench::BenchPlatform());
  main.resize(1280, 900);
  main.show();
  ui::VocabEditForm* form = main.OpenFile(file);
  form->SelectTab(ui::VocabEditForm::kEntriesPage);
  QApplication::processEvents();
  double longest = 0;
  for (auto _ : state)
    longest = std::max(longest, LongestStall([form] { form->MenuCheckLessonClick(); }, [form] {
                         return form->CheckLessonDlg() && form->CheckLessonDlg()->Done();
                       }));
  form->Document().MarkSaved();
  Report(state, longest);
}
BENCHMARK(BM_StallCheckLesson)->Unit(benchmark::kMillisecond)->Iterations(2);

// Save after an edit, until the lesson is saved.
void BM_StallSave(benchmark::State& state) {
  Window window;
  window.ToPage(ui::VocabEditForm::kEntriesPage);
  double longest = 0;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window.form->MemoSynonyms->setPlainText(QString("edit%1").arg(++round));
    state.ResumeTiming();
    longest = std::max(longest, LongestStall([&] { window.form->MenuSaveClick(); },
                                             [&] { return !window.form->HasUnsavedChanges(); }));
  }
  Report(state, longest);
}
BENCHMARK(BM_StallSave)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return vocatrix::bench::RunEditorBenchmarks(argc, argv); }

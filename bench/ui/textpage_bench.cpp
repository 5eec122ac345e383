// SPDX-License-Identifier: GPL-3.0-or-later
// The Text page's speed on lessons of 65535 entries (131081 and 262151 lines
// of lesson text): filling the page with the lesson in the language fonts,
// compiling it back into the lesson, and choosing the typing font at the end
// of the text. Runs offscreen unless another platform is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "bench_main.h"
#include "bench_platform.h"
#include "core/test_util.h"
#include "files/binaryfile.h"
#include "base/settings.h"
#include "ui/textview/lessontextview.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/spelling/spellmarks.h"
#include "ui/common/qtfonts.h"
#include "ui/textview/textprint.h"
#include "ui/dialogs/finddlg.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace {

using namespace vocatrix;

using bench::Folder;

// A lesson file of 65535 entries with distinct words, each language in its
// own font, made once per shape:
//  0: a word, a synonym and a translation per entry: 2 lines of lesson text
//     per entry, 131081 lines in all;
//  1: a word, a synonym, a translation and an antonym per entry: 4 lines per
//     entry, 262151 lines in all;
//  2: as 0, with letters in place of the entry's number ("wordbaa"), so
//     that a speller checks every word (it leaves words with digits alone).
const std::string& LargeLesson(int shape) {
  static std::string paths[3];
  std::string& path = paths[shape];
  if (path.empty()) {
    auto lesson = TMeanCollection::CreateEmpty();
    lesson->Language1.Name = "English";
    lesson->Language2.Name = "Deutsch";
    lesson->Language2.Font = TextToFont("Times New Roman_clNavy_12_[Italic]");
    lesson->Meanings->DeleteAll();
    for (int i = 0; i < 65535; ++i) {
      std::string n;
      if (shape == 2)
        for (int k = i + 26 * 26; k > 0; k /= 26) n += static_cast<char>('a' + k % 26);
      else
        n = std::to_string(i);
      std::vector<std::string> antonyms;
      if (shape == 1) antonyms.push_back("antonym" + n);
      lesson->Meanings->Insert(test::MakeEntry(static_cast<std::uint8_t>(i % 5), {"word" + n, "synonym" + n},
                                               {"Wort" + n}, antonyms));
    }
    path = Folder().File("large" + std::to_string(shape) + ".tav");
    SaveBinary(*lesson, path);
  }
  return path;
}

// The window of a large lesson, shown on its Header page.
struct LargeWindow {
  ui::MainForm main{bench::BenchPlatform()};
  ui::VocabEditForm* form = nullptr;
  explicit LargeWindow(int shape) {
    main.show();
    form = main.OpenFile(LargeLesson(shape));
    QApplication::processEvents();
  }
  ~LargeWindow() {
    form->StoreControls();
    form->Document().MarkSaved();
  }
};

// Header page to Text page: the lesson written as text, in the language
// fonts, and shown. Arg 1 = 0: until the page shows its first lines (the
// rest fills in from the event loop while the user reads); 1: until the
// whole text is in.
void BM_FillTextPage65535Entries(benchmark::State& state) {
  LargeWindow window(static_cast<int>(state.range(0)));
  const bool whole = state.range(1) == 1;
  const int lines = static_cast<int>(window.form->Lesson().ToLines().size());
  for (auto _ : state) {
    window.form->SelectTab(ui::VocabEditForm::kTextPage);
    QApplication::processEvents();  // laid out and painted
    while (whole && window.form->TextFilling()) QApplication::processEvents();
    state.PauseTiming();
    window.form->CompleteText();
    if (window.form->MemoText->document()->blockCount() != lines) {
      state.SkipWithError("text not filled");
      break;
    }
    window.form->SelectTab(ui::VocabEditForm::kHeaderPage);
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["lines"] = lines;
}
BENCHMARK(BM_FillTextPage65535Entries)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// Text page to Header page after an edit of the title line: the text
// parsed strictly into a new lesson, compacted and shown (the window's own
// page change, which waits for it).
void BM_CompileTextPage65535Entries(benchmark::State& state) {
  LargeWindow window(static_cast<int>(state.range(0)));
  const int lines = static_cast<int>(window.form->Lesson().ToLines().size());
  for (auto _ : state) {
    state.PauseTiming();
    window.form->SelectTab(ui::VocabEditForm::kTextPage);
    window.form->CompleteText();
    window.form->MemoText->moveCursor(QTextCursor::Start);
    window.form->MemoText->moveCursor(QTextCursor::EndOfLine);
    window.form->MemoText->insertPlainText("x");
    QApplication::processEvents();
    state.ResumeTiming();
    window.form->SelectTab(ui::VocabEditForm::kHeaderPage);
    QApplication::processEvents();
    state.PauseTiming();
    if (window.form->CurrentPage() != ui::VocabEditForm::kHeaderPage || window.form->Lesson().EntryCount() != 65535) {
      state.SkipWithError("text not compiled");
      break;
    }
    state.ResumeTiming();
  }
  state.counters["lines"] = lines;
}
BENCHMARK(BM_CompileTextPage65535Entries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One key typed on the last entry line of the first language section, the
// farthest from the "Sp:" line above it (65536 lines up): the typing font is
// chosen from that line. Arg 0: the window's key handler, which asks the
// kept index of "Sp:" lines; arg 1: walking back line by line, as a reference.
void BM_TypingFontAtTheEndOf65535Entries(benchmark::State& state) {
  LargeWindow window(0);
  window.form->SelectTab(ui::VocabEditForm::kTextPage);
  window.form->CompleteText();
  QApplication::processEvents();
  ui::TMemoText* memo = window.form->MemoText;
  QTextBlock block = memo->document()->firstBlock();
  int languageLines = 0;
  while (block.isValid() && !(block.text().startsWith("Sp:") && ++languageLines == 2)) block = block.next();
  const QTextBlock line = block.previous().previous();  // before the empty line above
  QTextCursor cursor(line);
  cursor.movePosition(QTextCursor::EndOfBlock);
  memo->setTextCursor(cursor);
  const int position = cursor.position();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  const bool walk = state.range(0) == 1;
  if (!walk) window.form->MemoTextKeyDown(&key);  // the index is made on the first key
  for (auto _ : state) {
    if (walk) {
      benchmark::DoNotOptimize(ui::LanguageLineAbove(memo->document(), position));
    } else {
      window.form->MemoTextKeyDown(&key);
    }
  }
  state.counters["lines above"] = line.blockNumber();
}
BENCHMARK(BM_TypingFontAtTheEndOf65535Entries)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One "Find next" on the Text page of the 131081-line lesson, from its
// start: arg 0, a text on the last line (the whole text searched); arg 1, a
// text found nowhere (searched twice, going round).
void BM_FindOnTheTextPage(benchmark::State& state) {
  LargeWindow window(0);
  window.form->SelectTab(ui::VocabEditForm::kTextPage);
  window.form->CompleteText();
  QApplication::processEvents();
  window.main.FindDlg()->EditFind->setText(state.range(0) == 0 ? "Wort65534" : "nowhere");
  bool found = false;
  for (auto _ : state) {
    window.form->MemoText->moveCursor(QTextCursor::Start);
    found = window.form->FindNext(false);
  }
  if (found != (state.range(0) == 0)) state.SkipWithError("wrong result");
}
BENCHMARK(BM_FindOnTheTextPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The Text page of the 131081-line lesson printed to a PDF file at the
// printer's high resolution: about 2,000 pages. Arg: the pages printed (0: all).
// The CPU time is the whole program's: the layout's worker thread counts.
void BM_PrintTextPage65535Entries(benchmark::State& state) {
  LargeWindow window(0);
  window.form->SelectTab(ui::VocabEditForm::kTextPage);
  window.form->CompleteText();
  QApplication::processEvents();
  int pages = 0;
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(Folder().File("print.pdf")));
    if (state.range(0) > 0) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(1, static_cast<int>(state.range(0)));
    }
    pages = ui::PrintDocument(*window.form->MemoText->document(), printer);
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintTextPage65535Entries)
    ->Arg(0)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime();

}  // namespace

// Spell checking the Text page of a 65535-entry lesson (shape 2) with the
// installed dictionaries (the window's English and German): the page filled
// and every line checked in slices from the event loop. Counters: the
// longest slice of checking the event loop ran (the interface thread is
// blocked for that long at most) and the time of one typed character on a
// line, which is checked at once. Nearly all its words are distinct and
// unknown to the dictionaries, the slowest case.
void BM_SpellCheckTextPage65535Entries(benchmark::State& state) {
  LargeWindow window(2);
  double longest = 0;
  double typing = 0;
  for (auto _ : state) {
    window.form->SelectTab(ui::VocabEditForm::kTextPage);
    const QTextDocument* document = window.form->MemoText->document();
    const ui::TSpellMarks* marks = ui::TSpellMarks::Of(document);
    if (!marks) {
      state.SkipWithError("no spell marks");
      break;
    }
    while (window.form->TextFilling() || marks->Pending()) QApplication::processEvents();
    state.PauseTiming();
    longest = std::max(longest, marks->LongestSlice());
    QTextCursor cursor(document->findBlockByNumber(document->blockCount() / 2));
    QElapsedTimer clock;
    clock.start();
    cursor.insertText("x");
    typing = std::max(typing, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    window.form->SelectTab(ui::VocabEditForm::kHeaderPage);
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["longest_slice_ms"] = longest;
  state.counters["typed_key_ms"] = typing;
}
BENCHMARK(BM_SpellCheckTextPage65535Entries)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) { return vocatrix::bench::RunEditorBenchmarks(argc, argv); }

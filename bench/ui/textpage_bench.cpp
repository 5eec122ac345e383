// The Text page's speed on a lesson of 65535 entries (262151 lines of lesson
// text): filling the page with the lesson in the language fonts, and
// compiling it back into the lesson. Runs offscreen unless another platform
// is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextDocument>

#include "bench_platform.h"
#include "core/test_util.h"
#include "files/binaryfile.h"
#include "files/settings.h"
#include "ui/mainform.h"
#include "ui/memotext.h"
#include "ui/qtfonts.h"
#include "ui/vocabeditform.h"

namespace {

using namespace vocatrix;

bench::NoDialogs dialogs;
bench::Silence sound;
bench::NoFonts fonts;
const ui::Platform platform{dialogs, sound, fonts};

test::TempDir& Folder() {
  static test::TempDir folder;
  return folder;
}

// A lesson file of 65535 entries with distinct words, each language in its
// own font, made once.
const std::string& LargeLesson() {
  static const std::string path = [] {
    auto lesson = TMeanCollection::CreateEmpty();
    lesson->Language1.Name = "English";
    lesson->Language2.Name = "Deutsch";
    lesson->Language2.Font = TextToFont("Times New Roman_clNavy_12_[Italic]");
    lesson->Meanings->DeleteAll();
    for (int i = 0; i < 65535; ++i) {
      const std::string n = std::to_string(i);
      lesson->Meanings->Insert(test::MakeEntry(static_cast<std::uint8_t>(i % 5), {"word" + n, "synonym" + n},
                                               {"Wort" + n}, {"antonym" + n}));
    }
    const std::string file = Folder().File("large.tav");
    SaveBinary(*lesson, file);
    return file;
  }();
  return path;
}

// The window of the large lesson, shown on its Header page.
struct LargeWindow {
  ui::MainForm main{platform};
  ui::VocabEditForm* form = nullptr;
  LargeWindow() {
    main.show();
    form = main.OpenFile(LargeLesson());
    QApplication::processEvents();
  }
  ~LargeWindow() { form->Lesson().Modified = false; }
};

// Header page to Text page: the lesson written as text, in the language
// fonts, and shown.
void BM_FillTextPage65535Entries(benchmark::State& state) {
  LargeWindow window;
  for (auto _ : state) {
    window.form->SelectTab(ui::VocabEditForm::kTextPage);
    QApplication::processEvents();  // laid out and painted
    state.PauseTiming();
    if (window.form->MemoText->document()->blockCount() < 262140) {
      state.SkipWithError("text not filled");
      break;
    }
    window.form->SelectTab(ui::VocabEditForm::kHeaderPage);
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FillTextPage65535Entries)->Unit(benchmark::kMillisecond);

// Text page to Header page: the text parsed strictly into a new lesson,
// compacted and shown.
void BM_CompileTextPage65535Entries(benchmark::State& state) {
  LargeWindow window;
  for (auto _ : state) {
    state.PauseTiming();
    window.form->SelectTab(ui::VocabEditForm::kTextPage);
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
}
BENCHMARK(BM_CompileTextPage65535Entries)->Unit(benchmark::kMillisecond);

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

// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the Text page, into PDF files read back with the poppler tools.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextLayout>
#include <cstdio>
#include <functional>
#include <memory>

#include "base/safesave.h"
#include "textpage_fixture.h"
#include "ui/common/qtfonts.h"
#include "ui/textwindow/editform.h"
#include "ui/textview/textprint.h"

namespace vocatrix::test {
namespace {

using ui::MessageKind;
using ui::VocabEditForm;

// The standard output of a shell command.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

// The value of a "Key: value" line of pdfinfo's report.
QString PdfInfo(const std::string& pdf, const QString& key) {
  const QString info = QString::fromStdString(Output("pdfinfo '" + pdf + "' 2>/dev/null"));
  for (const QString& line : info.split('\n'))
    if (line.startsWith(key + ":")) return line.mid(key.size() + 1).trimmed();
  return {};
}

int PdfPages(const std::string& pdf) { return PdfInfo(pdf, "Pages").toInt(); }

// The text lines of one page, blanks and tabs collapsed, empty lines dropped.
std::string Text(const QStringList& lines) { return lines.join('\n').toStdString(); }
QStringList PdfLines(const std::string& pdf, int page) {
  const std::string p = std::to_string(page);
  const QString text =
      QString::fromStdString(Output("pdftotext -layout -f " + p + " -l " + p + " '" + pdf + "' - 2>/dev/null"));
  QStringList lines;
  for (QString line : text.split(QRegularExpression("[\n\f]"))) {
    line = line.simplified();
    if (!line.isEmpty()) lines << line;
  }
  return lines;
}

class PrintTest : public TextPageTest {
 protected:
  VocabEditForm* OpenAnimals(const std::string& title) {
    auto lesson = MakeLesson("English", "Deutsch",
                             {MakeEntry(1, {"dog"}, {"Hund"}), MakeEntry(1, {"cat"}, {"Katze"}, {"mouse"})});
    lesson->Title = title;
    lesson->Language1.Font = TextToFont("Times New Roman_clBlack_12_[]");
    lesson->Language2.Font = TextToFont("Arial_clBlack_12_[Italic]");
    SaveBinary(*lesson, File("animals.tav"));
    return Open(File("animals.tav"));
  }
  // Types numbered lines onto the Text page; returns them.
  static QStringList TypeLines(VocabEditForm* form, int count) {
    form->SelectTab(VocabEditForm::kTextPage);
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines << QString("line %1 - Zeile %1").arg(i);
    TypeText(form, lines.join('\n'));
    return lines;
  }
  void AnswerPrintDialog(const std::optional<std::string>& pdf) {
    platform_.Dialogs.PrintAnswers.push_back(pdf ? std::optional<QString>(ui::FileNameToQString(*pdf))
                                                 : std::nullopt);
  }
};

TEST_F(PrintTest, PrintingFromTheEntriesPageSwitchesToTheTextPageAndPrintsItsText) {
  VocabEditForm* form = OpenAnimals("Animals");
  form->SelectTab(VocabEditForm::kEntriesPage);
  Discard(form);
  const std::string pdf = File("animals.pdf");
  AnswerPrintDialog(pdf);
  form->MenuPrintClick();
  EXPECT_EQ(platform_.Dialogs.PrintDialogs, 1);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  ASSERT_TRUE(FileExists(pdf));
  EXPECT_EQ(PdfPages(pdf), 1);
  EXPECT_EQ(PdfInfo(pdf, "Title"), "Animals");
  // The page's text, line by line (empty lines are not printed as text).
  QStringList shown;
  for (const QString& line : PageText(form).split('\n'))
    if (!line.simplified().isEmpty()) shown << line.simplified();
  EXPECT_EQ(Text(PdfLines(pdf, 1)), Text(shown));
  EXPECT_TRUE(shown.contains("cat (s.) - Katze"));
  // In the language fonts and the memo font.
  const std::string fonts = Output("pdffonts '" + pdf + "' 2>/dev/null");
  for (const char* face : {"LiberationSerif", "LiberationSans-Italic", "LiberationMono"})
    EXPECT_NE(fonts.find(face), std::string::npos) << face << "\n" << fonts;
  // Printing leaves the lesson alone.
  EXPECT_FALSE(form->HasUnsavedChanges());
}

TEST_F(PrintTest, CancelledDialogPrintsNothingAndStaysOnThePage) {
  VocabEditForm* form = OpenAnimals("");
  form->SelectTab(VocabEditForm::kEntriesPage);
  AnswerPrintDialog(std::nullopt);
  form->MenuPrintClick();
  EXPECT_EQ(platform_.Dialogs.PrintDialogs, 1);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage);
  Discard(form);
}

TEST_F(PrintTest, WithoutAPrinterAWarningComesAndPrintingToAFileRemains) {
  VocabEditForm* form = OpenAnimals("");
  platform_.Dialogs.Printers = false;
  const std::string pdf = File("untitled.pdf");
  AnswerPrintDialog(pdf);
  form->MenuPrintClick();
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning),
            (std::vector<QString>{"No printer is installed. You can still print to a PDF file."}));
  EXPECT_EQ(platform_.Dialogs.PrintDialogs, 1);
  // The file offered is the lesson's own name in its folder, not print.pdf at home.
  EXPECT_EQ(platform_.Dialogs.OfferedPrintFile.toStdString(),
            form->FileName().substr(0, form->FileName().rfind('.')) + ".pdf");
  EXPECT_EQ(PdfPages(pdf), 1);
  // A lesson without a title gives a job without one.
  EXPECT_EQ(PdfInfo(pdf, "Title"), "");
  Discard(form);
}

TEST_F(PrintTest, TextWithAFaultyLineIsPrintedAsItStands) {
  VocabEditForm* form = OpenAnimals("Animals");
  form->SelectTab(VocabEditForm::kTextPage);
  TypeText(form, "Sp: English - Deutsch\ndog - Hund\nthis line has no marker");
  const std::string pdf = File("faulty.pdf");
  AnswerPrintDialog(pdf);
  // The tool bar's button acts on the active window.
  Main().ClientArea()->setActiveSubWindow(form);
  Main().PrintBtnClick();
  EXPECT_EQ(Text(PdfLines(pdf, 1)), "Sp: English - Deutsch\ndog - Hund\nthis line has no marker");
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  Discard(form);
}

TEST_F(PrintTest, LongTextFillsConsecutivePagesToTheBottom) {
  VocabEditForm* form = Main().NewChild();
  const QStringList lines = TypeLines(form, 200);
  const std::string pdf = File("long.pdf");
  AnswerPrintDialog(pdf);
  form->MenuPrintClick();

  const int pages = PdfPages(pdf);
  ASSERT_GE(pages, 2);
  QStringList printed;
  std::vector<int> perPage;
  for (int page = 1; page <= pages; ++page) {
    const QStringList onPage = PdfLines(pdf, page);
    perPage.push_back(static_cast<int>(onPage.size()));
    printed << onPage;
  }
  // Every line once, in order.
  EXPECT_EQ(Text(printed), Text(lines));
  // Full pages hold the same number of lines, as many as fit the printable
  // area: at least its height over the font's line spacing, at most its
  // height over the font's height.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const double pageHeight = printer.pageRect(QPrinter::DevicePixel).height();
  const QFontMetricsF metrics(form->MemoText->font(), &printer);
  for (int page = 0; page + 1 < pages; ++page) EXPECT_EQ(perPage[page], perPage[0]) << page;
  EXPECT_LE(perPage.back(), perPage[0]);
  EXPECT_GE(perPage[0], static_cast<int>(pageHeight / metrics.lineSpacing()));
  EXPECT_LE(perPage[0], static_cast<int>(pageHeight / metrics.height()));
  Discard(form);
}

TEST_F(PrintTest, ThePageRangeIsHonouredAndPagesShowTheirProgressWithTheWaitCursor) {
  VocabEditForm* form = Main().NewChild();
  TypeLines(form, 300);
  const std::string all = File("all.pdf");
  AnswerPrintDialog(all);
  form->MenuPrintClick();
  ASSERT_GE(PdfPages(all), 4);

  struct Seen {
    QString word;
    bool barShown;
    bool waiting;
  };
  std::vector<Seen> seen;
  QProgressBar* bar = Main().ProgressBar();
  QObject::connect(bar, &QProgressBar::valueChanged, form, [&] {
    const QCursor* cursor = QApplication::overrideCursor();
    seen.push_back({Panel(0), bar->isVisible(), cursor && cursor->shape() == Qt::WaitCursor});
  });
  const std::string range = File("range.pdf");
  platform_.Dialogs.PrintPages = {2, 3};
  AnswerPrintDialog(range);
  form->MenuPrintClick();
  EXPECT_EQ(PdfPages(range), 2);
  EXPECT_EQ(Text(PdfLines(range, 1)), Text(PdfLines(all, 2)));
  EXPECT_EQ(Text(PdfLines(range, 2)), Text(PdfLines(all, 3)));
  ASSERT_GE(seen.size(), 2u);
  for (const Seen& s : seen) {
    EXPECT_EQ(s.word, "Printing");
    EXPECT_TRUE(s.barShown);
    EXPECT_TRUE(s.waiting);
  }
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  EXPECT_FALSE(bar->isVisible());

  // A range past the last page prints nothing and says why.
  platform_.Dialogs.PrintPages = {40, 50};
  const std::string none = File("none.pdf");
  AnswerPrintDialog(none);
  form->MenuPrintClick();
  EXPECT_FALSE(FileExists(none));
  const std::vector<QString> errors = platform_.Dialogs.TextsOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].endsWith("there is no page 40 to print.")) << errors[0].toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  Discard(form);
}

// Qt's own page layout of a copy of `document` for `printer`: the top of
// each line, block by block, and the number of pages; with `pdf`, the pages
// printed through it into that file.
struct QtPages {
  std::vector<qreal> tops;
  int count = 0;
};
QtPages PrintThroughQtPageLayout(const QTextDocument& document, QPrinter& printer, const QString& pdf) {
  const std::unique_ptr<QTextDocument> pages(document.clone());
  pages->documentLayout()->setPaintDevice(&printer);
  pages->setDocumentMargin(0);
  QTextOption option = pages->defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  pages->setDefaultTextOption(option);
  const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
  pages->setPageSize(page);
  QtPages result;
  result.count = pages->pageCount();
  for (QTextBlock block = pages->begin(); block.isValid(); block = block.next())
    for (int i = 0; i < block.layout()->lineCount(); ++i)
      result.tops.push_back(block.layout()->position().y() + block.layout()->lineAt(i).y());
  printer.setOutputFileName(pdf);
  QPainter painter(&printer);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, Qt::black);
  for (int number = 1; number <= result.count; ++number) {
    if (number > 1) printer.newPage();
    const QRectF shown(0, (number - 1) * page.height(), page.width(), page.height());
    painter.save();
    painter.translate(0, -shown.top());
    painter.setClipRect(shown);
    context.clip = shown.adjusted(0, 1, 0, -1);
    pages->documentLayout()->draw(&painter, context);
    painter.restore();
  }
  return result;
}

// The streams of a PDF file, inflated: the drawing of each page and the
// embedded fonts; not the metadata, which holds the time of printing.
std::vector<QByteArray> PdfStreams(const std::string& pdf) {
  QFile file(ui::FileNameToQString(pdf));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  std::vector<QByteArray> streams;
  for (qsizetype at = data.indexOf("stream\n"); at >= 0; at = data.indexOf("stream\n", at)) {
    at += 7;
    const qsizetype end = data.indexOf("endstream", at);
    QByteArray stream = data.mid(at, end - at);
    const qsizetype object = data.lastIndexOf(" obj", at);
    // qUncompress wants the inflated size first; a guess of 1 grows.
    if (data.mid(object, at - object).contains("/FlateDecode"))
      stream = qUncompress(QByteArray("\0\0\0\1", 4) + stream);
    if (!stream.contains("xmpmeta")) streams.push_back(stream);
    at = end + 9;
  }
  return streams;
}

TEST_F(PrintTest, PagesMatchQtsPageLayoutLineForLine) {
  const TFont memo = DefaultMemoFont();
  TLanguage english, deutsch;
  english.Name = "English";
  deutsch.Name = "Deutsch";
  english.Font = TextToFont("Arial_clBlack_10_[]");
  deutsch.Font = TextToFont("Times New Roman_clNavy_12_[Italic]");
  const auto lesson = [&](int entries) {
    std::vector<std::string> lines{"Sp: English - Deutsch", ""};
    for (int i = 0; i < entries; ++i) {
      const std::string n = std::to_string(i);
      lines.push_back("word" + n + ", synonym" + n + " = Wort" + n + " (v.)");
      if (i % 9 == 0) lines.push_back("");
    }
    return lines;
  };
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::function<void(QTextCursor&)> more;  // added at the end
  };
  const Case cases[] = {
      {"lesson text over pages", lesson(170), nullptr},
      {"wrapped, tabbed, other scripts, separators, a line taller than a page", lesson(40),
       [](QTextCursor& cursor) {
         QString wrapped;
         for (int k = 0; k < 40; ++k) wrapped += QString(" long%1word").arg(k);
         cursor.insertText("\n" + wrapped + "\n" + QString(300, 'x') + "\ntab\there\tand\tthere\n");
         cursor.insertText(QString::fromUtf8("שלום עולם hello\nΑλφα βήτα\nline\u2028\u2028with separators\n"));
         QTextCharFormat big;
         big.setFontPointSize(40);
         cursor.insertText("BIG", big);
         cursor.insertText("\n");
         cursor.setBlockCharFormat(big);  // an empty line in the big font
         cursor.insertText("\n");
         QTextCharFormat huge;
         huge.setFontPointSize(1000);
         cursor.insertText("H", huge);
         cursor.insertText("\nafter", QTextCharFormat());
       }},
      {"one empty line", {""}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<QTextDocument> document(ui::NewTextDocument(c.lines, ui::ToQFont(memo), nullptr));
    ui::ShowLessonTextFonts(document.get(), c.lines, english, deutsch, memo);
    if (c.more) {
      QTextCursor cursor(document.get());
      cursor.movePosition(QTextCursor::End);
      c.more(cursor);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string qt = File("qt.pdf");
    const QtPages expected = PrintThroughQtPageLayout(*document, printer, ui::FileNameToQString(qt));
    EXPECT_EQ(ui::PrintedLineTops(*document, printer), expected.tops);
    const std::string pdf = File("printed.pdf");
    printer.setOutputFileName(ui::FileNameToQString(pdf));
    EXPECT_EQ(ui::PrintDocument(*document, printer), expected.count);
    const std::vector<QByteArray> streams = PdfStreams(pdf);
    EXPECT_FALSE(streams.empty());
    EXPECT_TRUE(streams == PdfStreams(qt));
  }
}

TEST_F(PrintTest, TheTextWindowPrintsItsLinesAndKeepsItsPrinterSetUp) {
  ui::TEditForm* form = Main().NewTextWindow();
  form->AddLines({"first line of the catalogue", "second line"});
  form->PrintSetup1Click();
  EXPECT_EQ(platform_.Dialogs.PrinterSetups, 1);
  const std::string pdf = File("text.pdf");
  AnswerPrintDialog(pdf);
  form->Print1Click();
  EXPECT_EQ(Text(PdfLines(pdf, 1)), "first line of the catalogue\nsecond line");
  const std::string fonts = Output("pdffonts '" + pdf + "' 2>/dev/null");
  EXPECT_NE(fonts.find("LiberationMono"), std::string::npos) << fonts;  // its Courier New
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
}

TEST_F(PrintTest, PrinterThatCannotBeOpenedIsReported) {
  VocabEditForm* form = OpenAnimals("Animals");
  AnswerPrintDialog(File("no-such-folder/out.pdf"));
  form->MenuPrintClick();
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error),
            (std::vector<QString>{ui::FileNameToQString("Cannot print to '" + File("no-such-folder/out.pdf") + "'.")}));
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test

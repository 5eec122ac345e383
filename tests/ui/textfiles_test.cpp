// SPDX-License-Identifier: GPL-3.0-or-later
// Text and rich-text files on the Text page: opening them, saving them back,
// and saving the page to a lesson file.

#include "files/lessonfiles.h"
#include "files/rtf/rtf.h"
#include "base/safesave.h"
#include "textpage_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::MessageKind;
using ui::VocabEditForm;

// As a word processor writes it: generator group, font and colour tables,
// character and paragraph formats, a Unicode escape with its fallback.
const std::string kWordProcessorRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang1031\\f0\\fs20 Ti: Lektion\\par\r\n"
    "Sp: Deutsch - English\\par\r\n"
    "\\b Stra\\'dfe\\b0  - \\cf1\\i street\\cf0\\i0\\par\r\n"
    "\\f1\\fs28 caf\\'e9 - caf\\u233?\\par\r\n"
    "\\cf2\\ul\\strike Hund\\ulnone\\strike0  - dog\\cf0\\par\r\n"
    "}\r\n";

class TextFilesTest : public TextPageTest {};

TEST_F(TextFilesTest, PlainTextFileOpensOnTheTextPageAndSavesBackWithABackup) {
  const std::string original = "Ti: Notes\r\nSp: English - Deutsch\r\nhouse - Haus\r\n\xE4rger - anger\r\n";
  WriteFile(File("notes.txt"), original);
  VocabEditForm* form = Open(File("notes.txt"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_EQ(form->windowTitle(), "notes.txt");
  EXPECT_EQ(PageText(form), QString("Ti: Notes\nSp: English - Deutsch\nhouse - Haus\n\u00E4rger - anger"));
  EXPECT_EQ(form->MemoText->textCursor().position(), 0);
  EXPECT_FALSE(form->HasUnsavedChanges());
  EXPECT_FALSE(form->ControlsChanged());
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  // Plain text is shown in the memo font.
  EXPECT_EQ(FormatAt(form, 2, 0).Face, FormatOf(VocabEditForm::MemoFont()).Face);

  // Closing without an edit asks nothing; an edit of the text is an edit.
  QTextCursor end(form->MemoText->document());
  end.movePosition(QTextCursor::End);
  end.insertText("\ngo - gehen");
  EXPECT_TRUE(form->HasUnsavedChanges());
  ASSERT_TRUE(form->MenuSaveClick());
  EXPECT_FALSE(form->HasUnsavedChanges());
  EXPECT_EQ(ReadFile(File("notes.txt")), original + "go - gehen\r\n");
  EXPECT_EQ(ReadFile(File("notes.BAK")), original);
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  EXPECT_TRUE(platform_.Dialogs.FileDialogs.empty());
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);

  // Saving from the Header page writes the page compiled and written anew.
  form->SelectTab(VocabEditForm::kHeaderPage);
  ASSERT_TRUE(form->MenuSaveClick());
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_EQ(ReadFile(File("notes.txt")), TextFileImage(form->Lesson().ToLines()));
  EXPECT_EQ(ReadFile(File("notes.BAK")), original + "go - gehen\r\n");
}

TEST_F(TextFilesTest, ClosingAfterEditingTheTextAsksToSave) {
  WriteFile(File("a.txt"), "Sp: A - B\r\nx - y\r\n");
  VocabEditForm* form = Open(File("a.txt"));
  form->close();
  Settle();
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());

  form = Open(File("a.txt"));
  QTest::keyClicks(form->MemoText, "z");
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Cancel};
  EXPECT_FALSE(form->close());
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Confirmation),
            (std::vector<QString>{"Do you want to save 'a.txt'?"}));
  Discard(form);
}

TEST_F(TextFilesTest, RichTextFileKeepsItsFormattingAndSavesAsRichText) {
  WriteFile(File("lesson.rtf"), kWordProcessorRtf);
  VocabEditForm* form = Open(File("lesson.rtf"));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_EQ(PageText(form), QString("Ti: Lektion\nSp: Deutsch - English\nStra\u00DFe - street\ncaf\u00E9 - caf\u00E9\n"
                                    "Hund - dog"));
  EXPECT_FALSE(form->HasUnsavedChanges());
  const RtfDocument original = ParseRtf(kWordProcessorRtf);
  // Shown with the file's own formats.
  const RtfCharFormat strasse = FormatAt(form, 2, 0);
  EXPECT_EQ(strasse.Face, "Arial");
  EXPECT_EQ(strasse.HalfPoints, 20);
  EXPECT_TRUE(strasse.Bold);
  const RtfCharFormat street = FormatAt(form, 2, 10);
  EXPECT_TRUE(street.Italic);
  EXPECT_FALSE(street.Bold);
  EXPECT_TRUE(street.HasColor);
  EXPECT_EQ(street.Color, 0x0000FFu);
  EXPECT_EQ(FormatAt(form, 3, 0).Face, "Times New Roman");
  EXPECT_EQ(FormatAt(form, 3, 0).HalfPoints, 28);
  EXPECT_TRUE(FormatAt(form, 4, 0).Underline);
  EXPECT_TRUE(FormatAt(form, 4, 0).StrikeOut);

  ASSERT_TRUE(form->MenuSaveClick());
  EXPECT_EQ(ReadFile(File("lesson.BAK")), kWordProcessorRtf);
  const std::string saved = ReadFile(File("lesson.rtf"));
  EXPECT_TRUE(saved.starts_with("{\\rtf1\\ansi\\ansicpg1252")) << saved;
  EXPECT_NE(saved.find("Stra\\'df"), std::string::npos) << saved;
  // Read back: the same paragraphs, runs and formats as the word processor's file.
  EXPECT_EQ(ParseRtf(saved).Paragraphs, original.Paragraphs);

  // Leaving the page compiles it.
  form->SelectTab(VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->Lesson().Language1.Name, "Deutsch");
  EXPECT_EQ(form->Lesson().EntryCount(), 3);
  Discard(form);
}

TEST_F(TextFilesTest, LessonSavedAsRichTextCarriesTheLanguageFonts) {
  VocabEditForm* form = Open(MakeLessonFile("fonts.tav", {MakeEntry(0, {"go"}, {"gehen"})}));
  form->Lesson().Language1.Font = TextToFont("Times New Roman_clRed_12_[]");
  form->Lesson().Language2.Font = TextToFont("Arial_clBlue_14_[Italic]");
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("fonts.rtf"))};
  form->MenuSaveAsClick();
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_FALSE(form->HasUnsavedChanges());
  const std::string saved = ReadFile(File("fonts.rtf"));
  const RtfDocument rich = ParseRtf(saved);
  EXPECT_EQ(DocumentLines(rich), form->Lesson().ToLines());
  for (const char* word : {"\\fonttbl", "Times New Roman;", "Arial;", "\\colortbl", "\\fs24", "\\fs28", "\\i",
                           "\\cf1", "\\par"})
    EXPECT_NE(saved.find(word), std::string::npos) << word;
  // The pair line: "go" in language 1's font, "gehen" in language 2's.
  const std::vector<std::string> lines = DocumentLines(rich);
  const auto pair = std::find(lines.begin(), lines.end(), "go (v.)\t - \tgehen") - lines.begin();
  ASSERT_LT(pair, static_cast<long>(lines.size()));
  const RtfParagraph& paragraph = rich.Paragraphs[static_cast<std::size_t>(pair)];
  EXPECT_EQ(RunFont(paragraph.front().Format), form->Lesson().Language1.Font);
  EXPECT_EQ(RunFont(paragraph.back().Format), form->Lesson().Language2.Font);
  // The core reads the file as lesson text again.
  auto reread = TMeanCollection::CreateFromFile(File("fonts.rtf"));
  ASSERT_EQ(reread->EntryCount(), 1);
  EXPECT_EQ(Texts(reread->At(0)->Translations), (std::vector<std::string>{"gehen"}));
}

TEST_F(TextFilesTest, FormatErrorStopsASaveToALessonFileAndKeepsTheEdits) {
  const std::string path = MakeLessonFile("keep.tav", {MakeEntry(1, {"house"}, {"Haus"})});
  const std::string original = ReadFile(path);
  VocabEditForm* form = Open(path);
  form->SelectTab(VocabEditForm::kTextPage);
  TypeText(form, "Sp: English - Deutsch\nhouse - Haus\nmouse Maus\ncat - Katze");
  Discard(form);  // even then the unsaved text counts

  EXPECT_FALSE(form->MenuSaveClick());
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_FALSE(FileExists(File("keep.BAK")));
  EXPECT_TRUE(form->HasUnsavedChanges());
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_EQ(Selected(form), "mouse Maus");
  EXPECT_EQ(Panel(0), "Error");
  EXPECT_EQ(Panel(1), "Format error in selected line.");
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());

  // Closing with "Yes" tries to save again and keeps the window open.
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Yes};
  EXPECT_FALSE(form->close());
  EXPECT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(ReadFile(path), original);

  // Mended, the text is compiled and saved.
  PutCaret(form, 2, 5);
  QTest::keyClicks(form->MemoText, " -");
  ASSERT_TRUE(form->MenuSaveClick());
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
  EXPECT_EQ(ReadFile(File("keep.BAK")), original);
  auto saved = std::make_unique<TMeanCollection>();
  LoadBinary(*saved, path);
  EXPECT_EQ(saved->EntryCount(), 3);
}

TEST_F(TextFilesTest, TextFileSavedAsALessonFileIsCompiledFirst) {
  WriteFile(File("words.txt"), "Ti: Words\r\nSp: English - Deutsch\r\ndog - Hund\r\n");
  VocabEditForm* form = Open(File("words.txt"));
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("words.tav"))};
  form->MenuSaveAsClick();
  EXPECT_EQ(form->FileName(), File("words.tav"));
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
  EXPECT_FALSE(form->HasUnsavedChanges());
  auto saved = std::make_unique<TMeanCollection>();
  LoadBinary(*saved, File("words.tav"));
  EXPECT_EQ(saved->Title, "Words");
  EXPECT_EQ(Texts(saved->At(0)->Synonyms), (std::vector<std::string>{"dog"}));
  EXPECT_EQ(ReadFile(File("words.txt")), "Ti: Words\r\nSp: English - Deutsch\r\ndog - Hund\r\n");
}

TEST_F(TextFilesTest, CharactersOutsideTheCodePageAreSavedAsQuestionMarksWithAWarning) {
  WriteFile(File("greek.txt"), "Sp: English - Greek\r\n");
  VocabEditForm* form = Open(File("greek.txt"));
  QTextCursor end(form->MemoText->document());
  end.movePosition(QTextCursor::End);
  end.insertText(QString::fromUtf8("\nsea - \xCE\xB8\xCE\xAC\xCE\xBB\xCE\xB1\xCF\x83\xCF\x83\xCE\xB1 \xE2\x82\xAC"));
  ASSERT_TRUE(form->MenuSaveClick());
  EXPECT_EQ(ReadFile(File("greek.txt")), "Sp: English - Greek\r\nsea - ??????? \x80\r\n");
  Settle();  // the warning shows once the command has returned
  ASSERT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning).size(), 1u);
  const QString warning = platform_.Dialogs.TextsOf(MessageKind::Warning)[0];
  EXPECT_TRUE(warning.endsWith(QString::fromUtf8(": \xCE\xB8\xCE\xAC\xCE\xBB\xCE\xB1\xCF\x83")))
      << warning.toStdString();
}

// An Anki export opened as lesson text: not one line reads as an entry.
TEST_F(TextFilesTest, TextOfMalformedLinesAloneOpensNoWindowAndImportIsNamed) {
  WriteFile(File("anki.txt"), "1\thouse\tHaus\tnoun\n2\tto go\tgehen\tverb\n");
  EXPECT_EQ(Open(File("anki.txt")), nullptr);
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error),
            (std::vector<QString>{ui::FileNameToQString(
                "'" + File("anki.txt") +
                "': no entry line could be read; if this is a spreadsheet or Anki export, use File > Import.")}));
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
}

TEST_F(TextFilesTest, MissingTextFileIsReportedAndNoWindowStays) {
  EXPECT_EQ(Open(File("gone.rtf")), nullptr);
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error),
            (std::vector<QString>{ui::FileNameToQString("Kann Datei " + File("gone.rtf") + " nicht öffnen")}));
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
}

}  // namespace
}  // namespace vocatrix::test

// File > Import and File > Export of KVTML, CSV and TSV files.

#include <QAction>

#include "files/lessonformats.h"
#include "ui/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageKind;
using ui::VocabEditForm;

class ExchangeTest : public UiTest {
 protected:
  void Trigger(QObject* owner, const char* item) { Child<QAction>(owner, item)->trigger(); }

  static std::vector<std::string> Entries(const TMeanCollection& lesson) {
    std::vector<std::string> lines{lesson.Language1.Name + "/" + lesson.Language2.Name};
    for (const MeaningPtr& entry : *lesson.Meanings) {
      std::string line = std::to_string(entry->Form);
      for (int kind = 0; kind < 4; ++kind)
        for (const std::string& word : Texts(entry->ListOfKind(kind))) line += "|" + std::to_string(kind) + word;
      lines.push_back(line);
    }
    return lines;
  }
};

TEST_F(ExchangeTest, ImportOpensAnUnnamedCompactedLessonThatExportWritesBack) {
  // "house" stands in two rows: the import compacts them into one entry; the
  // unknown form is left out and named.
  WriteFile(File("words.csv"),
            "\xEF\xBB\xBF" "English;Synonyms;Deutsch;Antonyms;Antonym translations;Form\r\n"
            "house;home;Haus;;;s.\r\nhouse;;Geb\xC3\xA4ude;;;s.\r\ngo;;gehen;\"come; arrive\";kommen;pronoun\r\n");
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("words.csv")));
  platform_.Dialogs.DialogAnswers.push_back([](QDialog& dialog) {
    EXPECT_EQ(dialog.objectName(), "ImportDlg");
    return int(QDialog::Accepted);
  });
  Trigger(&Main(), "MenuImport");
  ASSERT_EQ(platform_.Dialogs.FileDialogs.size(), 1u);
  EXPECT_FALSE(platform_.Dialogs.FileDialogs[0].Save);
  EXPECT_EQ(platform_.Dialogs.FileDialogs[0].Request.Filter,
            "KVTML (*.kvtml)|*.kvtml|CSV (*.csv)|*.csv|Tab-separated (*.tsv)|*.tsv|Anki, text (*.txt)|*.txt");
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  VocabEditForm* form = Main().LessonWindows()[0];
  EXPECT_EQ(form->FileName(), "");
  EXPECT_EQ(form->windowTitle(), "New Lesson");
  EXPECT_TRUE(form->Lesson().Modified);
  const std::vector<std::string> imported{"English/Deutsch", "1|0house|0home|1Haus|1Geb\xE4ude",
                                          "4|0go|1gehen|2come|2arrive|3kommen"};
  EXPECT_EQ(Entries(form->Lesson()), imported);
  EXPECT_EQ(form->EditLanguage2->text(), "Deutsch");
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning),
            (std::vector<QString>{ui::Utf8ToQString(
                "'" + File("words.csv") + "': left out what a lesson cannot hold: forms a lesson does not know: 1.")}));

  // Export from the Entries page takes the edit not yet stored; the window
  // keeps its (missing) file and stays modified.
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setPlainText("house\nhome\nbuilding");
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("out.kvtml")));
  Trigger(form, "MenuExport");
  ASSERT_EQ(platform_.Dialogs.FileDialogs.size(), 2u);
  EXPECT_TRUE(platform_.Dialogs.FileDialogs[1].Save);
  EXPECT_EQ(platform_.Dialogs.FileDialogs[1].Request.DefaultExtension, "kvtml");
  TransferReport report;
  std::vector<std::string> exported = imported;
  exported[1] = "1|0house|0home|0building|1Haus|1Geb\xE4ude";
  EXPECT_EQ(Entries(*ReadLessonByFormat(File("out.kvtml"), {}, report)), exported);
  EXPECT_EQ(form->FileName(), "");
  EXPECT_TRUE(form->Lesson().Modified);

  // A word holding ";" is named when it goes into a list field of CSV (the
  // head word has a field of its own); a file of no format is refused.
  form->MemoSynonyms->setPlainText("house;home\nhome;house");
  platform_.Dialogs.Messages.clear();
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("out.tsv")));
  Trigger(form, "MenuExport");
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning),
            (std::vector<QString>{"These words hold \";\" and will read back split: \"home;house\""}));
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("out.doc")));
  Trigger(form, "MenuExport");
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error),
            (std::vector<QString>{ui::Utf8ToQString("'" + File("out.doc") + "' is not a lesson file.")}));
  EXPECT_FALSE(std::filesystem::exists(File("out.doc")));
  form->Lesson().Modified = false;
}

TEST_F(ExchangeTest, ImportRefusesUnreadableAndOversizedFilesWithoutAWindowAndCancelChangesNothing) {
  WriteFile(File("broken.kvtml"), "<kvtml version=\"2.0\"><entries>");
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("broken.kvtml")));
  Trigger(&Main(), "MenuImport");
  platform_.Dialogs.FileAnswers.push_back(std::nullopt);
  Trigger(&Main(), "MenuImport");
  // One entry more than a lesson holds.
  std::string rows = "A,Synonyms,B,Antonyms,Antonym translations,Form\n";
  for (int i = 0; i <= TMeanCollection::kMaxEntries; ++i) rows += "w" + std::to_string(i) + ",,,,,\n";
  WriteFile(File("big.csv"), rows);
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("big.csv")));
  platform_.Dialogs.DialogAnswers.push_back([](QDialog&) { return int(QDialog::Accepted); });
  Trigger(&Main(), "MenuImport");
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error),
            (std::vector<QString>{ui::Utf8ToQString("Format error in file '" + File("broken.kvtml") + "'."),
                                  "65536 entries: a lesson holds at most 65535."}));
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  // Open keeps refusing exchange files as lessons.
  EXPECT_EQ(Open(File("broken.kvtml")), nullptr);
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error).back(),
            ui::Utf8ToQString("'" + File("broken.kvtml") + "' is not a lesson file."));
}

}  // namespace
}  // namespace vocatrix::test

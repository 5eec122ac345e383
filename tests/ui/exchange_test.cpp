// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import and File > Export of KVTML, CSV and TSV files.

#include <QAction>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include "base/inifile.h"
#include "files/lessonformats.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/importdlg.h"
#include "cli/cli_runner.h"
#include "components/compostatusbar.h"
#include "testdecks.h"
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
            "KVTML (*.kvtml)|*.kvtml|CSV (*.csv)|*.csv|Tab-separated (*.tsv)|*.tsv|Anki deck (*.apkg)|*.apkg|Anki, "
            "text (*.txt)|*.txt");
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  VocabEditForm* form = Main().LessonWindows()[0];
  EXPECT_EQ(form->FileName(), "");
  EXPECT_EQ(form->Caption(), "words.csv (imported)");
  EXPECT_TRUE(form->HasUnsavedChanges());
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
  EXPECT_TRUE(form->HasUnsavedChanges());
  EXPECT_EQ(Main().StatusBar()->PanelText(1),
            ui::Utf8ToQString(std::to_string(imported.size() - 1) + " entries written to " + File("out.kvtml") + "."));

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
  Discard(form);
}

TEST_F(ExchangeTest, AnkiDecksExportAndImportWithAChoiceOfNoteTypeAndDeckWhenThereIsOne) {
  // Export, then Import of the deck: one note type, one deck, no dialog.
  auto* form = Open(std::string(VOCATRIX_SOURCE_DIR) + "/examples/english-german.tav");
  ASSERT_NE(form, nullptr);
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("lesson.apkg")));
  Trigger(form, "MenuExport");
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("lesson.apkg")));
  Trigger(&Main(), "MenuImport");
  ASSERT_EQ(Main().LessonWindows().size(), 2);
  EXPECT_EQ(Main().ActiveEditForm()->Lesson().ToLines(), form->Lesson().ToLines());
  EXPECT_TRUE(platform_.Dialogs.TextsOf(MessageKind::Error).empty());

  // A deck of two note types: the dialog shows both, the preview follows the choice.
  WriteFile(File("two.apkg"), DeckOfTwoNoteTypes());
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("two.apkg")));
  platform_.Dialogs.DialogAnswers.push_back([](QDialog& dialog) {
    auto& import = static_cast<ui::TImportDlg&>(dialog);
    EXPECT_TRUE(import.ComboBoxNoteType->isVisibleTo(&import));
    EXPECT_FALSE(import.GridColumns->isVisibleTo(&import));
    EXPECT_EQ(import.ComboBoxNoteType->count(), 3);
    EXPECT_EQ(import.ComboBoxNoteType->itemText(1), "Basic (1)");
    EXPECT_EQ(import.ComboBoxDeck->itemText(1), "Words (2)");
    EXPECT_EQ(import.GridPreview->rowCount(), 2);
    import.ComboBoxNoteType->setCurrentIndex(1);
    EXPECT_EQ(import.GridPreview->rowCount(), 1);
    EXPECT_EQ(import.GridPreview->item(0, 2)->text(), "Haus");
    EXPECT_EQ(import.LabelCount->text(), "Entries: 1.");
    return int(QDialog::Accepted);
  });
  Trigger(&Main(), "MenuImport");
  ASSERT_EQ(Main().LessonWindows().size(), 3);
  EXPECT_EQ(Entries(Main().ActiveEditForm()->Lesson()), (std::vector<std::string>{"Front/Back", "4|0house|1Haus"}));
  EXPECT_EQ(Main().ActiveEditForm()->Lesson().Title, "Words");
  for (ui::VocabEditForm* window : Main().LessonWindows()) Discard(window);
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
  // Open keeps refusing exchange files as lessons, and points to Import.
  EXPECT_EQ(Open(File("broken.kvtml")), nullptr);
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error).back(),
            ui::Utf8ToQString("'" + File("broken.kvtml") + "' is not a lesson file. Use File > Import to read it."));
}

TEST_F(ExchangeTest, TheImportDialogLaysOutDelimitedTextShowsItsEntriesAndKeepsTheChoices) {
  // A spreadsheet: a row of names, a number column, the words the other way round.
  WriteFile(File("sheet.csv"), "Nr;Deutsch;English\r\n1;Haus;house\r\n2;gehen;go\r\n");
  platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("sheet.csv")));
  platform_.Dialogs.DialogAnswers.push_back([this](QDialog& dialog) {
    auto& import = static_cast<ui::TImportDlg&>(dialog);
    import.HelpBtn->click();
    EXPECT_EQ(platform_.Help.Shown.back().second, "hc_Import");
    // Found: ";" and a header naming a number and two languages.
    // (The dialog's own texts are German until a language file is read.)
    EXPECT_EQ(import.LabelFound->text(), "Found in the file: separator Semikolon, encoding UTF-8.");
    EXPECT_EQ(import.ComboBoxHeader->currentIndex(), 0);
    EXPECT_EQ(import.GridColumns->columnCount(), 3);
    EXPECT_EQ(import.GridColumns->rowCount(), 2);
    EXPECT_EQ(import.GridColumns->horizontalHeaderItem(0)->text(), "1: Nicht einlesen\nNr");
    EXPECT_EQ(import.GridColumns->horizontalHeaderItem(1)->text(), "2: Wort\nDeutsch");
    EXPECT_EQ(import.EditLanguage1->text(), "Deutsch");
    // The user gives the word to the English column.
    import.GridColumns->selectColumn(2);
    import.ComboBoxRole->setCurrentIndex(0);
    emit import.ComboBoxRole->activated(0);
    import.SetColumnRole(1, ColumnRole::Translations);
    EXPECT_EQ(import.GridPreview->rowCount(), 2);
    EXPECT_EQ(import.GridPreview->item(1, 0)->text(), "go");
    EXPECT_EQ(import.GridPreview->item(1, 2)->text(), "gehen");
    EXPECT_EQ(import.EditLanguage1->text(), "English");
    EXPECT_EQ(import.EditLanguage2->text(), "Deutsch");
    import.EditLanguage2->setText("German");
    emit import.EditLanguage2->textEdited("German");
    return int(QDialog::Accepted);
  });
  Trigger(&Main(), "MenuImport");
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(Entries(Main().LessonWindows()[0]->Lesson()),
            (std::vector<std::string>{"English/German", "4|0house|1Haus", "4|0go|1gehen"}));
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning),
            (std::vector<QString>{ui::Utf8ToQString("'" + File("sheet.csv") +
                                                    "': left out what a lesson cannot hold: fields of columns not "
                                                    "read: 2.")}));
  // Kept as soon as the import is confirmed.
  const IniFile settings(SettingsFile());
  EXPECT_EQ(settings.ReadString("Import", "Shape", "-"), "3:nr|deutsch|english");
  EXPECT_EQ(settings.ReadString("Import", "Header", "-"), "");
  EXPECT_EQ(settings.ReadString("Import", "Columns", "-"), "ignore,translations,word");
  Discard(Main().LessonWindows()[0]);
  for (const char* help : {"/help/English.hlp", "/help/German.hlp"})
    EXPECT_NE(ReadFile(std::string(VOCATRIX_SOURCE_DIR) + help).find("<a name=\"hc_Import\">"), std::string::npos);

  // The next file of these columns starts with these choices; a file of
  // other columns starts with the roles found.
  WriteFile(File("more.tsv"), "Nr\tDeutsch\tEnglish\n3\tBaum\ttree\n");
  WriteFile(File("anki.txt"), "house\tHaus\n");
  for (const char* name : {"more.tsv", "anki.txt"}) {
    platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File(name)));
    platform_.Dialogs.DialogAnswers.push_back([name](QDialog& dialog) {
      auto& import = static_cast<ui::TImportDlg&>(dialog);
      EXPECT_EQ(import.GridColumns->horizontalHeaderItem(0)->text().startsWith("1: Nicht einlesen"),
                std::string(name) == "more.tsv")
          << name;
      return int(std::string(name) == "more.tsv" ? QDialog::Accepted : QDialog::Rejected);
    });
    Trigger(&Main(), "MenuImport");
  }
  ASSERT_EQ(Main().LessonWindows().size(), 2);
  EXPECT_EQ(Entries(Main().ActiveEditForm()->Lesson()), (std::vector<std::string>{"English/Deutsch", "4|0tree|1Baum"}));
  for (ui::VocabEditForm* form : Main().LessonWindows()) Discard(form);
}

TEST_F(ExchangeTest, EachFileStartsFromItsOwnLayoutAndThePreviewIsTheLessonThatBothProgramsMake) {
  const std::string source = VOCATRIX_SOURCE_DIR;
  WriteSettings("[Config]\nLanguage=Deutsch\n[LanguageFiles]\nDeutsch=" + source + "/lang/Deutsch.ini\n");
  Main().SetLanguage("Deutsch");
  // Anki's export of a deck whose notes share a tag; a table naming a form
  // column; a list of pairs without a header, one word in Greek.
  std::string deck = "#separator:tab\n#html:false\n#columns:Front\tBack\tTags\n";
  for (const char* pair : {"dog\tHund", "cat\tKatze", "fox\tFuchs", "cow\tKuh", "hen\tHuhn"})
    deck += std::string(pair) + "\tanimals\n";
  WriteFile(File("anki.txt"), deck);
  WriteFile(File("forms.csv"), "English;Deutsch;Form\r\nhouse;Haus;s.\r\nto go;gehen;v.\r\n");
  WriteFile(File("pairs.tsv"), "tree\tBaum\n\xCE\xB4\xCE\xAD\xCE\xBD\xCF\x84\xCF\x81\xCE\xBF\tdendro\n");
  const struct {
    const char* file;
    std::vector<std::string> cli;  // the same choices for vocatrix-cli
    QString found, columns, count;
    std::function<void(ui::TImportDlg&)> choose;
    QString chosenCount;
  } cases[] = {
      {"anki.txt", {"--columns", "word,translations,antonyms"},
       "In der Datei erkannt: Trennzeichen Tabulator, Kodierung UTF-8.", "3: Nicht einlesen\nTags",
       QString::fromUtf8("Einträge: 5, aus 5 Zeilen der Datei."),
       [](ui::TImportDlg& import) { import.SetColumnRole(2, ColumnRole::Antonyms); },
       QString::fromUtf8("Einträge: 1, aus 5 Zeilen der Datei.")},
      {"forms.csv", {}, "In der Datei erkannt: Trennzeichen Semikolon, Kodierung UTF-8.", "3: Form\nForm",
       QString::fromUtf8("Einträge: 2, aus 2 Zeilen der Datei."), nullptr, {}},
      {"pairs.tsv", {"--replace-unsupported"}, "In der Datei erkannt: Trennzeichen Tabulator, Kodierung UTF-8.",
       "2: " + QString::fromUtf8("Übersetzungen"), QString::fromUtf8("Einträge: 2, aus 2 Zeilen der Datei."),
       nullptr, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::vector<QString>> preview;
    platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File(c.file)));
    platform_.Dialogs.DialogAnswers.push_back([&](QDialog& dialog) {
      auto& import = static_cast<ui::TImportDlg&>(dialog);
      // Every choice starts from the file, whatever the last import chose.
      EXPECT_EQ(import.LabelFound->text(), c.found);
      EXPECT_EQ(import.ComboBoxSeparator->currentIndex(), 0);
      EXPECT_EQ(import.ComboBoxHeader->currentIndex(), 0);
      EXPECT_EQ(import.GridColumns->horizontalHeaderItem(import.GridColumns->columnCount() - 1)->text(), c.columns);
      EXPECT_EQ(import.GridPreview->horizontalHeaderItem(5)->text(), "Form");
      EXPECT_EQ(import.LabelCount->text(), c.count);
      if (c.choose) {
        c.choose(import);
        EXPECT_EQ(import.LabelCount->text(), c.chosenCount);
      }
      for (int r = 0; r < import.GridPreview->rowCount(); ++r) {
        preview.emplace_back();
        for (int col = 0; col < import.GridPreview->columnCount(); ++col)
          preview.back().push_back(import.GridPreview->item(r, col)->text());
      }
      // The raw rows show the file's own characters.
      if (std::string(c.file) == "pairs.tsv") {
        EXPECT_EQ(import.GridColumns->item(1, 0)->text(), QString::fromUtf8("δέντρο"));
      }
      return int(QDialog::Accepted);
    });
    if (std::string(c.file) == "pairs.tsv") platform_.Dialogs.MessageAnswers.push_back(ui::MessageAnswer::Yes);
    Trigger(&Main(), "MenuImport");
    ASSERT_NE(Main().ActiveEditForm(), nullptr);
    const TMeanCollection& lesson = Main().ActiveEditForm()->Lesson();
    // OK made the lesson the preview showed...
    ASSERT_EQ(lesson.EntryCount(), static_cast<int>(preview.size()));
    for (int i = 0; i < lesson.EntryCount(); ++i) {
      EXPECT_EQ(preview[static_cast<std::size_t>(i)][0], ui::ToQString(lesson.At(i)->Synonyms.At(0)->Text()));
      EXPECT_EQ(preview[static_cast<std::size_t>(i)][3].isEmpty(), lesson.At(i)->Antonyms.Count() == 0);
    }
    // ...and vocatrix-cli makes it of the same file and choices.
    std::vector<std::string> args{"convert", File(c.file), File("cli.tav")};
    args.insert(args.end(), c.cli.begin(), c.cli.end());
    const CliResult cli = RunCliWith(args);
    ASSERT_EQ(cli.code, 0) << cli.err;
    EXPECT_EQ(Entries(*TMeanCollection::CreateFromFile(File("cli.tav"))), Entries(lesson));
    Discard(Main().ActiveEditForm());
  }
  Main().SetLanguage("English");
}

TEST_F(ExchangeTest, WordsALessonCannotHoldAreAskedAboutAndNeverMergedForTheirQuestionMarks) {
  // A Russian word list: each word would be "?" only.
  WriteFile(File("ru.kvtml"),
            "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><locale>ru</locale></identifier>"
            "</identifiers><entries>"
            "<entry id=\"0\"><translation id=\"0\"><text>\xD0\xBA\xD0\xBE\xD1\x82</text></translation></entry>"
            "<entry id=\"1\"><translation id=\"0\"><text>\xD0\xBF\xD1\x91\xD1\x81</text></translation></entry>"
            "<entry id=\"2\"><translation id=\"0\"><text>\xD0\xBB\xD0\xB8\xD1\x81</text></translation></entry>"
            "</entries></kvtml>");
  const QString question =
      "3 of 3 words hold characters a lesson file cannot store (for example Cyrillic); they would be changed to '?'. "
      "Import anyway?";
  for (const ui::MessageAnswer answer : {ui::MessageAnswer::No, ui::MessageAnswer::Yes}) {
    platform_.Dialogs.FileAnswers.push_back(ui::Utf8ToQString(File("ru.kvtml")));
    platform_.Dialogs.MessageAnswers.push_back(answer);
    Trigger(&Main(), "MenuImport");
    ASSERT_FALSE(platform_.Dialogs.Messages.empty());
    EXPECT_EQ(platform_.Dialogs.Messages.back().Text, question);
    EXPECT_EQ(platform_.Dialogs.Messages.back().Kind, MessageKind::Confirmation);
  }
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(Entries(Main().LessonWindows()[0]->Lesson()),
            (std::vector<std::string>{"Russian/Language 2", "4|0???", "4|0???", "4|0???"}));
  Discard(Main().LessonWindows()[0]);

  // Lesson text in rich text says so when it is opened.
  WriteFile(File("greek.rtf"), R"({\rtf1 Sp: Deutsch - Greek\par Haus - \u959?\u953?\u954?\u959?\par})");
  ASSERT_NE(Open(File("greek.rtf")), nullptr);
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning).back(),
            ui::Utf8ToQString("'" + File("greek.rtf") +
                              "': 1 of 2 lines hold characters a lesson file cannot store (for example Greek); they "
                              "were read as '?'."));
}

}  // namespace
}  // namespace vocatrix::test

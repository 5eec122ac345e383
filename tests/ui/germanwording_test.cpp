// SPDX-License-Identifier: GPL-3.0-or-later
// The German interface: no English left in it, one wording for one thing,
// and texts that fit the places the windows give them.

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTableWidget>
#include <sys/stat.h>

#include "base/inifile.h"
#include "base/messages.h"
#include "ui/about/aboutbox.h"
#include "components/framedlabel.h"
#include "ui/characters/charmapdlg.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/combinedlg.h"
#include "ui/dialogs/importdlg.h"
#include "ui/practice/practiceform.h"
#include "ui/textwindow/editform.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

class GermanWordingTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    const std::string source = VOCATRIX_SOURCE_DIR;
    WriteSettings("[Config]\nLanguage=English\n[Languages]\n1=English\n2=Deutsch\n[LanguageFiles]\nEnglish=" +
                  source + "/lang/English.ini\nDeutsch=" + source + "/lang/Deutsch.ini\n");
    Main().SetLanguage("Deutsch");
  }

  static QString Message(const char* key, const char* english, const std::string& argument) {
    return ui::Utf8ToQString(TranslateMessage(key, english, {argument}));
  }

  // The first and last pixel rows of `area` holding red ink.
  static std::pair<int, int> InkRows(const QImage& image, const QRect& area) {
    int first = -1, last = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        if (pixel.red() - pixel.green() > 60 && pixel.red() - pixel.blue() > 60) {
          if (first < 0) first = y;
          last = y;
          break;
        }
      }
    return {first, last};
  }
};

TEST_F(GermanWordingTest, NoEnglishIsLeftAndOneThingHasOneWording) {
  ui::VocabEditForm* form = Main().NewChild();
  const auto menuText = [&](const char* name) { return Child<QAction>(&Main(), name)->text(); };
  const std::pair<QString, const char*> texts[] = {
      {Child<QLabel>(form, "Label6")->text(), "Schriftart:"},
      {Child<QLabel>(form, "Label9")->text(), "Wörter:"},
      {menuText("MenuCloseAll"), "Alle sc&hließen"},
      {menuText("MenuSaveAll"), "&Alle speichern"},
      {menuText("MenuSubstitute"), "Sprache &ersetzen..."},
      {menuText("MenuTips"), "&Lerntipps"},
      {Main().CombineDlg()->windowTitle(), "Sprache ersetzen"},
      {Message("ErrInteger", "'%s' is not a valid integer value", "x"),
       "'x' ist kein gültiger Zeichencode; erlaubt sind die Zahlen 0 bis 255."},
      // The combine dialog's new lesson is spelt as a new window's.
      {Message("NewLesson", "neue Lektion", ""), "Neue Lektion"},
      {form->windowTitle(), "Neue Lektion"},
      // Close questions of text and lesson windows say the same.
      {Message("SaveChanges", "Save Changes to '%s'?", "a"), "Möchten Sie 'a' speichern?"},
      {Message("CancelLesson", "Do you want to save '%s'?", "a"), "Möchten Sie 'a' speichern?"},
      {Message("LeftOutUnknownForms", "forms a lesson does not know", ""), "Formen, die eine Lektion nicht kennt"},
  };
  for (const auto& [shown, german] : texts) EXPECT_EQ(shown.toStdString(), german);
  EXPECT_TRUE(Main().CharmapDlg()->findChild<QLabel*>("Label1")->text().contains("Werkzeugleiste"));

  // A read-only lesson is refused in German, and the file dialogs offer lesson files by a German name.
  const std::string path = MakeLessonFile("fest.tav", {MakeEntry(0, {"go"}, {"gehen"})});
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(Main().IsReadOnly(form, path));
  EXPECT_EQ(platform_.Dialogs.Messages.back().Text, QString::fromUtf8("fest.tav ist schreibgeschützt."));
  platform_.Dialogs.FileAnswers = {std::nullopt};
  Main().OpenChild();
  ASSERT_FALSE(platform_.Dialogs.FileDialogs.empty());
  EXPECT_TRUE(platform_.Dialogs.FileDialogs.back().Request.Filter.contains("Lektionsdatei (*.tav)"));
  EXPECT_FALSE(platform_.Dialogs.FileDialogs.back().Request.Filter.contains("tavvi"));
  Discard(form);

  // Practice names a question's form as the Entries page does, and one question in the singular.
  ui::VocabEditForm* lesson = Open(MakeLessonFile("formen.tav", {MakeEntry(4, {"cat"}, {"Katze"})}));
  ASSERT_NE(lesson, nullptr);
  lesson->MenuPractiseClick();
  ui::PracticeForm* practice = lesson->Practice();
  practice->FinishWork();
  EXPECT_EQ(practice->LabelProblems->text().toStdString(), "1 Frage");
  QTest::mouseClick(practice->ButtonStart, Qt::LeftButton);
  practice->FinishWork();
  EXPECT_EQ(practice->LabelTask->text().toStdString(), "Übersetzen  (andere)");
}

TEST_F(GermanWordingTest, TextsFitTheRoomTheirWindowsGiveAtTheDefaultSize) {
  ui::VocabEditForm* form = Main().NewChild();
  form->show();
  Settle();

  // The tab strip shows its names whole: ink from the top of the accents to
  // the foot of the descenders, as the same text drawn without bounds, and
  // clear of the tabs' frames.
  QTabBar* tabs = form->TabSet;
  QPalette red = tabs->palette();
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    red.setColor(role, Qt::red);
  tabs->setPalette(red);
  const QImage strip = tabs->grab().toImage();
  for (int tab = 0; tab < tabs->count(); ++tab) {
    QImage free(200, 40, QImage::Format_RGB32);
    free.fill(Qt::white);
    {
      QPainter painter(&free);
      painter.setFont(tabs->font());
      painter.setPen(Qt::red);
      painter.drawText(QRect(0, 0, 200, 40), Qt::AlignCenter, tabs->tabText(tab));
    }
    const auto [top, bottom] = InkRows(free, free.rect());
    const QRect area = tabs->tabRect(tab).intersected(strip.rect());
    const auto [shownTop, shownBottom] = InkRows(strip, area);
    EXPECT_EQ(shownBottom - shownTop, bottom - top) << tabs->tabText(tab).toStdString();
    // The tab's lower edge, a line across it, runs below the text, not through it.
    int edge = area.bottom() + 1;
    for (int y = area.bottom(); y >= area.top(); --y) {
      int dark = 0;
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor pixel = strip.pixelColor(x, y);
        if (pixel.lightness() < 200 && pixel.red() - pixel.green() <= 60) ++dark;
      }
      if (dark * 5 >= area.width() * 4) edge = y;
    }
    EXPECT_GT(edge, shownBottom) << tabs->tabText(tab).toStdString();
    EXPECT_GE(tabs->tabRect(tab).width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(tab)));
  }

  // The headings of the Entries page fit over their lists, clear of the page's edge.
  form->SelectTab(ui::VocabEditForm::kEntriesPage);
  for (const char* name : {"LabelSynonyms", "LabelTranslations", "LabelAntonyms", "LabelTransvertions"}) {
    const QLabel* label = Child<QLabel>(form, name);
    ASSERT_NE(label, nullptr) << name;
    const QRect room = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(room, Qt::TextWordWrap, label->text());
    EXPECT_LE(needed.height(), room.height()) << name;
    EXPECT_LE(label->x() + room.left() + needed.width(), label->parentWidget()->width() - 4) << name;
  }
  const QList<QPlainTextEdit*> lists = {form->MemoSynonyms, form->MemoTranslations, form->MemoAntonyms,
                                        form->MemoTransvertions};
  for (const QPlainTextEdit* list : lists) EXPECT_LT(list->geometry().bottom(), form->EditEntryNr->y());

  // The import dialog's columns are as wide as their headings.
  const std::string csv = "Wort;Übersetzung;Gegenteil;Übersetzung des Gegenteils\nhaus;house;hütte;hut\n";
  ui::TImportDlg import(&Main(), File("x.csv"), csv, IniFile::Load(std::string()));
  import.SetColumnRole(3, ColumnRole::AntonymTranslations);
  for (const QTableWidget* grid : {import.GridColumns, import.GridPreview})
    for (int column = 0; column < grid->columnCount(); ++column)
      EXPECT_GE(grid->horizontalHeader()->sectionSize(column), grid->horizontalHeader()->sectionSizeHint(column))
          << grid->horizontalHeaderItem(column)->text().toStdString();

  // The About box's link ends inside the box.
  ui::TAboutBox about(platform_.Get());
  about.FormShow();
  for (const TFramedLabel* link : {about.Homepage, about.URL}) {
    EXPECT_LE(link->geometry().right(), about.width() - 8);
    EXPECT_LE(link->fontMetrics().horizontalAdvance(link->Caption()), link->width() - 4 * link->OffsetX())
        << link->Caption().toStdString();
  }
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test

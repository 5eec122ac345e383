// SPDX-License-Identifier: GPL-3.0-or-later
// Every shipped interface language whole: the keys of the translator's
// template, the placeholders of each text, menus without a mnemonic twice,
// and texts that fit their labels and buttons in every window.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "base/inifile.h"
#include "base/settings.h"
#include "components/framedlabel.h"
#include "components/multilabel.h"
#include "ui/about/aboutbox.h"
#include "ui/characters/charmapdlg.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/combinedlg.h"
#include "ui/dialogs/finddlg.h"
#include "ui/dialogs/fontdialog.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/lessoncheck/checklessondlg.h"
#include "ui/memorygame/memorygameform.h"
#include "ui/practice/practiceform.h"
#include "ui/recovery/recoverydlg.h"
#include "ui/spelling/spellingdlg.h"
#include "ui/textwindow/editform.h"
#include "testdecks.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

class ShippedLanguagesTest : public UiTest {
 protected:
  // The shipped language list, its files reached as beside the program.
  void SetUp() override {
    UiTest::SetUp();
    const std::string source = VOCATRIX_SOURCE_DIR;
    std::filesystem::create_directory_symlink(source + "/lang", File("lang"));
    WriteSettings("[Config]\nLanguage=English\n" + ReadFile(source + "/lang/languages.ini"));
    languages_ = InterfaceLanguages();
  }

  // "section/key" = value of an ini file.
  static std::map<std::string, std::string> Keys(const std::string& path) {
    std::map<std::string, std::string> keys;
    const IniFile file = IniFile::Load(path);
    std::string data = ReadFile(path), key, value;
    for (std::size_t at = data.find('['); at != std::string::npos; at = data.find("\n[", at + 1)) {
      const std::size_t start = data[at] == '\n' ? at + 2 : at + 1;
      const std::string section = data.substr(start, data.find(']', start) - start);
      for (const std::string& line : file.ReadSectionValues(section))
        if (SplitIniLine(line, key, value)) keys[section + "/" + key] = value;
    }
    return keys;
  }

  static std::multiset<std::string> Placeholders(const std::string& text) {
    static const std::regex placeholder(R"(%[-+ #0]*\d*(\.\d+)?[sdxXuifgc%])");
    std::multiset<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), placeholder), end; it != end; ++it) found.insert(it->str());
    return found;
  }

  // The letter after the mnemonic "&", lower case; none for "&&" only.
  static QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
      if (text[i] == '&') {
        if (text[i + 1] != '&') return text[i + 1].toLower();
        ++i;
      }
    return {};
  }

  // Adds the clashing mnemonics among the actions to `faults`, as
  // "where: first / second".
  static void CheckMnemonics(const QString& where, const QList<QAction*>& actions, std::vector<std::string>& faults,
                             bool visibleOnly) {
    std::map<QChar, QString> seen;
    for (const QAction* action : actions) {
      if (action->isSeparator() || (visibleOnly && !action->isVisible())) continue;
      const QChar letter = Mnemonic(action->text());
      if (letter.isNull()) continue;
      if (const auto it = seen.find(letter); it != seen.end())
        faults.push_back((where + ": " + it->second + " / " + action->text()).toStdString());
      seen.emplace(letter, action->text());
    }
  }

  static QString Shown(const QString& text) {
    QString shown = text;
    shown.replace(QRegularExpression("&(.)"), "\\1");
    return shown;
  }

  static int Advance(const QWidget* widget, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split('\n'))
      widest = std::max(widest, widget->fontMetrics().horizontalAdvance(line));
    return widest;
  }

  // Where a label's text stands in its parent; empty for a word-wrapped or
  // empty label.
  static QRect Ink(const QLabel* label) {
    if (label->wordWrap() || label->text().isEmpty()) return {};
    const QString text = label->buddy() ? Shown(label->text()) : label->text();
    const QRect contents = label->contentsRect().translated(label->pos());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                               QSize(Advance(label, text), contents.height()), contents);
  }

  // The texts of `window`'s visible labels, buttons, lists, group boxes and tabs
  // that do not fit, as "name 'text' needs n of m"; `measured` counts the
  // texts measured.
  static std::vector<std::string> CutTexts(QWidget* window, int& measured) {
    std::vector<std::string> cut;
    const auto report = [&](const QWidget* widget, const QString& text, int needed, int room) {
      ++measured;
      if (needed > room)
        cut.push_back(
            QString("%1 '%2' needs %3 of %4").arg(widget->objectName(), text).arg(needed).arg(room).toStdString());
    };
    QStyleOptionButton option;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      if (!widget->isVisibleTo(window)) continue;
      // A text the program sets is the lesson's or the program's, except a
      // paragraph such as the about box's description, which is the language's.
      const auto* paragraph = qobject_cast<TCustomClonedLabel*>(widget);
      if (ui::IsData(widget) && !(paragraph && paragraph->WordWrap())) continue;
      QStyle* style = widget->style();
      // A text that grew its widget past the parent's edge is cut there.
      const QWidget* parent = widget->parentWidget();
      const bool text = qobject_cast<QLabel*>(widget) || qobject_cast<TCustomClonedLabel*>(widget) ||
                        qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget);
      if (text && parent && !widget->isWindow())
        report(widget, widget->property("text").toString() + widget->property("title").toString(),
               widget->geometry().right() + 1, parent->contentsRect().right() + 1);
      if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
          continue;
        const QString text = label->buddy() ? Shown(label->text()) : label->text();
        const int indent = label->indent() >= 0      ? label->indent()
                           : label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance('x') / 2
                                                     : 0;
        const int room = label->contentsRect().width() - 2 * label->margin() - indent;
        if (label->wordWrap()) {
          report(label, text, label->heightForWidth(label->width()), label->height());
          for (const QString& word : text.split(QRegularExpression("\\s+")))
            report(label, word, Advance(label, word), room);
        } else {
          report(label, text, Advance(label, text), room);
          // Nor may it run under a control or into a text beside it.
          const QRect ink = Ink(label);
          for (const QWidget* other : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == label || !other->isVisibleTo(window)) continue;
            const auto* text = qobject_cast<const QLabel*>(other);
            const QRect occupied =
                text ? Ink(text)
                : qobject_cast<const QAbstractButton*>(other) || qobject_cast<const QLineEdit*>(other) ||
                        qobject_cast<const QComboBox*>(other) || qobject_cast<const QAbstractSpinBox*>(other) ||
                        qobject_cast<const QAbstractScrollArea*>(other)
                    ? other->geometry()
                    : QRect();
            if (occupied.intersects(ink))
              report(label, label->text() + " into " + other->objectName(), ink.right() + 1, occupied.left());
          }
        }
      } else if (auto* cloned = qobject_cast<TCustomClonedLabel*>(widget)) {
        const auto* multi = qobject_cast<TMultiLabel*>(widget);
        const QString text = multi ? multi->Text().join('\n') : Shown(cloned->Caption());
        const auto* framed = qobject_cast<TFramedLabel*>(widget);
        if (cloned->WordWrap())
          report(
              cloned, text,
              cloned->fontMetrics().boundingRect(QRect(0, 0, cloned->width(), 10000), Qt::TextWordWrap, text).height(),
              cloned->height());
        else
          report(cloned, text, Advance(cloned, text) + (framed ? 4 * framed->OffsetX() : 0), cloned->width());
      } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // Each item, as the closed list would show it.
        QStyleOptionComboBox box;
        box.initFrom(combo);
        box.editable = combo->isEditable();
        box.frame = combo->hasFrame();
        const int room = style->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, combo).width();
        for (int item = 0; item < combo->count(); ++item)
          report(combo, combo->itemText(item), Advance(combo, combo->itemText(item)), room);
      } else if (auto* header = qobject_cast<QHeaderView*>(widget)) {
        if (header->orientation() != Qt::Horizontal || !header->model()) continue;
        const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int section = 0; section < header->count(); ++section) {
          if (header->isSectionHidden(section)) continue;
          const QString text = header->model()->headerData(section, Qt::Horizontal).toString();
          report(header, text, Advance(header, text) + 2 * margin, header->sectionSize(section));
        }
      } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        if (!box->title().isEmpty()) report(box, box->title(), Advance(box, Shown(box->title())) + 16, box->width());
      } else if (auto* bar = qobject_cast<QTabBar*>(widget)) {
        const int space = style->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int tab = 0; tab < bar->count(); ++tab) {
          const QRect rect = bar->tabRect(tab);
          report(bar, bar->tabText(tab), Advance(bar, Shown(bar->tabText(tab))) + space / 2, rect.width());
          report(bar, bar->tabText(tab), rect.right() + 1, bar->width());
        }
      } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (button->text().isEmpty()) continue;
        option.initFrom(button);
        option.text = button->text();
        const int text = Advance(button, Shown(button->text()));
        if (qobject_cast<QCheckBox*>(button))
          report(button, button->text(), text,
                 style->subElementRect(QStyle::SE_CheckBoxContents, &option, button).width());
        else if (qobject_cast<QRadioButton*>(button))
          report(button, button->text(), text,
                 style->subElementRect(QStyle::SE_RadioButtonContents, &option, button).width());
        else if (qobject_cast<QPushButton*>(button))
          report(button, button->text(), text + (button->icon().isNull() ? 0 : button->iconSize().width() + 4),
                 style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width());
        else
          report(button, button->text(), text + 4, button->width());
      }
    }
    return cut;
  }

  std::vector<std::string> languages_;
};

TEST_F(ShippedLanguagesTest, EveryLanguageHasTheTemplatesKeysItsPlaceholdersAndMenusWithoutAMnemonicTwice) {
  ASSERT_GE(languages_.size(), 6u);
  // The template: what the running program writes for translators, with
  // every window made, in English.
  Main().SetLanguage("English");
  Discard(Main().NewChild());
  Main().MenuSaveLanguageClick();
  const auto templateKeys = Keys(File("Language.ini"));
  ASSERT_GT(templateKeys.size(), 400u);
  // Its messages are those the code looks up, and no other.
  std::set<std::string> looked;
  std::string sources;
  const QRegularExpression lookup(
      R"re(\b(?:TranslateMessage|Message)\(\s*"(\w+)"|\bTranslate\([^;"]*"Dynamic",\s*"(\w+)")re");
  for (QDirIterator it(VOCATRIX_SOURCE_DIR "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
       it.hasNext();) {
    const std::string text = ReadFile(it.next().toStdString());
    sources += text;
    for (auto match = lookup.globalMatch(QString::fromStdString(text)); match.hasNext();) {
      const auto found = match.next();
      looked.insert("Dynamic/" + (found.captured(1) + found.captured(2)).toStdString());
    }
  }
  EXPECT_GT(looked.size(), 100u);
  for (const std::string& key : looked) EXPECT_TRUE(templateKeys.count(key)) << "no message " << key;
  for (const auto& [key, value] : templateKeys) {
    if (key.rfind("Dynamic/", 0) == 0) {
      EXPECT_NE(sources.find('"' + key.substr(8) + '"'), std::string::npos) << "no code asks for " << key;
    }
  }

  for (const std::string& language : languages_) {
    SCOPED_TRACE(ui::ToQString(language).toStdString());
    const std::string file = LanguageFileName(language);
    ASSERT_TRUE(std::filesystem::is_regular_file(file)) << file;
    const auto keys = Keys(file);
    for (const auto& [key, value] : templateKeys) {
      const auto it = keys.find(key);
      if (it == keys.end()) {
        ADD_FAILURE() << "missing " << key;
        continue;
      }
      EXPECT_EQ(Placeholders(it->second), Placeholders(value)) << key << ": " << it->second;
      EXPECT_EQ(std::count(it->second.begin(), it->second.end(), '|'), std::count(value.begin(), value.end(), '|'))
          << key << ": " << it->second;
    }
    for (const auto& [key, value] : keys) EXPECT_TRUE(templateKeys.count(key)) << "extra " << key;
  }

  // The menus as they are built, after switching to each language: every
  // menu of the frame, a lesson window and a text window, and the menu bar
  // each of them shows.
  ui::VocabEditForm* lesson = Main().NewChild();
  ui::TEditForm* text = Main().NewTextWindow();
  for (const std::string& language : languages_) {
    Main().SetLanguage(language);
    std::vector<std::string> faults;
    for (QMenu* menu : Main().findChildren<QMenu*>()) CheckMnemonics(menu->title(), menu->actions(), faults, false);
    for (QWidget* window : std::initializer_list<QWidget*>{lesson, text}) {
      Main().ClientArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window));
      Settle();
      CheckMnemonics("menu bar of " + window->objectName(), Main().menuBar()->actions(), faults, true);
    }
    EXPECT_TRUE(faults.empty()) << ui::ToQString(language).toStdString() << ": " << testing::PrintToString(faults);
  }
  Main().SetLanguage("English");
  Discard(lesson);
}

TEST_F(ShippedLanguagesTest, EveryWindowShowsItsTextsWholeInEveryLanguage) {
  WriteFile(File("words.csv"), "house;Haus\ntree;Baum\n");
  // A deck of two note types, whose import asks which to take.
  WriteFile(File("two.apkg"), DeckOfTwoNoteTypes());
  const std::string lessonFile =
      MakeLessonFile("lesson.tav", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(2, {"tree"}, {"Baum"}),
                                    MakeEntry(4, {"green"}, {"gr\xFCn"}), MakeEntry(0, {"go"}, {"gehen"})});
  for (const std::string& language : languages_) {
    const std::string name = ui::ToQString(language).toStdString();
    SCOPED_TRACE(name);
    Main().SetLanguage(language);
    std::map<std::string, std::vector<std::string>> cut;
    int measured = 0;
    const auto check = [&](const std::string& window, QWidget* widget) {
      widget->show();
      Settle();
      for (const std::string& text : CutTexts(widget, measured)) cut[window].push_back(text);
    };
    check("main window", &Main());
    ui::VocabEditForm* form = Open(lessonFile);
    ASSERT_NE(form, nullptr);
    for (int page : {ui::VocabEditForm::kHeaderPage, ui::VocabEditForm::kEntriesPage, ui::VocabEditForm::kTextPage,
                     ui::VocabEditForm::kTablePage}) {
      form->SelectTab(page);
      check("lesson page " + std::to_string(page), form);
    }
    form->SelectTab(ui::VocabEditForm::kHeaderPage);
    ui::TEditForm* text = Main().NewTextWindow();
    check("text window", text);
    text->close();
    for (int mode : {0, 1}) {
      platform_.Dialogs.DialogAnswers.push_back([&, mode](QDialog& dialog) {
        check("combine " + std::to_string(mode), &dialog);
        return static_cast<int>(QDialog::Rejected);
      });
      Main().CombineLessons(mode);
    }
    platform_.Dialogs.DialogAnswers.push_back([&](QDialog& dialog) {
      check("special characters", &dialog);
      return static_cast<int>(QDialog::Rejected);
    });
    Main().MenuCharmapClick();
    platform_.Dialogs.DialogAnswers.push_back([&](QDialog& dialog) {
      check("import", &dialog);
      return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_EQ(Main().ImportFile(File("words.csv")), nullptr);
    platform_.Dialogs.DialogAnswers.push_back([&](QDialog& dialog) {
      check("import of an Anki deck", &dialog);
      return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_EQ(Main().ImportFile(File("two.apkg")), nullptr);
    check("find", Main().FindDlg());
    Main().FindDlg()->hide();
    ui::TFontDialog font(TFont{});
    ui::TranslateForm(&font);
    check("font", &font);
    ui::TRecoveryDlg recovery(&Main(), {});
    ui::TranslateForm(&recovery);
    check("recovery", &recovery);
    ui::TAboutBox about(platform_.Get());
    about.SetAboutLanguage(language);
    ui::TranslateForm(&about);
    about.FormShow();
    about.SetLayout(ui::TAboutBaseBox::kAboutLayout);
    check("about", &about);
    Child<QAction>(form, "MenuCheckSpelling")->trigger();
    check("spelling", form->SpellingDlg());
    form->SpellingDlg()->close();
    Child<QAction>(form, "MenuCheckLesson")->trigger();
    form->CheckLessonDlg()->Finish();
    check("check lesson", form->CheckLessonDlg());
    form->CheckLessonDlg()->close();
    Child<QAction>(form, "MenuMemoryGame")->trigger();
    form->MemoryGame()->FinishDealing();
    check("memory game", form->MemoryGame());
    form->MemoryGame()->close();
    form->MenuPractiseClick();
    ui::PracticeForm* practice = form->Practice();
    practice->FinishWork();
    check("practice", practice);
    QTest::mouseClick(practice->ButtonStart, Qt::LeftButton);
    practice->FinishWork();
    check("practice asking", practice);
    practice->close();
    Settle();
    Discard(form);
    form->close();
    Settle();
    EXPECT_GT(measured, 200);
    EXPECT_TRUE(cut.empty()) << name << ": " << testing::PrintToString(cut);
  }
  Main().SetLanguage("English");
}

}  // namespace
}  // namespace vocatrix::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The font dialog of the language fonts without running it (the fields it
// starts with and the font they give back), and the pitch of a font on
// text and widgets.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

#include "ui/dialogs/fontdialog.h"
#include "ui/textview/lessontextview.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::test {
namespace {

TFont FontOf(const char* text, TColor color, TFontPitch pitch = TFontPitch::Default) {
  TFont font = TextToFont(text);
  font.Color = color;
  font.Pitch = pitch;
  return font;
}

// An installed family of the given pitch.
QString InstalledFace(bool fixed) {
  for (const QString& family : QFontDatabase::families())
    if (QFontDatabase::isFixedPitch(family) == fixed) return family;
  return {};
}

TEST(FontDialog, GivesBackAnUntouchedFontExactly) {
  struct Case {
    TFont font;
    QString colorShown;
    int colors;
  };
  // An installed face in other case is not renamed to the installed one.
  TFont otherCase = FontOf("X_clNone_0_[]", 0x80000008);
  otherCase.Name = ui::ToLessonString(QFontDatabase::families().value(0).toUpper());
  const Case cases[] = {
      {FontOf("NoSuchFace Pro_clTeal_13_[Italic, Underline]", 0x808000, TFontPitch::Fixed), "Teal", 16},
      {FontOf("Arial_clBlack_10_[Bold, StrikeOut]", 0x123456), "Custom", 17},
      {otherCase, "WindowText", 17},
  };
  for (const Case& c : cases) {
    ui::TFontDialog dialog(c.font);
    EXPECT_EQ(dialog.objectName(), "FontDialog");
    EXPECT_EQ(dialog.Font(), c.font) << c.font.Name;
    EXPECT_EQ(dialog.ComboFace->currentText(), ui::ToQString(c.font.Name));
    EXPECT_EQ(dialog.ComboSize->currentText(), QString::number(c.font.Size));
    EXPECT_EQ(dialog.ComboColor->currentText(), c.colorShown);
    EXPECT_EQ(dialog.ComboColor->count(), c.colors);
  }
}

TEST(FontDialog, EachFieldSetsItsPartOfTheFont) {
  const TFont start = FontOf("NoSuchFace Pro_clNone_13_[Italic, Underline]", 0x123456, TFontPitch::Fixed);
  const QString fixedFace = InstalledFace(true);
  const QString variableFace = InstalledFace(false);
  ASSERT_FALSE(fixedFace.isEmpty());
  ASSERT_FALSE(variableFace.isEmpty());
  struct Case {
    const char* what;
    std::function<void(ui::TFontDialog&)> edit;
    std::function<void(TFont&)> expect;
  };
  const Case cases[] = {
      {"size typed", [](auto& d) { d.ComboSize->setEditText("24"); }, [](TFont& f) { f.Size = 24; }},
      {"size listed", [](auto& d) { d.ComboSize->setCurrentIndex(d.ComboSize->findText("72")); },
       [](TFont& f) { f.Size = 72; }},
      {"size emptied", [](auto& d) { d.ComboSize->setEditText(""); }, [](TFont&) {}},
      {"styles",
       [](auto& d) {
         d.CheckBold->setChecked(true);
         d.CheckItalic->setChecked(false);
         d.CheckUnderline->setChecked(false);
         d.CheckStrikeOut->setChecked(true);
       },
       [](TFont& f) { f.SetStyleBits(1 | 8); }},
      {"fixed face", [&](auto& d) { d.ComboFace->setCurrentIndex(d.ComboFace->findText(fixedFace)); },
       [&](TFont& f) { f.Name = ui::ToLessonString(fixedFace); }},
      {"variable face", [&](auto& d) { d.ComboFace->setCurrentIndex(d.ComboFace->findText(variableFace)); },
       [&](TFont& f) {
         f.Name = ui::ToLessonString(variableFace);
         f.Pitch = TFontPitch::Variable;
       }},
      {"face typed", [](auto& d) { d.ComboFace->setEditText("Other Face"); },
       [](TFont& f) {
         f.Name = "Other Face";
         f.Pitch = TFontPitch::Variable;
       }},
      {"face emptied", [](auto& d) { d.ComboFace->setEditText(""); }, [](TFont&) {}},
      {"face chosen again",
       [&](auto& d) {
         d.ComboFace->setCurrentIndex(d.ComboFace->findText(variableFace));
         d.ComboFace->setCurrentIndex(d.ComboFace->findText("NoSuchFace Pro"));
       },
       [](TFont&) {}},
  };
  for (const Case& c : cases) {
    ui::TFontDialog dialog(start);
    c.edit(dialog);
    TFont want = start;
    c.expect(want);
    EXPECT_EQ(dialog.Font(), want) << c.what;
  }

  // The sixteen named colours, each under its name; the font's own colour
  // stays on offer after them.
  struct Named {
    const char* name;
    TColor value;
  };
  const Named named[] = {{"Black", 0x000000}, {"Maroon", 0x000080}, {"Green", 0x008000},  {"Olive", 0x008080},
                         {"Navy", 0x800000},  {"Purple", 0x800080}, {"Teal", 0x808000},   {"Gray", 0x808080},
                         {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},   {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},
                         {"Blue", 0xFF0000},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00}, {"White", 0xFFFFFF}};
  ui::TFontDialog dialog(start);
  for (const Named& n : named) {
    dialog.ComboColor->setCurrentIndex(dialog.ComboColor->findText(n.name));
    EXPECT_EQ(dialog.Font().Color, n.value) << n.name;
  }
  dialog.ComboColor->setCurrentIndex(dialog.ComboColor->findText("Custom"));
  EXPECT_EQ(dialog.Font(), start);
}

TEST(FontPitch, ReachesTextAndWidgetFontsButNotTheFontDescription) {
  struct Case {
    TFontPitch pitch;
    bool set;
    bool fixed;
  };
  for (const Case& c : {Case{TFontPitch::Default, false, false}, Case{TFontPitch::Variable, true, false},
                        Case{TFontPitch::Fixed, true, true}}) {
    const TFont font = FontOf("Liberation Sans_clRed_12_[Bold]", 0x0000FF, c.pitch);
    QTextDocument document;
    QTextCursor cursor(&document);
    ui::ApplyFont(cursor, font);
    cursor.insertText("x");
    const QTextCharFormat format = cursor.charFormat();
    EXPECT_EQ(format.hasProperty(QTextFormat::FontFixedPitch), c.set);
    EXPECT_EQ(format.font().fixedPitch(), c.fixed);
    EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{"Liberation Sans"});

    const QFont widgetFont = ui::ToQFont(font);
    EXPECT_EQ((widgetFont.resolveMask() & QFont::FixedPitchResolved) != 0, c.set);
    EXPECT_EQ(widgetFont.fixedPitch(), c.fixed);

    EXPECT_EQ(FontToText(font), "Liberation Sans_clRed_12_[Bold]");
    EXPECT_TRUE(SameFont(font, TextToFont(FontToText(font))));
  }
}

}  // namespace
}  // namespace vocatrix::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The about box: splash and about layouts, the fitted title, the link and
// the start sound.

#include <QPushButton>
#include <QTimer>

#include "components/framedlabel.h"
#include "components/memopanel.h"
#include "ui/about/aboutbox.h"
#include "ui/about/soundevents.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::TAboutBaseBox;
using ui::TAboutBox;

class AboutTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ui::SoundEvents() = ui::TSoundEvents();
  }
  void TearDown() override {
    ui::SoundEvents() = ui::TSoundEvents();
    UiTest::TearDown();
  }
  std::unique_ptr<TAboutBox> Box() { return std::make_unique<TAboutBox>(platform_.Get()); }
};

TEST_F(AboutTest, TheSplashIsTheBoxWithoutItsButtonStripForThreeSeconds) {
  auto box = Box();
  EXPECT_EQ(box->CurrentLayout(), TAboutBaseBox::kSplashLayout);
  EXPECT_EQ(box->height(), 314 - 44);
  EXPECT_EQ(box->width(), 318);
  EXPECT_FALSE(box->OKButton->isVisibleTo(box.get()));
  EXPECT_TRUE(box->TimerSplashScreen->isActive());
  EXPECT_EQ(box->TimerSplashScreen->interval(), 3000);
  box->show();
  box->TimerSplashScreenTimer();
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(box->CurrentLayout(), TAboutBaseBox::kAboutLayout);
  EXPECT_EQ(box->height(), 314);
  EXPECT_TRUE(box->OKButton->isVisibleTo(box.get()));

  // "Inf&o..." shows it modally with its OK button, after the splash too.
  Main().SetAboutBox(box.get());
  bool okShown = false;
  platform_.Dialogs.DialogAnswers.push_back([&](QDialog& dialog) {
    okShown = static_cast<TAboutBaseBox&>(dialog).OKButton->isVisibleTo(&dialog);
    return static_cast<int>(QDialog::Accepted);
  });
  Child<QAction>(&Main(), "MenuAbout")->trigger();
  EXPECT_TRUE(okShown);
  Main().SetAboutBox(nullptr);
}

TEST_F(AboutTest, TheSplashAsksAboutTheSoundCardOverTheMainWindowInItsLanguage) {
  // A first start: no language chosen yet, a German one about to be, no sound device.
  WriteSettings(std::string("[Languages]\n1=Deutsch\n[LanguageFiles]\nDeutsch=") + VOCATRIX_SOURCE_DIR +
                "/lang/Deutsch.ini\n[Sound]\nStart=start.wav\n");
  ui::SoundEvents().LoadSoundSettings();
  platform_.Sound.Device = false;
  platform_.Sound.Plays = false;
  auto box = Box();
  box->HoldStartSound();
  box->show();
  Settle();
  EXPECT_TRUE(platform_.Sound.Played.empty());
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  platform_.Dialogs.MessageAnswers = {ui::MessageAnswer::Yes};
  box->PlayHeldStartSound(&Main(), "Deutsch");
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Parent, &Main());
  EXPECT_EQ(platform_.Dialogs.Messages[0].Text,
            QString::fromUtf8("Keine Soundkarte gefunden. Es wird empfohlen, den Ton auszuschalten.\nTon ausschalten?"));
  EXPECT_FALSE(ui::SoundEvents().SoundOn);
  // Once: the splash shown again asks nothing more.
  box->PlayHeldStartSound(&Main(), "Deutsch");
  EXPECT_EQ(platform_.Dialogs.Messages.size(), 1u);
}

TEST_F(AboutTest, TheTitleFitsAboveItsLineAndTheDescriptionSpeaksTheLanguageFromTheFirstStart) {
  WriteSettings("[Config]\nLanguage=Test\n[LanguageFiles]\nTest=test.ini\n");
  struct Case {
    std::string title;
  };
  for (const std::string& title : {std::string("Vocatrix"), std::string("Ein sehr langer Programmname"),
                                   std::string(300, 'W')}) {
    WriteFile(File("test.ini"), "[Vocatrix]\nName=" + title + "\nInfo=Edits lessons.\n");
    auto box = Box();
    box->FormShow();
    TFramedLabel* label = box->LabelProductName;
    EXPECT_EQ(ui::ToLessonString(label->Caption()), title);
    if (title.size() < 100) {
      EXPECT_LE(label->width() - 4, 223) << title;
      EXPECT_LE(label->height() - 2, 53) << title;
      EXPECT_EQ(label->y() + label->height(), 56) << title;
    }
    EXPECT_GE(label->font().pixelSize(), 1);
    EXPECT_EQ(box->Comments->Caption(), "Edits lessons.");
    EXPECT_EQ(box->LabelVersion->Caption(), "1.14");
  }
  // The short title keeps a large font; no language file gives the defaults.
  WriteSettings("");
  auto box = Box();
  box->FormShow();
  EXPECT_EQ(box->LabelProductName->Caption(), "Vocatrix");
  EXPECT_EQ(box->Comments->Caption(), "Info not found.");
  // The first start has chosen no language yet: the box speaks the one the
  // main window is about to choose by the locale.
  WriteSettings(std::string("[Languages]\n1=English\n2=Deutsch\n[LanguageFiles]\nEnglish=") + VOCATRIX_SOURCE_DIR +
                "/lang/English.ini\nDeutsch=" + VOCATRIX_SOURCE_DIR + "/lang/Deutsch.ini\n");
  auto first = Box();
  first->FormShow();
  EXPECT_EQ(first->Comments->Caption(),
            QString::fromUtf8(ui::MainForm::FirstLanguage() == "Deutsch"
                                  ? "Vocatrix bearbeitet Vokabellektionen: Wörter mit Synonymen, Übersetzungen und "
                                    "Antonymen in zwei Sprachen, für Lernspiele, die Lektionsdateien lesen."
                                  : "Vocatrix edits vocabulary lessons: words with their synonyms, translations and "
                                    "antonyms in two languages, for the learning games that read lesson files."));
}

TEST_F(AboutTest, TheLinkFollowsTheLanguageTheStartSoundPlaysAndABackgroundIsTiled) {
  QImage tile(8, 8, QImage::Format_RGB32);
  tile.fill(Qt::red);
  tile.save(ui::FileNameToQString(File("back.bmp")));
  WriteSettings("[Config]\nBackground=back.bmp\n[Sound]\nStart=start.wav\n");
  ui::SoundEvents().LoadSoundSettings();
  auto box = Box();
  EXPECT_EQ(box->AboutPanel->PanelBmp().size(), QSize(8, 8));
  box->FormShow();
  QCoreApplication::processEvents();
  ASSERT_FALSE(platform_.Sound.Played.empty());
  EXPECT_EQ(platform_.Sound.Played.back(), std::make_pair(ui::FileNameToQString(File("start.wav")), 1));
  for (const char* language : {"Deutsch", "English", "deutsch"}) {
    box->SetAboutLanguage(language);
    box->HomepageClick();
    // The pages lie in the installed help: the help window shows them, browser or not.
    EXPECT_TRUE(platform_.Help.Shown.back().first.endsWith(std::string(language) == "Deutsch" ? "/German.html"
                                                                                              : "/English.html"));
  }
  // A picture that cannot be read leaves the plain background.
  WriteSettings("[Config]\nBackground=missing.bmp\n");
  EXPECT_TRUE(Box()->AboutPanel->PanelBmp().isNull());
  // Rendered: the icon's transparent silver shows the panel's silver.
  const QImage shot = box->grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(9, 7)), QColor(255, 0, 0));  // the tiled background behind the icon's corner
}

}  // namespace
}  // namespace vocatrix::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Sound events: the settings, the switch and the two questions of a sound
// that cannot be played.

#include <sys/stat.h>

#include "base/inifile.h"
#include "ui/about/soundevents.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::MessageKind;
using ui::TSoundEvents;

class SoundTest : public UiTest {
 protected:
  TSoundEvents Loaded(const std::string& settings) {
    WriteSettings(settings);
    TSoundEvents events;
    events.LoadSoundSettings();
    return events;
  }
  void Play(TSoundEvents& events, int flags = ui::kSoundAsync) {
    ui::Platform platform = platform_.Get();
    events.PlaySoundEvent(ui::seStart, flags, platform, nullptr, "?");
  }
};

TEST_F(SoundTest, SettingsNameTheFilesFromTheirFileAndTheSwitchFromOptions) {
  ::mkdir(File("snd").c_str(), 0755);
  WriteFile(File("snd/snd.ini"), "[Sound]\nStart=start.wav\nBye=/abs/bye.wav\nYes=sub\\yes.wav\n");
  TSoundEvents events = Loaded("[Config]\nSoundIni=snd/snd.ini\n[Options]\nSound=1\n");
  EXPECT_TRUE(events.SoundOn);
  EXPECT_EQ(events.SoundFiles[ui::seStart], File("snd/start.wav"));
  EXPECT_EQ(events.SoundFiles[ui::seBye], "/abs/bye.wav");
  EXPECT_EQ(events.SoundFiles[ui::seYes], File("snd/sub/yes.wav"));
  EXPECT_EQ(events.SoundFiles[ui::seClap], "");
  // Without SoundIni the program settings file holds the section itself.
  EXPECT_EQ(Loaded("[Sound]\nStart=s.wav\n").SoundFiles[ui::seStart], File("s.wav"));
  struct Case {
    const char* value;
    bool on;
  };
  for (const Case& c : {Case{"0", false}, Case{"1", true}, Case{"7", true}, Case{"abc", true}, Case{"", true}})
    EXPECT_EQ(Loaded(std::string("[Options]\nSound=") + c.value + "\n").SoundOn, c.on) << c.value;
}

TEST_F(SoundTest, SilenceAndAnEmptyEntryPlayNothingAndAskNothing) {
  TSoundEvents off = Loaded("[Options]\nSound=0\n[Sound]\nStart=start.wav\n");
  Play(off);
  TSoundEvents empty = Loaded("[Sound]\nBye=bye.wav\n");
  Play(empty);
  EXPECT_TRUE(platform_.Sound.Played.empty());
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  off.SaveSoundSettings();
  EXPECT_EQ(IniFile(SettingsFile()).ReadString("Options", "Sound", ""), "0");
  TSoundEvents on = Loaded("[Sound]\nStart=start.wav\n");
  Play(on);
  EXPECT_EQ(platform_.Sound.Played, (std::vector<std::pair<QString, int>>{{ui::FileNameToQString(File("start.wav")), 1}}));
}

TEST_F(SoundTest, ASoundThatCannotPlayOffersToSwitchSoundOff) {
  platform_.Sound.Plays = false;
  struct Case {
    bool device;
    MessageAnswer answer;
    MessageKind kind;
    bool soundOn;
  };
  const Case cases[] = {{false, MessageAnswer::No, MessageKind::Confirmation, true},
                        {false, MessageAnswer::Yes, MessageKind::Confirmation, false},
                        {true, MessageAnswer::No, MessageKind::Confirmation, true},
                        {true, MessageAnswer::Yes, MessageKind::Confirmation, false}};
  for (const Case& c : cases) {
    TSoundEvents events = Loaded("[Sound]\nStart=start.wav\n");
    platform_.Sound.Device = c.device;
    platform_.Dialogs.Messages.clear();
    platform_.Dialogs.MessageAnswers = {c.answer};
    Play(events);
    ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(platform_.Dialogs.Messages[0].Kind, c.kind);
    EXPECT_EQ(platform_.Dialogs.Messages[0].Text,
              c.device ? ui::FileNameToQString("The sound file '" + File("start.wav") +
                                               "' cannot be played. Do you want to switch off the sound?")
                       : QString("Soundcard not found. It is recommended to switch off the sound.\nSwitch sound off?"));
    EXPECT_EQ(events.SoundOn, c.soundOn);
    // The answer is kept at once.
    EXPECT_EQ(IniFile(SettingsFile()).ReadString("Options", "Sound", "1"), c.soundOn ? "1" : "0");
    // A file that cannot play asks again while the sound is on; the question
    // about a missing sound card is asked once, whatever the answer.
    platform_.Dialogs.MessageAnswers = {MessageAnswer::No};
    platform_.Dialogs.Messages.clear();
    Play(events);
    EXPECT_EQ(platform_.Dialogs.Messages.size(), c.soundOn && c.device ? 1u : 0u);
    platform_.Dialogs.MessageAnswers.clear();
  }
  // A sound that may not interrupt another fails without a word.
  TSoundEvents events = Loaded("[Sound]\nStart=start.wav\n");
  platform_.Dialogs.Messages.clear();
  Play(events, ui::kSoundAsync | ui::kSoundNoStop);
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  EXPECT_TRUE(events.SoundOn);
}

}  // namespace
}  // namespace vocatrix::test

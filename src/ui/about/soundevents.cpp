// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about/soundevents.h"

#include <cstdlib>

#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "ui/platform/platform.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {

const std::array<const char*, TSoundEvents::kEvents> TSoundEvents::kKeys = {
    "Start", "ShowIt", "Clap", "Rotate", "Yes", "No", "Applause", "Bonus", "Move1", "Move2", "Bye"};

void TSoundEvents::LoadSoundSettings() {
  const std::string value = IniFile(ProgramSettingsFile()).ReadString("Options", "Sound", "");
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  // Text that is no whole number leaves the sound on.
  SoundOn = value.empty() || *end != '\0' || number != 0;
  SoundcardAsked = IniFile(ProgramSettingsFile()).ReadString("Options", "SoundcardAsked", "") == "1";
  const std::string soundIni = ConfigPath("Config", "SoundIni", ProgramSettingsFile());
  const IniFile file = IniFile::Load(soundIni);
  for (int i = 0; i < kEvents; ++i) {
    const std::string name = file.ReadString("Sound", kKeys[static_cast<std::size_t>(i)], "");
    SoundFiles[static_cast<std::size_t>(i)] = name.empty() ? std::string() : ResolveIniPath(soundIni, name);
  }
}

void TSoundEvents::SaveSoundSettings() const {
  IniFile settings = IniFile::Edit(ProgramSettingsFile());
  settings.WriteString("Options", "Sound", SoundOn ? "1" : "0");
  if (SoundcardAsked) settings.WriteString("Options", "SoundcardAsked", "1");
  settings.Save();
}

namespace {

// An answer the user gave is kept at once; a file that cannot be written
// keeps it for this run only.
void KeepAnswer(const TSoundEvents& events) {
  try {
    events.SaveSoundSettings();
  } catch (const std::exception&) {
  }
}

}  // namespace

void TSoundEvents::PlaySoundEvent(int event, int flags, Platform& platform, QWidget* parent,
                                  const std::string& language) {
  if (event < 0 || event >= kEvents || !SoundOn) return;
  const std::string& file = SoundFiles[static_cast<std::size_t>(event)];
  if (file.empty()) return;
  if (platform.sound.PlayWave(FileNameToQString(file), flags)) return;
  if (flags & kSoundNoStop) return;
  if (!platform.sound.HasOutputDevice()) {
    // Asked once: a "No" keeps the sound on, and the next start asks nothing.
    if (SoundcardAsked) return;
    const QString advice =
        Utf8ToQString(Translate(language, "Dynamic", "NoSoundcard",
                                "Soundcard not found. It is recommended to switch off the sound.") +
                      "\n" + Translate(language, "Dynamic", "SwitchSoundOff", "Switch sound off?"));
    if (platform.dialogs.Message(parent, MessageKind::Confirmation, MessageButtons::YesNo, advice) ==
        MessageAnswer::Yes)
      SoundOn = false;
    SoundcardAsked = true;
    KeepAnswer(*this);
    return;
  }
  const QString question = Utf8ToQString(
      FormatText(Translate(language, "Dynamic", "NoSound",
                           "The sound file '%s' cannot be played. Do you want to switch off the sound?"),
                 {file}));
  if (platform.dialogs.Message(parent, MessageKind::Confirmation, MessageButtons::YesNo, question) ==
      MessageAnswer::Yes) {
    SoundOn = false;
    KeepAnswer(*this);
  }
}

TSoundEvents& SoundEvents() {
  static TSoundEvents events;
  return events;
}

}  // namespace vocatrix::ui

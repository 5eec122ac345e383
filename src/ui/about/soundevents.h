// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sound events: eleven named events mapped to wave files by the sound
// settings file, and a switch that turns all of them off. A sound that
// cannot be played offers to switch sound off.

#include <array>
#include <string>

class QWidget;

namespace vocatrix::ui {

struct Platform;

enum SoundEvent : int {
  seStart = 0, seShowIt, seClap, seRotate, seYes, seNo, seApplause, seBonus, seMove1, seMove2, seBye
};

// Flags of the sound player: return at once, and fail instead of
// interrupting a sound that is playing.
enum SoundFlags : int { kSoundAsync = 1, kSoundNoStop = 16 };

class TSoundEvents {
 public:
  static constexpr int kEvents = 11;
  static const std::array<const char*, kEvents> kKeys;

  bool SoundOn = true;
  // The question whether to switch sound off without a sound card was
  // answered once: it is not asked again.
  bool SoundcardAsked = false;
  std::array<std::string, kEvents> SoundFiles;  // full paths; empty: silent

  // "Options"/"Sound" of the program settings file (a whole number, 0 off;
  // default on), "Options"/"SoundcardAsked", and section "Sound" of the
  // sound settings file ("SoundIni", default the program settings file),
  // each name taken from the folder of that file.
  void LoadSoundSettings();
  // Writes the switch back as "1" or "0", and whether the sound-card
  // question was answered.
  void SaveSoundSettings() const;
  // Plays an event's file. When it cannot be played (and `flags` has no
  // kSoundNoStop): without an output device, once, the "NoSoundcard" advice
  // with the question "Switch sound off?" (Yes switches it off), otherwise
  // the "NoSound" question (Yes switches it off), in the interface language
  // `language`. An answer is written to the settings at once.
  void PlaySoundEvent(int event, int flags, Platform& platform, QWidget* parent, const std::string& language);
};

// The program's one set of sound events.
TSoundEvents& SoundEvents();

}  // namespace vocatrix::ui

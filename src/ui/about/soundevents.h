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
  std::array<std::string, kEvents> SoundFiles;  // full paths; empty: silent

  // "Options"/"Sound" of the program settings file (a whole number, 0 off;
  // default on) and section "Sound" of the sound settings file ("SoundIni",
  // default the program settings file), each name taken from the folder of
  // that file.
  void LoadSoundSettings();
  // Writes the switch back as "1" or "0".
  void SaveSoundSettings() const;
  // Plays an event's file. When it cannot be played (and `flags` has no
  // kSoundNoStop): without an output device the "NoSoundcard" advice (OK
  // switches sound off), otherwise the "NoSound" question (Yes switches it
  // off), in the interface language `language`.
  void PlaySoundEvent(int event, int flags, Platform& platform, QWidget* parent, const std::string& language);
};

// The program's one set of sound events.
TSoundEvents& SoundEvents();

}  // namespace vocatrix::ui

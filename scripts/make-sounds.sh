#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the default sounds of the sound events in sounds/ with SoX (Debian
# package sox): short mono waves, 16 bit at 22050 Hz like the start sound.
# They are committed, so the build needs no SoX; run this script only to make
# them again after changing it. -R seeds SoX's noise the same way every time,
# so the same script makes the same files.
#   scripts/make-sounds.sh [FOLDER]   (default: the repository's sounds/)
set -euo pipefail
out=$(cd "${1:-$(dirname "$0")/../sounds}" && pwd)
command -v sox >/dev/null || { echo "make-sounds.sh needs SoX: apt-get install sox" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

format=(-R -r 22050 -b 16 -c 1 -e signed-integer)
# A tone: sox synth arguments, then a short fade in and out against clicks.
tone() {
  local file=$1 length=$2
  shift 2
  sox "${format[@]}" -n "$work/$file" synth "$length" "$@" fade q 0.005 "$length" 0.04 gain -1
}
# Files played one after another, as one file.
join() {
  local file=$1
  shift
  sox "${format[@]}" "$@" "$out/$file" vol 0.6
}

# Yes: a rising tone; No: a falling one, a little rougher.
tone yes.raw.wav 0.28 sine 523:1047
join yes.wav "$work/yes.raw.wav"
tone no.raw.wav 0.36 triangle 392:196
join no.wav "$work/no.raw.wav"

# Clap: a burst of band-passed noise that dies away at once, with two quick
# echoes, as hands make it.
sox "${format[@]}" -n "$work/clap.raw.wav" synth 0.16 whitenoise band 1400 900 fade l 0 0.16 0.155 \
  echos 0.8 0.5 9 0.6 17 0.4 norm -3
join clap.wav "$work/clap.raw.wav"

# Applause: noise clapped at two uneven rates, swelling and fading.
sox "${format[@]}" -n "$work/crowd1.wav" synth 1.8 pinknoise band 1600 1400 tremolo 11.3 90
sox "${format[@]}" -n "$work/crowd2.wav" synth 1.8 whitenoise band 2400 1800 tremolo 16.7 80
sox "${format[@]}" -m "$work/crowd1.wav" "$work/crowd2.wav" "$work/crowd.wav" fade h 0.25 1.8 0.8 norm -3
join applause.wav "$work/crowd.wav"

# Short tones: ShowIt a blip, Rotate a soft turn, Bonus three notes up, Bye
# two notes down.
tone showit.raw.wav 0.09 sine 1319
join showit.wav "$work/showit.raw.wav"
tone rotate.raw.wav 0.16 triangle 660:330
join rotate.wav "$work/rotate.raw.wav"
tone bonus1.wav 0.09 sine 659
tone bonus2.wav 0.09 sine 784
tone bonus3.wav 0.2 sine 1047
join bonus.wav "$work/bonus1.wav" "$work/bonus2.wav" "$work/bonus3.wav"
tone bye1.wav 0.14 sine 784
tone bye2.wav 0.26 sine 523
join bye.wav "$work/bye1.wav" "$work/bye2.wav"

ls -l "$out"/*.wav

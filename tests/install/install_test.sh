#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and starts the installed editor
# from there with an example lesson. Its data comes from <prefix>/share/vocatrix,
# its settings go to $XDG_CONFIG_HOME/vocatrix/, and nothing is written into
# the prefix, which is made read-only (decided by the layout, not by
# permissions, so this holds when the tests run as root too). The desktop
# files are checked with their validators where those are installed.
#   install_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1 build=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix data=$work/prefix/share/vocatrix
fail() { echo "FAIL: $*" >&2; exit 1; }
export HOME=$work/home XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME"

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
files=(bin/vocatrix bin/vocatrix-cli share/applications/org.vocatrix.Vocatrix.desktop
       share/metainfo/org.vocatrix.Vocatrix.metainfo.xml share/mime/packages/vocatrix.xml)
for name in lang/English.ini lang/Deutsch.ini lang/Francais.ini lang/Espanol.ini lang/Italiano.ini \
            lang/Nederlands.ini English.hlp English.html German.hlp German.html sounds/start.wav \
            sounds/yes.wav sounds/no.wav sounds/clap.wav sounds/applause.wav sounds/bonus.wav sounds/showit.wav \
            sounds/rotate.wav sounds/bye.wav \
            vocatrix.ini examples/english-german.tav examples/french-german.tav; do
  files+=("share/vocatrix/$name")
done
for size in 16 22 24 32 48 64 128 256; do files+=("share/icons/hicolor/${size}x$size/apps/vocatrix.png"); done
for f in "${files[@]}"; do [ -s "$prefix/$f" ] || fail "not installed: $f"; done
# The default settings: the language list and the sounds, nothing of a user's.
# Language names are Windows-1252 there, as in the interface-language files.
grep -q '^\[Languages\]' "$data/vocatrix.ini" && grep -q '^Deutsch=lang/Deutsch.ini' "$data/vocatrix.ini" &&
  LC_ALL=C grep -q $'^Fran\xe7ais=lang/Francais.ini' "$data/vocatrix.ini" &&
  grep -q '^Start=sounds/start.wav' "$data/vocatrix.ini" || fail "default settings incomplete"
# Every sound the default settings name is installed.
for wave in $(sed -n 's/^[A-Za-z0-9]*=\(sounds\/[^\r]*\)\r\?$/\1/p' "$data/vocatrix.ini"); do
  [ -s "$data/$wave" ] || fail "a default sound is not installed: $wave"
done
[ "$(grep -c '^[A-Za-z0-9]*=sounds/' "$data/vocatrix.ini")" -eq 9 ] || fail "default settings name not all sounds"
! grep -q '^\[Lessons\]' "$data/vocatrix.ini" || fail "default settings hold a user's lessons"
# The example lessons are their lesson text converted by the installed tool.
for example in english-german french-german; do
  "$prefix/bin/vocatrix-cli" convert "$data/examples/$example.txt" "$work/$example.tav"
  cmp "$work/$example.tav" "$data/examples/$example.tav" || fail "$example.tav differs from its lesson text"
done

# Desktop entry, AppStream metadata and the lesson file type.
desktop=$prefix/share/applications/org.vocatrix.Vocatrix.desktop
grep -q '^MimeType=application/x-vocatrix-lesson;$' "$desktop" || fail "desktop entry without the lesson type"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed (desktop-file-utils): not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.vocatrix.Vocatrix.metainfo.xml" || fail "appstreamcli validate"
else
  echo "appstreamcli not installed (appstream): not validated"
fi
if command -v update-mime-database >/dev/null; then
  cp -r "$prefix/share/mime" "$work/mime"
  update-mime-database "$work/mime" >/dev/null 2>&1
  grep -q '^[0-9]*:application/x-vocatrix-lesson:\*\.tav$' "$work/mime/globs2" || fail "no *.tav glob"
  grep -aq 'tavv' "$work/mime/magic" && grep -aq 'application/x-vocatrix-lesson' "$work/mime/magic" || fail "no magic"
else
  echo "update-mime-database not installed (shared-mime-info): the file type not checked"
fi

# A start of the installed editor from the read-only prefix, ended by TERM once
# it has read its settings (the signal waits until the lesson is open).
chmod -R a-w "$prefix"
# Without a sound device the start sound would ask whether to switch sound off.
settings=$XDG_CONFIG_HOME/vocatrix/vocatrix.ini
mkdir -p "$XDG_CONFIG_HOME/vocatrix"
printf '[Options]\nSound=0\n' >"$settings"
touch "$work/stamp"
lesson=$data/examples/english-german.tav
QT_QPA_PLATFORM=offscreen LC_ALL= LC_MESSAGES= LANG=fr_FR.UTF-8 "$prefix/bin/vocatrix" "$lesson" \
  >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 600); do
  grep -q '^\[Languages\]' "$settings" || ! kill -0 $pid 2>/dev/null && break
  sleep 0.1
done
kill -TERM $pid 2>/dev/null || true
for _ in $(seq 600); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
! kill -KILL $pid 2>/dev/null || fail "the editor did not end on TERM"
status=0
wait $pid || status=$?
cat "$work/err" >&2
[ $status -eq 0 ] || fail "the editor ended with $status"
! grep -q 'is missing' "$work/err" || fail "the installed editor misses its data"
[ -z "$(find "$prefix" -newer "$work/stamp")" ] || fail "written into the prefix: $(find "$prefix" -newer "$work/stamp")"
# The first start took the locale's language and kept its name in Windows-1252.
tr -d '\r' <"$settings" | LC_ALL=C grep -qx $'Language=Fran\xe7ais' || fail "the locale's interface language was not saved"
grep -qxF "Lesson1=$lesson" <(tr -d '\r' <"$settings") || fail "the example lesson was not open"
grep -q '^\[Languages\]' "$settings" && grep -q '^Start=sounds/start.wav' "$settings" &&
  grep -q '^Sound=0' "$settings" || fail "the user's settings lack their own values or the installed defaults"
echo "installed editor: data from $data, settings in $settings"

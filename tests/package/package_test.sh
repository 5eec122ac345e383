#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package of the build with CPack and checks what it
# installs (dpkg-deb -c): the programs, their manual pages, the copyright
# file and changelog, the data, owned by root with the usual modes, and the
# documentation compressed as Debian wants it. lintian then reports no error
# and no warning, where it is installed.
#   package_test.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1 build=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb=$work/vocatrix_${version}_$(dpkg --print-architecture).deb
[ -s "$deb" ] || fail "no package $deb: $(ls "$work")"
[ "$(dpkg-deb -f "$deb" Package)" = vocatrix ] && [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
  fail "package name or version: $(dpkg-deb -f "$deb" Package Version)"

dpkg-deb -c "$deb" >"$work/contents"
files=(usr/bin/vocatrix usr/bin/vocatrix-cli
       usr/share/man/man1/vocatrix.1.gz usr/share/man/man1/vocatrix-cli.1.gz
       usr/share/doc/vocatrix/copyright usr/share/doc/vocatrix/changelog.gz
       usr/share/applications/org.vocatrix.Vocatrix.desktop
       usr/share/metainfo/org.vocatrix.Vocatrix.metainfo.xml usr/share/mime/packages/vocatrix.xml)
for name in lang/English.ini lang/Deutsch.ini lang/Francais.ini lang/Espanol.ini lang/Italiano.ini \
            lang/Nederlands.ini English.hlp English.html German.hlp German.html sounds/start.wav \
            sounds/yes.wav sounds/no.wav sounds/clap.wav sounds/applause.wav sounds/bonus.wav sounds/showit.wav \
            sounds/rotate.wav sounds/bye.wav \
            vocatrix.ini examples/english-german.tav examples/english-german.txt examples/french-german.tav \
            examples/french-german.txt; do
  files+=("usr/share/vocatrix/$name")
done
for size in 16 22 24 32 48 64 128 256; do files+=("usr/share/icons/hicolor/${size}x$size/apps/vocatrix.png"); done
for f in "${files[@]}"; do
  grep -qE "^-[rwx-]{9} [^ ]+ +[1-9][0-9]* [0-9-]+ [0-9:]+ \./$f\$" "$work/contents" || fail "not in the package: $f"
done
# Everything under /usr, owned by root; programs 755, other files 644, folders 755.
while read -r mode owner _ _ _ path; do
  case $path in ./usr/*) ;; *) fail "outside /usr: $path" ;; esac
  [ "$owner" = root/root ] || fail "$path owned by $owner"
  case $mode:$path in
    drwxr-xr-x:*/ | -rwxr-xr-x:./usr/bin/* | -rw-r--r--:*) ;;
    *) fail "$path has mode $mode" ;;
  esac
  case $mode:$path in -rw-r--r--:./usr/bin/*) fail "$path is not executable" ;; esac
done <"$work/contents"

dpkg-deb -x "$deb" "$work/root"
doc=$work/root/usr/share/doc/vocatrix
# gzip -9 without a time stamp: flags byte 3 without FNAME, mtime 0, XFL 2.
for f in "$doc/changelog.gz" "$work"/root/usr/share/man/man1/*.gz; do
  [ "$(od -An -tx1 -j3 -N6 "$f" | tr -d ' \n')" = 000000000002 ] || fail "$f: not gzip -9n"
done
zcat "$doc/changelog.gz" | head -n 1 | grep -qxF "vocatrix ($version) unstable; urgency=medium" ||
  fail "changelog does not begin with version $version: $(zcat "$doc/changelog.gz" | head -n 1)"
head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not machine-readable"
grep -qx 'License: GPL-3+' "$doc/copyright" && grep -q '/usr/share/common-licenses/GPL-3' "$doc/copyright" ||
  fail "copyright does not name GPL-3+"
for page in vocatrix vocatrix-cli; do
  zcat "$work/root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH .* \"Vocatrix $version\"" ||
    fail "$page.1 is not of version $version"
done

if command -v lintian >/dev/null; then
  # Exit status 1 means tags were found; the output says which.
  status=0
  lintian --info "$deb" >"$work/lintian" 2>&1 || status=$?
  cat "$work/lintian"
  [ $status -le 1 ] || fail "lintian could not check the package (exit status $status)"
  ! grep -qE '^[EW]: ' "$work/lintian" || fail "lintian reports errors or warnings"
else
  echo "lintian not installed: the package not checked by it"
fi
echo "package $deb: $(grep -c '' "$work/contents") paths"

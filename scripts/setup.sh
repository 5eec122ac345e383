#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Vocatrix needs to build, test and run.
# As root the missing ones are installed; otherwise the apt-get line to run is printed.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev libexpat1-dev
  libhunspell-dev hunspell-de-de hunspell-en-us hunspell-fr libcli11-dev
  libsqlite3-dev libzip-dev libzstd-dev zstd python3
  qt6-base-dev libgl-dev qt6-translations-l10n qt6-multimedia-dev
  fonts-liberation2 fontconfig
  xvfb xauth poppler-utils
  dpkg-dev desktop-file-utils appstream shared-mime-info lintian man-db
  locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -ne 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
  else
    echo "Missing Debian packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

# The collation tests compare under a German locale when one exists.
if [ "$(id -u)" -eq 0 ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "Could not generate the de_DE.UTF-8 locale; its tests will be skipped." >&2
fi

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up a fresh Debian 12 machine, builds the editor and starts it with the
# lesson files given as arguments. Without a display it says how to start it
# under a virtual X server instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
BUILD_DIR=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)" --target vocatrix

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the editor cannot open its window." >&2
  echo "Start it on a desktop, or under a virtual X server:" >&2
  echo "  xvfb-run -a scripts/run.sh [lesson files...]" >&2
  exit 1
fi
# The editor keeps its settings beside the program (build/src/app/vocatrix.ini);
# relative file names are taken from the folder run.sh was started in.
exec "$BUILD_DIR/src/app/vocatrix" "$@"

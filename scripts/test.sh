#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up a fresh Debian 12 machine, builds everything and runs every test
# through CTest: once in the normal build, then once more with AddressSanitizer,
# UndefinedBehaviorSanitizer and leak checking, where any report fails the test
# that caused it. VOCATRIX_SKIP_SANITIZERS=1 skips the second pass for quick
# local runs; CI always runs both.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
cmake --build "$BUILD_DIR" --parallel "$jobs"
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$jobs" --timeout 300

if [ "${VOCATRIX_SKIP_SANITIZERS:-0}" = 1 ]; then
  echo "Sanitizer pass skipped (VOCATRIX_SKIP_SANITIZERS=1)."
  exit 0
fi
SANITIZE_DIR=${SANITIZE_BUILD_DIR:-build-sanitize}
# Unoptimised, the quickest to build; line tables let reports name file and line.
cmake -S . -B "$SANITIZE_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" \
  -DVOCATRIX_SANITIZE=ON -DVOCATRIX_BENCH=OFF -DVOCATRIX_TEST_COMPILE_OPTIONS="-O0;-g0"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake --build "$SANITIZE_DIR" --parallel "$jobs"
ctest --test-dir "$SANITIZE_DIR" --output-on-failure --parallel "$jobs" --timeout 600

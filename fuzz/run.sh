#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer configuration (clang) and fuzzes the core's readers.
#
#   fuzz/run.sh [-t seconds] [-n runs] [-j parallel] [harness ...]
#
# Each harness runs until -t seconds (default 1800) or -n executions (default
# 10000000) are reached, at lowest priority, at most -j (default 3) at a time.
# Its working corpus starts from fuzz/corpus/<harness> and
# fuzz/regressions/<harness> in a scratch folder ($VOCATRIX_FUZZ_WORK, default
# /tmp/vocatrix-fuzz); failing inputs land in <work>/artifacts/<harness>/,
# logs in $VOCATRIX_FUZZ_LOGS (default /tmp/fuzzlogs). Not part of the tests:
# the replayers (ctest -R fuzz) run the saved inputs in every build.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${VOCATRIX_FUZZ_BUILD:-$ROOT/build-fuzz}
WORK=${VOCATRIX_FUZZ_WORK:-/tmp/vocatrix-fuzz}
LOGS=${VOCATRIX_FUZZ_LOGS:-/tmp/fuzzlogs}
TIME=1800
RUNS=10000000
JOBS=3
while getopts "t:n:j:" opt; do
  case $opt in
    t) TIME=$OPTARG ;;
    n) RUNS=$OPTARG ;;
    j) JOBS=$OPTARG ;;
    *) echo "usage: $0 [-t seconds] [-n runs] [-j parallel] [harness ...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
HARNESSES=("$@")
[ ${#HARNESSES[@]} -gt 0 ] || HARNESSES=(binary lessontext rtf inifile language dbldel personalwords anki)

# Dictionaries of the input syntax, where a harness has one.
dict_of() {
  case $1 in
    rtf) echo "$ROOT/fuzz/rtf.dict" ;;
    lessontext | dbldel) echo "$ROOT/fuzz/lessontext.dict" ;;
    inifile | language) echo "$ROOT/fuzz/ini.dict" ;;
  esac
}

if ! command -v clang++ >/dev/null; then
  echo "fuzzing needs clang and libFuzzer: apt-get install clang libclang-rt-14-dev" >&2
  exit 1
fi
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DVOCATRIX_FUZZ=ON -DVOCATRIX_GUI=OFF
fi
nice -n 19 cmake --build "$BUILD" --target "${HARNESSES[@]/#/fuzz_}"

mkdir -p "$LOGS" "$WORK"
touch "$WORK/.started"
for h in "${HARNESSES[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do wait -n || true; done
  corpus=$WORK/corpus/$h
  artifacts=$WORK/artifacts/$h
  mkdir -p "$corpus" "$artifacts"
  find "$ROOT/fuzz/corpus/$h" "$ROOT/fuzz/regressions/$h" -maxdepth 1 -type f ! -name '.*' \
    -exec cp -n -t "$corpus" {} +
  dict=$(dict_of "$h")
  echo "fuzzing $h: log $LOGS/$h.log"
  nice -n 19 "$BUILD/fuzz/fuzz_$h" -max_total_time="$TIME" -runs="$RUNS" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" ${dict:+-dict="$dict"} "$corpus" >"$LOGS/$h.log" 2>&1 &
done
wait || true

status=0
for h in "${HARNESSES[@]}"; do
  log=$LOGS/$h.log
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || true)
  seconds=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | tail -1 | grep -o 'in [0-9]*' | grep -o '[0-9]*' || true)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  found=$(find "$WORK/artifacts/$h" -type f -newer "$WORK/.started" | wc -l)
  echo "$h: executions ${execs:-?} in ${seconds:-?} s, corpus $(find "$WORK/corpus/$h" -type f | wc -l) files, new artifacts $found"
  echo "  ${last:-no status line}"
  if [ "$found" -ne 0 ] || grep -qE 'ERROR: libFuzzer|fuzz invariant failed|runtime error' "$log"; then
    echo "  findings: see $log and $WORK/artifacts/$h/"
    status=1
  fi
done
exit $status

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every source folder includes only the folders below it:
#
#   base                                  the bottom floor
#   model        base
#   files        base model               (files/kvtml, files/rtf, files/csv)
#   exercise     base model files
#   recovery     base
#   operations   base model files exercise
#   spelling     base model files operations
#   document     base model files operations
#   components   the core
#   ui           the core, components     (src/ui and its folders)
#   cli          the core
#   app          the core, components, ui
#
# The core (every folder above but components, ui, cli and app) includes no
# Qt header. A folder may always include itself. Prints each include that
# breaks a rule and exits 1 if there is one.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root/src"

core="base model files exercise recovery operations spelling document"
declare -A allowed=(
  [base]="base"
  [model]="base model"
  [files]="base model files"
  [exercise]="base model files exercise"
  [recovery]="base recovery"
  [operations]="base model files exercise operations"
  [spelling]="base model files operations spelling"
  [document]="base model files operations document"
  [components]="$core components"
  [ui]="$core components ui"
  [cli]="$core cli"
  [app]="$core components ui app"
)

status=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      number="${line%%:*}"
      text="${line#*:}"
      if [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z]+)/ ]]; then
        target="${BASH_REMATCH[1]}"
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
          echo "src/$file:$number: $folder may not include $target/: $text"
          status=1
        fi
      elif [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<Q ]] && [[ " $core " == *" $folder "* ]]; then
        echo "src/$file:$number: the core includes no Qt: $text"
        status=1
      fi
    done < <(grep -n '#[[:space:]]*include' "$file" || true)
  done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done
exit $status

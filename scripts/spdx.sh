#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of Vocatrix begins with the line naming its licence:
#   // SPDX-License-Identifier: GPL-3.0-or-later   C and C++ sources and headers
#   # SPDX-License-Identifier: GPL-3.0-or-later    CMake files, shell and Python
#                                                  scripts (after a "#!" line)
# Usage: spdx.sh [--check] [FOLDER]
# Lists the source files below FOLDER (the repository by default; hidden
# folders and build folders left out) that lack the line and adds it to them;
# with --check it only lists them, and exits with status 1 when there are any.
set -euo pipefail
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
license='SPDX-License-Identifier: GPL-3.0-or-later'

missing=()
while IFS= read -r -d '' file; do
  # The line the file needs, by its kind.
  case $file in
    *.cpp | *.cc | *.c | *.h | *.hpp) line="// $license" ;;
    *) line="# $license" ;;
  esac
  first='' second=''
  { IFS= read -r first || true; IFS= read -r second || true; } <"$file"
  if [[ $first == '#!'* ]]; then
    [ "$second" = "$line" ] && continue
  else
    [ "$first" = "$line" ] && continue
  fi
  missing+=("${file#"$root"/}")
  [ $check = 1 ] && continue
  if [[ $first == '#!'* ]]; then
    sed -i "1a\\$line" "$file"
  elif [ -s "$file" ]; then
    sed -i "1i\\$line" "$file"
  else
    echo "$line" >"$file"
  fi
done < <(find "$root" -type d ! -path "$root" \( -name '.*' -o -exec test -e '{}/CMakeCache.txt' \; \) -prune -o -type f \
           \( -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.h' -o -name '*.hpp' -o -name '*.cmake' \
              -o -name CMakeLists.txt -o -name '*.sh' -o -name '*.py' \) -print0 | sort -z)

if [ ${#missing[@]} -eq 0 ]; then
  echo "Every source file below $root names its licence."
  exit 0
fi
if [ $check = 1 ]; then
  echo "These source files lack the line \"$license\" at the top" >&2
  echo "(scripts/spdx.sh adds it):" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi
printf 'added the licence line to %s\n' "${missing[@]}"

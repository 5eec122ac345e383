#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps a manual page and its program's --help together: every command and
# every option the help prints is described in the page, every long option
# the page describes is one the help prints, and man formats the page
# without a warning.
#   manpage_test.sh PROGRAM MANPAGE
set -euo pipefail
program=$1 page=$2
fail() { echo "FAIL: $page: $*" >&2; exit 1; }

help=$("$program" --help)
# The page's text without its font changes and with plain dashes.
text=$(sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/\\(en/-/g' "$page")

# Commands: the first word of each line of the help's "Commands:" list. In
# the page each opens a line of its own (the tag of its entry).
commands=$(awk '/^Commands:/ { on = 1; next } on && /^$/ { on = 0 } on && /^  [a-z]/ { print $1 }' <<<"$help")
for command in $commands; do
  grep -qE "^(\.B )?$command( |$)" <<<"$text" || fail "command '$command' of --help not described"
done

# Options: words beginning with a dash, after a blank, "[" or "(".
options() { grep -oE '(^|[][ (,|])--?[A-Za-z][A-Za-z0-9-]*' | sed 's/^[^-]*//' | sort -u; }
for option in $(options <<<"$help"); do
  grep -qE "(^|[^A-Za-z0-9-])$option([^A-Za-z0-9-]|$)" <<<"$text" || fail "option '$option' of --help not described"
done
for option in $(grep -v '^\.\\"' <<<"$text" | options | grep '^--'); do
  grep -qE "(^|[^A-Za-z0-9-])$option([^A-Za-z0-9-]|$)" <<<"$help" || fail "describes '$option', which --help does not know"
done

if command -v man >/dev/null; then
  # As lintian checks manual pages.
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns: $warnings"
else
  echo "man not installed (man-db): formatting not checked"
fi
echo "$page: $(wc -w <<<"$commands") commands, $(options <<<"$help" | wc -l) options of --help described"

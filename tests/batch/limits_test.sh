#!/bin/sh
# veltra-batch refuses scripts larger than any real one before running
# anything, and memory running out ends in the memory message, never in an
# abort.   limits_test.sh VELTRA-BATCH CHECK-MEMORY(0|1)
set -u
batch=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
expect() {  # NAME STATUS STDERR-TEXT: checks the last run
  if [ "$status" != "$2" ] || ! grep -qF "$3" "$work/err" || [ -s "$work/out" ]; then
    echo "FAIL $1: status $status, stderr:"; head -c 300 "$work/err"; echo
    failures=$((failures + 1))
  fi
}
# The first line prints a message on standard output when it runs.
printf '1\n' >"$work/data"
printf 'import-datavectors "%s" 1 1\n' "$work/data" >"$work/head"
comment() { head -c "$1" /dev/zero | tr '\0' '#'; }

{ cat "$work/head"; comment 67108864; printf '\n'; } >"$work/large"
"$batch" "$work/large" >"$work/out" 2>"$work/err"; status=$?
expect "script over 64 MiB" 2 "is larger than 64 MiB"
"$batch" <"$work/large" >"$work/out" 2>"$work/err"; status=$?
expect "script over 64 MiB on standard input" 2 "the standard input is larger than 64 MiB"

{ cat "$work/head"; comment 1048577; printf '\n'; } >"$work/long"
"$batch" "$work/long" >"$work/out" 2>"$work/err"; status=$?
expect "line over 1 MiB" 2 "line 2: longer than 1 MiB"

if [ "$2" = 1 ]; then
  # A script within the limits that does not fit in the memory given.
  { cat "$work/head"; i=0; while [ $i -lt 60 ]; do comment 1048000; printf '\n'; i=$((i + 1)); done; } >"$work/big"
  (ulimit -v 80000; exec "$batch" "$work/big") >"$work/out" 2>"$work/err"; status=$?
  expect "no memory for the script" 1 "Not Enough Memory	Can not allocate memory! Close other applications."
fi
exit $failures

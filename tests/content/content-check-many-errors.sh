#!/bin/sh
# content-check over a list with one error in each of 200,000 entries: every error is printed
# with its line, and the run takes seconds (the test's timeout guards against the slow way).
# Then the same run ended by SIGTERM and SIGINT: it ends at once and leaves no temporary folder.
# Usage: content-check-many-errors.sh CONTENT_CHECK WORK_FOLDER
set -u
check=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
list="$work/many-errors.xml"
awk 'BEGIN {
  print "<Resources>"; print "\t<Strings>"
  for (i = 0; i < 200000; i++) printf "\t\t<string name=\"s%d\" vlue=\"x\"/>\n", i
  print "\t</Strings>"; print "</Resources>"
}' > "$list"

"$check" "$list" > "$work/out.txt" 2>/dev/null
status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
lines=$(grep -c "^$list:[0-9]*: Assertion failed" "$work/out.txt")
[ "$lines" -eq 200000 ] || { echo "$lines errors printed, expected 200000"; exit 1; }
grep -q "^$list:200002: " "$work/out.txt" || { echo "the last entry's line is missing"; exit 1; }

mkdir -p "$work/tmp"
for signal in TERM INT; do
  : > "$work/out-$signal.txt"
  TMPDIR="$work/tmp" "$check" "$list" > "$work/out-$signal.txt" 2>/dev/null &
  pid=$!
  # Stopped once it is busy printing errors.
  tries=0
  while [ "$(wc -l < "$work/out-$signal.txt")" -lt 100 ] && [ $tries -lt 2400 ]; do
    sleep 0.05; tries=$((tries + 1))
  done
  [ "$(wc -l < "$work/out-$signal.txt")" -ge 100 ] || { kill -s KILL "$pid"; echo "no errors printed in 120 s"; exit 1; }
  kill -s "$signal" "$pid"
  tries=0
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do sleep 0.05; tries=$((tries + 1)); done
  if kill -0 "$pid" 2>/dev/null; then
    kill -s KILL "$pid"; echo "SIG$signal did not end content-check within 5 s"; exit 1
  fi
  wait "$pid"
  status=$?
  if [ "$signal" = TERM ]; then expected=143; else expected=130; fi
  [ "$status" -eq "$expected" ] || { echo "SIG$signal: exit status $status, expected $expected"; exit 1; }
  [ -z "$(ls "$work/tmp")" ] || { echo "SIG$signal left a temporary folder behind"; exit 1; }
done
rm -rf "$work"
echo "200000 errors printed; SIGTERM and SIGINT end the check"

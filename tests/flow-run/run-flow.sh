#!/usr/bin/env bash
# The screen-flow demo, headless: run-flow.sh PROGRAM SOURCE_DIR WORK_DIR.
# A copy of data/ and qzdata/ starts with the splash and then shows screens\flow.xml. Replayed
# input skips both splash pictures, slides the panel in with Space, opens the dialog with D and
# closes it with its OK button, switches the screen with S and adds hints with H. Each check is
# a separate run that stops at its frame and writes its screenshot; every log must be free of
# errors and end with the shutdown line.
set -euo pipefail
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work"
mkdir -p "$work/home"
cp -r "$source/data" "$work/data"
cp -r "$source/qzdata" "$work/qzdata"
printf 'dofile("flow.lua")\nLoadControlTree("screens\\\\flow_splash.xml")\n' > "$work/data/start0.lua"
printf 'FlowStart()\n' > "$work/data/start.lua"
# Window pixels, origin top-left, 800 x 600; one frame is 20 ms.
cat > "$work/flow.events" <<'EVENTS'
5 down
6 up
60 down
61 up
140 key 32
190 key 68
230 move 400 355
231 move 401 355
240 down
241 up
270 key 83
290 key 72
291 key 72
EVENTS

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# run NAME FRAMES [EVENTS]: the screenshot NAME.png and the log NAME.log.
run() {
  local name=$1 frames=$2
  shift 2
  rm -rf "$work/home/"*
  local status=0
  (cd "$work/data" && XDG_DATA_HOME="$work/home" "$program" --fixed-step 20 --frames "$frames" \
    --screenshot "$work/$name.png" "$@") >"$work/$name.out" 2>&1 || status=$?
  cp "$work/home/Tornvik Entertainment/Marivel/log.htm" "$work/$name.log" 2>/dev/null || true
  [ "$status" -eq 0 ] || fail "$name: exit status $status"
  [ -f "$work/$name.png" ] || fail "$name: no screenshot"
  if grep -q "ERROR" "$work/$name.log" 2>/dev/null; then
    fail "$name: errors in the log"
    sed 's/<[^>]*>//g' "$work/$name.log" | grep -A1 "ERROR" | head -20
  fi
  grep -q "Application shutdown!" "$work/$name.log" 2>/dev/null || fail "$name: no shutdown line"
}

mean() { python3 "$here/pngstats.py" "$work/$1.png" "$2" "$3" "$4" "$5" 2>/dev/null || echo 0; }
logHas() { grep -q "$2" "$work/$1.log" || fail "$1: the log lacks '$2'"; }
logLacks() { ! grep -q "$2" "$work/$1.log" || fail "$1: the log holds '$2'"; }

# The splash shows its first picture; without clicks it is still on after 1.6 s.
run splash 80
splash=$(mean splash 0 0 800 600)
[ "$splash" -gt 40 ] || fail "splash: the picture is not shown (mean $splash)"
logLacks splash "Flow screen shown"

# Two clicks skip both pictures: the flow screen is up by frame 135, the panel still out.
run flow_start 135 --events "$work/flow.events"
logHas flow_start "Flow screen shown"
# Space slides the panel in.
run panel_in 185 --events "$work/flow.events"
logHas panel_in "Flow command: panel"
before=$(mean flow_start 450 290 250 80)
after=$(mean panel_in 450 290 250 80)
[ $((before - after > 15 || after - before > 15)) -eq 1 ] || fail "the panel did not slide in ($before, $after)"
# D opens the dialog over a darkened screen.
run dialog_open 225 --events "$work/flow.events"
shown=$(mean panel_in 260 20 80 60)
veiled=$(mean dialog_open 260 20 80 60)
[ $((veiled * 4 < shown * 3)) -eq 1 ] || fail "the dialog's veil is missing ($shown, $veiled)"
# Its OK button hides it again.
run dialog_closed 265 --events "$work/flow.events"
closed=$(mean dialog_closed 260 20 80 60)
[ $((closed - shown < 6 && shown - closed < 6)) -eq 1 ] || fail "the dialog did not close ($shown, $closed)"
# S switches the screen; H adds hints.
run switched 300 --events "$work/flow.events"
logHas switched "Flow command: switch"
logHas switched "Flow command: hint"
second=$(mean switched 260 20 80 60)
[ $((second - closed > 10 || closed - second > 10)) -eq 1 ] || fail "the screen did not switch ($closed, $second)"

echo "splash $splash; panel $before -> $after; veil $shown -> $veiled -> $closed; switch -> $second"
[ "$failures" -eq 0 ]

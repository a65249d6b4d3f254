#!/bin/sh
# Drags of a file between a script's form and another program (drag_peer) on an X server:
#   from the program onto a form that takes drops ("onDragDropFiles" gets the name), and
#   from a form ("doDragDropFiles" in "onMouseDown") onto the program (it gets the file).
# The file has a Japanese name with a blank. xdotool works the mouse; the windows stand at
# known places (the program at 0,0, the form at 300,0, both 200 x 200) and each step waits
# for the line the other side prints, so nothing hangs on timing; every wait has a limit.
#
# usage: drag_and_drop.sh KESTRIN_SCRIPT DRAG_PEER
# Without xvfb-run or xdotool it ends with 77 (skipped), or 1 under CI=true.
set -u
if [ "${1:-}" != --on-display ]; then
  if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "xvfb-run or xdotool is missing"
    [ "${CI:-}" = true ] && exit 1
    exit 77
  fi
  exec xvfb-run -a sh "$0" --on-display "$@"
fi
# Both programs draw on the X server whatever the test run chose for the others.
export QT_QPA_PLATFORM=xcb
runner=$2
peer=$3
here=$(dirname "$0")
work=$(mktemp -d)
pids=""

cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for out in "$work"/*.out "$work"/*.err; do
    echo "--- $(basename "$out")"
    cat "$out"
  done
  exit 1
}

# wait_line FILE TEXT SECONDS [COMMAND...]: waits for a line of FILE that starts with TEXT,
# running COMMAND between looks; false when SECONDS pass first.
# (sh has no local variables: the helpers' names start with "w_".)
wait_line() {
  w_file=$1 w_text=$2 w_rounds=$(($3 * 10))
  shift 3
  while ! grep -q "^$w_text" "$w_file" 2>/dev/null; do
    [ "$w_rounds" -le 0 ] && return 1
    w_rounds=$((w_rounds - 1))
    [ $# -gt 0 ] && "$@"
    sleep 0.1
  done
}

# finish PID NAME: waits up to 30 s for the process to end; fails when it does not or ends
# with an error.
finish() {
  w_rounds=300
  while kill -0 "$1" 2>/dev/null; do
    [ "$w_rounds" -le 0 ] && fail "$2 did not end"
    w_rounds=$((w_rounds - 1))
    sleep 0.1
  done
  wait "$1" || fail "$2 ended with code $?"
}

mouse() { timeout 10 xdotool "$@" || fail "xdotool $*"; }

# move_to X Y: moves the pointer and waits (up to 30 s) until the server reports it there.
# (xdotool's own --sync waits for the pointer to leave where it was, and on a loaded server
# it now and then missed that and waited on.)
move_to() {
  mouse mousemove "$1" "$2"
  w_moves=300
  while [ "$(xdotool getmouselocation --shell 2>/dev/null | sed -n 's/^[XY]=//p' | tr '\n' ' ')" != "$1 $2 " ]; do
    [ "$w_moves" -le 0 ] && fail "the pointer did not reach $1,$2"
    w_moves=$((w_moves - 1))
    sleep 0.1
  done
}

# Small moves that keep the drag going over one point.
w_jiggle=0
jiggle() {
  w_jiggle=$((1 - w_jiggle))
  move_to $(($1 + w_jiggle * 3)) $(($2 + w_jiggle * 3))
}

form_up() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null || fail "no window \"$1\""; }

name="日本 語.txt"
file="$work/$name"
echo data >"$file"

# From the program onto the script's form.
"$peer" --timeout 60 source "$file" >"$work/to_form.peer.out" 2>"$work/to_form.peer.err" &
peer_pid=$!
"$runner" --timeout 60 "$here/drop_form.js" >"$work/to_form.script.out" 2>"$work/to_form.script.err" &
script_pid=$!
pids="$peer_pid $script_pid"
wait_line "$work/to_form.peer.out" ready 30 || fail "the program's window did not come up"
form_up "Kestrin drop form"
move_to 100 100
mouse mousedown 1
move_to 130 100
wait_line "$work/to_form.peer.out" dragging 30 jiggle 140 100 || fail "the program did not start the drag"
for x in 200 260 320 380 400; do move_to $x 100; done
wait_line "$work/to_form.peer.out" accepted 30 jiggle 400 100 || fail "the form did not take the drag"
mouse mouseup 1
wait_line "$work/to_form.peer.out" "drag ended" 30 || fail "the drag did not end"
finish "$peer_pid" "the program"
finish "$script_pid" "the script"
grep -qx "drag ended 1" "$work/to_form.peer.out" || fail "the drop was no copy"
[ "$(cat "$work/to_form.script.out")" = "$(printf 'files 1, on the form true\ndropped %s\nexit code: 0' "$file")" ] ||
  fail "the script got other names"

# From the script's form onto the program.
"$peer" --timeout 60 target >"$work/from_form.peer.out" 2>"$work/from_form.peer.err" &
peer_pid=$!
"$runner" --timeout 60 "$here/drag_form.js" "$work" "$name" >"$work/from_form.script.out" \
  2>"$work/from_form.script.err" &
script_pid=$!
pids="$peer_pid $script_pid"
wait_line "$work/from_form.peer.out" ready 30 || fail "the program's window did not come up"
form_up "Kestrin drag form"
move_to 400 100
mouse mousedown 1
for x in 360 300 240 180 120 100; do move_to $x 100; done
wait_line "$work/from_form.peer.out" over 30 jiggle 100 100 || fail "the drag did not reach the program"
mouse mouseup 1
wait_line "$work/from_form.peer.out" dropped 30 || fail "the program got no file"
touch "$work/done"
finish "$peer_pid" "the program"
finish "$script_pid" "the script"
[ "$(cat "$work/from_form.peer.out")" = "$(printf 'ready\nover\ndropped %s' "$file")" ] ||
  fail "the program got other files"
[ "$(cat "$work/from_form.script.out")" = "$(printf 'mouse down mbLeft\ndrag over\nexit code: 0')" ] ||
  fail "the script's drag went otherwise"
echo "both drags passed"

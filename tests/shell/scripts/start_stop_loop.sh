#!/usr/bin/env bash
# Starts and stops the real program many times in a row under Xvfb, ending it with SIGTERM or
# SIGKILL at random moments (often before its menu is up), on one learner's data folder. Every
# start must bring up the menu window, whatever the previous stop left behind.
#   tests/shell/scripts/start_stop_loop.sh <path to tarnwick> [count]
set -euo pipefail
program=${1:?usage: start_stop_loop.sh PROGRAM [COUNT]}
count=${2:-200}
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-start-stop.XXXXXX")
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT

# Xvfb picks a free display and writes its number when it is ready for clients; -noreset keeps
# it from restarting (and refusing connections meanwhile) each time its last client goes.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
read -r -t 20 number <&3 || { echo "Xvfb did not start" >&2; exit 1; }
exec 3<&-
display=:$number
export DISPLAY=$display HOME=$work XDG_DATA_HOME=$work/share XDG_RUNTIME_DIR=$work/run
export ASAN_OPTIONS=detect_leaks=0
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

menus=0 early=0 terms=0 kills=0
for ((i = 1; i <= count; i++)); do
    "$program" >"$work/last.log" 2>&1 &
    pid=$!
    # A third of the stops come before the menu is up (during the copy, the backup, the start).
    if (( RANDOM % 3 == 0 )); then
        sleep "0.$(( RANDOM % 10 ))"
        early=$((early + 1))
    else
        shown=0
        for ((t = 0; t < 200; t++)); do
            if xdotool search --onlyvisible --pid "$pid" --name '^Tarnwick$' >/dev/null 2>&1; then
                shown=1
                break
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if (( !shown )); then
            echo "start $i: no menu appeared; the program said:" >&2
            cat "$work/last.log" >&2
            xwininfo -root -tree >&2 || true
            exit 1
        fi
        menus=$((menus + 1))
        sleep "0.$(( RANDOM % 10 ))"
    fi
    if (( RANDOM % 2 )); then
        kill -TERM "$pid" 2>/dev/null || true
        terms=$((terms + 1))
    else
        kill -KILL "$pid" 2>/dev/null || true
        kills=$((kills + 1))
    fi
    wait "$pid" 2>/dev/null || true
done

# One last start must still bring up the menu on the same bank.
"$program" >/dev/null 2>&1 &
pid=$!
for ((t = 0; t < 200; t++)); do
    xdotool search --onlyvisible --pid "$pid" --name '^Tarnwick$' >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool search --onlyvisible --pid "$pid" --name '^Tarnwick$' >/dev/null 2>&1 || {
    echo "the last start showed no menu" >&2
    exit 1
}
menus=$((menus + 1))
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
sqlite3 "$XDG_DATA_HOME/Tarnwick/data/QK730415.db" 'PRAGMA integrity_check' | grep -qx ok
echo "starts: $((count + 1)), menus seen: $menus, stopped before the menu: $early," \
     "SIGTERM: $terms, SIGKILL: $kills, bank integrity: ok"

#!/usr/bin/env bash
# The installed program: installs a build into a temporary prefix, checks that it is laid out as
# a desktop program (launcher in bin/, program folder in lib/tarnwick/, desktop entry, icons),
# then starts the installed program through its launcher with a home and data folder of its own:
# headless twice, with a reinstall in between, then on a virtual display to see its menu.
#   install_test.sh CMAKE BUILD_DIR SOURCE_DIR
# Everything it writes lies in one temporary folder, removed at the end; the user's own home,
# data and configuration folders are never used.
set -uo pipefail

cmake=${1:?usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR}
build=${2:?usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR}
source=${3:?usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR}

# How long the program must stay up to count as waiting in its menu, and how long it may take to
# end after SIGTERM (an ASan build starts and ends slowly).
settle_seconds=5
end_seconds=15
icon_sizes=(16 24 32 48 64 128 256)

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-install-test.XXXXXX")
pid=
xvfb_pid=
cleanup() {
    local p
    for p in "$pid" "$xvfb_pid"; do
        if [[ -n $p ]]; then
            kill -KILL "$p" 2>/dev/null
            wait "$p" 2>/dev/null
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
checks=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
check() {
    local what=$1
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok: $what"
    else
        fail "$what"
    fi
}
fatal() {
    echo "FAIL: $*"
    echo "install test: stopped after $checks checks, $((failures + 1)) failed"
    exit 1
}

# --- install, then move the whole tree: the launcher must not depend on the prefix -------------
"$cmake" --install "$build" --prefix "$work/first" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fatal "cmake --install $build"; }
mv "$work/first" "$work/prefix"
prefix=$work/prefix
app=$prefix/lib/tarnwick

# --- layout ------------------------------------------------------------------------------------
is_elf() { [[ -f $1 && $(head -c 4 "$1" | od -An -c | tr -d ' ') == '177ELF' ]]; }
is_sqlite() { [[ -f $1 && $(head -c 15 "$1") == 'SQLite format 3' ]]; }
listing() { (cd "$1" && find . -mindepth 1 -maxdepth "${2:-1}" | LC_ALL=C sort | tr '\n' ' '); }

check "the prefix holds only bin/, lib/ and share/" \
    test "$(listing "$prefix")" == "./bin ./lib ./share "
check "bin/ holds only the launcher" test "$(listing "$prefix/bin")" == "./tarnwick "
check "the launcher is an executable script, not the program" \
    eval '[[ -x $prefix/bin/tarnwick ]] && ! is_elf "$prefix/bin/tarnwick"'
check "lib/ holds only the program folder" test "$(listing "$prefix/lib")" == "./tarnwick "
check "the program folder holds the executable" eval '[[ -x $app/tarnwick ]] && is_elf "$app/tarnwick"'
check "the program folder holds the delivered bank" is_sqlite "$app/data/QK730415.db"
check "the program folder holds data/, htm/, pic/, sound/, the manual and the executable" \
    test "$(listing "$app")" == "./data ./htm ./pic ./sound ./tarnwick ./yshelp.htm "

same_assets() {
    local f ok=0 n=0
    while IFS= read -r f; do
        n=$((n + 1))
        cmp -s "$source/assets/$f" "$app/$f" || {
            echo "  differs or missing: $f"
            ok=1
        }
    done < <(cd "$source/assets" && find pic sound htm yshelp.htm -type f | LC_ALL=C sort)
    [[ $n -gt 0 && $ok -eq 0 ]]
}
check "every picture, tune, page and the manual lies in the program folder as delivered" same_assets
check "the menu and the six tunes are among them" \
    eval '[[ -f $app/pic/main.svg ]] && [[ $(ls "$app/sound"/乐曲0[1-6].mid | wc -l) -eq 6 ]]'

entry=$prefix/share/applications/tarnwick.desktop
key() { sed -n "s/^$1=//p" "$entry" | head -n 1; }
check "share/applications holds the desktop entry" test "$(listing "$prefix/share/applications")" \
    == "./tarnwick.desktop "
if [[ -f $entry ]]; then
    check "the desktop entry passes desktop-file-validate" desktop-file-validate "$entry"
    check "the desktop entry starts with its [Desktop Entry] group" \
        test "$(head -n 1 "$entry")" == "[Desktop Entry]"
    check "Type=Application" test "$(key Type)" == Application
    check "Name=Tarnwick" test "$(key Name)" == Tarnwick
    check "Name[zh_CN] is a Chinese name" \
        eval '[[ -n $(key "Name\[zh_CN\]") && $(key "Name\[zh_CN\]" | LC_ALL=C tr -d "\000-\177") != "" ]]'
    check "Comment is given" test -n "$(key Comment)"
    check "Categories holds Education" eval '[[ ";$(key Categories)" == *";Education;"* ]]'
    check "Icon=tarnwick" test "$(key Icon)" == tarnwick
    check "Exec=tarnwick" test "$(key Exec)" == tarnwick
    check "Terminal=false" test "$(key Terminal)" == false
    check "Exec's program is the launcher once bin/ is on the PATH" \
        test "$(PATH="$prefix/bin:/usr/bin:/bin" command -v "$(key Exec)")" == "$prefix/bin/tarnwick"
fi

be32() { # the big-endian 32-bit number at byte offset $2 of file $1
    local b
    read -r -a b < <(od -An -tu1 -j"$2" -N4 "$1")
    [[ ${#b[@]} -eq 4 ]] || return 1
    echo $(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))
}
png_size() { # width x height from the IHDR chunk of a PNG
    local f=$1
    [[ $(head -c 8 "$f" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || return 1
    echo "$(be32 "$f" 16)x$(be32 "$f" 20)"
}
icons=$prefix/share/icons/hicolor
for n in "${icon_sizes[@]}"; do
    check "the ${n}x${n} icon is a ${n}x${n} PNG" \
        test "$(png_size "$icons/${n}x${n}/apps/tarnwick.png" 2>/dev/null)" == "${n}x${n}"
done
check "the scalable icon is an SVG" grep -q "<svg" "$icons/scalable/apps/tarnwick.svg"

# --- start through the launcher, headless, on a fresh home --------------------------------------
home=$work/home
mkdir -p "$home" "$work/tmp" "$work/runtime"
chmod 700 "$work/runtime"
data_home=$home/.local/share
learner_bank=$data_home/Tarnwick/data/QK730415.db
template_sum=$(sha256sum <"$app/data/QK730415.db")
cp "$app/data/QK730415.db" "$work/template.db" # read through a copy: sqlite3 may leave files
app_listing=$(listing "$app" 3)

run_env=(
    HOME="$home" XDG_DATA_HOME="$data_home" XDG_CONFIG_HOME="$home/.config"
    XDG_CACHE_HOME="$home/.cache" XDG_STATE_HOME="$home/.local/state"
    XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
    PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=offscreen
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
)

# Starts `tarnwick` as the desktop entry does (by name, from the PATH) in the fresh home; true when
# it is still running after settle_seconds. Its output goes to $1; more VAR=value may follow.
start_program() {
    local log=$1
    shift
    (cd "$home" && exec env "${run_env[@]}" "$@" tarnwick) >"$log" 2>&1 &
    pid=$!
    local t
    for ((t = 0; t < settle_seconds; t++)); do
        sleep 1
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            echo "  the program ended by itself after about $((t + 1)) s, status $?:"
            sed 's/^/  | /' "$log"
            pid=
            return 1
        fi
    done
}

proc_state() { # R, S, Z, ... of a process; an ended child stays a zombie (Z) until waited for
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    stat=${stat##*) }
    echo "${stat%% *}"
}

# Sends SIGTERM; true when the program has ended within end_seconds.
stop_program() {
    [[ -n $pid ]] || return 1
    kill -TERM "$pid"
    local t
    for ((t = 0; t < end_seconds * 10; t++)); do
        if ! kill -0 "$pid" 2>/dev/null || [[ $(proc_state "$pid") == Z ]]; then
            wait "$pid" 2>/dev/null
            pid=
            return 0
        fi
        sleep 0.1
    done
    echo "  still running $end_seconds s after SIGTERM"
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null
    pid=
    return 1
}

clean_log() {
    ! grep -E "AddressSanitizer|runtime error:|LeakSanitizer|^QFATAL|Segmentation" "$1"
}

table_count() { sqlite3 "file:$1?mode=ro" "select count(*) from sqlite_master where type='table'"; }

check "the installed program, started from its launcher, is still running after ${settle_seconds} s" \
    start_program "$work/run1.log"
check "the first start made the learner's bank in the data folder (\$XDG_DATA_HOME/Tarnwick/data)" \
    is_sqlite "$learner_bank"
check "the learner's bank has the delivered bank's tables" \
    eval '[[ -f $learner_bank && $(table_count "$learner_bank") -gt 0 &&
             $(table_count "$learner_bank") == $(table_count "$work/template.db") ]]'
check "the program ends on SIGTERM" stop_program
check "nothing in its output from the sanitizers or a crash" clean_log "$work/run1.log"
check "the delivered bank is byte for byte as installed" \
    test "$(sha256sum <"$app/data/QK730415.db")" == "$template_sum"
check "nothing was written into the program folder" test "$(listing "$app" 3)" == "$app_listing"

# --- the learner's progress survives a reinstall and a second start -----------------------------
if [[ -f $learner_bank ]]; then
    sqlite3 "$learner_bank" \
        "create table install_test_progress(v text); insert into install_test_progress values('kept')"
    "$cmake" --install "$build" --prefix "$prefix" >"$work/reinstall.log" 2>&1 ||
        { cat "$work/reinstall.log"; fatal "cmake --install over the installed tree"; }
    check "after a reinstall the program starts again and keeps running" \
        start_program "$work/run2.log"
    check "the program ends on SIGTERM again" stop_program
    check "the second start opened the learner's bank as it was, with its progress" \
        test "$(sqlite3 "file:$learner_bank?mode=ro" "select v from install_test_progress" 2>&1)" \
        == kept
    check "nothing in the second run's output from the sanitizers or a crash" \
        clean_log "$work/run2.log"
fi

# --- on a virtual display, the window on show is the menu ----------------------------------------
# Offscreen, a message box waiting for an answer cannot be told from the menu; on an X display the
# viewable windows can be listed.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local t
    for ((t = 0; t < 100; t++)); do
        [[ -s $work/display ]] && break
        sleep 0.1
    done
    [[ -s $work/display ]] || {
        sed 's/^/  | /' "$work/xvfb.log"
        return 1
    }
    display=:$(tr -d '\n' <"$work/display")
}
viewable_windows() { # the names of the viewable top-level windows, one a line
    local w info
    for w in $(xwininfo -display "$display" -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
        info=$(xwininfo -display "$display" -id "$w") || continue
        [[ $info == *"Map State: IsViewable"* ]] || continue
        sed -n 's/^xwininfo: Window id: 0x[0-9a-f]* \(.*\)$/\1/p' <<<"$info"
    done
}
menu_is_shown() {
    local shown
    shown=$(viewable_windows)
    [[ $shown == '"Tarnwick"' ]] || {
        echo "  viewable windows: ${shown:-none}"
        return 1
    }
}

check "a virtual display (Xvfb) starts" start_xvfb
if [[ -n ${display:-} ]]; then
    check "on the display, the installed program starts and keeps running" \
        start_program "$work/run3.log" QT_QPA_PLATFORM=xcb DISPLAY="$display"
    check "its one window on show is the menu, named Tarnwick" menu_is_shown
    check "the program ends on SIGTERM on the display too" stop_program
    check "nothing in the display run's output from the sanitizers or a crash" \
        clean_log "$work/run3.log"
fi

echo "install test: $checks checks, $failures failed"
[[ $failures -eq 0 ]]

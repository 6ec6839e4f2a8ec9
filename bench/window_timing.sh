#!/usr/bin/env bash
# How soon the Windows window answers E&XIT and Cancel pressed during the
# save, under Wine on a virtual display, on the archive of
# `tallybook-sample DIR --players 20000 --seasons 30`. Not a test: it prints
# what it measures (the aim is 1 s for each).
#
# Two whole runs first give the times of a run and of its save. Then, for
# each moment (a share of the save's time after the save begins), the
# window is started, Process pressed (Alt+P) and, at that moment of the
# save, E&XIT (Alt+X) or Cancel (Escape) pressed as real keys on the
# display. It prints how long E&XIT takes to close the window (and the
# program to end), and how long Cancel takes to act (the run over: its
# temporary file gone); and checks after each round that the older workbook
# is as it was and that no temporary file is left (beside the workbook or
# in Windows' temporary folder).
#
# Usage: bench/window_timing.sh [WINDOWS_BUILD] [MOMENTS...]
#   WINDOWS_BUILD  the cross build (default build-windows/win, made by
#                  scripts/build-windows.sh): win32/tallybook.exe and
#                  tools/tallybook-sample.exe
#   MOMENTS        shares of the save, default 0.05 0.3 0.6 0.9
# Environment: LOAD=N keeps N busy loops running during the rounds (a busy
# machine); WORK=DIR the work folder (default a new one under /tmp, removed
# at the end unless KEEP=1).
#
# A window manager (openbox) runs on the display, as on a desktop: without
# one, Wine waits 2 s for each window it hides or destroys to be withdrawn
# (its "wait_for_withdrawn_state ... wait timed out"), which no user sees.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
win=$(realpath "${1:-$root/build-windows/win}")
shift || true
moments=("$@")
[ ${#moments[@]} -gt 0 ] || moments=(0.05 0.3 0.6 0.9)
for tool in wine wineboot wineserver Xvfb xdotool openbox; do
    command -v $tool > /dev/null ||
        { echo "window_timing: $tool is missing (apt-get install wine xvfb xdotool openbox)"; exit 1; }
done
[ -f "$win/win32/tallybook.exe" ] || { echo "window_timing: no $win/win32/tallybook.exe (scripts/build-windows.sh)"; exit 1; }

work=${WORK:-$(mktemp -d /tmp/tallybook-timing.XXXXXX)}
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
openbox > /dev/null 2>&1 &
wm=$!
loads=()
cleanup() {
    [ ${#loads[@]} -eq 0 ] || kill "${loads[@]}" 2> /dev/null
    wineserver -k 2> /dev/null
    kill $wm $xvfb 2> /dev/null
    [ "${KEEP:-0}" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT

ms() { echo $(($(date +%s%N) / 1000000)); }
# Polls every 10 ms until the command succeeds (at most SECONDS s); false when it never does.
until_true() {  # SECONDS COMMAND...
    local limit=$(($(ms) + $1 * 1000))
    shift
    until "$@"; do
        [ "$(ms)" -lt $limit ] || return 1
        sleep 0.01
    done
}
w() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
fail=0
problem() { echo "  PROBLEM: $*"; fail=1; }

echo "== a Wine prefix and the archive"
wineboot -i > /dev/null 2>&1
wineserver -p
enc=$work/enc out=$work/out data=$work/data
wine "$win/tools/tallybook-sample.exe" "$(w "$enc")" --players 20000 --seasons 30 | tail -1
mkdir -p "$out" "$data"
printf '"%s"\r\n' "$(w "$enc")" > "$data/TALLYBOOK.txt"
printf 'desired=players-and-teams\nviewing=while-processing\nworkbook=%s\n' "$(w "$out/TALLYBOOK.xlsx")" > "$data/settings.txt"
export TALLYBOOK_DATA_DIR
TALLYBOOK_DATA_DIR=$(w "$data")
temp=$(winepath -u 'C:\users' 2> /dev/null)
temp_files() { find "$temp" -path '*/Temp/*' -type f 2> /dev/null | sort; }

# The older workbook: a small real one (the window asks before replacing
# anything else).
wine "$win/tools/tallybook-sample.exe" "$(w "$work/small")" --players 40 --seasons 2 > /dev/null
wine "$win/cli/tallybook-cli.exe" -q -o "$(w "$work/older.xlsx")" "$(w "$work/small")" > /dev/null 2>&1 ||
    { echo "window_timing: the older workbook could not be made"; exit 1; }
older() { cp "$work/older.xlsx" "$out/TALLYBOOK.xlsx"; }
others() { ls -A "$out" | grep -vx TALLYBOOK.xlsx; }
none_beside() { [ -z "$(others)" ]; }
gone() { [ -z "$(window_of "$1" '^TALLYBOOK ')" ]; }
ended() { ! kill -0 "$1" 2> /dev/null; }

# A shown window of the program (wine runs it in the process it starts as)
# whose title matches.
window_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2> /dev/null | head -1; }

# Starts the window and presses Process; prints the wine process and the window.
start_run() {
    wine "$win/win32/tallybook.exe" > /dev/null 2>&1 &
    local pid=$! wid=
    for _ in $(seq 1 300); do
        wid=$(window_of $pid '^TALLYBOOK ')
        [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || { echo "window_timing: the window did not show" >&2; exit 1; }
    xdotool windowactivate --sync "$wid" 2> /dev/null
    sleep 0.5
    xdotool key alt+p
    echo "$pid $wid"
}

# Waits until the save has begun (its temporary file beside the workbook);
# prints the time, in ms.
save_begun() {
    for _ in $(seq 1 6000); do
        [ -n "$(others)" ] && { ms; return; }
        sleep 0.01
    done
    echo "window_timing: the save was not seen to begin" >&2
    exit 1
}

# Ends a window that is still there, first answering the box a completed run
# shows (no application opens .xlsx files in a fresh prefix).
end_window() {  # PID [box]
    local box= wid
    for _ in $(seq 1 100); do
        [ "${2:-}" = box ] || break
        box=$(window_of "$1" '^TALLYBOOK$')
        [ -n "$box" ] && { xdotool windowactivate --sync "$box" key Return 2> /dev/null; break; }
        sleep 0.1
    done
    wid=$(window_of "$1" '^TALLYBOOK ')
    [ -n "$wid" ] && xdotool windowactivate --sync "$wid" key alt+x 2> /dev/null
    for _ in $(seq 1 100); do kill -0 "$1" 2> /dev/null || return; sleep 0.1; done
    kill -9 "$1" 2> /dev/null
}

check_left() {  # after a round: the older workbook as it was, nothing else
    cmp -s "$out/TALLYBOOK.xlsx" "$work/older.xlsx" || problem "the older workbook was replaced"
    [ -z "$(others)" ] || problem "left beside the workbook: $(others | tr '\n' ' ')"
    [ "$(temp_files)" = "$temps_before" ] || problem "left in Windows' temporary folder: $(comm -13 <(echo "$temps_before") <(temp_files) | tr '\n' ' ')"
}

temps_before=$(temp_files)

echo "== two whole runs (the faster one sets the moments)"
save_ms=
for run in 1 2; do
    older
    t0=$(ms)
    read -r pid wid < <(start_run)
    t_save=$(save_begun)
    until_true 900 none_beside || problem "the whole run did not end"
    t_end=$(ms)
    end_window "$pid" box
    echo "run $run: $((t_end - t0)) ms from the window's start, of which the save $((t_end - t_save)) ms"
    [ "$(head -c 2 "$out/TALLYBOOK.xlsx")" = PK ] || problem "the whole run wrote no workbook"
    [ -n "$save_ms" ] && [ "$save_ms" -le $((t_end - t_save)) ] || save_ms=$((t_end - t_save))
done

if [ "${LOAD:-0}" -gt 0 ]; then
    for _ in $(seq 1 "$LOAD"); do (while :; do :; done) & loads+=($!); done
    echo "== with $LOAD busy loops running"
fi

printf '\n%-7s %-7s %10s %14s %16s\n' "key" "moment" "pressed at" "window gone" "program ended"
for moment in "${moments[@]}"; do
    delay_ms=$(awk -v s="$save_ms" -v m="$moment" 'BEGIN { printf "%d", s * m }')
    for key in exit cancel; do
        older
        read -r pid wid < <(start_run)
        t_save=$(save_begun)
        while [ $(($(ms) - t_save)) -lt "$delay_ms" ] && ! none_beside; do sleep 0.01; done
        if none_beside; then
            echo "$key at $moment: the run was over first (a faster run than the whole ones); passed over"
            end_window "$pid" box
            older
            continue
        fi
        xdotool windowactivate --sync "$wid" 2> /dev/null
        t_key=$(ms)
        if [ $key = exit ]; then
            xdotool key alt+x
            until_true 120 gone "$pid" || problem "the window did not close"
            t_gone=$(ms)
            until_true 300 ended "$pid" || problem "the program did not end"
            t_ended=$(ms)
            printf '%-7s %-7s %7d ms %11d ms %13d ms\n' "E&XIT" "$moment" $((t_key - t_save)) \
                $((t_gone - t_key)) $((t_ended - t_key))
        else
            xdotool key Escape
            until_true 300 none_beside || problem "the run did not end"
            t_acted=$(ms)
            printf '%-7s %-7s %7d ms    acted in %d ms (the run over, its file gone)\n' "Cancel" "$moment" \
                $((t_key - t_save)) $((t_acted - t_key))
            end_window "$pid"
        fi
        check_left
    done
done
[ $fail = 0 ] && echo "the older workbook stayed as it was and no temporary file was left, every round"
exit $fail

# What the shell tests of the programs and the packages share (sourced):
# counted checks, failures told as they come, and the sum at the end.
failures=0
checks=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { checks=$((checks + 1)); "$@"; }     # COMMAND...: its status, counted
refute() { checks=$((checks + 1)); ! "$@"; }
exited() { check [ "$2" = "$3" ] || fail "$1: exit $3, expected $2"; }   # NAME EXPECTED_CODE ACTUAL_CODE
says() { check grep -qF -- "$2" "$1" || fail "no '$2' in: $(head -c 300 "$1")"; }   # FILE TEXT
only_files() {  # DIR NAME...: DIR holds exactly these names
    local got want
    got=$(ls -A "$1" | LC_ALL=C sort)
    want=$(printf '%s\n' "${@:2}" | LC_ALL=C sort)
    check [ "$got" = "$want" ] || fail "$1 holds: $(echo $got), expected: $(echo $want)"
}
# DIR PID: waits until the run PID has begun its save in DIR (its
# temporary file is there); fails when it ends first or takes a minute.
save_begun() {
    for _ in $(seq 1 1200); do
        ls -A "$1" | grep -q '^\.tallybook-' && return 0
        kill -0 "$2" 2> /dev/null || return 1
        sleep 0.05
    done
    return 1
}
finish() {  # WHAT [WORK_DIR]: the sum, and the script's exit status
    if [ "$failures" -eq 0 ]; then
        echo "$1: all $checks checks passed"
        exit 0
    fi
    echo "$1: $failures failures${2:+ (work folder: $2)}"
    exit 1
}

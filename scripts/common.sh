# Shell pieces the build, test and release scripts share; sourced, not run.

# install_missing PACKAGE...: installs those of the Debian packages that are
# not installed yet (as root, or through sudo), without questions.
install_missing() {
    local p missing=() sudo=()
    for p in "$@"; do
        [ "$(dpkg-query -W -f='${Status}' "$p" 2> /dev/null)" = "install ok installed" ] || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" > /dev/null
}

# step TITLE: ends the step under way (with its time) and begins the next,
# headed "$step_heading TITLE".
step_heading='=='
step_started=
step() {
    local now
    now=$(date +%s)
    [ -z "$step_started" ] || printf '   (%ds)\n' $((now - step_started))
    step_started=$now
    printf '\n%s %s\n' "$step_heading" "$*"
}

# Wine for the Windows half of the tests. Source it, then call tav_wine_start:
#
#   source .ci/wine-env.sh
#   tav_wine_start            # private prefix, one wineserver, an X display
#   wine build-win/some.exe   # as often as needed
#   tav_wine_stop             # also run on the shell's exit
#
# What a run gets, and why:
# - a private WINEPREFIX, copied from a template booted once (booting takes
#   10-20 s, copying 2-4 s), so runs never share registry or COM state;
# - WINEDEBUG=-all, so Wine's diagnostics do not bury the tests' output;
# - one persistent wineserver for the whole run (`wineserver -p`): without it
#   the running-object table is gone between processes;
# - the X11 driver's Managed=N, so a program does not stall ~2 s whenever it
#   hides a window (no window manager runs here);
# - an Xvfb display of its own, so GUI programs run (DISPLAY is set);
# - the prefix's services already running, detached from any output pipe.
#
# The template lives in $TAV_WINE_TEMPLATE (default ~/.cache/tavrelmondix/
# wine-template) and is rebuilt when missing. Every failure is loud: the
# functions return non-zero with a message on stderr.

tav_wine_template="${TAV_WINE_TEMPLATE:-${XDG_CACHE_HOME:-$HOME/.cache}/tavrelmondix/wine-template}"
tav_wine_xvfb_pid=""
tav_wine_run_dir=""

tav_wine_fail() {
    echo "wine-env: $*" >&2
    return 1
}

# Boots the template prefix once; concurrent callers wait for the first.
tav_wine_build_template() {
    command -v wine >/dev/null || { tav_wine_fail "wine is not installed"; return 1; }
    mkdir -p "$(dirname "$tav_wine_template")" || return 1
    (
        flock 9 || exit 1
        [[ -f "$tav_wine_template/system.reg" ]] && exit 0
        staging="$(mktemp -d "$tav_wine_template.XXXXXX")" || exit 1
        echo "wine-env: booting a template prefix in $tav_wine_template" >&2
        # No Mono or Gecko installers: the programs need neither.
        if ! WINEPREFIX="$staging" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
            wineboot -i >/dev/null 2>&1; then
            rm -rf "$staging"
            echo "wine-env: wineboot -i failed" >&2
            exit 1
        fi
        WINEPREFIX="$staging" WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' \
            /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || exit 1
        # The registry reaches the files when the prefix's wineserver ends.
        WINEPREFIX="$staging" wineserver -w
        rm -rf "$tav_wine_template"
        mv "$staging" "$tav_wine_template"
    ) 9>"$tav_wine_template.lock"
}

tav_wine_start_display() {
    if ! command -v Xvfb >/dev/null; then
        tav_wine_fail "Xvfb is not installed"
        return 1
    fi
    local display_file="$tav_wine_run_dir/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    tav_wine_xvfb_pid=$!
    local waited=0
    while [[ ! -s "$display_file" ]]; do
        if ! kill -0 "$tav_wine_xvfb_pid" 2>/dev/null || ((waited >= 100)); then
            tav_wine_fail "Xvfb did not start"
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
}

tav_wine_start() {
    tav_wine_build_template || return 1
    tav_wine_run_dir="$(mktemp -d "${TMPDIR:-/tmp}/tav-wine.XXXXXX")" || return 1
    export WINEPREFIX="$tav_wine_run_dir/prefix"
    cp -a "$tav_wine_template" "$WINEPREFIX" || { tav_wine_fail "cannot copy the template"; return 1; }
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    tav_wine_start_display || return 1
    wineserver -p || { tav_wine_fail "wineserver -p failed"; return 1; }
    # The prefix's own services (services.exe, rpcss, ...) start with the first
    # Wine program and live as long as the wineserver. Start them here with no
    # terminal or pipe attached: otherwise they inherit the first test's output
    # pipe and whoever reads it (ctest, a $(...)) waits for its end forever.
    wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || {
        tav_wine_fail "wine cannot run a program in $WINEPREFIX"
        return 1
    }
    trap tav_wine_stop EXIT
    echo "wine-env: prefix $WINEPREFIX, display $DISPLAY" >&2
}

# What a Windows program printed into LOG, less Debian's notice that wine32 is
# missing and Wine's own diagnostics (NNNN:err:..., when WINEDEBUG lets them).
tav_wine_program_output() {
    grep -v -E 'wine32|multiarch|dpkg --add-architecture|^[0-9a-f]{4}:(err|fixme|warn|trace):' \
        "$1" || true
}

# The last Wine errors (NNNN:err:...) in LOG, when WINEDEBUG let them through.
tav_wine_errors() {
    grep -E '^[0-9a-f]{4}:err:' "$1" | tail -n 20 || true
}

# tav_wine_run_started LOG RESULT COMMAND...: runs COMMAND, which runs a
# Windows program under Wine, with its output in LOG. Wine now and then fails
# to start a program at all: seen in CI as exit status 1 with nothing printed
# and nothing written. When COMMAND ends like that (non-zero, no output of
# the program's own, no RESULT file), none of the code under test ran, so it
# says so on stderr and runs COMMAND once more. A program that `timeout` cut
# off (status 124) did run: that is never taken for a start failure. Returns
# the last run's status.
tav_wine_run_started() {
    local log="$1" result="$2" status=0
    shift 2
    "$@" >"$log" 2>&1 || status=$?
    if ((status != 0 && status != 124)) && [[ ! -e "$result" ]] &&
        [[ -z "$(tav_wine_program_output "$log")" ]]; then
        echo "wine-env: Wine did not start the program (status $status, no output):" \
            "once more; Wine's side follows" >&2
        tav_wine_errors "$log" >&2
        status=0
        "$@" >"$log" 2>&1 || status=$?
    fi
    return "$status"
}

# Ends this run's wineserver (and with it every Wine process of the prefix),
# its display, and removes the prefix. Safe to call twice.
tav_wine_stop() {
    if [[ -n "$tav_wine_run_dir" ]]; then
        WINEPREFIX="$tav_wine_run_dir/prefix" wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX="$tav_wine_run_dir/prefix" wineserver -w >/dev/null 2>&1 || true
    fi
    if [[ -n "$tav_wine_xvfb_pid" ]]; then
        kill "$tav_wine_xvfb_pid" 2>/dev/null || true
        wait "$tav_wine_xvfb_pid" 2>/dev/null || true
        tav_wine_xvfb_pid=""
    fi
    if [[ -n "$tav_wine_run_dir" ]]; then
        rm -rf "$tav_wine_run_dir"
        tav_wine_run_dir=""
    fi
}

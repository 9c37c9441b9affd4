#!/usr/bin/env bash
# The end-to-end suite of tavrelmondix.exe under Wine (or on Windows with a
# bash): every run starts the simulated Solid Edge on a scene, which starts
# the driver, which starts tavrelmondix.exe, presses its buttons and checks
# its windows. Each run's host result is then compared with the in-process
# harness's result for the same scene and actions.
#
#   tools/e2e/e2e-suite.sh WIN_BUILD_DIR NATIVE_HARNESS OUT_DIR
#
# Needs: a Wine environment (WINEPREFIX, DISPLAY, a persistent wineserver:
# source .ci/wine-env.sh and call tav_wine_start), jq. Fails on the first run
# that cannot run or does not match, and says why.
set -euo pipefail

win_build="$(cd "$1" && pwd)"
harness="$2"
out="$3"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

for program in tavrelmondix.exe tavrelmondix-e2e.exe sehost-sim.exe; do
    [[ -f "$win_build/$program" ]] || { echo "e2e: $win_build/$program is missing" >&2; exit 1; }
done
[[ -x "$harness" ]] || { echo "e2e: the harness $harness is missing" >&2; exit 1; }
command -v jq >/dev/null || { echo "e2e: jq is not installed" >&2; exit 1; }
# shellcheck source=../../.ci/wine-env.sh
source "$root/.ci/wine-env.sh"  # its helpers; the caller has started Wine

# Z:\... for a Linux path, as Windows programs under Wine take it.
win_path() { printf 'Z:%s' "${1//\//\\}"; }

set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1 || { echo "e2e: cannot set the prefix's DPI to $1" >&2; exit 1; }
}

# The host's side of a result, as both the harness and the server write it.
host_side='{hostCalls, host, selection, lineStyles, members,
            events: [.events[] | select(has("host")) | del(.call)]}'

# The server on the scene, driving tavrelmondix.exe; uses run's locals. Wine
# reports its own errors into the run's log, shown only when the run fails.
serve_and_drive() {
    WINEDEBUG=err+all,fixme-all wine "$win_build/sehost-sim.exe" "$(win_path "$scene")" \
        --timeout "${server_seconds:-90}" --result "$(win_path "$hosted")" -- \
        "$(win_path "$win_build/tavrelmondix-e2e.exe")" "$(win_path "$win_build/tavrelmondix.exe")" \
        --press "$actions" --dpi "$dpi" --seen "$(win_path "$seen")" "$@"
}

runs=0
# run NAME SCENE ACTIONS DPI [DRIVER OPTIONS...]
run() {
    local name="$1" scene="$2" actions="$3" dpi="$4"
    shift 4
    local harness_actions="${actions//keys-exit/exit}"
    local expected="$out/$name.harness.json" hosted="$out/$name.host.json"
    local seen="$out/$name.seen.json" log="$out/$name.log"
    rm -f "$expected" "$hosted" "$seen"

    # The in-process host takes the keys that act over COM only and ignores them.
    "$harness" "$scene" --press "$harness_actions" --quiet --result "$expected"

    set_dpi "$dpi"
    local status=0 began=$SECONDS
    tav_wine_run_started "$log" "$hosted" serve_and_drive "$@" || status=$?
    if ((status != 0)); then
        tav_wine_program_output "$log" >&2
        tav_wine_errors "$log" >&2
        echo "e2e: $name: the driver or the server failed (status $status after" \
            "$((SECONDS - began)) s); log above" >&2
        exit 1
    fi
    [[ -s "$hosted" && -s "$seen" ]] || { echo "e2e: $name: no result written" >&2; exit 1; }

    # The host ends as the harness says.
    if ! diff <(jq -S "$host_side" "$expected") <(jq -S "$host_side" "$hosted") >"$out/$name.diff"; then
        head -40 "$out/$name.diff" >&2
        echo "e2e: $name: the host differs from the harness's result (diff above)" >&2
        exit 1
    fi
    local end
    end="$(jq -r .end "$expected")"
    # However it ended, the tool gave every reference back before its process
    # went: the host holds none but those whose release it rejected itself.
    if [[ "$(jq '.heldReferences - (.rejectedReleases // 0)' "$hosted")" != 0 ]]; then
        echo "e2e: $name: the tool still held $(jq .heldReferences "$hosted") references after $end" >&2
        exit 1
    fi
    # The user saw the harness's message boxes and about boxes, in order.
    local want got
    want="$(jq -c '[.events[] | select(.ui == "message") | {title, text}]' "$expected")"
    got="$(jq -c '[.messages[] | {title, text}]' "$seen")"
    [[ "$want" == "$got" ]] || { echo "e2e: $name: messages $got, expected $want" >&2; exit 1; }
    want="$(jq -c '[.events[] | select(.ui == "about") | {title, version}]' "$expected")"
    got="$(jq -c '[.about[] | {title, version}]' "$seen")"
    [[ "$want" == "$got" ]] || { echo "e2e: $name: about boxes $got, expected $want" >&2; exit 1; }
    # Every caption sampled during a run is one the harness's run shows too.
    local strange
    strange="$(jq -n -c --slurpfile h "$expected" --slurpfile s "$seen" \
        '[$s[0].captionsDuringRun[]] - ([$h[0].events[] | select(.ui == "caption") | .text] + [""])')"
    [[ "$strange" == "[]" ]] ||
        { echo "e2e: $name: captions the harness never shows: $strange" >&2; exit 1; }
    local exit_code want_exit=0
    exit_code="$(jq .exitCode "$seen")"
    [[ "$end" == fatal ]] && want_exit=1
    [[ "$exit_code" == "$want_exit" ]] ||
        { echo "e2e: $name: tavrelmondix.exe exited with $exit_code after $end" >&2; exit 1; }

    runs=$((runs + 1))
    echo "e2e: $name: ok ($end, $(jq .hostCalls "$hosted") host calls," \
        "$(grep -c '^ok ' "$log") window checks)"
}

examples=("$root"/examples/${TAV_E2E_EXAMPLES:-*}.scene.json)
((${#examples[@]} > 0)) || { echo "e2e: no examples found" >&2; exit 1; }
for scene in "${examples[@]}"; do
    run "example-$(basename "$scene" .scene.json)" "$scene" process 96
done

gearbox="$root/examples/gearbox.scene.json"
run exit "$gearbox" exit 96
run keyboard-exit "$gearbox" keys-exit 96
run help-help-exit "$gearbox" help,help,exit 96
run close-from-frame "$gearbox" close 96
run gearbox-144dpi "$gearbox" help,process 144
run busy-host "$root/tools/e2e/scenes/busy-gearbox.scene.json" process 96 --disturb
# A Solid Edge unlike the stand-in in every way a real one may be: the
# documents' interfaces not under the ids the tool casts to, a colour query
# that takes only its declared VARIANT* arguments and answers in arrays of
# singles, a type library of Solid Edge's size, and busy on every kind of
# call while it shows its dialog.
jq '. + {com: {classIds: "separate", byRef: "declared", arrays: "r4", typeLibrary: "solidEdge",
               busyKinds: "all"}}' "$root/tools/e2e/scenes/busy-gearbox.scene.json" \
    >"$out/unlike-the-stand-in.scene.json"
run unlike-the-stand-in "$out/unlike-the-stand-in.scene.json" process 96 --disturb
# Solid Edge holds call 400 for 8 s inside a dialog: the window keeps
# painting, its title says that the tool waits for Solid Edge and goes back,
# and clicks, keys and a close thrown at it meanwhile are dropped.
run stalled-host "$root/tools/e2e/scenes/stalled-gearbox.scene.json" process 96 --expect-waiting
# Solid Edge holds start-up's first call for 8 s: the notice "Waiting for
# Solid Edge…" shows after 5 s, before the main window, and is gone when the
# window appears. A second start meanwhile ends at once with status 0 without
# attaching (the host's result stays the harness's) and asks the first's
# window forward, which is in front once shown.
run stalled-start "$root/tools/e2e/scenes/stalled-start.scene.json" process 96 \
    --expect-start-up-notice --second-start starting
# A second start while the first waits for the user, its window minimised:
# the second ends at once with status 0, the first's window comes back to the
# front, and its run is the harness's.
run second-start "$gearbox" process 96 --second-start idle
# Type-ahead cannot answer the error box that ends a run. With Wine 8,
# SendInput reaches the foreground window: the driver first checks that a
# typed Tab and Shift+Tab move the focus and a real click starts the run.
# Enter and a click typed at bar 3 fall into the busy host's wait (call 333,
# ten rejections), whose message loop takes them and RunInputFilter drops
# them. Typed at bar 12 they wait in the queue through COM calls (which take
# no input) until the error at call 817: without discardQueuedUserInput that
# Enter closes the box before the driver ever sees it (tried with the call
# taken out); with it the box stays until answered. Not covered: a click
# queued where the box's OK button will appear, and Windows' own timing.
run type-ahead-error "$root/tools/e2e/scenes/type-ahead-error.scene.json" process 96 \
    --type-ahead-at 3,12
# A large drawing: 1,500 parts in one view, some 36,000 host calls over COM.
# The server and the driver get time that fits it; the window must never be
# "not responding" and the result must be the harness's. The driver looks at
# the window four times a second, not sixty: each look costs the machine
# what the tool would otherwise spend on the run.
scale_bench="$(dirname "$harness")/tav-scale-bench"
[[ -x "$scale_bench" ]] || { echo "e2e: $scale_bench (the native build's) is missing" >&2; exit 1; }
"$scale_bench" --sizes 1500 --families flat --repeat 1 --pairing 0 --work "$out/large" >/dev/null
began=$SECONDS
server_seconds=900 run large-drawing "$out/large/flat-1500.scene.json" process 96 --timeout 800 \
    --sample-ms 250
echo "e2e: large-drawing: 1,500 parts end to end in $((SECONDS - began)) s"
set_dpi 96

echo "e2e: all $runs runs passed"

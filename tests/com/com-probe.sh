#!/usr/bin/env bash
# The read-only probe under Wine: its report on sehost-sim.exe playing a
# Solid Edge of real size, that report served back (--type-library) giving
# the same report but for its timing, a hand-written report of a Solid Edge
# unlike the stand-in giving the in-process result for the gearbox, and the
# probe changing nothing. Called by .ci/stages/50-windows.sh inside its Wine
# environment:
#   bash tests/com/com-probe.sh NATIVE_BUILD WIN_BUILD WORK_DIR
set -euo pipefail
native_dir="$1"
win_dir="$2"
work="$3"
harness_exe="$win_dir/tavrelmondix-sim.exe"
server_exe="$win_dir/sehost-sim.exe"
probe_exe="$win_dir/tavrelmondix-probe.exe"

fail() {
    echo ".ci/run: $*" >&2
    exit 1
}

# shellcheck source=../../.ci/wine-env.sh
source .ci/wine-env.sh  # its helpers; the stage has started Wine
# shellcheck source=compare-over-com.sh
source tests/com/compare-over-com.sh

[[ -f "$probe_exe" ]] || fail "the cross build made no $probe_exe"
win_path() { printf 'Z:%s' "$(realpath -m "$1" | sed 's|/|\\|g')"; }

# probe NAME SCENE [SERVER OPTIONS...]: the probe against sehost-sim.exe on
# SCENE; its report in $work/NAME.report.json, the server's result beside it.
probe() {
    local name="$1" scene="$2" status=0
    shift 2
    rm -f "$work/$name.report.json" "$work/$name.host.json"
    tav_wine_run_started "$work/$name.log" "$work/$name.host.json" \
        timeout 120 wine "$server_exe" "$scene" "$@" --result "$(win_path "$work/$name.host.json")" \
        -- "$probe_exe" --report "$(win_path "$work/$name.report.json")" </dev/null || status=$?
    ((status == 0)) || { tav_wine_program_output "$work/$name.log" >&2; fail "$name: the probe failed (status $status)"; }
    [[ -s "$work/$name.report.json" ]] || fail "$name: the probe wrote no report"
}

echo "--> The probe against a Solid Edge of real size"
solid_edge="$work/probe-gearbox.scene.json"
jq '. + {com: {typeLibrary: "solidEdge"}}' examples/gearbox.scene.json >"$solid_edge"
probe probe-solid-edge "$solid_edge"
report="$work/probe-solid-edge.report.json"
[[ "$(head -1 "$report")" == '{"format": "tavrelmondix-probe/1",' ]] ||
    fail "the report does not start with its format line: $(head -1 "$report")"
met="$(jq '[.kinds[] | select(.met)] | length' "$report")"
((met >= 20)) || fail "the probe met only $met kinds of object in the gearbox"
# Names of the drawing's documents, files and parts never reach the report.
for name in $(jq -r '(.. | .file? // empty), (.drawingViews[].root | .. | .name? // empty)' \
    examples/gearbox.scene.json | sed 's/.*\\//' | sort -u); do
    ! grep -qwF "$name" "$report" || fail "the report names \"$name\" from the drawing"
done
if grep -q '\.par\|\.asm\|\.dft' "$report"; then fail "the report holds a file name"; fi
# Read only: no put and no method that changes anything reached the host.
host_events="$(jq '[.events[] | select(has("host"))] | length' "$work/probe-solid-edge.host.json")"
((host_events == 0)) || fail "the probe changed the host ($host_events host events)"
echo "    $met kinds read, no name of the drawing in the report, nothing changed"

echo "--> Its report served back gives the same report"
probe probe-replayed examples/gearbox.scene.json --type-library "$(win_path "$report")"
if ! diff <(jq 'del(.bareRoundTrips.milliseconds)' "$report") \
    <(jq 'del(.bareRoundTrips.milliseconds)' "$work/probe-replayed.report.json") \
    >"$work/probe-replayed.diff"; then
    head -40 "$work/probe-replayed.diff" >&2
    fail "the report served back differs from the one it was made from (above)"
fi
echo "    same report but for the timing"

echo "--> A Solid Edge unlike the stand-in, from a report: the gearbox as in process"
hand_written="tests/data/probe/separate-ids-single-arrays.report.json"
"$native_dir/tavrelmondix-sim" examples/gearbox.scene.json --quiet \
    --result "$work/probe-hand-written.native.json" || fail "the native harness failed"
run_over_com probe-hand-written examples/gearbox.scene.json --type-library "$(win_path "$hand_written")"
"$native_dir/tavrelmondix-compare" "$work/probe-hand-written.native.json" \
    "$work/probe-hand-written.com.json" ||
    fail "the gearbox against the hand-written report differs from the in-process result"
echo "    separate class ids and a colour query of single-precision arrays: same result"

echo "--> With no Solid Edge running the probe still writes its report"
probe probe-no-host tests/data/conformance/02-no-host.scene.json
jq -e '.problems | length > 0' "$work/probe-no-host.report.json" >/dev/null ||
    fail "the report without Solid Edge says nothing about it"
echo "    report written: $(jq -r '.problems[0]' "$work/probe-no-host.report.json")"

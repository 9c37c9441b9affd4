#!/usr/bin/env bash
# The command-line tool three ways, which must agree: its own code in process
# (the native harness's --cli), the same over COM (the Windows harness's --cli
# --com, against sehost-sim.exe), and the real tavrelmondix-cli.exe served by
# sehost-sim.exe, started from a working folder that is not its own, as Solid
# Edge Housekeeper starts it. For the real program the host's side of the
# result, what it printed (durations aside: its clock runs), its exit status,
# error_messages.txt beside it and its report are held to the harness's.
# Called by .ci/stages/60-e2e.sh inside its Wine environment:
#   bash tests/com/cli-three-ways.sh NATIVE_BUILD WIN_BUILD WORK_DIR
set -euo pipefail
native_dir="$(cd "$1" && pwd)"
win_dir="$(cd "$2" && pwd)"
work="$3"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
rm -rf "$work"
mkdir -p "$work"
work="$(cd "$work" && pwd)"

fail() {
    echo "cli-three-ways: $*" >&2
    exit 1
}
for program in tavrelmondix-cli.exe tavrelmondix-sim.exe sehost-sim.exe; do
    [[ -f "$win_dir/$program" ]] || fail "$win_dir/$program is missing"
done
command -v jq >/dev/null || fail "jq is not installed"
command -v python3 >/dev/null || fail "python3 is not installed"
source "$root/.ci/wine-env.sh"  # its helpers; the caller has started Wine

win_path() { printf 'Z:%s' "${1//\//\\}"; }

host_side='{hostCalls, heldReferences, host, selection, lineStyles, members, documents,
            events: [.events[] | select(has("host")) | del(.call)]}'
strict='{"names": "perInterface", "numbers": "varied", "errors": "direct",
         "classIds": "separate", "byRef": "declared", "typeLibrary": "solidEdge"}'
scene="$root/tests/data/cli/gearbox-drafts.scene.json"

# A variant of the scene: JQ applied to it.
variant() {
    local name="$1" filter="$2"
    jq "$filter" "$scene" >"$work/$name.scene.json" || fail "$name: cannot write its scene"
    printf '%s' "$work/$name.scene.json"
}

# The tool's own code in process and over COM: the same result field by field.
harness_both_ways() {
    local name="$1" served="$2"
    shift 2
    "$native_dir/tavrelmondix-sim" "$served" --cli --quiet --result "$work/$name.native.json" \
        -- "$@" || fail "$name: the native harness failed"
    local status=0
    tav_wine_run_started "$work/$name.com.log" "$work/$name.com.json" \
        timeout 180 wine "$win_dir/tavrelmondix-sim.exe" "$served" --cli --com --quiet \
        --result "$work/$name.com.json" -- "$@" </dev/null || status=$?
    ((status == 0)) || { tav_wine_program_output "$work/$name.com.log" >&2; fail "$name: the harness over COM failed"; }
    "$native_dir/tavrelmondix-compare" "$work/$name.native.json" "$work/$name.com.json" ||
        fail "$name: over COM the command-line tool's result differs from in process (above)"
}

# The real program beside a copy of itself in a folder of its own, started
# from another working folder; its side held to the in-process result.
real_program() {
    local name="$1" served="$2"
    shift 2
    local expected="$work/$name.native.json" program_dir="$work/$name.program"
    local elsewhere="$work/$name.elsewhere" hosted="$work/$name.host.json"
    mkdir -p "$program_dir" "$elsewhere"
    cp "$win_dir/tavrelmondix-cli.exe" "$program_dir/"
    echo "stale" >"$program_dir/error_messages.txt"
    local status=0
    (cd "$elsewhere" && timeout 180 wine "$win_dir/sehost-sim.exe" "$(win_path "$served")" \
        --timeout 150 --result "$(win_path "$hosted")" -- \
        "$(win_path "$program_dir/tavrelmondix-cli.exe")" "$@" \
        >"$work/$name.stdout" 2>"$work/$name.stderr" </dev/null) || status=$?
    [[ -s "$hosted" ]] || { cat "$work/$name.stderr" >&2; fail "$name: the server wrote no result (status $status)"; }

    [[ "$status" == "$(jq '.cli.exitCode' "$expected")" ]] ||
        fail "$name: tavrelmondix-cli.exe exited $status, the harness's run $(jq '.cli.exitCode' "$expected")"
    diff <(jq -S "$host_side" "$expected") <(jq -S "$host_side" "$hosted") >"$work/$name.host.diff" ||
        { head -40 "$work/$name.host.diff" >&2; fail "$name: the host differs from the harness's result"; }
    # The server prints "ready" first; durations are the real clock's.
    diff <(jq -r '.cli.stdout[]' "$expected") \
        <(tr -d '\r' <"$work/$name.stdout" | grep -v '^ready$' | sed -E 's/; [0-9]+\.[0-9] s$/; 0.0 s/') \
        >"$work/$name.stdout.diff" ||
        { cat "$work/$name.stdout.diff" >&2; fail "$name: tavrelmondix-cli.exe printed other lines"; }
    if [[ "$(jq '.cli.errorMessages' "$expected")" == null ]]; then
        [[ ! -e "$program_dir/error_messages.txt" ]] ||
            fail "$name: a stale or new error_messages.txt is left beside the program"
    else
        diff <(jq -r '.cli.errorMessages[]' "$expected") <(tr -d '\r' <"$program_dir/error_messages.txt") ||
            fail "$name: error_messages.txt beside the program differs from the harness's"
    fi
    [[ ! -e "$elsewhere/error_messages.txt" ]] || fail "$name: error_messages.txt went to the working folder"
}

# The CSV report the real program wrote, row by row as the harness read its own.
same_report() {
    local name="$1" report="$2"
    python3 - "$work/$name.native.json" "$report" <<'PY' || fail "$name: the report differs from the harness's"
import csv, json, sys
expected = json.load(open(sys.argv[1], encoding="utf-8"))["cli"]["report"]
with open(sys.argv[2], encoding="utf-8-sig", newline="") as f:
    actual = [row for row in csv.reader(f)]
if expected != actual:
    print("expected", expected, "\nactual", actual, file=sys.stderr)
    sys.exit(1)
PY
}

began=$SECONDS
report="$work/colours.csv"
batch=('C:\Work\Gearbox.dft' 'c:\work\PUMP.dft' 'C:\Work\notes.txt' --report "$(win_path "$report")")

echo "--> A batch: two Drafts (one open, one on disk) and a file that is no Draft"
harness_both_ways batch "$scene" "${batch[@]}"
real_program batch "$scene" "${batch[@]}"
same_report batch "$report"

echo "--> The same against the strict host (names per interface, class ids, a library of Solid Edge's size)"
harness_both_ways batch-strict "$(variant batch-strict ". + {com: $strict}")" "${batch[@]}"

echo "--> A Draft whose run fails, every sheet of the other"
failing="$(variant failing '.drawingViews[4].fail = ["modelMembers"]')"
harness_both_ways failing "$failing" --sheets all 'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft'
real_program failing "$failing" --sheets all 'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft'

echo "--> Interrupted in the Draft it opened"
harness_both_ways quiet "$scene" 'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft' --quiet
calls="$(jq '.hostCalls' "$work/quiet.native.json")"
"$native_dir/tavrelmondix-sim" "$scene" --cli --quiet --interrupt-at-call $((calls - 10)) \
    --result "$work/interrupted-at.native.json" -- 'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft' ||
    fail "interrupted: the native harness failed"
tav_wine_run_started "$work/interrupted-at.com.log" "$work/interrupted-at.com.json" \
    timeout 180 wine "$win_dir/tavrelmondix-sim.exe" "$scene" --cli --com --quiet \
    --interrupt-at-call $((calls - 10)) --result "$work/interrupted-at.com.json" \
    -- 'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft' </dev/null || fail "interrupted: the harness over COM failed"
"$native_dir/tavrelmondix-compare" "$work/interrupted-at.native.json" "$work/interrupted-at.com.json" ||
    fail "interrupted: over COM the result differs from in process"
jq -e '.cli.exitCode == 1 and (.cli.stdout | index("interrupted"))' "$work/interrupted-at.com.json" >/dev/null ||
    fail "interrupted: the run did not say it was interrupted"

echo "--> Solid Edge gone in the middle of the first Draft"
crashing="$(variant crashing '. + {crashAtCall: 20}')"
tav_wine_run_started "$work/crashing.com.log" "$work/crashing.com.json" \
    timeout 180 wine "$win_dir/tavrelmondix-sim.exe" "$crashing" --cli --com --quiet \
    --result "$work/crashing.com.json" -- 'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft' </dev/null ||
    fail "crashing: the harness over COM failed"
jq -e '.cli.exitCode == 1 and (.hostCalls | not) and (.cli.stdout | length == 3)
       and all(.cli.stdout[0:2][];
               test("^not processed: .*: Solid Edge is no longer running(; 0.0 s)?$"))' \
    "$work/crashing.com.json" >/dev/null ||
    { jq '.cli' "$work/crashing.com.json" >&2; fail "crashing: the rest of the batch was not reported as not processed"; }

echo "--> As Housekeeper runs it: no arguments, the active Draft"
harness_both_ways housekeeper "$scene"
real_program housekeeper "$scene"
jq -e '.cli.exitCode == 0 and .documents[0].saves == 1 and .documents[0].open' \
    "$work/housekeeper.native.json" >/dev/null || fail "housekeeper: the active Draft was not saved and left open"
not_a_draft="$(variant housekeeper-assembly '.activeDocument = "A1"')"
harness_both_ways housekeeper-assembly "$not_a_draft"
real_program housekeeper-assembly "$not_a_draft"
grep -q 'The active document is not a Draft' "$work/housekeeper-assembly.program/error_messages.txt" ||
    fail "housekeeper-assembly: error_messages.txt does not say the active document is no Draft"

echo "--> A reset after colouring, unused styles removed"
# The scene as the batch run left it: each draft's line styles (a created
# style's parent is its template) and every member's styles.
python3 - "$scene" "$work/batch.native.json" >"$work/coloured.scene.json" <<'PY' ||
import json, sys
scene = json.load(open(sys.argv[1], encoding="utf-8"))
result = json.load(open(sys.argv[2], encoding="utf-8"))
for document in result["documents"]:
    if "lineStyles" not in document:
        continue
    before = {s["name"]: s for s in scene["documents"][document["id"]]["lineStyles"]}
    styles = []
    for style in document["lineStyles"]:
        entry = {"name": style["name"], "color": style["color"]}
        parent = style.get("template") or before.get(style["name"], {}).get("parent")
        if parent:
            entry["parent"] = parent
        styles.append(entry)
    scene["documents"][document["id"]]["lineStyles"] = styles
views = {view["id"]: view for view in scene["drawingViews"]}
for member in result["members"]:
    view_id, *path = member["id"].split("/")
    node = views[view_id]["root"]
    for index in path:
        node = node["children"][int(index) - 1]
    node["styles"] = {k: member[k] for k in ("visible", "hidden", "tangent")}
json.dump(scene, sys.stdout, indent=1)
PY
    fail "reset: cannot make the coloured scene"
reset_report="$work/reset.csv"
reset_run=(--reset --remove-unused-styles 'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft'
           --report "$(win_path "$reset_report")")
harness_both_ways reset "$work/coloured.scene.json" "${reset_run[@]}"
real_program reset "$work/coloured.scene.json" "${reset_run[@]}"
same_report reset "$reset_report"
jq -e '.cli.exitCode == 0 and ([.documents[] | select(.id == "D1") | .lineStyles[].name] == ["Normal"])
       and ([.members[] | select(.id == "V1/1") | .visible] == ["Normal"])' \
    "$work/reset.native.json" >/dev/null || fail "reset: the Gearbox is not back as it was before colouring"

echo "--> Pale parts made paper-safe, stale styles of the tool removed, against the strict host"
paper="$(variant paper ". + {com: $strict}
  | .documents.A1.occurrences[0].style = {r: 1, g: 1, b: 1}
  | .documents.A1.occurrences[1].faceStyle = {r: 1, g: 1, b: 0}
  | .documents.D1.lineStyles += [{name: \"65535_visible\", color: 65535}, {name: \"65535_hidden\", color: 65535}]")"
harness_both_ways paper "$paper" --paper-safe=4.5 --remove-unused-styles --sheets all \
    'C:\Work\Gearbox.dft' 'C:\Work\Pump.dft'
jq -e '.cli.exitCode == 0 and ([.members[] | select(.id == "V1/1") | .visible] == ["7763574_visible"])
       and ([.events[] | select(.member? == "Remove") | .args[0]] == ["65535_visible", "65535_hidden"])' \
    "$work/paper.native.json" >/dev/null || fail "paper: the white bolt is not darkened or the stale styles not removed"
harness_both_ways paper-dry "$paper" --paper-safe --remove-unused-styles --dry-run 'C:\Work\Gearbox.dft'
jq -e '.cli.stdout | index("  would remove line style \"65535_hidden\"")' "$work/paper-dry.native.json" >/dev/null ||
    fail "paper-dry: the dry run does not list the styles it would remove"

echo "    the command-line tool agrees in process and over COM on 9 runs, the real program on 5 of them, and a crash ends the batch ($((SECONDS - began)) s)"

#!/usr/bin/env bash
# The tool over COM against a host as strict as Solid Edge (the scene's `com`
# key): names numbered per interface, integers in varied VARIANT types, each
# form of error report, a call held in a dialog; interfaces whose ids are not
# the class ids the tool casts to, a colour query that takes only its declared
# VARIANT* arguments with arrays of doubles, singles or variants, a type
# library of Solid Edge's size; and all of them at once. Every form runs on
# every conformance scene and example (the one very large scene, 09, takes
# all of them at once only), then all at once on a sample of the fault
# sweep's variants: every tenth failing call and every tenth fault key of the
# scenes that carry faults. Each result must equal the in-process one.
# Called by .ci/stages/50-windows.sh inside its Wine environment:
#   bash tests/com/com-strict.sh NATIVE_BUILD WIN_BUILD WORK_DIR
set -euo pipefail
native_dir="$1"
win_dir="$2"
work="$3"
harness_exe="$win_dir/tavrelmondix-sim.exe"

fail() {
    echo ".ci/run: $*" >&2
    exit 1
}

# shellcheck source=../../.ci/wine-env.sh
source .ci/wine-env.sh  # its helpers; the stage has started Wine
# shellcheck source=compare-over-com.sh
source tests/com/compare-over-com.sh

# Arrays of singles: the scenes' sub-occurrence colours are ones single
# precision holds closely enough for the same 0..255 components.
all_at_once='{"names": "perInterface", "numbers": "varied", "errors": "direct",
              "stall": {"call": 30, "ms": 300}, "classIds": "separate", "byRef": "declared",
              "arrays": "r4", "typeLibrary": "solidEdge"}'
forms=(
    'names|{"names": "perInterface"}'
    'numbers|{"numbers": "varied"}'
    'exception|{"errors": "exception"}'
    'deferred|{"errors": "deferred"}'
    'direct|{"errors": "direct"}'
    'class-ids|{"classIds": "separate"}'
    'declared-r8|{"byRef": "declared", "arrays": "r8"}'
    'declared-r4|{"byRef": "declared", "arrays": "r4"}'
    'declared-variant|{"byRef": "declared", "arrays": "variant"}'
    'solid-edge-size|{"typeLibrary": "solidEdge"}'
    "all|$all_at_once"
)
large=09-progress-dots

scenes=()
while IFS='|' read -r name actions; do
    scenes+=("$name|tests/data/conformance/$name.scene.json|$actions")
done < <(sed -n 's/^ *"\([^"]*\)": *"\([^"]*\)".*/\1|\2/p' tests/data/conformance/cases.json)
for scene in examples/*.scene.json; do
    scenes+=("example-$(basename "$scene" .scene.json)|$scene|process")
done
((${#scenes[@]} >= 16)) || fail "only ${#scenes[@]} scenes to run against the strict host"

for form in "${forms[@]}"; do
    form_name="${form%%|*}"
    com="${form#*|}"
    began=$SECONDS
    runs=0
    for entry in "${scenes[@]}"; do
        IFS='|' read -r name scene actions <<<"$entry"
        if [[ "$name" == "$large" && "$form_name" != all ]]; then
            continue
        fi
        compare_over_com "strict-$form_name-$name" "$scene" "$actions" "$com"
        runs=$((runs + 1))
    done
    echo "    strict host, $form_name: $runs scenes give the in-process result ($((SECONDS - began)) s)"
done

echo "--> The fault sweep's variants over COM, with the strict host's every way at once"
variants="$work/sweep-variants"
rm -rf "$variants"
mkdir -p "$variants"
"$native_dir/tavrelmondix-sweep" --every 10 --write-variants "$variants" \
    tests/data/conformance/01-example.scene.json \
    tests/data/conformance/07-fatal-restores-host.scene.json \
    tests/data/conformance/08-filter.scene.json \
    tests/data/conformance/10-existing-style-and-faults.scene.json >/dev/null ||
    fail "the fault sweep found problems in process (run it on its own to see them)"
began=$SECONDS
runs=0
for variant in "$variants"/*.failcall-*.scene.json "$variants"/*.key-*0.scene.json; do
    compare_over_com "sweep-$(basename "$variant" .scene.json)" "$variant" process "$all_at_once"
    runs=$((runs + 1))
done
((runs >= 40)) || fail "only $runs sweep variants were run over COM"
echo "    $runs sweep variants give the in-process result over COM ($((SECONDS - began)) s)"

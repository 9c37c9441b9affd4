#!/usr/bin/env bash
# The Windows half under Wine: the cross build, every unit test under Wine,
# then every conformance scene and example through `tavrelmondix-sim.exe --com`
# (the tool over COM against sehost-sim.exe) compared field by field with the
# native in-process harness's result for the same scene and actions; then a
# busy host (also one that rejects every kind of call), a host that crashes,
# and a second server; then the read-only probe and its report served back;
# then smoke runs of the benchmark over COM.
#
# Needs the native build of stage 10 in $BUILD_DIR (its harness and
# tavrelmondix-compare). Runs from a clean clone:
#   TAV_ROOT=$PWD BUILD_DIR=build bash .ci/stages/50-windows.sh
set -euo pipefail
cd "$TAV_ROOT"
native_dir="$BUILD_DIR"
win_dir="${TAV_WIN_BUILD_DIR:-build-win}"
started=$SECONDS

fail() {
    echo ".ci/run: $*" >&2
    exit 1
}

for tool in tavrelmondix-sim tavrelmondix-compare; do
    [[ -x "$native_dir/$tool" ]] || fail "the native $tool is missing from $native_dir/ (stage 10 builds it)"
done

echo "--> Cross-building in $win_dir/"
cmake --preset mingw -B "$win_dir" >/dev/null
cmake --build "$win_dir" -j"$(nproc)"

echo "--> Each program imports only Windows' own DLLs"
for exe in "$win_dir"/*.exe; do
    imports="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')"
    foreign="$(grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|advapi32|shell32|msvcrt|ucrtbase|api-ms-win-.*|rpcrt4|uxtheme|shlwapi|version|ws2_32|bcrypt)\.dll$' <<<"$imports" || true)"
    [[ -z "$foreign" ]] || fail "$exe imports DLLs that Windows does not ship: $foreign"
done

echo "--> Cross build took $((SECONDS - started)) s"
wine_started=$SECONDS

# shellcheck source=.ci/wine-env.sh
source .ci/wine-env.sh
tav_wine_start

echo "--> Unit tests under Wine"
ctest --test-dir "$win_dir" --output-on-failure

work="$win_dir/com-results"
rm -rf "$work"
mkdir -p "$work"
harness_exe="$win_dir/tavrelmondix-sim.exe"
server_exe="$win_dir/sehost-sim.exe"
[[ -f "$harness_exe" && -f "$server_exe" ]] || fail "the cross build made no $harness_exe or $server_exe"

# shellcheck source=../../tests/com/compare-over-com.sh
source tests/com/compare-over-com.sh

echo "--> Conformance scenes over COM"
count=0
while IFS='|' read -r name actions; do
    compare_over_com "$name" "tests/data/conformance/$name.scene.json" "$actions"
    echo "    $name ($actions): same result over COM"
    count=$((count + 1))
done < <(sed -n 's/^ *"\([^"]*\)": *"\([^"]*\)".*/\1|\2/p' tests/data/conformance/cases.json)
((count >= 10)) || fail "only $count conformance cases found in cases.json"

echo "--> Examples over COM"
for scene in examples/*.scene.json; do
    compare_over_com "example-$(basename "$scene" .scene.json)" "$scene" process
    echo "    $(basename "$scene"): same result over COM"
done
compare_over_com example-gearbox-help-close examples/gearbox.scene.json help,close
compare_over_com example-gearbox-exit examples/gearbox.scene.json exit
compare_over_com example-gearbox-open examples/gearbox.scene.json help
echo "    gearbox with help,close / exit / help: same results over COM"

bash tests/com/com-strict.sh "$native_dir" "$win_dir" "$work"

bash tests/com/com-faults.sh "$native_dir" "$win_dir" "$work"

bash tests/com/com-probe.sh "$native_dir" "$win_dir" "$work"

# The benchmark over COM must keep working; its times depend on the machine
# and what runs beside it, so nothing is asserted about them.
echo "--> The benchmark over COM, smoke run"
bench_out="$work/com-bench-smoke.md"
timeout 600 wine "$win_dir/tav-com-bench.exe" --smoke --work "$work/com-bench" >"$bench_out" ||
    fail "tav-com-bench.exe --smoke failed"
grep -q '^| bare round trip |' "$bench_out" || fail "tav-com-bench.exe printed no table of the bare round trip"
grep -qE '^\| flat \| small \| 20 \| my_end \|' "$bench_out" &&
    grep -qE '^\| flat \| solidEdge \| 20 \| my_end \|' "$bench_out" ||
    fail "tav-com-bench.exe: the flat drawing of 20 parts did not end through my_end with both type libraries"
echo "    tables printed, the drawing ended through my_end"

echo "--> The command-line tool's batch against the window over COM, smoke run"
batch_out="$work/com-bench-cli-batch.md"
timeout 600 wine "$win_dir/tav-com-bench.exe" --cli-batch 2x3x10 --work "$work/com-bench-cli-batch" >"$batch_out" ||
    fail "tav-com-bench.exe --cli-batch 2x3x10 failed"
grep -qE '^\| command-line tool, 2 Drafts' "$batch_out" &&
    grep -qE '^\| window, every sheet of every Draft' "$batch_out" ||
    fail "tav-com-bench.exe --cli-batch printed no rows for the batch and the window"
echo "    the batch and the window's runs ended, their round trips printed"

echo "--> Under Wine: $((SECONDS - wine_started)) s; the stage in all: $((SECONDS - started)) s"

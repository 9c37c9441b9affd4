#!/usr/bin/env bash
# The native build: every unit, conformance and command-line test, then the
# harness once on the gearbox example, which must end through my_end.
set -euo pipefail
cd "$TAV_ROOT"
build_dir="$BUILD_DIR"

echo "--> Configuring in a fresh $build_dir/"
rm -rf "$build_dir"
cmake --preset native -B "$build_dir"

echo "--> Building"
cmake --build "$build_dir" -j"$(nproc)"

echo "--> Testing"
ctest --test-dir "$build_dir" --output-on-failure

echo "--> Harness on examples/gearbox.scene.json"
result="$build_dir/gearbox.result.json"
status=0
"$build_dir/tavrelmondix-sim" examples/gearbox.scene.json --quiet --result "$result" || status=$?
if ((status != 0)); then
    echo ".ci/run: tavrelmondix-sim exited with status $status on examples/gearbox.scene.json" >&2
    exit 1
fi
if [[ ! -s "$result" ]] || ! grep -q '"tavrelmondix-result/1"' "$result"; then
    echo ".ci/run: tavrelmondix-sim wrote no result file at $result" >&2
    exit 1
fi
if ! grep -Eq '"end"[[:space:]]*:[[:space:]]*"my_end"' "$result"; then
    echo ".ci/run: the gearbox run did not end normally; see $result" >&2
    exit 1
fi

#!/usr/bin/env bash
# The bounded fault sweep on the native build: every example and conformance
# scene with a failing host call at each call index and each fault key on
# each object that has it, except the one very large scene (09), whose call
# indices are sampled (every 25th) and whose fault keys the full sweep takes.
# The full sweep: docs/reliability.md.
set -euo pipefail
cd "$TAV_ROOT"
build_dir="$BUILD_DIR"

if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    echo "--> Configuring in $build_dir/ (the native stage did not)"
    cmake --preset native -B "$build_dir"
fi
cmake --build "$build_dir" -j"$(nproc)" --target tavrelmondix-sweep

large=tests/data/conformance/09-progress-dots.scene.json
scenes=()
for scene in examples/*.scene.json tests/data/conformance/*.scene.json; do
    [[ "$scene" == "$large" ]] || scenes+=("$scene")
done
if ((${#scenes[@]} == 0)) || [[ ! -f "$large" ]]; then
    echo ".ci/run: the sweep's scenes are missing" >&2
    exit 1
fi

echo "--> Sweep: ${#scenes[@]} scenes in full"
"$build_dir/tavrelmondix-sweep" "${scenes[@]}"
echo "--> Sweep: $large, every 25th failing call"
"$build_dir/tavrelmondix-sweep" --calls-only --every 25 "$large"

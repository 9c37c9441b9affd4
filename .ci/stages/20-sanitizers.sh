#!/usr/bin/env bash
# The sanitizer build (clang, AddressSanitizer + UndefinedBehaviorSanitizer
# with float-to-integer overflow, every report fatal): every native test, then
# the harness on every example. Zero reports: any report fails the process
# and so the stage. The fuzzers (stage 30) are built here too, in the same
# instrumented tree.
set -euo pipefail
cd "$TAV_ROOT"
build_dir="${SANITIZER_BUILD_DIR:-build-sanitizers}"

# Every report ends the process with a failure; leaks count.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "--> Configuring the sanitizer build in a fresh $build_dir/"
rm -rf "$build_dir"
cmake --preset sanitizer -B "$build_dir"

echo "--> Building"
started=$SECONDS
cmake --build "$build_dir" -j"$(nproc)"
echo "    built in $((SECONDS - started)) s"

echo "--> Testing under the sanitizers"
started=$SECONDS
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
echo "    tested in $((SECONDS - started)) s"

echo "--> Harness on every example under the sanitizers"
shopt -s nullglob
examples=(examples/*.scene.json)
if ((${#examples[@]} == 0)); then
    echo ".ci/run: no examples/*.scene.json to run" >&2
    exit 1
fi
for scene in "${examples[@]}"; do
    result="$build_dir/$(basename "$scene" .scene.json).result.json"
    status=0
    "$build_dir/tavrelmondix-sim" "$scene" --result "$result" >"$build_dir/harness.log" 2>&1 || status=$?
    if ((status != 0)) || [[ ! -s "$result" ]]; then
        cat "$build_dir/harness.log" >&2
        echo ".ci/run: tavrelmondix-sim exited with status $status on $scene under the sanitizers" >&2
        exit 1
    fi
    echo "    $scene: $(grep -Eo '"end": *"[a-z_]+"' "$result")"
done

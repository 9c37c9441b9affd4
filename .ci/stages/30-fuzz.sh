#!/usr/bin/env bash
# Bounded fuzzing: each libFuzzer target for FUZZ_SECONDS (default 75),
# both at once on the two cores, from the committed seeds (tools/fuzz/corpus,
# the examples, the conformance scenes) with the format's dictionary. A crash,
# a report of a sanitizer, a hang or memory past the limit fails the stage
# and leaves the input under $build_dir/fuzz-artifacts/.
# Long run: docs/reliability.md.
set -euo pipefail
cd "$TAV_ROOT"
build_dir="${SANITIZER_BUILD_DIR:-build-sanitizers}"
seconds="${FUZZ_SECONDS:-75}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

if [[ ! -x "$build_dir/fuzz/fuzz_scene_loader" || ! -x "$build_dir/fuzz/fuzz_session" ]]; then
    echo "--> Configuring the fuzzers in $build_dir/ (the sanitizer stage did not build them)"
    cmake --preset sanitizer -B "$build_dir"
fi
cmake --build "$build_dir" -j"$(nproc)" --target fuzz_scene_loader fuzz_session

seeds=(tools/fuzz/corpus examples tests/data/conformance)
pids=()
for target in fuzz_scene_loader fuzz_session; do
    corpus="$build_dir/fuzz-corpus/$target"
    artifacts="$build_dir/fuzz-artifacts/$target"
    rm -rf "$corpus" "$artifacts"
    mkdir -p "$corpus" "$artifacts"
    echo "--> $target for $seconds s"
    "$build_dir/fuzz/$target" "$corpus" "${seeds[@]}" \
        -dict=tools/fuzz/scene.dict -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=65536 \
        -artifact_prefix="$artifacts/" -print_final_stats=1 \
        >"$build_dir/$target.log" 2>&1 &
    pids+=($!)
done

failed=0
targets=(fuzz_scene_loader fuzz_session)
for i in "${!pids[@]}"; do
    target="${targets[$i]}"
    if wait "${pids[$i]}"; then
        runs="$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$build_dir/$target.log" | grep -Eo '[0-9]+$' || echo '?')"
        echo "    $target: $runs executions in $seconds s, no findings"
    else
        failed=1
        tail -n 60 "$build_dir/$target.log" >&2
        for input in "$build_dir/fuzz-artifacts/$target"/*; do
            [[ -f "$input" ]] || continue
            echo ".ci/run: $target found $input (base64 below; reproduce with $build_dir/fuzz/$target FILE)" >&2
            base64 "$input" | head -c 20000 >&2
            echo >&2
        done
        echo ".ci/run: $target failed (log: $build_dir/$target.log)" >&2
    fi
done
exit "$failed"

#!/usr/bin/env bash
# Bounded fuzzing: four libFuzzer targets in two pairs, the two of a pair at
# once on the two cores, each target for half of FUZZ_SECONDS (default 75), so
# the stage takes FUZZ_SECONDS in all. The scene targets start from the
# committed seeds (tools/fuzz/corpus, the examples, the conformance scenes)
# with the format's dictionary; the list and settings file targets from their
# own seeds (tools/fuzz/corpus/list-*.txt, settings-*.txt). A crash, a report
# of a sanitizer, a hang or memory past the limit fails the stage and leaves
# the input under $build_dir/fuzz-artifacts/.
# Long run: docs/reliability.md.
set -euo pipefail
cd "$TAV_ROOT"
build_dir="${SANITIZER_BUILD_DIR:-build-sanitizers}"
seconds="${FUZZ_SECONDS:-75}"
half=$((seconds / 2 > 0 ? seconds / 2 : 1))

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

pairs=("fuzz_scene_loader fuzz_session" "fuzz_list_file fuzz_settings_file")
# shellcheck disable=SC2206  # the pairs are lists of target names
all_targets=(${pairs[0]} ${pairs[1]})

configured=1
for target in "${all_targets[@]}"; do
    [[ -x "$build_dir/fuzz/$target" ]] || configured=0
done
if ((configured == 0)); then
    echo "--> Configuring the fuzzers in $build_dir/ (the sanitizer stage did not build them)"
    cmake --preset sanitizer -B "$build_dir"
fi
cmake --build "$build_dir" -j"$(nproc)" --target "${all_targets[@]}"

joined() {
    local IFS=,
    echo "$*"
}

# The seeds and the dictionary of a target, as its arguments.
inputs_of() {
    case "$1" in
        fuzz_scene_loader | fuzz_session)
            echo "tools/fuzz/corpus examples tests/data/conformance -dict=tools/fuzz/scene.dict"
            ;;
        fuzz_list_file)
            echo "-seed_inputs=$(joined tools/fuzz/corpus/list-*.txt)"
            ;;
        fuzz_settings_file)
            echo "-seed_inputs=$(joined tools/fuzz/corpus/settings-*.txt)"
            ;;
    esac
}

failed=0
for pair in "${pairs[@]}"; do
    # shellcheck disable=SC2206  # a pair is a list of target names
    targets=($pair)
    pids=()
    for target in "${targets[@]}"; do
        corpus="$build_dir/fuzz-corpus/$target"
        artifacts="$build_dir/fuzz-artifacts/$target"
        rm -rf "$corpus" "$artifacts"
        mkdir -p "$corpus" "$artifacts"
        echo "--> $target for $half s"
        # shellcheck disable=SC2046  # inputs_of gives a list of arguments without spaces
        "$build_dir/fuzz/$target" "$corpus" $(inputs_of "$target") \
            -max_total_time="$half" -timeout=10 \
            -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=65536 \
            -artifact_prefix="$artifacts/" -print_final_stats=1 \
            >"$build_dir/$target.log" 2>&1 &
        pids+=($!)
    done

    for i in "${!pids[@]}"; do
        target="${targets[$i]}"
        if wait "${pids[$i]}"; then
            runs="$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$build_dir/$target.log" | grep -Eo '[0-9]+$' || echo '?')"
            echo "    $target: $runs executions in $half s, no findings"
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
done
exit "$failed"

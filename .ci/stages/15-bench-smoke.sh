#!/usr/bin/env bash
# The scale benchmark once at small sizes, on the native build of stage 10:
# every kind of drawing must run to its end and leave a result file, and the
# pairing race must agree with the nested scan. Nothing is asserted about
# time; the figures are printed for the log.
set -euo pipefail
cd "$TAV_ROOT"
bench="$BUILD_DIR/tav-scale-bench"
work="$BUILD_DIR/bench-smoke"

if [[ ! -x "$bench" ]]; then
    echo ".ci/run: $bench was not built (stage 10 builds it)" >&2
    exit 1
fi

rm -rf "$work"
echo "--> $bench --sizes 64,256 --repeat 1 --pairing 2048"
"$bench" --sizes 64,256 --repeat 1 --pairing 2048 --work "$work" | tee "$work.md"

for family in flat nested own-colors several-views second-run; do
    if ! grep -q "^| $family | 256 |" "$work.md"; then
        echo ".ci/run: the benchmark table has no row for $family at 256 parts" >&2
        exit 1
    fi
    result="$work/$family-256.result.json"
    if [[ ! -s "$result" ]] || ! grep -q '"tavrelmondix-result/1"' "$result"; then
        echo ".ci/run: the benchmark left no result file at $result" >&2
        exit 1
    fi
done
if ! grep -q 'same colours' "$work.md"; then
    echo ".ci/run: the pairing race did not report agreeing colours" >&2
    exit 1
fi

# The command-line tool's batch benchmark at two small sizes: it must run
# every batch to its end and print a row for each.
batch_work="$BUILD_DIR/bench-smoke-batch"
rm -rf "$batch_work"
echo "--> $bench --batch-documents 5,20 --repeat 1"
"$bench" --batch-documents 5,20 --repeat 1 --work "$batch_work" | tee "$batch_work.md"
for documents in 5 20; do
    if ! grep -q "^| $documents | 3 | 10 |" "$batch_work.md"; then
        echo ".ci/run: the batch benchmark printed no row for $documents documents" >&2
        exit 1
    fi
done

#!/usr/bin/env bash
# A busy host, a host that crashes and a second server, over COM under Wine.
# Called by .ci/stages/50-windows.sh inside its Wine environment:
#   bash tests/com/com-faults.sh NATIVE_BUILD WIN_BUILD WORK_DIR
set -euo pipefail
native_dir="$1"
win_dir="$2"
work="$3"
data="tests/data/com"
harness_exe="$win_dir/tavrelmondix-sim.exe"
server_exe="$win_dir/sehost-sim.exe"

fail() {
    echo ".ci/run: $*" >&2
    exit 1
}

# shellcheck source=../../.ci/wine-env.sh
source .ci/wine-env.sh  # its helpers; the stage has started Wine
# shellcheck source=compare-over-com.sh
source tests/com/compare-over-com.sh  # run_over_com

expect_in_result() {
    local name="$1" pattern="$2" what="$3"
    grep -Eq "$pattern" "$work/$name.com.json" || fail "$name: $what (see $work/$name.com.json)"
}

expect_not_in_result() {
    local name="$1" pattern="$2" what="$3"
    if grep -Eq "$pattern" "$work/$name.com.json"; then
        fail "$name: $what (see $work/$name.com.json)"
    fi
}

echo "--> A busy host: rejected calls are retried and served"
"$native_dir/tavrelmondix-sim" tests/data/conformance/01-example.scene.json --quiet \
    --result "$work/busy-served.native.json"
run_over_com busy-served "$data/busy-served.scene.json"
"$native_dir/tavrelmondix-compare" "$work/busy-served.native.json" "$work/busy-served.com.json" ||
    fail "busy-served: a busy host changed the result"
echo "    busy-served: same result as a host that was never busy"

echo "--> A host busy with a dialog rejects every kind of call (busyKinds all)"
# The in-process result but for the references the host keeps because it
# rejected their releases (tavrelmondix-compare takes heldReferences net of
# rejectedReleases).
busy_all() {
    local name="$1" scene="$2" expected_scene="$3"
    jq '. + {com: ((.com // {}) + {busyKinds: "all"})}' "$scene" >"$work/$name.scene.json"
    "$native_dir/tavrelmondix-sim" "$expected_scene" --quiet --result "$work/$name.native.json"
    run_over_com "$name" "$work/$name.scene.json"
    "$native_dir/tavrelmondix-compare" "$work/$name.native.json" "$work/$name.com.json" ||
        fail "$name: a host busy on every kind of call changed the result"
    echo "    $name: same result, $(jq .rejectedReleases "$work/$name.com.json") reference(s) kept by rejections"
}
busy_all busy-all-served "$data/busy-served.scene.json" tests/data/conformance/01-example.scene.json
busy_all busy-all-from-the-first-call "$data/busy-from-the-first-call.scene.json" \
    tests/data/conformance/01-example.scene.json
busy_all busy-all-gearbox tools/e2e/scenes/busy-gearbox.scene.json tools/e2e/scenes/busy-gearbox.scene.json

echo "--> A host busy past the bound: the call fails as a host error"
# The bound is half a second here instead of 30 s; the host rejects the call
# for ever, so the run's strict phase ends with the rejection's error.
run_over_com busy-rejected "$data/busy-rejected.scene.json" --busy-bound-ms 500
expect_in_result busy-rejected '"end": "fatal"' "the run did not end with the fatal message"
expect_in_result busy-rejected '"text": "Error -2147418111: ' "the message does not give RPC_E_CALL_REJECTED"
echo "    busy-rejected: fatal with RPC_E_CALL_REJECTED in ${last_seconds} s"

# The same host rejecting every kind of call, for ever: the failing call
# waits one bound, then the restoring steps and every final release share
# one more (3 s each here); what the host still holds is only what it did
# not let the tool give back. Wine gives back each interface an object was
# taken as on its own (the application twice), so a rejected release can
# leave no object behind.
jq '. + {com: {busyKinds: "all"}}' "$data/busy-rejected.scene.json" >"$work/busy-all-rejected.scene.json"
run_over_com busy-all-rejected "$work/busy-all-rejected.scene.json" --busy-bound-ms 3000
expect_in_result busy-all-rejected '"end": "fatal"' "the run did not end with the fatal message"
((last_seconds <= 11)) ||
    fail "busy-all-rejected: ${last_seconds} s: the end waited more than two bounds of 3 s"
held="$(jq .heldReferences "$work/busy-all-rejected.com.json")"
rejected="$(jq .rejectedReleases "$work/busy-all-rejected.com.json")"
((held <= rejected)) ||
    fail "busy-all-rejected: the host holds $held references, but rejected only $rejected releases"
echo "    busy-all-rejected: fatal in ${last_seconds} s; the host holds $held, rejected $rejected releases"

echo "--> A host that crashes at start-up"
run_over_com crash-start-up "$data/crash-start-up.scene.json"
expect_in_result crash-start-up '"end": "refused"' "start-up did not refuse"
expect_in_result crash-start-up '"text": "A SE Draft file from an ASM must be open"' "no start-up message"
expect_not_in_result crash-start-up '"hostCalls"' "a host that crashed reported its side"
echo "    crash-start-up: refused, the tool's side only, in ${last_seconds} s"

echo "--> A host that crashes in the strict phase of a run"
run_over_com crash-strict "$data/crash-strict.scene.json"
expect_in_result crash-strict '"end": "fatal"' "the run did not end with the fatal message"
expect_in_result crash-strict '"text": "Error -21470231(70|74): ' "the message does not give the RPC failure"
expect_not_in_result crash-strict '"hostCalls"' "a host that crashed reported its side"
echo "    crash-strict: fatal with the RPC error, the tool's side only, in ${last_seconds} s"

echo "--> A second sehost-sim.exe while one is registered"
fifo="$work/first-server.stdin"
rm -f "$fifo"
mkfifo "$fifo"
wine "$server_exe" tests/data/conformance/01-example.scene.json --result "$work/first-server.json" \
    <"$fifo" >"$work/first-server.out" 2>&1 &
first=$!
exec 7>"$fifo"  # the first server serves until this closes
for _ in $(seq 1 600); do
    grep -q '^ready' "$work/first-server.out" 2>/dev/null && break
    kill -0 "$first" 2>/dev/null || fail "the first server ended: $(cat "$work/first-server.out")"
    sleep 0.1
done
grep -q '^ready' "$work/first-server.out" || fail "the first server never became ready"
status=0
timeout 60 wine "$server_exe" tests/data/conformance/01-example.scene.json \
    </dev/null >"$work/second-server.out" 2>&1 || status=$?
exec 7>&-
wait "$first" || fail "the first server failed after the second was refused (status $?)"
((status == 2)) || fail "the second server exited with $status, not 2: $(cat "$work/second-server.out")"
lines="$(grep -c . "$work/second-server.out" || true)"
((lines == 1)) || fail "the second server's refusal is not one line: $(cat "$work/second-server.out")"
echo "    second server refused: $(cat "$work/second-server.out")"

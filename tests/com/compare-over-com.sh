# The harness over COM, run and compared. Sourced by the Windows stage's
# scripts, with native_dir, harness_exe and work set, fail defined, and a Wine
# environment running (and .ci/wine-env.sh's helpers defined).

# The harness over COM on SCENE; the result in $work/NAME.com.json and the
# seconds it took in last_seconds. Extra arguments go to the harness. Two
# minutes at most: anything longer has hung.
run_over_com() {
    local name="$1" scene="$2" status=0 began=$SECONDS
    shift 2
    rm -f "$work/$name.com.json"
    tav_wine_run_started "$work/$name.com.log" "$work/$name.com.json" \
        timeout 120 wine "$harness_exe" "$scene" --com --quiet --result "$work/$name.com.json" "$@" \
        </dev/null || status=$?
    tav_wine_program_output "$work/$name.com.log" >&2
    ((status == 0)) || fail "$name: the harness over COM failed (status $status)"
    last_seconds=$((SECONDS - began))
}

# compare_over_com NAME SCENE ACTIONS [COM]: runs SCENE with ACTIONS in
# process (the native harness) and over COM (the Windows harness under Wine,
# against sehost-sim.exe), and holds the two results to each other field by
# field. COM, a JSON object, is added to the scene as its `com` key first: how
# strict a host the server plays. However the program ended, the tool must
# hold no reference at its end.
compare_over_com() {
    local name="$1" scene="$2" actions="$3" com="${4:-}"
    local served="$scene"
    if [[ -n "$com" ]]; then
        served="$work/$name.scene.json"
        jq --argjson com "$com" '. + {com: $com}' "$scene" >"$served" ||
            fail "$name: cannot add the com key to $scene"
    fi
    "$native_dir/tavrelmondix-sim" "$scene" --press "$actions" --quiet \
        --result "$work/$name.native.json" || fail "$name: the native harness failed"
    run_over_com "$name" "$served" --press "$actions"
    "$native_dir/tavrelmondix-compare" "$work/$name.native.json" "$work/$name.com.json" ||
        fail "$name: the result over COM differs from the in-process one (above)"
    if ! grep -q '"end": "open"' "$work/$name.com.json" &&
        ! grep -q '"heldReferences": 0,' "$work/$name.com.json"; then
        fail "$name: references still held after the program ended"
    fi
}

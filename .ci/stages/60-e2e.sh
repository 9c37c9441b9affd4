#!/usr/bin/env bash
# tavrelmondix.exe end to end under Wine: the package (stage 50 checks that
# every program imports only Windows' own DLLs), then the driver on
# every example and every way in and out of the program, each run compared
# with the in-process harness; tavrelmondix-cli.exe against the harness's
# command-line runs in process and over COM; then the screenshots of the documentation
# taken afresh (into the build folder; tools/e2e/screenshots.sh --docs
# updates docs/screenshots/).
set -euo pipefail
cd "$TAV_ROOT"
win_build="${TAV_WIN_BUILD_DIR:-build-win}"
native_build="$BUILD_DIR"

if [[ ! -f "$win_build/CMakeCache.txt" ]]; then
    echo "--> Configuring the cross build in $win_build/"
    cmake --preset mingw -B "$win_build"
fi
echo "--> Building tavrelmondix.exe, tavrelmondix-cli.exe, the driver, sehost-sim.exe, the harness and the package"
cmake --build "$win_build" -j"$(nproc)" \
    --target tavrelmondix tavrelmondix-cli tavrelmondix-probe tavrelmondix-e2e sehost-sim \
    tavrelmondix-sim package-win

echo "--> Checking the package"
package="$win_build/Tavrelmondix-3.4.1-win64.zip"
listing="$(unzip -Z1 "$package")"
for file in tavrelmondix.exe tavrelmondix-cli.exe tavrelmondix-probe.exe README.txt; do
    grep -qx "$file" <<<"$listing" || { echo "60-e2e: $package lacks $file" >&2; exit 1; }
done

if [[ ! -x "$native_build/tavrelmondix-sim" || ! -x "$native_build/tavrelmondix-compare" ]]; then
    echo "--> Building the native harness"
    cmake --build "$native_build" -j"$(nproc)" --target tavrelmondix-sim tavrelmondix-compare
fi

# shellcheck source=../wine-env.sh
source .ci/wine-env.sh
tav_wine_start

echo "--> The end-to-end suite"
tools/e2e/e2e-suite.sh "$win_build" "$native_build/tavrelmondix-sim" "$win_build/e2e"

echo "--> tavrelmondix-cli.exe three ways"
bash tests/com/cli-three-ways.sh "$native_build" "$win_build" "$win_build/cli-three-ways"

echo "--> Screenshots"
tools/e2e/screenshots.sh "$win_build" "$win_build/screenshots"

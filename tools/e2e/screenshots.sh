#!/usr/bin/env bash
# The documentation's screenshots, taken by the driver under Wine inside
# Wine's desktop window (so that Wine draws the frames): the main window at
# rest, during a run and with the about box, and the message of a failed run.
#
#   tools/e2e/screenshots.sh WIN_BUILD_DIR OUT_DIR [--docs]
#
# Needs the Wine environment of .ci/wine-env.sh (started) and ImageMagick.
# With --docs the pictures also replace those in docs/screenshots/.
set -euo pipefail

win_build="$(cd "$1" && pwd)"
mkdir -p "$2"
out="$(cd "$2" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
command -v convert >/dev/null || { echo "screenshots: ImageMagick is not installed" >&2; exit 1; }
# shellcheck source=../../.ci/wine-env.sh
source "$root/.ci/wine-env.sh"  # its helpers; the caller has started Wine

win_path() { printf 'Z:%s' "${1//\//\\}"; }

wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
# Wine's desktop window gets a plain background, trimmed away below.
wine reg add 'HKCU\Control Panel\Colors' /v Background /t REG_SZ /d '58 110 165' /f >/dev/null 2>&1

# shoot FOLDER SCENE ACTIONS [DRIVER OPTIONS...]: one driver run in a desktop
# window, its pictures in FOLDER.
shoot() {
    local folder="$1" scene="$2" actions="$3"
    shift 3
    rm -rf "$folder" && mkdir -p "$folder"
    wine explorer /desktop=tavrelmondix,800x520 \
        "$(win_path "$win_build/sehost-sim.exe")" "$(win_path "$scene")" --timeout 90 -- \
        "$(win_path "$win_build/tavrelmondix-e2e.exe")" "$(win_path "$win_build/tavrelmondix.exe")" \
        --press "$actions" --shots "$(win_path "$folder")" --seen "$(win_path "$folder/seen.json")" \
        "$@" >"$folder/shoot.log" 2>&1 || true
    if [[ ! -s "$folder/seen.json" ]] || grep -q '^FAIL' "$folder/shoot.log"; then
        tav_wine_program_output "$folder/shoot.log" >&2
        echo "screenshots: the run on $(basename "$scene") failed (log above)" >&2
        exit 1
    fi
}

shoot "$out/gearbox" "$root/tools/e2e/scenes/busy-gearbox.scene.json" help,process \
    --running-shot-at 8
shoot "$out/fatal" "$root/examples/fatal-error.scene.json" process

for picture in gearbox/main gearbox/about gearbox/running fatal/message; do
    name="$(basename "$picture")"
    [[ -s "$out/$picture.bmp" ]] || { echo "screenshots: no picture $picture" >&2; exit 1; }
    # Only the windows, with a margin of the desktop around them.
    convert "$out/$picture.bmp" -trim +repage -bordercolor 'rgb(58,110,165)' -border 12 \
        "$out/$name.png"
    echo "screenshots: $out/$name.png ($(identify -format '%wx%h' "$out/$name.png"))"
done

if [[ "${3:-}" == --docs ]]; then
    mkdir -p "$root/docs/screenshots"
    for name in main about running message; do
        cp "$out/$name.png" "$root/docs/screenshots/$name.png"
    done
    echo "screenshots: docs/screenshots/ updated"
fi

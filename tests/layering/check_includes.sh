#!/usr/bin/env bash
# Which folder may include which. Every target sees the source root (an
# include names its folder: "engine/run_tables.h"), so the layering is held
# here instead: a project include that crosses a line below fails the test.
#   check_includes.sh SOURCE_ROOT
set -euo pipefail
cd "$1"

# folder (most specific first) | folders its files may include from
rules=(
    "platform|platform host/utf.h"
    "host/com|host platform"
    "host/sim|host/sim host/types host/[a-z_]*\.h"
    "host/types|host/types host/[a-z_]*\.h"
    "host|host/[a-z_]*\.h"
    "engine|engine host/[a-z_]*\.h"
    "app/cli|app/cli app/[a-z_]*\.h engine host/[a-z_]*\.h"
    "app/win|app engine host/[a-z_]*\.h host/com platform tav_version.h"
    "app|app/[a-z_]*\.h engine host/[a-z_]*\.h tav_version.h"
    "hostprocess|hostprocess platform host/com"
    "probe|probe host platform tav_version.h"
    "scenegen|scenegen host"
    "result|result app/[a-z_]*\.h engine/[a-z_]*\.h host/[a-z_]*\.h host/sim"
    "session|session result app/[a-z_]*\.h app/cli engine/[a-z_]*\.h host/[a-z_]*\.h host/sim"
)
libraries="platform host engine app hostprocess scenegen result session probe"

# Every source of the libraries and tools (the tests may include anything).
# shellcheck disable=SC2086  # $libraries is a list of folders
mapfile -t sources < <(find $libraries tools -name '*.cpp' -o -name '*.h' | sort)
((${#sources[@]} > 0)) || { echo "check_includes: no sources found under $1" >&2; exit 1; }

problems=0
report() {
    echo "$1 includes \"$2\": $3" >&2
    problems=$((problems + 1))
}

allowed_by() {
    local included="$1" patterns="$2" pattern
    for pattern in $patterns; do
        if [[ "$included" =~ ^$pattern(/|$) ]] || [[ "$included" =~ ^$pattern$ ]]; then
            return 0
        fi
    done
    return 1
}

while IFS= read -r file; do
    folder=""
    patterns=""
    for rule in "${rules[@]}"; do
        if [[ "$file" == "${rule%%|*}/"* ]]; then
            folder="${rule%%|*}"
            patterns="${rule#*|}"
            break
        fi
    done
    while IFS= read -r included; do
        [[ -n "$included" ]] || continue
        if [[ "$file" == tools/* ]]; then
            # A tool's own folder and the libraries; never another tool or the tests.
            tool="$(cut -d/ -f1-2 <<<"$file")"
            top="${included%%/*}"
            if [[ "$included" == "$tool/"* || " $libraries " == *" $top "* || "$included" != */* ]]; then
                continue
            fi
            report "$file" "$included" "a tool uses its own folder and the libraries only"
        elif [[ -n "$folder" ]] && ! allowed_by "$included" "$patterns"; then
            report "$file" "$included" "$folder/ may include only: $patterns"
        fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/p' "$file")
    if [[ "$file" == engine/* || ( "$file" == app/* && "$file" != app/win/* ) ]] &&
        grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]+<(windows|objbase|oleauto|ole2|oaidl)\.h>' "$file"; then
        report "$file" "a Windows header" "the engine and the portable app know no Windows"
    fi
done < <(printf '%s\n' "${sources[@]}")

if ((problems > 0)); then
    echo "check_includes: $problems include(s) cross the project's layering" >&2
    exit 1
fi
echo "check_includes: every include keeps to the layering"

#!/usr/bin/env bash
# What the build cannot say about includes. Each target's include root holds
# only the headers of the targets it links (cmake/include_roots.cmake), so a
# header of a higher layer does not compile there; what is left is checked
# here:
# - an include names a project header from the source root ("engine/text.h"),
#   never by a path relative to the including file, which would reach past
#   the include roots;
# - the engine and the portable app include no Windows header (system
#   headers are on every include path);
# - app/cli holds two libraries with one include root: its text utilities
#   (tav_cli_text) know nothing of the tool built on them (tav_cli).
#   check_includes.sh SOURCE_ROOT
set -euo pipefail
cd "$1"

# The headers of the tool itself, in app/cli (the rest are its text utilities).
cli_tool_headers="batch_run cli_environment cli_options cli_program document_list document_outcome"
cli_tool_headers+=" interrupt_gate silent_window system_file_system"
cli_text_sources="text_lines white_space list_file settings_file windows_path wildcard_match csv"

mapfile -t sources < <(find platform host engine app probe testbed tools -name '*.cpp' -o -name '*.h' | sort)
((${#sources[@]} > 0)) || { echo "check_includes: no sources found under $1" >&2; exit 1; }

problems=0
report() {
    echo "$1 includes \"$2\": $3" >&2
    problems=$((problems + 1))
}

for file in "${sources[@]}"; do
    while IFS= read -r included; do
        case "$included" in
            tav_version.h) ;;  # generated into the build tree
            platform/* | host/* | engine/* | app/* | probe/* | testbed/* | tools/*) ;;
            *) report "$file" "$included" "name a project header from the source root" ;;
        esac
        stem="$(basename "$file")"
        stem="${stem%.*}"
        if [[ "$file" == app/cli/* && " $cli_text_sources " == *" $stem "* ]]; then
            header="${included#app/cli/}"
            if [[ "$included" == app/cli/* && " $cli_tool_headers " == *" ${header%.h} "* ]]; then
                report "$file" "$included" "the text utilities know nothing of the tool"
            fi
        fi
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/p' "$file")
    if [[ "$file" == engine/* || ( "$file" == app/* && "$file" != app/win/* ) ]] &&
        grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]+<(windows|objbase|oleauto|ole2|oaidl)\.h>' "$file"; then
        report "$file" "a Windows header" "the engine and the portable app know no Windows"
    fi
done

# Every header of app/cli is named above as the tool's or the utilities'.
for header in app/cli/*.h; do
    stem="$(basename "$header" .h)"
    if [[ " $cli_tool_headers $cli_text_sources " != *" $stem "* ]]; then
        report "$header" "-" "add it to the tool's or the text utilities' list in this check"
    fi
done

if ((problems > 0)); then
    echo "check_includes: $problems include(s) cross the project's layering" >&2
    exit 1
fi
echo "check_includes: every include keeps to the layering"

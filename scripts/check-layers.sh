#!/usr/bin/env bash
# Checks that the folders of src/ include one another in one direction only: each folder includes
# itself and folders of a lower layer, never a folder of its own layer or of a layer above it. So no
# two folders include each other, detect/ knows neither log/ nor store/, and capture/ does not know
# detect/.
set -euo pipefail
cd "$(dirname "$0")/../src"

# The layers from the top; the folders of one line are peers that do not know one another.
layers=(
    "app"
    "settings"
    "monitor"
    "capture detect store notify shell log"
    "common ui"
)

declare -A rank
for index in "${!layers[@]}"; do
    for folder in ${layers[$index]}; do
        rank[$folder]=$index
    done
done

status=0
for folder in */; do
    folder=${folder%/}
    if [ -z "${rank[$folder]:-}" ]; then
        echo "src/$folder/ is in no layer: add it to scripts/check-layers.sh" >&2
        status=1
        continue
    fi
    while IFS=: read -r file line included; do
        target=${included%%/*}
        [ "$target" = "$folder" ] && continue
        [ -n "${rank[$target]:-}" ] || continue
        if [ "${rank[$target]}" -le "${rank[$folder]}" ]; then
            echo "src/$file:$line includes $included: $folder/ may not include $target/" >&2
            status=1
        fi
    done < <(grep -rnoE '^#include "[a-z]+/[^"]+"' "$folder" | sed -E 's/#include "([^"]+)"/\1/')
done
[ "$status" = 0 ] && echo "layers: every include points down"
exit "$status"

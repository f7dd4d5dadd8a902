#!/usr/bin/env bash
# Checks every #include "room/..." of the sources under src/ against the room levels of
# src/rooms.txt: a room may include only rooms of its own or a lower level. Prints each include
# that runs up as FILE:LINE and exits 1 when there is one.
#   scripts/check-layering.sh [ROOT]     (ROOT: the project folder, default this script's parent)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
table="$root/src/rooms.txt"
[ -f "$table" ] || { echo "check-layering: $table not found" >&2; exit 2; }

find "$root/src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z |
xargs -0 awk -v table="$table" -v root="$root/src/" '
    # The room of a path is the longest room of the table that is a folder prefix of it.
    function room_of(path,    r, best) {
        best = ""
        for (r in level)
            if (index(path, r "/") == 1 && length(r) > length(best)) best = r
        return best
    }
    BEGIN {
        while ((getline line < table) > 0) {
            if (line ~ /^[ \t]*(#|$)/) continue
            split(line, f, /[ \t]+/)
            level[f[1]] = f[2] + 0
        }
        bad = 0
    }
    FNR == 1 { from = room_of(substr(FILENAME, length(root) + 1)) }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
        target = $0
        sub(/^[^"]*"/, "", target)
        sub(/".*$/, "", target)
        to = room_of(target)
        if (from != "" && to != "" && level[to] > level[from]) {
            printf "%s:%d: %s (level %d) includes %s (level %d)\n", FILENAME, FNR, from, level[from], target, level[to]
            bad = 1
        }
    }
    END { exit bad }
' || { echo "check-layering: includes that run up the layering (see above)" >&2; exit 1; }
echo "check-layering: every include of src/ keeps to the levels of src/rooms.txt"

#!/usr/bin/env bash
# Prints which folder of src/core includes which (with the number of files
# that do), then every group of folders that include each other, directly or
# round a loop. Exits 1 when there is such a group: the core's folders are
# meant to stand in floors, each including only the ones below it.
set -euo pipefail
cd "$(dirname "$0")/../src/core"

# One "from to" line per file that includes a header of another folder.
edges=$(
    for file in $(find . -mindepth 2 -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) | sort); do
        from=$(echo "$file" | cut -d/ -f2)
        grep -o '^#include "[^"/]*/' "$file" | sed 's/^#include "//; s/\/$//' | sort -u |
            while read -r to; do
                [ "$to" != "$from" ] && echo "$from $to"
            done
    done
)

echo "$edges" | sort | uniq -c | awk '{ printf "%-12s -> %-12s (%d files)\n", $2, $3, $1 }'

# Reachability by closure over the small graph, then the folders that reach
# each other, grouped.
echo "$edges" | sort -u | awk '
    function add(name) { if (!(name in node)) { node[name] = 1; names[++n] = name } }
    NF == 2 { reach[$1, $2] = 1; add($1); add($2) }
    END {
        for (k in node) for (i in node) if ((i, k) in reach) for (j in node)
            if ((k, j) in reach) reach[i, j] = 1
        # Names in order, so that a group always reads the same.
        for (a = 2; a <= n; ++a)
            for (b = a; b > 1 && names[b - 1] > names[b]; --b) {
                t = names[b]; names[b] = names[b - 1]; names[b - 1] = t
            }
        cycles = 0
        for (a = 1; a <= n; ++a) {
            i = names[a]
            if (i in done) continue
            group = i
            for (b = a + 1; b <= n; ++b) {
                j = names[b]
                if (((i, j) in reach) && ((j, i) in reach)) { group = group " " j; done[j] = 1 }
            }
            if (group != i || ((i, i) in reach)) { print "cycle: " group; ++cycles }
        }
        if (cycles == 0) print "no cycles"
        exit cycles > 0
    }'

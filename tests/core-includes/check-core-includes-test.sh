#!/usr/bin/env bash
# The include check passes the fixture core's own and standard includes and
# names every other one: a C header in its .h form, a POSIX header, a Qt
# header, a quoted include that climbs out of the core and one that names no
# file.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

output="$("$here/../../scripts/check-core-includes.sh" "$here/core")"
status=$?
expected='ports/Leaks.cpp:1: <stdio.h> is not a standard C++ library header
ports/Leaks.cpp:2: <unistd.h> is not a standard C++ library header
ports/Leaks.cpp:3: <QString> is not a standard C++ library header
ports/Leaks.cpp:5: "../../Outside.h" is not a header of the core
ports/Leaks.cpp:6: "ports/Missing.h" is not a header of the core
core includes: 5 include(s) reach outside the core and the standard library'

if [[ $status -ne 1 || "$output" != "$expected" ]]; then
    echo "exit status $status, output:"
    echo "$output"
    echo "expected exit status 1 and:"
    echo "$expected"
    exit 1
fi

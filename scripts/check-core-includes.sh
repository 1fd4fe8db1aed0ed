#!/usr/bin/env bash
# Fails when a file of the core includes anything but the standard C++
# library and the core's own headers, so that the core keeps building with
# no Qt, no operating-system headers and no way around its ports.
#
# Usage: check-core-includes.sh [CORE_DIR]   (default: src/core of this tree)
# Prints one line per offending include and exits 1 when there is any.
set -euo pipefail
export LC_ALL=C

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/src/core}"
root="$(cd "$root" && pwd -P)"

# The standard library of C++20: its own headers and the <cname> forms of
# the C library. The <name.h> forms and every other header stay out.
standard_headers=" algorithm any array atomic barrier bit bitset charconv chrono codecvt compare
    complex concepts condition_variable coroutine deque exception execution filesystem format
    forward_list fstream functional future initializer_list iomanip ios iosfwd iostream istream
    iterator latch limits list locale map memory memory_resource mutex new numbers numeric optional
    ostream queue random ranges ratio regex scoped_allocator semaphore set shared_mutex
    source_location span sstream stack stdexcept stop_token streambuf string string_view
    syncstream system_error thread tuple type_traits typeindex typeinfo unordered_map
    unordered_set utility valarray variant vector version
    cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal cstdarg
    cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype "
standard_headers="$(echo $standard_headers)"

include_pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'

failures=0
reject() {
    echo "$1: $2"
    failures=$((failures + 1))
}

# A quoted include is the core's own when it names a file, or the template
# of a generated one, found from the including file's folder or from the
# core's root, without leaving the core.
is_core_header() {
    local from_dir="$1" name="$2" candidate resolved
    for candidate in "$from_dir/$name" "$root/$name" "$from_dir/$name.in" "$root/$name.in"; do
        [[ -f "$candidate" ]] || continue
        # Only a climb out of a folder can leave the core.
        if [[ "$name" != *..* ]]; then
            return 0
        fi
        resolved="$(realpath "$candidate")"
        [[ "$resolved" == "$root"/* ]] && return 0
    done
    return 1
}

while IFS= read -r -d '' file; do
    line_number=0
    while IFS= read -r line || [[ -n "$line" ]]; do
        line_number=$((line_number + 1))
        [[ "$line" =~ $include_pattern ]] || continue
        name="${BASH_REMATCH[2]}"
        where="${file#"$root"/}:$line_number"
        if [[ "${BASH_REMATCH[1]}" == "<" ]]; then
            [[ " $standard_headers " == *" $name "* ]] ||
                reject "$where" "<$name> is not a standard C++ library header"
        else
            is_core_header "${file%/*}" "$name" ||
                reject "$where" "\"$name\" is not a header of the core"
        fi
    done < "$file"
done < <(find "$root" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) -print0 | sort -z)

if ((failures > 0)); then
    echo "core includes: $failures include(s) reach outside the core and the standard library"
    exit 1
fi

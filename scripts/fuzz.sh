#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each one for
# a bounded time (MIVO_FUZZ_SECONDS, default 60). Without clang++ it says so
# and succeeds, so that a machine without clang can still run the rest.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MIVO_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${MIVO_FUZZ_SECONDS:-60}"

if ! command -v clang++ > /dev/null 2>&1; then
    echo "fuzz: clang++ not found, fuzz targets skipped (install clang and libclang-rt-14-dev)"
    exit 0
fi

generator=()
if command -v ninja > /dev/null 2>&1; then
    generator=(-G Ninja)
fi

cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIVO_BUILD_FUZZ=ON -DMIVO_BUILD_PLATFORM=OFF \
    -DMIVO_BUILD_GUI=OFF -DMIVO_BUILD_TESTS=OFF
cmake --build "$build" -j2 --target mivo_fuzz_targets

mapfile -t targets < <(find "$build/fuzz" -maxdepth 1 -type f -name 'mivo_fuzz_*' -perm -u+x | sort)
if ((${#targets[@]} == 0)); then
    echo "fuzz: no fuzz target was built" >&2
    exit 1
fi

for target in "${targets[@]}"; do
    name="$(basename "$target")"
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    # Crash reproducers land in the build directory, not the source tree.
    log="$build/$name.log"
    if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/$name-" \
        "$corpus" > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz: $name failed; its log is $log" >&2
        exit 1
    fi
    grep -E "^(Done|stat::number_of_executed_units|stat::peak_rss_mb)" "$log" || true
done

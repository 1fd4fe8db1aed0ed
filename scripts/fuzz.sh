#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs them for a
# bounded time: MIVO_FUZZ_SECONDS (default 90) is the whole budget, shared
# evenly among the targets. Without clang++ it says so and succeeds, so that a
# machine without clang can still run the rest.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MIVO_FUZZ_BUILD_DIR:-$root/build-fuzz}"
total_seconds="${MIVO_FUZZ_SECONDS:-90}"

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

# A smaller quarantine than the default 256 MB: the engine allocates and frees
# a lot per input, and with the default it runs at less than half the speed.
# Freed memory still stays poisoned for a good while.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"

mapfile -t targets < <(find "$build/fuzz" -maxdepth 1 -type f -name 'mivo_fuzz_*' -perm -u+x | sort)
if ((${#targets[@]} == 0)); then
    echo "fuzz: no fuzz target was built" >&2
    exit 1
fi
seconds=$((total_seconds / ${#targets[@]}))
if ((seconds < 1)); then
    seconds=1
fi

for target in "${targets[@]}"; do
    name="$(basename "$target")"
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    # Crash reproducers land in the build directory, not the source tree.
    log="$build/$name.log"
    # Quick inputs are tried more often: a few of the engine's inputs (long
    # floods, many ticks) take a hundred times longer than the rest.
    options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/$name-"
        -entropic_scale_per_exec_time=1)
    # A target's dictionary of protocol words and its seed inputs, when it
    # has them; new inputs are only ever written to the build's corpus.
    short="${name#mivo_fuzz_}"
    if [[ -f "$root/fuzz/$short.dict" ]]; then
        options+=(-dict="$root/fuzz/$short.dict")
    fi
    corpora=("$corpus")
    if [[ -d "$root/fuzz/seeds/$short" ]]; then
        corpora+=("$root/fuzz/seeds/$short")
    fi
    if ! "$target" "${options[@]}" "${corpora[@]}" > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz: $name failed; its log is $log" >&2
        exit 1
    fi
    grep -E "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)" "$log" || true
done

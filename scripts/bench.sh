#!/usr/bin/env bash
# Builds an optimised tree with the benchmarks, times the desktop program's
# start-up with and without a full settings file, measures a rule's download
# of a large message beside the reference POP3 client, then runs the
# end-to-end comparison of mivo-check with the reference client on a private
# Dovecot server. Extra arguments go to the end-to-end runner, e.g.
#   scripts/bench.sh --counts 1000 --repetitions 3
# MIVO_DOWNLOAD_MIB (default 10,100) sets the download benchmark's sizes.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${MIVO_BENCH_BUILD_DIR:-$root/build-bench}"

generator=()
if command -v ninja > /dev/null 2>&1; then
    generator=(-G Ninja)
fi

cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DMIVO_BUILD_BENCH=ON -DMIVO_BUILD_GUI=ON -DMIVO_BUILD_TESTS=OFF
# Builds mivo-check too when the tree has it.
cmake --build "$build" -j2 --target mivo_start_up_benchmark mivo_end_to_end_benchmark \
    mivo_download_benchmark

"$build/bench/mivo_start_up_benchmark" --benchmark_repetitions=10 \
    --benchmark_report_aggregates_only=true

"$build/bench/mivo_download_benchmark" --mib "${MIVO_DOWNLOAD_MIB:-10,100}"

exec "$build/bench/mivo_end_to_end_benchmark" "$@"

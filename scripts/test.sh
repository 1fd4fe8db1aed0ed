#!/usr/bin/env bash
# Installs what is missing, builds Mivo and runs every test: first the
# sanitizer build and the fuzz targets, then a Release build, then the main
# build, whose CTest summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build of the engine and its tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIVO_WERROR=ON -DMIVO_SANITIZE=ON \
    -DMIVO_BUILD_GUI=OFF
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Fuzz targets"
scripts/fuzz.sh

# The optimiser sees more at -O3 and warns about more: the Release build
# has to be as warning-free as the others. Its tests are the main build's.
echo "== Release build with warnings as errors"
cmake -S . -B build-release-werror -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIVO_WERROR=ON
cmake --build build-release-werror -j "$jobs"

echo "== Main build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIVO_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

#!/usr/bin/env bash
# Fails when a C++ source of the project differs from its clang-format form.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${1:-clang-format}
git ls-files -- '*.h' '*.cpp' | xargs -r "$clang_format" --dry-run --Werror

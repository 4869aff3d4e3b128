#!/usr/bin/env bash
# Fails when a C++ source of ours differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v -E '^(build|third_party)/' || true)
if [ ${#files[@]} -eq 0 ]; then
  exit 0
fi
clang-format --dry-run -Werror "${files[@]}"

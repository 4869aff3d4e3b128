#!/usr/bin/env bash
# The whole test suite: installs what is missing, checks formatting, builds and runs
# the sanitizer builds on the parser and threaded tests, then builds and runs every
# test of the plain build. Ends with CTest's summary line; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
bash scripts/check-format.sh
echo "format: clean"

jobs=$(nproc)

# TSan needs an address layout it understands; newer kernels randomise more bits
# than GCC 12's runtime expects, so run those tests without randomisation.
run_tsan() {
  if command -v setarch >/dev/null 2>&1 && setarch "$(uname -m)" -R true 2>/dev/null; then
    setarch "$(uname -m)" -R "$@"
  else
    "$@"
  fi
}

if [ "${QUORVEX_SKIP_SANITIZERS:-0}" != "1" ]; then
  cmake --preset asan >/dev/null
  cmake --build --preset asan -j "$jobs"
  ctest --preset asan -j "$jobs"

  cmake --preset tsan >/dev/null
  cmake --build --preset tsan -j "$jobs"
  run_tsan ctest --preset tsan -j "$jobs"
fi

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

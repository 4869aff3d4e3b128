#!/usr/bin/env bash
# Starts the application with emulated devices plugged in.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "The demo launcher is coming with the application core." >&2
exit 1

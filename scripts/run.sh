#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its starter library (no tests, no benchmarks) and starts it on the
# starter library (or on the file given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSELLA_BENCH=OFF >/dev/null
cmake --build "$root/build" --target tessella primitives
exec "$root/build/bin/tessella" "${@:-$root/build/bin/primitives.mvl}"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every test twice: a normal build and an ASan + UBSan build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
        ctest --output-on-failure -j "$jobs")
}
run_suite "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTESSELLA_SANITIZE=ON -DTESSELLA_BENCH=OFF

#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and sanitizers, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPV_TESTS=ON -DPV_SANITIZE=ON -DPV_WERROR=ON >/dev/null
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure --no-tests=error -j"$(nproc)" "$@"

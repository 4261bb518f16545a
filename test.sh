#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and sanitizers, and runs every test;
# also builds the Release configuration with tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# A compiler cache, where the machine has one, makes rebuilds after small changes quick.
starter=()
command -v ccache >/dev/null && starter=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-test -G Ninja "${starter[@]}" -DCMAKE_BUILD_TYPE=Debug -DPV_TESTS=ON -DPV_SANITIZE=ON -DPV_WERROR=ON >/dev/null
cmake --build build-test -j"$(nproc)"
# A packager builds Release with the tests on, and the benchmarks exist only there: both are
# built (not run) so that neither breaks unnoticed. Warnings stay warnings here: the optimiser's
# own (-Wrestrict, -Wstringop-*) are often false alarms, and the Debug build above treats the rest.
cmake -S . -B build-release -G Ninja "${starter[@]}" -DCMAKE_BUILD_TYPE=Release -DPV_TESTS=ON -DPV_BENCH=ON -DPV_WERROR=OFF >/dev/null
cmake --build build-release -j"$(nproc)"
# The tests last, so that their summary closes the output.
ctest --test-dir build-test --output-on-failure --no-tests=error -j"$(nproc)" "$@"

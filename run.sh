#!/usr/bin/env bash
# Installs what is missing, builds the program, prepares the demo folder build/demo and starts
# the program there (its own folder is its working directory).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# A compiler cache, where the machine has one, makes rebuilds after small changes quick.
starter=()
command -v ccache >/dev/null && starter=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja "${starter[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPV_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
scripts/prepare-demo.sh build build/demo
cd build/demo
exec ./projektverwaltung "$@"

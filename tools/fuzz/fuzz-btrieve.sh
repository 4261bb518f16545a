#!/usr/bin/env bash
# Fuzzes the Btrieve file parser with libFuzzer, seeded with the sample files and writer files.
#   tools/fuzz/fuzz-btrieve.sh [seconds]      (default 600)
# Builds in build-fuzz/ with clang; the corpus grows in build-fuzz/korpus, findings land in
# build-fuzz/funde. Not part of ./test.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
sekunden=${1:-600}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPV_FUZZ=ON -DPV_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2 --target btrieve_fuzz erpdemo
mkdir -p build-fuzz/korpus build-fuzz/funde build-fuzz/saat
cp tests/data/btrieve/*.DAT build-fuzz/saat/
build-fuzz/tools/erpdemo/erpdemo build-fuzz/saat/ZT_FKT_1.DAT
build-fuzz/tools/erpdemo/erpdemo --anzahl 3 build-fuzz/saat/KLEIN.DAT
cd build-fuzz
exec ./tools/fuzz/btrieve_fuzz -max_total_time="$sekunden" -max_len=160000 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=funde/ -print_final_stats=1 korpus saat

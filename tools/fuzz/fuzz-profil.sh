#!/usr/bin/env bash
# Fuzzes the settings-file reader and writer with libFuzzer, seeded with settings files the tests
# use in every encoding.
#   tools/fuzz/fuzz-profil.sh [seconds]      (default 600)
# Builds in build-fuzz/ with clang; the corpus grows in build-fuzz/korpus-profil, findings land
# in build-fuzz/funde-profil. Not part of ./test.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
sekunden=${1:-600}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPV_FUZZ=ON -DPV_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2 --target profil_fuzz
mkdir -p build-fuzz/korpus-profil build-fuzz/funde-profil build-fuzz/saat-profil
cd build-fuzz/saat-profil
printf '\0\0\0[Programm]\r\nDBName=PROJEKT.MDB\r\n\r\n[Control]\r\nAnzahlStatus=5\r\n' > windows.ini
printf '\1\1\2[A]\r\nName=J\xfcrgen \x80\r\nAlt=\xc3\xa4' > windows1252.ini
printf '\2\3\3\xef\xbb\xbf[Gr\xc3\xb6\xc3\x9fe]\nStra\xc3\x9f""e = "x"\n;k\n[a]' > utf8.ini
printf '\xff\xfe[\0A\0]\0\r\0\n\0X\0=\0\x3d\xd8\0\xde\r\0\n\0' > utf16le.ini
printf '\xfe\xff\0[\0A\0]\0\n\0K\0=\xd8\x3d\0' > utf16be.ini
cd ..
exec ./tools/fuzz/profil_fuzz -max_total_time="$sekunden" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=funde-profil/ -print_final_stats=1 korpus-profil saat-profil

#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need; does nothing when
# they are all there. Needs root (or sudo) only when something is missing.
set -euo pipefail

PAKETE=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n
    libsqlite3-dev sqlite3
    libpq-dev libqt6sql6-psql postgresql
    mdbtools-dev mdbtools
    fonts-dejavu-core fonts-liberation2 fonts-wine
    poppler-utils xauth xvfb
    libchm-dev fp-utils
    openbox wmctrl
)

fehlend=()
for p in "${PAKETE[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fehlend+=("$p")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

echo "Installiere: ${fehlend[*]}"
als_root=()
[ "$(id -u)" -eq 0 ] || als_root=(sudo)
"${als_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y -qq --no-install-recommends "${fehlend[@]}"

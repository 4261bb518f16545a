#!/usr/bin/env bash
# Lays out a program folder as an installation has it: the program, its settings and its data.
# Existing settings and data are kept, so a restart keeps what the user changed.
#   prepare-demo.sh <build folder> <demo folder>
set -euo pipefail
build=$(realpath "$1")
demo=$2
mkdir -p "$demo"
demo=$(realpath "$demo")

install -m 755 "$build/projektverwaltung" "$demo/projektverwaltung"
# The help beside the program, where the program looks for it.
install -m 644 "$build/Projekt.chm" "$demo/Projekt.chm"

# The project database: made by the database tool with demo data, only when there is none.
if [ ! -e "$demo/PROJEKT.MDB" ]; then
    "$build/tools/datenbank/pvdatenbank" --demo "$demo/PROJEKT.MDB"
fi

# The ERP system's project file, and settings that point at it on the first start; the program
# fills in every other key with its default then.
mkdir -p "$demo/erp"
[ -f "$demo/erp/ZT_FKT_1.DAT" ] || "$build/tools/erpdemo/erpdemo" "$demo/erp/ZT_FKT_1.DAT"
if [ ! -f "$demo/PROJEKT.INI" ]; then
    {
        # A wall screen in a demo should refresh within seconds, not after the preset's 10000.
        printf '[Programm]\r\nMasterVerzeichnis=%s\r\nDBName=PROJEKT.MDB\r\n[Control]\r\nRefreshTimePublicView=10\r\n' \
            "$demo/erp"
        # The wall screen's columns as an office sets them up once: in reading order, each wide
        # enough for its caption and a whole date in the large font, together within a wall
        # screen 1,600 pixels wide (a first start without them lays them out in reverse).
        position=0
        for spalte in PublicKommNr:135 PublicBezeichn:210 PublicBaustelle:200 PublicBetreff:230 \
                      PublicStatus:130 PublicAufgabe:170 PublicPersonal:200 PublicDatum:140 PublicAufgStatus:130; do
            printf '[%s]\r\nPosition=%d\r\nWidth=%d\r\n' "${spalte%%:*}" "$position" "${spalte##*:}"
            position=$((position + 1))
        done
    } > "$demo/PROJEKT.INI"
fi

#!/usr/bin/env bash
# A PostgreSQL server of its own for the tests and benchmarks: a fresh cluster in <ordner>/daten,
# reachable only through a Unix socket in <ordner> (port 54329, or PV_PGTEST_PORT), superuser
# "pvtest" without password. Run as root it runs as the system user "postgres", as the server
# refuses to run as root. "stop" stops it and removes the folder; "start" first removes what an
# aborted earlier run left there.
#   scripts/pg-testserver.sh start|stop <ordner>
set -euo pipefail

aktion=${1:-}
ordner=${2:-}
if [ -z "$aktion" ] || [ -z "$ordner" ]; then
    echo "Aufruf: $0 start|stop <ordner>" >&2
    exit 2
fi
port=${PV_PGTEST_PORT:-54329}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "Der PostgreSQL-Server ist nicht installiert (Debian-Paket postgresql; scripts/install-deps.sh)." >&2
    exit 1
fi
als=()
[ "$(id -u)" -eq 0 ] && als=(runuser -u postgres --)

stoppen() {
    if [ -f "$ordner/daten/postmaster.pid" ]; then
        "${als[@]}" "$bin/pg_ctl" -D "$ordner/daten" -m immediate -w stop >/dev/null 2>&1 || true
    fi
}

case "$aktion" in
start)
    stoppen
    rm -rf "$ordner"
    mkdir -p "$ordner"
    [ "$(id -u)" -eq 0 ] && chown postgres "$ordner"
    chmod 755 "$ordner"
    if ! "${als[@]}" "$bin/initdb" -D "$ordner/daten" -U pvtest --auth=trust -E UTF8 --locale=C.UTF-8 \
        >"$ordner/initdb.log" 2>&1; then
        echo "Der Testserver konnte nicht eingerichtet werden:" >&2
        cat "$ordner/initdb.log" >&2
        exit 1
    fi
    # Speed over safety: the data live only as long as the test run.
    if ! "${als[@]}" "$bin/pg_ctl" -D "$ordner/daten" -l "$ordner/server.log" -w -t 60 \
        -o "-c listen_addresses='' -c unix_socket_directories='$ordner' -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        start >/dev/null; then
        echo "Der Testserver startet nicht:" >&2
        cat "$ordner/server.log" >&2
        exit 1
    fi
    echo "Testserver bereit: postgresql://pvtest@:$port/postgres?host=$ordner"
    ;;
stop)
    stoppen
    rm -rf "$ordner"
    ;;
*)
    echo "Aufruf: $0 start|stop <ordner>" >&2
    exit 2
    ;;
esac

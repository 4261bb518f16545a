#pragma once

#include "Fehler.h"
#include "PostgresVerbindung.h"
#include "Serveradresse.h"

#include <optional>

// The PostgreSQL server that ctest starts for the tests (scripts/pg-testserver.sh), named in
// PV_TEST_PGSERVER with its maintenance database; nothing when the variable is not set.
inline std::optional<Serveradresse> testServer()
{
    return Serveradresse::lesen(qEnvironmentVariable("PV_TEST_PGSERVER"));
}

// Drops a database of the test server when it goes out of scope, whatever the test did.
struct ServerDatenbankEntfernen
{
    Serveradresse wartung;
    QString name;
    ~ServerDatenbankEntfernen()
    {
        try {
            PostgresVerbindung(wartung, 2000).roh(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name).toUtf8());
        } catch (const Fehler&) {
        }
    }
};

#pragma once

#include <QString>
#include <optional>

/// Where a project database on a PostgreSQL server lives, written as a connection address in
/// the form the server's own programs take: postgresql://benutzer@host:port/name. A host that
/// is a folder (a local Unix socket) is written percent-encoded or as "?host=/ordner". The
/// password never is part of it: the server's client library takes it from PGPASSWORD or the
/// user's ~/.pgpass.
struct Serveradresse
{
    QString host;       ///< empty: the local server's default socket
    int port = 5432;
    QString name;       ///< the database on the server
    QString benutzer;   ///< empty: the login name of the user

    /// The address read from a connection text; nothing when the text is no server address
    /// (a file path), or when it names no database.
    static std::optional<Serveradresse> lesen(const QString& text);
    /// True when the text is meant as a server address (whether or not it is complete).
    static bool istServerText(const QString& text);

    /// The connection text, as lesen takes it back.
    QString text() const;
    /// For messages: "name auf host:port".
    QString anzeige() const;

    friend bool operator==(const Serveradresse&, const Serveradresse&) = default;
};

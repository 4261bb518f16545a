#pragma once

#include "Anweisung.h"
#include "ZeilenAnweisungen.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

struct sqlite3;
class TKADaoDatabase;

/// Writes the rows of a dataset back to their table, one row at a time: a new row, the changed
/// columns of a row, a deletion, each with the optimistic check of ZeilenAnweisungen, and reads
/// a row again by its key. A row is a dataset's stored values in column order; `spalten` names
/// each column's table column (empty for a column that is not written, an expression).
class ZeilenSchreiber
{
public:
    /// A change: the statement (empty when no column differs) and the columns it compares.
    struct Aenderung
    {
        ZeilenAnweisungen::Anweisung anweisung;
        QList<int> verglichen;
        bool leer() const { return anweisung.sql.isEmpty(); }
    };

    /// A writer on the project database's connection, whichever engine it has.
    ZeilenSchreiber(TKADaoDatabase* db, const QString& tabelle, QStringList spalten, int schluessel);
    /// A writer on a connection of the file engine of its own.
    ZeilenSchreiber(sqlite3* db, QString datei, const QString& tabelle, QStringList spalten, int schluessel);

    // --- Statements ---
    /// INSERT of every column holding a value.
    ZeilenAnweisungen::Anweisung einfuegung(const std::vector<QVariant>& werte) const;
    /// UPDATE of the columns where `eingabe` differs from `gelesen`, while those and the
    /// columns marked in `immerPruefen` still hold what was read.
    Aenderung aenderung(const std::vector<QVariant>& eingabe, const std::vector<QVariant>& gelesen,
                        const std::vector<bool>& immerPruefen) const;
    /// DELETE of the row `gelesen`, while every column still holds what was read.
    ZeilenAnweisungen::Anweisung loeschung(const std::vector<QVariant>& gelesen) const;
    /// SELECT of the stored columns of one row by its key.
    QString nachleseText() const;

    // --- Running them ---
    /// Runs a statement; the number of rows it changed (0: the check refused it).
    int ausfuehren(const ZeilenAnweisungen::Anweisung& anweisung) const;
    /// The key the engine gave the row inserted last on this connection.
    QVariant neuerSchluessel() const;
    /// Deletes the rows with these keys, whatever they hold; one statement bound row by row.
    void loeschenNachSchluessel(const QVariantList& schluessel) const;
    /// The stored row with this key, in column order; none when it is gone.
    std::optional<std::vector<QVariant>> nachlesen(const QVariant& schluessel) const;

private:
    ZeilenSchreiber(std::function<Anweisung(const QString&)> vorbereiten, std::function<QVariant()> neuerSchluessel,
                    bool fuerServer, const QString& tabelle, QStringList spalten, int schluessel);

    std::function<Anweisung(const QString&)> m_vorbereiten;
    std::function<QVariant()> m_neuerSchluessel;
    QString m_tabelle;
    QStringList m_spalten;
    int m_schluessel;
    ZeilenAnweisungen m_anweisungen;
};
